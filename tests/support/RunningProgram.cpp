// Start and stop of the main window for tests.
#include "tests/support/RunningProgram.h"

#include "document/DocumentWindow.h"
#include "frame/frmMain.h"
#include "platform/Settings.h"
#include "text/RichTextBox.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

RunningProgram::RunningProgram() = default;

RunningProgram::~RunningProgram()
{
    stop();
}

frmMain &RunningProgram::start(StartDialogs startDialogs)
{
    for (const QString &key : {QStringLiteral("Tip"), QStringLiteral("Startup")}) {
        if (startDialogs == StartDialogs::Off && GetSetting(key).isEmpty())
            SaveSetting(key, QStringLiteral("False"));
    }
    window = std::make_unique<frmMain>();
    window->MDIForm_Load();
    return *window;
}

DocumentWindow *RunningProgram::active() const
{
    return window->ActiveForm();
}

int RunningProgram::documentCount() const
{
    return static_cast<int>(window->mdiArea()->subWindowList().size());
}

void RunningProgram::stop()
{
    if (!window)
        return;
    for (QMdiSubWindow *frame : window->mdiArea()->subWindowList())
        qobject_cast<DocumentWindow *>(frame->widget())->Tag.clear();
    window->close();
    window.reset();
}

QString RunningProgram::writeFile(const QString &name, const QByteArray &content) const
{
    const QString path = env.path(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write a test file");
    file.write(content);
    return path;
}

QByteArray RunningProgram::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

DocumentWindow *RunningProgram::document(const QString &text, int selStart, int selLength,
                                         bool richText)
{
    if (richText)
        window->LoadNewDoc();
    else
        window->LoadNewText();
    DocumentWindow *made = active();
    made->txtText->setText(text);
    made->txtText->setSelStart(selStart);
    made->txtText->setSelLength(selLength);
    return made;
}
