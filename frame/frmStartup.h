// The start dialog: new plain text, new rich text, open, last file or nothing, with a hint
// for each button in its status bar.
#pragma once

#include "platform/Forms.h"

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QLabel;
class QPushButton;
class QStatusBar;

class frmStartup : public QDialog
{
    Q_OBJECT
public:
    // The main window's command chosen here; it runs once the dialog has gone.
    enum class Command { None, NewText, NewRichText, Open, LastFile };

    frmStartup();

    QPushButton *cmdText = nullptr;
    QPushButton *cmdRTF = nullptr;
    QPushButton *cmdDateiOeffnen = nullptr;
    QPushButton *cmdDateiLetzte = nullptr;
    QPushButton *cmdAbbrechen = nullptr;
    QCheckBox *chkEnable = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    // The status bar's one panel.
    QLabel *Panel1 = nullptr;
    QTimer timeStatus;

    void Form_Load();
    void Form_Unload();
    Command command() const { return chosen; }

    void cmdText_Click();
    void cmdRTF_Click();
    void cmdDateiOeffnen_Click();
    void cmdDateiLetzte_Click();
    void cmdAbbrechen_Click();
    void cmdText_MouseMove();
    void cmdRTF_MouseMove();
    void cmdDateiOeffnen_MouseMove();
    void cmdDateiLetzte_MouseMove();
    void cmdAbbrechen_MouseMove();
    void timeStatus_Timer();

    // The hint of the last-file button for the last file's path.
    static QString lastFileHint(const QString &path, bool available);

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void choose(Command command);
    void showHint(const QString &text);

    Command chosen = Command::None;
    bool unloaded = false;
};

FormInstance<frmStartup> &frmStartupForm();

// Shows the start dialog modally, unloads it and runs the command chosen there.
void showStartDialog();
