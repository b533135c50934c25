// The real X session of the xcb run: a framing window manager around the program's windows.
#pragma once

#include <QString>
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

    // Why the session lacks a window manager or keys typed through it (Keyboard); empty when
    // it has both.
    static QString unavailable();

private:
    pid_t windowManager = 0;
};
