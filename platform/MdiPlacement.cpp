// Staggered places in the area's visible part.
#include "platform/MdiPlacement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace {

int titleBarHeight(const QMdiSubWindow *window)
{
    return window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
}

// The place after the previous one; the stagger starts again at the top left once it would
// pass a third of the area, so every title bar stays in the area's upper part.
QPoint nextPlace(const QPoint &previous, int step, const QSize &area)
{
    const QPoint place = previous + QPoint(step, step);
    if (place.x() > area.width() / 3 || place.y() > area.height() / 3)
        return QPoint(0, 0);
    return place;
}

} // namespace

namespace MdiPlacement {

void placeNew(QMdiArea *area, QMdiSubWindow *window)
{
    const QList<QMdiSubWindow *> open = area->subWindowList(QMdiArea::CreationOrder);
    const qsizetype index = open.indexOf(window);
    QMdiSubWindow *previous = index > 0 ? open.at(index - 1) : nullptr;
    if (!previous || previous->isMaximized() || previous->isMinimized()) {
        window->move(0, 0);
        return;
    }
    window->move(nextPlace(previous->pos(), titleBarHeight(window), area->viewport()->size()));
}

void cascade(QMdiArea *area)
{
    const QSize space = area->viewport()->size();
    QList<QMdiSubWindow *> order = area->subWindowList(QMdiArea::CreationOrder);
    // The active window ends the cascade, in front with its title bar last.
    if (QMdiSubWindow *active = area->activeSubWindow(); order.removeOne(active))
        order.append(active);
    QPoint place(-1, -1);
    for (QMdiSubWindow *window : order) {
        if (!window->isVisible() || window->isMinimized())
            continue;
        if (window->isMaximized())
            window->showNormal();
        place = place.x() < 0 ? QPoint(0, 0) : nextPlace(place, titleBarHeight(window), space);
        // Where the window does not fit at its place, it takes the room left there: at least
        // two thirds of the area.
        const QSize room = space - QSize(place.x(), place.y());
        window->setGeometry(
            QRect(place, window->size().boundedTo(room).expandedTo(window->minimumSizeHint())));
        window->raise();
    }
}

} // namespace MdiPlacement
