// The search-and-replace dialog "Suchen und Ersetzen": finds text in the active document and
// replaces one hit at a time or all of them.
#pragma once

#include "platform/Forms.h"

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class RichTextBox;
class StatusBar;

class frmSearch : public QDialog
{
    Q_OBJECT
public:
    frmSearch();
    ~frmSearch() override;

    // Edit > Suchen (tab 1) and Edit > Ersetzen (tab 2) of the document windows: loads the
    // dialog on that tab, shows or hides the replace controls, and shows it modally until it
    // is closed.
    static void open(int tab);

    QTabBar *TabStrip1 = nullptr;
    QGroupBox *Rahmen = nullptr;
    QLabel *lblSuchen = nullptr;
    QLineEdit *txtSuchen = nullptr;
    QLabel *lblErsetzen = nullptr;
    QLineEdit *txtErsetzen = nullptr;
    QLabel *lblRichtung = nullptr;
    QComboBox *comboRichtung = nullptr;
    QCheckBox *chkGross = nullptr;
    QCheckBox *chkWort = nullptr;
    QPushButton *cmdSuchen = nullptr;
    QPushButton *cmdAbbrechen = nullptr;
    QPushButton *cmdErsetzen = nullptr;
    QPushButton *cmdAlleErsetzen = nullptr;
    // One panel, "Meldung".
    StatusBar *StatusBar1 = nullptr;
    QTimer timeStatus;

    // The caret when the dialog was loaded: where every restart and the close return to, and
    // the end of the search "oberhalb". Positions behind the text's end count as its end.
    int Startposition = 0;
    // True until the first search of a run has jumped to the top.
    bool ErsterDurchlauf = true;

    void cmdSuchen_Click();
    void cmdErsetzen_Click();
    void cmdAlleErsetzen_Click();
    void cmdAbbrechen_Click();
    void timeStatus_Timer();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void fitStatusLine();
    void connectHandlers();
    void Form_Load();
    void Form_Unload();
    void TabStrip1_Click();
    void txtSuchen_Change();
    void searchRestart();
    void showStatus(const QString &text);
    int findOptions() const;
    // The position the jump to the top and the range "oberhalb" use for this text.
    int startIn(const RichTextBox *text) const;
    void jumpToTopIfDue(RichTextBox *text);
    // Ersetzen stays enabled only while the hit that Suchen found is selected.
    void holdHit(RichTextBox *text);
    void releaseHit();
    void checkHit();

    QFrame *tabPage = nullptr;
    int hitStart = 0;
    int hitLength = 0;
    QMetaObject::Connection hitMoved;
    QMetaObject::Connection hitChanged;
};

// The dialog's one instance.
FormInstance<frmSearch> &frmSearchForm();
