// The classic KeyDown and KeyPress events of a text box, raised for every way text reaches it:
// keys (also those the window system hands to the widget the box takes the focus for, as a
// combo box's field), an input method's text and the X selection pasted with the middle button.
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

class KeyFilter : public QObject
{
public:
    // keyOwner: the widget that holds the focus for the box, when that is not the box itself.
    explicit KeyFilter(QLineEdit *box, QWidget *keyOwner = nullptr);

    // A key goes down; true when it is handled and goes no further.
    std::function<bool(const QKeyEvent &key)> keyDown;
    // A character is about to be typed: its code (KeyCodes::vbKeyBack, KeyCodes::vbKeyReturn,
    // KeyCodes::ctrlLetter); setting it to 0 drops it. Tab and Esc move the focus or cancel and are
    // no characters. Text that arrives otherwise is typed character by character.
    std::function<void(int &keyAscii)> keyPress;

    // The character code a key types, 0 when it types none.
    static int asciiOf(const QKeyEvent &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void type(const QString &text);

    QLineEdit *box;
    QWidget *owner;
};
