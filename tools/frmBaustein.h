// The text-block manager "Textbaustein-Verwaltung": the blocks of the text-block database in an
// editable grid, and the current block inserted into the active document.
#pragma once

#include "platform/Forms.h"

#include <QDialog>

class DBGrid;
class DataSource;
class QLabel;
class QPushButton;

class frmBaustein : public QDialog
{
    Q_OBJECT
public:
    frmBaustein();
    ~frmBaustein() override;

    // The document windows' View > Textbaustein-Verwaltung: shows the dialog modally until it
    // is closed.
    static void ShowModal();

    QLabel *Label1 = nullptr;
    DBGrid *DBGrid1 = nullptr;
    DataSource *Data1 = nullptr;
    QPushButton *cmdEinfuegen = nullptr;
    QPushButton *cmdAbbrechen = nullptr;

    void cmdEinfuegen_Click();
    void cmdAbbrechen_Click();
    void DBGrid1_Error(int DataError, int &Response);
    // After a record is deleted the first record becomes the current one.
    void DBGrid1_AfterDelete();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void Form_Load();
    void Form_QueryUnload();
};

// The dialog's one instance.
FormInstance<frmBaustein> &frmBausteinForm();
