// Keys typed through the window system, as a keyboard types them: xdotool hands them to the X
// server of the xcb run, which delivers them to the focused window. Elsewhere tests skip.
#pragma once

#include <QString>
#include <QStringList>

class QPoint;
class QTestData;
class QWidget;

namespace Keyboard {

enum class Way {
    TestKeys, // Qt's test functions, sent to the open popup or else the focused widget
    XKeyboard // xdotool on the X server, which sends them to the focused window
};

// Why keys cannot be typed this way here; empty when they can.
QString unavailable(Way way = Way::XKeyboard);
// Makes the widget's window the active window (on the X server too) and gives the widget the
// focus, where both Qt's test keys and the keyboard's keys go.
bool focus(QWidget *widget);

// Typed through the X server into the focused window. Each returns once the program has handled
// the events it caused, its event loop running all along: a modal box may open between two
// keys and take the next ones. False when xdotool failed.
[[nodiscard]] bool typeText(const QString &text); // one character after the other
// X key names ("Return", "Tab", "Escape", "Up", "BackSpace", "ctrl+Next", "alt+l", "Alt_L" for
// Alt alone), pressed one after the other with no other key held.
[[nodiscard]] bool pressKeys(const QStringList &names);
// The left button of the same X server's mouse, at a place on the screen.
[[nodiscard]] bool click(const QPoint &global);

inline constexpr Way ways[] = {Way::TestKeys, Way::XKeyboard};
// The first column of a data table whose rows are typed both ways: "way".
void addWayColumn();
// A row of that table; typed on the keyboard, its name ends in ", keyboard".
QTestData &newRow(Way way, const char *name);
// Types the text, then presses the keys by their X names, into the focused widget. False when
// they could not be typed.
[[nodiscard]] bool type(Way way, const QString &text, const QStringList &keys = {});

} // namespace Keyboard
