// The real X session of the xcb run: a framing window manager, and keys typed through the
// window system with xdotool into the focused window.
#pragma once

#include <QStringList>
#include <sys/types.h>

class RealDesktop
{
public:
    // Made in the test's main() before the application: Qt learns of the window manager when it
    // connects to the X server, as a program on a desktop does. Starts openbox on the xcb
    // platform unless a window manager already runs; does nothing elsewhere.
    RealDesktop();
    ~RealDesktop();
    RealDesktop(const RealDesktop &) = delete;
    RealDesktop &operator=(const RealDesktop &) = delete;

    // True on the xcb platform with a window manager running and xdotool installed.
    static bool available();
    // The reason a test skips when available() is false.
    static const char *missing();

    // xdotool key names ("ctrl+n", "j", "alt+n"), typed one after another into the focused
    // window; returns after the program has handled the events they caused. False when
    // xdotool failed.
    static bool keys(const QStringList &names);

private:
    pid_t windowManager = 0;
};
