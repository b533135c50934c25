// The about box: title, version, notices, the system-information program, and the OK
// button that wanders when the picture is clicked with Shift, Ctrl and Alt.
#pragma once

#include "platform/Forms.h"

#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    frmAbout();

    QLabel *Image1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    std::array<QFrame *, 2> Line1 {};
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *cmdOK = nullptr;
    QTimer timeJoke;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Image1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift);
    void timeJoke_Timer();

    // Finds and starts the system-information program; a message when there is none.
    void StartSysInfo();

    // The system-information program to start, or empty text when there is none.
    static QString sysInfoProgram();
    // Tests replace the program start; an empty function restores it.
    static void setProgramStarter(std::function<bool(const QString &program)> starter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
};

FormInstance<frmAbout> &frmAboutForm();

// Shows the about box modally, owned by the given window when there is one, and unloads it.
void showAbout(QWidget *owner = nullptr);
