// The outer frame held against a frame that arrives late.
#include "platform/OuterGeometry.h"

#include <QEvent>
#include <QWidget>

OuterGeometry::OuterGeometry(QWidget *window) : QObject(window), window(window)
{
    window->installEventFilter(this);
}

void OuterGeometry::setFrame(const QRect &frame)
{
    wanted = frame;
    appliedBorder = QSize(-1, -1);
    apply();
}

bool OuterGeometry::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize
            || event->type() == QEvent::Show))
        apply();
    return QObject::eventFilter(watched, event);
}

// Only a change of the frame's size re-applies the rectangle, so the user's own moving and
// resizing is left alone.
void OuterGeometry::apply()
{
    if (!wanted.isValid() || window->windowState() != Qt::WindowNoState)
        return;
    const QSize border = window->frameGeometry().size() - window->size();
    if (border == appliedBorder)
        return;
    appliedBorder = border;
    window->resize(wanted.size() - border);
    window->move(wanted.topLeft());
}
