// Classic mouse events and control dragging on top of Qt's mouse events. A press grabs the mouse
// for the pressed widget, so the moves and the release of a drag all arrive at its source.
#include "platform/ControlMouse.h"

#include "platform/Screen.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return ControlMouse::vbLeftButton;
    case Qt::RightButton:
        return ControlMouse::vbRightButton;
    case Qt::MiddleButton:
        return ControlMouse::vbMiddleButton;
    default:
        return 0;
    }
}

// The control's look, a little faded, so the place it came from still shows through. An image
// control is its picture, transparent where the picture is.
QPixmap dragLook(QWidget *control)
{
    const auto *image = qobject_cast<QLabel *>(control);
    const QPixmap look = image && !image->pixmap().isNull() ? image->pixmap() : control->grab();
    QPixmap faded(look.size());
    faded.setDevicePixelRatio(look.devicePixelRatio());
    faded.fill(Qt::transparent);
    QPainter painter(&faded);
    painter.setOpacity(0.7);
    painter.drawPixmap(0, 0, look);
    return faded;
}

} // namespace

int ControlMouse::buttonsCode(Qt::MouseButtons buttons)
{
    int code = 0;
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (buttons & button)
            code |= buttonCode(button);
    return code;
}

int ControlMouse::shiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= vbShiftMask;
    if (modifiers & Qt::ControlModifier)
        code |= vbCtrlMask;
    if (modifiers & Qt::AltModifier)
        code |= vbAltMask;
    return code;
}

ControlMouse::ControlMouse(QWidget *form, Unit unit) : QObject(form), form(form), formUnit(unit) { }

ControlMouse::Control &ControlMouse::control(QWidget *widget)
{
    auto found = controls.find(widget);
    if (found != controls.end())
        return *found;
    connect(widget, &QObject::destroyed, this, [this, widget] { controls.remove(widget); });
    return *controls.insert(widget, Control {formUnit, {}, {}, {}, false, false, {}});
}

void ControlMouse::setUnit(QWidget *widget, Unit unit)
{
    control(widget).unit = unit;
}

void ControlMouse::onMouseDown(QWidget *widget, Handler handler)
{
    control(widget).mouseDown = std::move(handler);
    widget->installEventFilter(this);
}

void ControlMouse::onMouseMove(QWidget *widget, Handler handler)
{
    control(widget).mouseMove = std::move(handler);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

void ControlMouse::onMouseUp(QWidget *widget, Handler handler)
{
    control(widget).mouseUp = std::move(handler);
    widget->installEventFilter(this);
}

void ControlMouse::setDragAutomatic(QWidget *widget)
{
    control(widget).automatic = true;
    // A press on a dragging control starts a drag, never a context menu.
    widget->setContextMenuPolicy(Qt::PreventContextMenu);
    widget->installEventFilter(this);
}

void ControlMouse::onDragDrop(QWidget *widget, DropHandler handler)
{
    Control &entry = control(widget);
    entry.takesDrops = true;
    entry.drop = std::move(handler);
}

QPointF ControlMouse::inOwnUnit(QWidget *widget, QPointF pixels) const
{
    const auto found = controls.constFind(widget);
    const Unit unit = found == controls.constEnd() ? formUnit : found->unit;
    if (unit == Unit::Twips)
        return {pixels.x() * Screen::twipsPerPixelX(), pixels.y() * Screen::twipsPerPixelY()};
    return pixels / Screen::pixelsPerMm();
}

ControlMouse::Event ControlMouse::eventFor(QWidget *widget, const QMouseEvent *mouse,
                                           int button) const
{
    const QPointF position = inOwnUnit(widget, mouse->position());
    return Event {button, shiftCode(mouse->modifiers()), position.x(), position.y()};
}

bool ControlMouse::whileDragging(QWidget *widget, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::MouseMove:
        // While a drag is on, the controls see no moves.
        pointer = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        followPointer();
        return true;
    case QEvent::MouseButtonRelease: {
        pointer = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (controls.value(source).automatic) {
            drop();
            return true;
        }
        // A drag under program control ends in the source's own mouse-up; a release that
        // cannot reach the source any more ends it without a drop.
        if (widget != source)
            endDrag();
        return false;
    }
    default:
        return false;
    }
}

bool ControlMouse::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    // During a drag this filter watches the whole program, so a release lands wherever the
    // source is now, even hidden.
    if (source && widget && whileDragging(widget, event))
        return true;
    const auto found = widget ? controls.find(widget) : controls.end();
    if (found == controls.end())
        return QObject::eventFilter(watched, event);
    const Control entry = *found;
    // A control that only takes drops keeps its own mouse handling.
    if (!entry.automatic && !entry.mouseDown && !entry.mouseMove && !entry.mouseUp)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        lastPress = pointer = mouse->globalPosition().toPoint();
        if (entry.automatic) {
            if (mouse->button() == Qt::LeftButton)
                beginDrag(widget);
            return true;
        }
        if (entry.mouseDown)
            entry.mouseDown(eventFor(widget, mouse, buttonCode(mouse->button())));
        return true;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        pointer = mouse->globalPosition().toPoint();
        if (entry.mouseMove)
            entry.mouseMove(eventFor(widget, mouse, buttonsCode(mouse->buttons())));
        return entry.mouseMove || entry.automatic;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        pointer = mouse->globalPosition().toPoint();
        if (entry.automatic)
            return true;
        if (entry.mouseUp)
            entry.mouseUp(eventFor(widget, mouse, buttonCode(mouse->button())));
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void ControlMouse::Drag(QWidget *widget, int action)
{
    switch (action) {
    case vbBeginDrag:
        if (!source) {
            pointer = lastPress;
            beginDrag(widget);
        }
        break;
    case vbEndDrag:
        if (source == widget)
            drop();
        break;
    case vbCancel:
        if (source == widget)
            endDrag();
        break;
    default:
        break;
    }
}

QWidget *ControlMouse::dragSource() const
{
    return source;
}

QLabel *ControlMouse::dragPicture() const
{
    return picture;
}

void ControlMouse::beginDrag(QWidget *widget)
{
    source = widget;
    grip = widget->mapFromGlobal(pointer);
    picture = new QLabel(form);
    picture->setObjectName(QStringLiteral("dragPicture"));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->setPixmap(dragLook(widget));
    picture->resize(widget->size());
    followPointer();
    picture->show();
    picture->raise();
    sourceGone = connect(widget, &QObject::destroyed, this, &ControlMouse::endDrag);
    qApp->installEventFilter(this);
}

void ControlMouse::followPointer()
{
    if (picture)
        picture->move(form->mapFromGlobal(pointer) - grip);
}

void ControlMouse::endDrag()
{
    qApp->removeEventFilter(this);
    disconnect(sourceGone);
    source = nullptr;
    delete picture;
}

void ControlMouse::drop()
{
    QPointer<QWidget> dropped = source;
    endDrag();
    QWidget *target = controlAt(pointer);
    if (!target || !dropped)
        return;
    const Control entry = controls.value(target);
    if (!entry.drop)
        return;
    const QPointF position = inOwnUnit(target, target->mapFromGlobal(QPointF(pointer)));
    entry.drop(dropped, position.x(), position.y());
}

QWidget *ControlMouse::controlAt(QPoint global) const
{
    const QPoint local = form->mapFromGlobal(global);
    if (!form->rect().contains(local))
        return nullptr;
    QWidget *widget = form->childAt(local);
    while (widget && widget != form && !controls.contains(widget))
        widget = widget->parentWidget();
    return widget ? widget : form;
}
