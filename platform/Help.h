// The help engine: WinHelp with its classic commands on our own help viewer, and the
// program's help file.
#pragma once

#include <QString>
#include <functional>

class HelpViewer;
class QKeyEvent;
class QWidget;

enum HelpCommand : int {
    HELP_CONTEXT = 0x1,
    HELP_QUIT = 0x2,
    HELP_CONTENTS = 0x3,
    HELP_HELPONHELP = 0x4,
    HELP_PARTIALKEY = 0x105,
};

// Opens (or reuses) the help window on the file and returns at once; the window is modeless.
// HELP_CONTEXT shows topic `data`, HELP_PARTIALKEY opens the keyword search with `key`,
// HELP_QUIT closes the window. A help file that is missing or cannot be read gives the
// message box and false.
bool WinHelp(QWidget *owner, const QString &helpFile, int command, int data = 0,
             const QString &key = QString());

// F1 of a dialog: the program's help file at the topic.
void showHelpTopic(QWidget *owner, int context);

// Esc without modifiers runs the dialog's own Esc handler (Esc and the close box differ in
// these dialogs), F1 opens its help topic. Returns whether the key was one of the two.
bool handleEscapeAndHelp(QWidget *dialog, QKeyEvent *event, int helpTopic,
                         const std::function<void()> &onEscape);

namespace Help {

// The program's help file; the main window sets it when it loads.
void setHelpFile(const QString &path);
QString helpFile();

// The open help window, or none.
HelpViewer *viewer();
void closeViewer();

// The message of a help request without a help file.
QString noHelpFileText();

} // namespace Help
