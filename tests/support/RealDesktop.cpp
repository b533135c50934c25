// openbox and xdotool for tests on a real X server.
#include "tests/support/RealDesktop.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool windowManagerRuns()
{
    return std::system("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'")
        == 0;
}

bool &managed()
{
    static bool running = false;
    return running;
}

} // namespace

RealDesktop::RealDesktop()
{
    if (qgetenv("QT_QPA_PLATFORM") != "xcb" || qgetenv("DISPLAY").isEmpty())
        return;
    managed() = windowManagerRuns();
    if (managed())
        return;
    windowManager = ::fork();
    if (windowManager == 0) {
        ::execlp("openbox", "openbox", "--sm-disable", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    for (int tries = 0; windowManager > 0 && tries < 100 && !managed(); ++tries) {
        ::usleep(100000);
        managed() = windowManagerRuns();
    }
}

RealDesktop::~RealDesktop()
{
    if (windowManager <= 0)
        return;
    ::kill(windowManager, SIGTERM);
    ::waitpid(windowManager, nullptr, 0);
}

bool RealDesktop::available()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && managed()
        && !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

const char *RealDesktop::missing()
{
    return "needs the xcb platform with a window manager (openbox, xprop) and xdotool";
}

bool RealDesktop::keys(const QStringList &names)
{
    QProcess xdotool;
    xdotool.start(
        QStringLiteral("xdotool"),
        QStringList {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")}
            + names);
    // The program must go on handling events while the keys arrive: a modal box may open
    // between two of them.
    const bool typed
        = QTest::qWaitFor([&xdotool] { return xdotool.state() == QProcess::NotRunning; }, 10000);
    QTest::qWait(200);
    return typed && xdotool.exitCode() == 0;
}
