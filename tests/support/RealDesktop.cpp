// openbox for tests on a real X server.
#include "tests/support/RealDesktop.h"
#include "tests/support/Keyboard.h"

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

QString RealDesktop::unavailable()
{
    if (const QString why = Keyboard::unavailable(); !why.isEmpty())
        return why;
    if (!managed())
        return QStringLiteral("no window manager runs (openbox, xprop)");
    return {};
}
