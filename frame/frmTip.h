// The tip of the day: one random line of the tip file, the next-tip button and the switch
// for showing tips at start.
#pragma once

#include "platform/Forms.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

class frmTip : public QDialog
{
    Q_OBJECT
public:
    frmTip();

    // "Keinstart" when a Help menu opened the dialog; set before Form_Load.
    QString Tag;

    QLabel *Picture1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblTipText = nullptr;
    QCheckBox *chkAnzeigen = nullptr;
    QPushButton *cmdNextTip = nullptr;
    QPushButton *cmdOK = nullptr;

    QStringList TipList;
    int CurrentTipNumber = 0;

    void Form_Load();
    bool LoadTips(const QString &sFile);
    void DisplayCurrentTip();
    void cmdNextTip_Click();
    void cmdOK_Click();

    // The tip file in the program folder.
    static QString tipFile();
    static QString missingFileText();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void NextRandomTip();
};

FormInstance<frmTip> &frmTipForm();

// Shows the tip of the day modally and unloads it again. The Help menus pass "Keinstart".
void showTipOfTheDay(const QString &tag = QString());
