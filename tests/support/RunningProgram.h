// A main window started in a test's own environment, closed again without questions.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <QByteArray>
#include <memory>

class DocumentWindow;
class frmMain;

class RunningProgram
{
public:
    RunningProgram();
    ~RunningProgram();

    // Off stores the start dialogs as switched off unless the test stored them itself.
    enum class StartDialogs { Off, AsStored };
    frmMain &start(StartDialogs startDialogs = StartDialogs::Off);
    frmMain &main() const { return *window; }
    bool started() const { return window != nullptr; }
    DocumentWindow *active() const;
    int documentCount() const;
    // A new document window (rich text unless told otherwise) holding the text, with the
    // selection set.
    DocumentWindow *document(const QString &text, int selStart, int selLength = 0,
                             bool richText = true);
    // Discards unsaved changes and closes the main window.
    void stop();

    // A file in the test's folder.
    QString writeFile(const QString &name, const QByteArray &content) const;
    static QByteArray readFile(const QString &path);

    TestEnvironment env;

private:
    std::unique_ptr<frmMain> window;
};
