// A key that no shortcut took reaches its widget again without its text, so that the widget
// still sees the key go down (KeyDown) but no text field or edit control types it.
#include "platform/AltLetters.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace {

// Alt alone; Ctrl with Alt is how AltGr arrives on some systems.
bool typesWithAlt(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers chord = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    return chord == Qt::AltModifier && !key.text().isEmpty() && key.text().at(0).isPrint();
}

} // namespace

AltLetters::AltLetters(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool AltLetters::eventFilter(QObject *watched, QEvent *event)
{
    if (event == resent || event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto &key = *static_cast<QKeyEvent *>(event);
    // An open menu chooses its item by the key's text, Alt held or not; Alt going down on its
    // way to the letter leaves the menu open, as the platform's menus stay.
    if (qobject_cast<QMenu *>(watched))
        return key.key() == Qt::Key_Alt;
    if (!typesWithAlt(key))
        return false;
    QKeyEvent textless(key.type(), key.key(), key.modifiers(), key.nativeScanCode(),
                       key.nativeVirtualKey(), key.nativeModifiers(), QString(), key.isAutoRepeat(),
                       key.count(), key.device());
    QEvent *outer = resent;
    resent = &textless;
    QApplication::sendEvent(watched, &textless);
    resent = outer;
    // The copy has gone up to the window already; the key goes no further.
    key.accept();
    return true;
}
