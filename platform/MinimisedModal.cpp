// Some window managers give every window a minimise button, whatever its hints say; the
// platform's own modal windows cannot be minimised apart from their owner.
#include "platform/MinimisedModal.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

MinimisedModal::MinimisedModal(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool MinimisedModal::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::WindowStateChange || !watched->isWidgetType())
        return false;
    auto *window = static_cast<QWidget *>(watched);
    if (!window->isWindow() || !window->isModal() || !window->isMinimized())
        return false;
    // Restored once the window system has finished minimising it.
    QTimer::singleShot(0, window, [window] {
        if (!window->isVisible() || !window->isMinimized())
            return;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
    });
    return false;
}
