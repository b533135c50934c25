// Message box and input box with the classic styles and result codes.
#pragma once

#include <QString>

enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// A box given no title shows the program's title.
int MsgBox(const QString &prompt, int style = vbOKOnly, const QString &title = QString());

// Returns the entered text, or an empty text when cancelled.
QString InputBox(const QString &prompt, const QString &title = QString(),
                 const QString &defaultText = QString());
