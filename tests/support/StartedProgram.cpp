// The program in a child process, started through runVelmar as its executable starts it.
#include "tests/support/StartedProgram.h"

#include "document/DocumentHost.h"
#include "document/DocumentWindow.h"
#include "frame/Main.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <csignal>

namespace {

const char argumentVariable[] = "VELMAR_STARTED_PROGRAM";
// The longest a started program may take for its script.
constexpr int runMilliseconds = 300000;
constexpr int pollMilliseconds = 10;

std::function<void(const QString &)> startedScript;

// Once Main has returned, the splash gone and the event loop running: the script, then the end.
void playOnceUp()
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (!MainForm() || Forms::isLoaded(QStringLiteral("frmSplash")))
            return;
        poll->stop();
        poll->deleteLater();
        startedScript(qEnvironmentVariable(argumentVariable));
        // Unsaved changes are dropped without the question.
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            for (auto *window : widget->findChildren<DocumentWindow *>())
                window->Tag.clear();
        }
        QCoreApplication::quit();
    });
    poll->start(pollMilliseconds);
}

void whenTheApplicationExists()
{
    QMetaObject::invokeMethod(qApp, &playOnceUp, Qt::QueuedConnection);
}

} // namespace

namespace StartedProgram {

Ended start(const QString &argument, rlim_t fileBytes)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(argumentVariable), argument);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.setChildProcessModifier([fileBytes] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = fileBytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    child.start();
    Ended ended;
    if (!child.waitForFinished(runMilliseconds)) {
        child.kill();
        child.waitForFinished();
        return ended;
    }
    ended.normally = child.exitStatus() == QProcess::NormalExit;
    ended.code = child.exitCode();
    ended.output = child.readAllStandardOutput();
    return ended;
}

bool isStarted()
{
    return qEnvironmentVariableIsSet(argumentVariable);
}

int run(int argc, char *argv[], const std::function<void(const QString &argument)> &script)
{
    const TestEnvironment env;
    SaveSetting(QStringLiteral("Tip"), QStringLiteral("False"));
    SaveSetting(QStringLiteral("Startup"), QStringLiteral("False"));
    startedScript = script;
    qAddPreRoutine(whenTheApplicationExists);
    return runVelmar(argc, argv);
}

} // namespace StartedProgram
