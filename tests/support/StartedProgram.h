// The program started in a child process the way its executable starts it, under a limit of the
// file size, with a script that plays the user once its main window is up.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/resource.h>

namespace StartedProgram {

struct Ended
{
    bool normally = false; // false when a signal ended it
    int code = -1;
    QByteArray output; // what it wrote to its standard output
};

// Starts this test program again as the program, with the default action for every signal a
// shell leaves as it is, no file it writes growing beyond `fileBytes`, and `argument` for its
// script. Returns once it has ended.
Ended start(const QString &argument, rlim_t fileBytes);

// Whether this process is such a started program.
bool isStarted();
// In a test program's main, when started: the program in its own test environment with the
// start dialogs switched off; once its main window is up, `script` runs with the argument and
// the program ends. Returns the program's exit code.
int run(int argc, char *argv[], const std::function<void(const QString &argument)> &script);

} // namespace StartedProgram
