// A caption's ink is what differs clearly from the control's background. A control is drawn once
// more with room to spare on the side its text runs towards (the right for left-aligned text,
// the left for right-aligned, both for centred text, below or above for wrapped text): a text cut
// off by the control then shows ink beyond its edge.
#include "tests/support/GrabChecks.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <array>
#include <cstdlib>

namespace GrabChecks {

namespace {

// Grey levels further apart than this are ink on background, not anti-aliasing.
constexpr int inkContrast = 32;
// The room a control gets beyond its edge when it is drawn once more.
constexpr int spareRoom = 60;

struct Ink
{
    const QImage &shot;
    int background;

    bool at(int x, int y) const
    {
        return std::abs(qGray(shot.pixel(x, y)) - background) > inkContrast;
    }
    bool inColumn(int x, int top, int bottom) const
    {
        for (int y = top; y <= bottom; ++y) {
            if (at(x, y))
                return true;
        }
        return false;
    }
    bool in(const QRect &area) const
    {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (inColumn(x, area.top(), area.bottom()))
                return true;
        }
        return false;
    }
};

// The grey most of the area shows: the background a caption is drawn on.
int commonestGrey(const QImage &shot, const QRect &area)
{
    std::array<int, 256> counts {};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts.at(static_cast<size_t>(qGray(shot.pixel(x, y))));
    }
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

QString captionOf(const QWidget *widget)
{
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    return QString();
}

// The control's name and caption, as a fault names it.
QString nameOf(const QWidget *widget)
{
    const QString name = widget->objectName().isEmpty()
        ? QString::fromLatin1(widget->metaObject()->className())
        : widget->objectName();
    return QStringLiteral("%1 \"%2\"").arg(name, captionOf(widget));
}

// The area a caption is drawn in, in the control's own pixels.
QRect captionArea(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        const int margin = label->margin();
        return label->contentsRect().adjusted(margin, margin, -margin, -margin);
    }
    auto *button = qobject_cast<QAbstractButton *>(widget);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement contents = qobject_cast<QCheckBox *>(button)
        ? QStyle::SE_CheckBoxContents
        : QStyle::SE_RadioButtonContents;
    return button->style()->subElementRect(contents, &option, button) & button->rect();
}

Qt::Alignment alignmentOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return QStyle::visualAlignment(label->layoutDirection(), label->alignment());
    return Qt::AlignLeft | Qt::AlignVCenter;
}

bool hasCaption(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return !label->text().isEmpty();
    if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget))
        return !qobject_cast<QAbstractButton *>(widget)->text().isEmpty();
    return false;
}

// The edge ("right", "left", "bottom", "top") the caption runs past when the control is drawn with
// room to spare beyond it; empty when the caption stays within the control.
QString runsPast(QWidget *widget)
{
    const QRect area = captionArea(widget);
    auto *label = qobject_cast<QLabel *>(widget);
    const Qt::Alignment horizontal = alignmentOf(widget) & Qt::AlignHorizontal_Mask;
    QMargins spare;
    const Qt::Alignment vertical = alignmentOf(widget) & Qt::AlignVertical_Mask;
    if (label && label->wordWrap())
        spare = QMargins(0, vertical & Qt::AlignTop ? 0 : spareRoom, 0,
                         vertical & Qt::AlignBottom ? 0 : spareRoom);
    else if (horizontal & Qt::AlignHCenter)
        spare = QMargins(spareRoom, 0, spareRoom, 0);
    else if (horizontal & Qt::AlignRight)
        spare.setLeft(spareRoom);
    else
        spare.setRight(spareRoom);
    const QRect designed = widget->geometry();
    widget->setGeometry(designed.marginsAdded(spare));
    QImage drawn(widget->size(), QImage::Format_RGB32);
    drawn.fill(widget->palette().color(QPalette::Window));
    widget->render(&drawn);
    // Within the contents of the larger control, so that its frame is not taken for text.
    const QRect larger = captionArea(widget);
    widget->setGeometry(designed);
    const QRect kept = area.translated(spare.left(), spare.top());
    const Ink ink {drawn, commonestGrey(drawn, kept)};
    const auto inkBetween = [&ink](QPoint from, QPoint to) {
        const QRect part(from, to);
        return part.isValid() && ink.in(part);
    };
    if (spare.right() > 0
        && inkBetween({kept.right() + 1, kept.top()}, {larger.right(), kept.bottom()}))
        return QStringLiteral("right");
    if (spare.left() > 0
        && inkBetween({larger.left(), kept.top()}, {kept.left() - 1, kept.bottom()}))
        return QStringLiteral("left");
    if (spare.bottom() > 0
        && inkBetween({kept.left(), kept.bottom() + 1}, {kept.right(), larger.bottom()}))
        return QStringLiteral("bottom");
    if (spare.top() > 0 && inkBetween({kept.left(), larger.top()}, {kept.right(), kept.top() - 1}))
        return QStringLiteral("top");
    return QString();
}

} // namespace

QStringList cutCaptions(QWidget *window)
{
    QStringList faults;
    const QImage shot = window->grab().toImage();
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisible() || !hasCaption(widget) || widget->visibleRegion().isEmpty())
            continue;
        const QRect area
            = captionArea(widget).translated(widget->mapTo(window, QPoint())) & shot.rect();
        if (area.isEmpty()) {
            faults << nameOf(widget) + QStringLiteral(": no room for its caption");
            continue;
        }
        const Ink ink {shot, commonestGrey(shot, area)};
        if (!ink.in(area)) {
            faults << nameOf(widget) + QStringLiteral(": no caption to be seen");
            continue;
        }
        if (const QString side = runsPast(widget); !side.isEmpty())
            faults << nameOf(widget) + QStringLiteral(": caption runs past its ") + side
                    + QStringLiteral(" edge");
    }
    return faults;
}

namespace {

template<typename Bar>
QStringList itemsShownIn(Bar *bar, bool checkShortcuts)
{
    QStringList faults;
    const QImage shot = bar->grab().toImage();
    for (QAction *action : bar->actions()) {
        if (action->isSeparator() || !action->isVisible() || action->text().isEmpty())
            continue;
        const QRect item = bar->actionGeometry(action) & shot.rect();
        const Ink ink {shot, item.isEmpty() ? 0 : commonestGrey(shot, item)};
        const QRect left = item.adjusted(0, 0, -item.width() / 2, 0);
        const QRect right = item.adjusted(item.width() / 2, 0, 0, 0);
        if (item.isEmpty() || !ink.in(checkShortcuts ? left : item))
            faults << action->text() + QStringLiteral(": no caption to be seen");
        if (checkShortcuts && !action->shortcut().isEmpty() && !ink.in(right))
            faults << action->text() + QStringLiteral(": no shortcut to be seen");
    }
    return faults;
}

} // namespace

QStringList itemsWithoutCaption(QMenu *menu)
{
    return itemsShownIn(menu, true);
}

QStringList itemsWithoutCaption(QMenuBar *bar)
{
    return itemsShownIn(bar, false);
}

} // namespace GrabChecks
