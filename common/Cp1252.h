// Windows code page 1252: our own table for 0x80-0x9F; 0xA0-0xFF are Latin-1.
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <optional>

namespace Cp1252 {

// The character for a code 0-255 (Chr(n)); other codes give U+FFFD.
QChar Chr(int code);
QString decode(const QByteArray &bytes);
// Empty when the text holds a character the code page lacks.
std::optional<QByteArray> encode(const QString &text);
// The code of one character, or -1 when the code page lacks it.
int codeOf(QChar character);

} // namespace Cp1252
