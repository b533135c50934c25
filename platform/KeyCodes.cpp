// The key code of a Qt key event: the keys of the German keyboard, the keypad told apart.
#include "platform/KeyCodes.h"

#include <QKeyEvent>

namespace KeyCodes {

int keyCode(const QKeyEvent &event)
{
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return vbKeyA + key - Qt::Key_A;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? vbKeyNumpad0 : vbKey0) + key - Qt::Key_0;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return vbKeyF1 + key - Qt::Key_F1;
    switch (key) {
    case Qt::Key_Backspace:
        return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vbKeyTab;
    case Qt::Key_Clear:
        return vbKeyClear;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vbKeyReturn;
    case Qt::Key_Shift:
        return vbKeyShift;
    case Qt::Key_Control:
        return vbKeyControl;
    case Qt::Key_Alt:
        return vbKeyMenu;
    case Qt::Key_Pause:
        return vbKeyPause;
    case Qt::Key_CapsLock:
        return vbKeyCapital;
    case Qt::Key_Escape:
        return vbKeyEscape;
    case Qt::Key_Space:
        return vbKeySpace;
    case Qt::Key_PageUp:
        return vbKeyPageUp;
    case Qt::Key_PageDown:
        return vbKeyPageDown;
    case Qt::Key_End:
        return vbKeyEnd;
    case Qt::Key_Home:
        return vbKeyHome;
    case Qt::Key_Left:
        return vbKeyLeft;
    case Qt::Key_Up:
        return vbKeyUp;
    case Qt::Key_Right:
        return vbKeyRight;
    case Qt::Key_Down:
        return vbKeyDown;
    case Qt::Key_Print:
        return vbKeySnapshot;
    case Qt::Key_Insert:
        return vbKeyInsert;
    case Qt::Key_Delete:
        return vbKeyDelete;
    case Qt::Key_Menu:
        return vbKeyApps;
    case Qt::Key_Asterisk:
        return vbKeyMultiply;
    case Qt::Key_Plus:
        return keypad ? vbKeyAdd : vbKeyPlus;
    case Qt::Key_Minus:
        return keypad ? vbKeySubtract : vbKeyMinus;
    case Qt::Key_Period:
        return keypad ? vbKeyDecimal : vbKeyPeriod;
    case Qt::Key_Slash:
        return keypad ? vbKeyDivide : vbKeyNumberSign;
    case Qt::Key_NumLock:
        return vbKeyNumlock;
    case Qt::Key_ScrollLock:
        return vbKeyScrollLock;
    case Qt::Key_Semicolon:
    case Qt::Key_Udiaeresis:
        return vbKeyUe;
    case Qt::Key_Equal:
        return vbKeyPlus;
    case Qt::Key_Comma:
        return vbKeyComma;
    case Qt::Key_NumberSign:
        return vbKeyNumberSign;
    case Qt::Key_QuoteLeft:
    case Qt::Key_Odiaeresis:
        return vbKeyOe;
    case Qt::Key_BracketLeft:
    case Qt::Key_ssharp:
        return vbKeySharpS;
    case Qt::Key_Backslash:
    case Qt::Key_AsciiCircum:
        return vbKeyCircumflex;
    case Qt::Key_BracketRight:
        return vbKeyAcute;
    case Qt::Key_Apostrophe:
    case Qt::Key_Adiaeresis:
        return vbKeyAe;
    case Qt::Key_Less:
        return vbKeyLess;
    default:
        return 0;
    }
}

} // namespace KeyCodes
