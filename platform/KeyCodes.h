// The codes of the classic key events, named once: the key code a key reports as it goes down
// (KeyDown), and the character codes of the keys that type control characters (KeyPress).
#pragma once

class QKeyEvent;

namespace KeyCodes {

// Key codes as KeyDown reports them. Backspace, Tab, Enter and Esc type the character of the
// same code; a letter's and a digit's code is that of its capital letter or digit.
enum Code : int {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyClear = 12,
    vbKeyReturn = 13,
    vbKeyShift = 16,
    vbKeyControl = 17,
    vbKeyMenu = 18, // Alt
    vbKeyPause = 19,
    vbKeyCapital = 20,
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeySnapshot = 44,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
    vbKey0 = 48,
    vbKeyA = 65,
    vbKeyApps = 93, // the context-menu key
    vbKeyNumpad0 = 96,
    vbKeyMultiply = 106,
    vbKeyAdd = 107,
    vbKeySubtract = 109,
    vbKeyDecimal = 110,
    vbKeyDivide = 111,
    vbKeyF1 = 112,
    vbKeyF3 = 114,
    vbKeyNumlock = 144,
    vbKeyScrollLock = 145,
    // The punctuation keys, named by what they carry on the German keyboard.
    vbKeyUe = 186,
    vbKeyPlus = 187,
    vbKeyComma = 188,
    vbKeyMinus = 189,
    vbKeyPeriod = 190,
    vbKeyNumberSign = 191,
    vbKeyOe = 192,
    vbKeySharpS = 219,
    vbKeyCircumflex = 220,
    vbKeyAcute = 221,
    vbKeyAe = 222,
    vbKeyLess = 226,
};

// The character code Ctrl with a letter types, given the code of its capital (Qt's key of the
// letter): 1 for A to 26 for Z.
constexpr int ctrlLetter(int capital)
{
    return capital - 'A' + 1;
}

// The key code of the key that goes down, 0 for a key that has none.
int keyCode(const QKeyEvent &event);

} // namespace KeyCodes
