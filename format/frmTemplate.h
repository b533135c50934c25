// The style-template manager "Formatvorlagen-Verwaltung": named sets of thirteen character and
// paragraph attributes in formatvorlage.mdb, browsed, made from the selection, deleted, applied.
#pragma once

#include "data/DataControl.h"
#include "platform/Forms.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class SwatchLabel;

class frmTemplate : public QDialog
{
    Q_OBJECT
public:
    frmTemplate();
    ~frmTemplate() override;

    // What the Format menu's "&Formatvorlagen-Verwaltung..." does: load the dialog and show it
    // modally. A database that cannot be made or opened is reported and the dialog stays closed.
    static void ShowModal();

    // False when loading found the database unusable; the dialog is then not shown.
    bool loadedWell() const { return loadSucceeded; }

    DataControl *Data1 = nullptr;
    DataControl *Data2 = nullptr;
    QLabel *lblFormatname = nullptr;
    QLabel *lblName = nullptr;
    QLabel *Label2 = nullptr;
    QWidget *pboxMuster = nullptr;
    QLabel *lblMuster = nullptr;
    QPushButton *cmdNeu = nullptr;
    QPushButton *cmdLoeschen = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbrechen = nullptr;

    QCheckBox *chkFontname = nullptr;
    QCheckBox *chkFontsize = nullptr;
    QCheckBox *chkBold = nullptr;
    QCheckBox *chkItalic = nullptr;
    QCheckBox *chkUnderline = nullptr;
    QCheckBox *chkStrikethru = nullptr;
    QCheckBox *chkCharoffset = nullptr;
    QCheckBox *chkColor = nullptr;
    QCheckBox *chkAlignment = nullptr;
    QCheckBox *chkIndent = nullptr;
    QCheckBox *chkHangingindent = nullptr;
    QCheckBox *chkRightindent = nullptr;
    QCheckBox *chkBullet = nullptr;

    QLabel *lblFontname = nullptr;
    QLabel *lblFontsize = nullptr;
    QCheckBox *optBold = nullptr;
    QCheckBox *optItalic = nullptr;
    QCheckBox *optUnderline = nullptr;
    QCheckBox *optStrikethru = nullptr;
    QLabel *lblCharoffset = nullptr;
    SwatchLabel *lblColor2 = nullptr;
    QLabel *lblAlignment2 = nullptr;
    QLabel *lblIndent2 = nullptr;
    QLabel *lblHangingindent2 = nullptr;
    QLabel *lblRightindent = nullptr;
    QCheckBox *optBullet = nullptr;

    // Bound but never shown: the raw values under the computed displays.
    QLabel *lblColor1 = nullptr;
    QLabel *lblAlignment1 = nullptr;
    QLabel *lblIndent1 = nullptr;
    QLabel *lblHangingindent1 = nullptr;

    // The thirteen check boxes in row order.
    std::array<QCheckBox *, 13> checkBoxes() const;

    void lblName_Change();
    void cmdNeu_Click();
    void cmdLoeschen_Click();
    void cmdOK_Click();
    void cmdAbbrechen_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWindow();
    void buildRows();
    void buildButtons();

    void Form_Load();
    void Form_Activate();
    // The binding: every bound control shows the current row, the name label last.
    void showCurrentRecord();
    void showName(const QString &name);
    bool nameTaken(const QString &name, bool *checked);

    bool loadSucceeded = false;
    bool activated = false;
};

FormInstance<frmTemplate> &frmTemplateForm();
