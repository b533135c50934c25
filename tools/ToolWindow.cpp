// The tool windows' common frame.
#include "tools/ToolWindow.h"

#include "document/DocumentHost.h"
#include "platform/Forms.h"
#include "platform/Help.h"
#include "platform/Screen.h"
#include "tools/ActiveDocument.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

namespace {

// A tool window belongs to the main window, so it stays on top of it.
QWidget *mainWindow()
{
    return dynamic_cast<QWidget *>(MainForm());
}

} // namespace

ToolWindow::ToolWindow(const QString &formName, const QString &caption, int helpContext)
    : QWidget(mainWindow(), Qt::Tool), helpTopic(helpContext)
{
    setObjectName(formName);
    setWindowTitle(caption);
}

void ToolWindow::showAgain()
{
    show();
    raise();
    activateWindow();
}

void ToolWindow::presetFontBox(QComboBox *box)
{
    {
        // Filling is no choice of a font.
        const QSignalBlocker filling(box);
        box->addItems(Screen::Fonts());
        box->setCurrentIndex(-1);
    }
    const std::optional<QString> font = ActiveDocument::selFontName();
    int index = -1;
    if (font && !font->isEmpty()) {
        index = box->findText(*font, Qt::MatchExactly | Qt::MatchCaseSensitive);
        // A name that is no family here: the family the system draws in its place.
        if (index < 0)
            index = box->findText(Screen::plainFontName(QFontInfo(QFont(*font)).family()),
                                  Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    box->setCurrentIndex(std::max(index, 0));
}

int ToolWindow::widthForCaption(int designTwips) const
{
    // Frames set captions in bold, beside the window's icon and its three buttons; each of
    // those, and the caption's margins, takes about a title bar's height.
    constexpr int framePieces = 6;
    QFont caption = font();
    caption.setBold(true);
    const int needed = QFontMetrics(caption).horizontalAdvance(windowTitle())
        + framePieces * style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return std::max(Screen::pixelsFromTwipsX(designTwips), needed);
}

void ToolWindow::closeEvent(QCloseEvent *event)
{
    // Closing unloads: the next showing loads the window afresh.
    Forms::remove(this);
    deleteLater();
    event->accept();
}

void ToolWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_F1) {
        showHelpTopic(this, helpTopic);
        return;
    }
    QWidget::keyPressEvent(event);
}
