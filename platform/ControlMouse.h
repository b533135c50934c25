// Mouse events of a form's controls with the classic arguments (button, shift state, position in
// the control's own unit), and the dragging of controls within the form: the control under the
// pointer at the end of a drag receives the drop, in its own coordinates.
#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QLabel;
class QMouseEvent;
class QWidget;

class ControlMouse : public QObject
{
    Q_OBJECT
public:
    // Buttons and shift states as the handlers receive them.
    enum Button : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
    enum Shift : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
    enum class Unit { Millimetres, Twips };
    // Drag actions.
    enum DragAction : int { vbCancel = 0, vbBeginDrag = 1, vbEndDrag = 2 };

    // The buttons and shift state of a Qt event as the handlers receive them, also a text
    // box's.
    static int buttonsCode(Qt::MouseButtons buttons);
    static int shiftCode(Qt::KeyboardModifiers modifiers);

    struct Event
    {
        // The button pressed or released; for a move, the buttons held.
        int Button = 0;
        int Shift = 0;
        double X = 0;
        double Y = 0;
    };
    using Handler = std::function<void(const Event &)>;
    using DropHandler = std::function<void(QWidget *source, double X, double Y)>;

    // The form takes the drops that fall on none of its controls. Positions are given in the
    // form's unit unless a control has its own.
    ControlMouse(QWidget *form, Unit unit);

    void setUnit(QWidget *control, Unit unit);
    void onMouseDown(QWidget *control, Handler handler);
    void onMouseMove(QWidget *control, Handler handler);
    void onMouseUp(QWidget *control, Handler handler);

    // A left-button press drags the control by itself; it then raises no mouse-down or -up.
    void setDragAutomatic(QWidget *control);
    // The control takes drops. Without a handler a drop on it ends the drag with no effect.
    void onDragDrop(QWidget *control, DropHandler handler);

    // Begins a drag of the control from where the pointer is, ends it with a drop where the
    // pointer is now, or cancels it.
    void Drag(QWidget *control, int action);
    QWidget *dragSource() const;
    // The picture that follows the pointer during a drag, or nullptr.
    QLabel *dragPicture() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Control
    {
        Unit unit;
        Handler mouseDown;
        Handler mouseMove;
        Handler mouseUp;
        bool automatic = false;
        bool takesDrops = false;
        DropHandler drop;
    };

    Control &control(QWidget *widget);
    // The drag's own handling of a mouse event; true when the event goes no further.
    bool whileDragging(QWidget *widget, QEvent *event);
    QPointF inOwnUnit(QWidget *widget, QPointF pixels) const;
    Event eventFor(QWidget *widget, const QMouseEvent *mouse, int button) const;
    void beginDrag(QWidget *source);
    void followPointer();
    void drop();
    void endDrag();
    // The control under a point of the screen, or nullptr outside the form.
    QWidget *controlAt(QPoint global) const;

    QWidget *form;
    Unit formUnit;
    QHash<QWidget *, Control> controls;
    QPointer<QWidget> source;
    QPointer<QLabel> picture;
    QMetaObject::Connection sourceGone;
    // Where in the source the pointer took hold of it, and where the pointer is now.
    QPoint grip;
    QPoint lastPress;
    QPoint pointer;
};
