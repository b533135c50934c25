// Windows code page 1252 a character at a time (Chr and the code of a character), from Qt's
// converter; whole texts are read and written with QStringDecoder and QStringEncoder of the
// converter named here, which every byte survives both ways.
#pragma once

#include <QChar>

namespace Cp1252 {

inline constexpr char converterName[] = "windows-1252";

// The character for a code 0-255 (Chr(n)); other codes give U+FFFD.
QChar Chr(int code);
// The code of one character, or -1 when the code page lacks it.
int codeOf(QChar character);

} // namespace Cp1252
