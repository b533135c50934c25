// The font steps down from the design size; the room a caption has does not depend on it.
#include "platform/CaptionFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>

namespace {

// Below this a caption is no longer read; a caption that does not fit even so stays there.
constexpr qreal smallestPoints = 5.0;
constexpr qreal step = 0.5;

void shrink(QWidget *widget, const QFont &design, const QString &text, int flags, const QRect &room)
{
    QFont font = design;
    while (true) {
        const QSize needs = QFontMetrics(font).boundingRect(room, flags, text).size();
        const bool fits = needs.width() <= room.width() && needs.height() <= room.height();
        if (fits || font.pointSizeF() - step < smallestPoints)
            break;
        font.setPointSizeF(font.pointSizeF() - step);
    }
    widget->setFont(font);
}

} // namespace

namespace CaptionFit {

void fitLabel(QLabel *label, const QFont &design)
{
    const int margin = label->margin();
    const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0)
        | (label->buddy() ? Qt::TextShowMnemonic : 0);
    shrink(label, design, label->text(), flags, room);
}

void fitButton(QAbstractButton *button, const QFont &design)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement contents = qobject_cast<QRadioButton *>(button)
        ? QStyle::SE_RadioButtonContents
        : QStyle::SE_CheckBoxContents;
    shrink(button, design, button->text(), Qt::TextShowMnemonic,
           button->style()->subElementRect(contents, &option, button));
}

} // namespace CaptionFit
