// WinHelp on the help viewer; one viewer window for the whole program.
#include "platform/Help.h"

#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

namespace {

QString &programHelpFile()
{
    static QString path;
    return path;
}

QPointer<HelpViewer> &openViewer()
{
    static QPointer<HelpViewer> viewer;
    return viewer;
}

// The open viewer when it shows the file, else a new one on the owner's screen.
HelpViewer *viewerOn(const QString &path, HelpFile help, const QWidget *owner)
{
    QPointer<HelpViewer> &viewer = openViewer();
    if (viewer && viewer->path() == path)
        return viewer;
    Help::closeViewer();
    viewer = new HelpViewer(path, std::move(help));
    Screen::centreOnScreenOf(viewer, owner ? owner->window() : nullptr);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, &QObject::deleteLater);
    return viewer;
}

} // namespace

bool WinHelp(QWidget *owner, const QString &helpFile, int command, int data, const QString &key)
{
    if (command == HELP_QUIT) {
        Help::closeViewer();
        return true;
    }
    std::optional<HelpFile> help = HelpFile::load(helpFile);
    if (!help) {
        MsgBox(Help::noHelpFileText(), vbInformation,
               owner ? owner->window()->windowTitle() : QString());
        return false;
    }
    HelpViewer *viewer = viewerOn(helpFile, std::move(*help), owner);
    switch (command) {
    case HELP_CONTEXT:
        viewer->showTopic(data);
        break;
    case HELP_CONTENTS:
        viewer->showContents();
        break;
    case HELP_HELPONHELP:
        viewer->showHelpOnHelp();
        break;
    case HELP_PARTIALKEY:
        viewer->showSearch(key);
        break;
    default:
        return false;
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return true;
}

void showHelpTopic(QWidget *owner, int context)
{
    WinHelp(owner, Help::helpFile(), HELP_CONTEXT, context);
}

namespace Help {

void setHelpFile(const QString &path)
{
    programHelpFile() = path;
}

QString helpFile()
{
    return programHelpFile();
}

HelpViewer *viewer()
{
    return openViewer().data();
}

void closeViewer()
{
    delete openViewer().data();
}

QString noHelpFileText()
{
    return QStringLiteral("Hilfeinhalt konnte nicht angezeigt werden. Dieser Anwendung ist keine "
                          "Hilfedatei zugeordnet.");
}

} // namespace Help

bool handleEscapeAndHelp(QWidget *dialog, QKeyEvent *event, int helpTopic,
                         const std::function<void()> &onEscape)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        onEscape();
        return true;
    }
    if (event->key() == Qt::Key_F1) {
        showHelpTopic(dialog, helpTopic);
        return true;
    }
    return false;
}
