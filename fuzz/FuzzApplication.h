// What every fuzzing target needs before its first input: a GUI application for fonts and
// images, on the offscreen platform, out of reach of the fuzzer's own arguments.
#pragma once

#include <QGuiApplication>

inline void startFuzzApplication(char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char *args[] = {argv[0], nullptr};
    static QGuiApplication *application = new QGuiApplication(argc, args);
    Q_UNUSED(application);
}
