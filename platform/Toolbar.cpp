// Toolbar buttons with the classic Value, MixedState and group behaviour.
#include "platform/Toolbar.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

ToolButton::ToolButton(const QString &buttonKey, Style buttonStyle, QWidget *parent)
    : QToolButton(parent), key(buttonKey), style(buttonStyle)
{
    setObjectName(buttonKey);
    setAutoRaise(true);
    // The pressed look of toggles is the checked state; Value mirrors it.
    setCheckable(style == Check || style == Group);
}

int ToolButton::Value() const
{
    return isChecked() ? 1 : 0;
}

void ToolButton::setValue(int newValue)
{
    setChecked(newValue != 0);
}

void ToolButton::setMixedState(bool on)
{
    mixed = on;
    update();
}

void ToolButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    if (!mixed)
        return;
    // A light hatch over the button: neither pressed nor released.
    QPainter painter(this);
    QColor hatch = palette().color(QPalette::Highlight);
    hatch.setAlpha(90);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), QBrush(hatch, Qt::Dense5Pattern));
}

Toolbar::Toolbar(const QString &name, QWidget *parent) : QToolBar(name, parent)
{
    setObjectName(name);
    setMovable(false);
    addSeparatorItem();
}

ToolButton *Toolbar::addButton(const Button &item)
{
    auto *button = new ToolButton(QString::fromLatin1(item.key), item.style, this);
    button->setIcon(item.icon);
    button->setText(item.text);
    button->setToolTip(item.text);
    button->setStatusTip(item.description);
    addWidget(button);
    buttons.append(button);
    connect(button, &QToolButton::clicked, this, [this, button] { click(button); });
    return button;
}

void Toolbar::addPlaceholder(const QString &key, QWidget *widget, const QString &description)
{
    widget->setStatusTip(description);
    addWidget(widget)->setObjectName(key);
}

void Toolbar::addSeparatorItem()
{
    addSeparator();
}

ToolButton *Toolbar::Buttons(const QString &key) const
{
    for (ToolButton *button : buttons) {
        if (button->Key() == key)
            return button;
    }
    return nullptr;
}

void Toolbar::click(ToolButton *button)
{
    // A check button has already flipped itself; a group presses one and releases the rest.
    if (button->buttonStyle() == ToolButton::Group) {
        for (ToolButton *other : std::as_const(buttons)) {
            if (other->buttonStyle() == ToolButton::Group)
                other->setValue(other == button ? 1 : 0);
        }
    }
    emit ButtonClick(button);
}
