// Keys typed through the window system, as a keyboard types them: xdotool hands them to the X
// server of the xcb run, which delivers them to the focused window. Elsewhere tests skip.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace Keyboard {

// Why keys cannot be typed through the window system here; empty when they can.
QString unavailable();
// Makes the widget's window the active window (on the X server too) and gives the widget the
// focus, where both Qt's test keys and the keyboard's keys go.
bool focus(QWidget *widget);
enum class Way {
    TestKeys, // Qt's test functions, sent to the focused widget
    XKeyboard // xdotool on the X server, which sends them to the focused window
};
// Types the text one character after the other, then presses the keys by their X names
// ("Return", "Tab", "Escape", "Up", "BackSpace", "ctrl+Next", "alt+l"), into the focused widget.
void type(Way way, const QString &text, const QStringList &keys = {});

} // namespace Keyboard
