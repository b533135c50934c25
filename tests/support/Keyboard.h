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
// Types the text, one character after the other.
void type(const QString &text);
// Presses keys by their X names ("Return", "Tab", "ctrl+v"), one after the other.
void keys(const QStringList &names);

} // namespace Keyboard
