// What the RTF interpreter's files share: limits and small helpers. Private to the interpreter.
#pragma once

#include "text/TextFormat.h"

#include <QString>
#include <utility>

namespace rtf {

// What the edit control holds, so that a file it wrote comes back as written.
inline constexpr int maxTwips = static_cast<int>(TextFormat::maxLengthTwips);

inline constexpr qsizetype maxLabel = 64;

inline constexpr qsizetype maxLists = 4096; // list definitions, overrides and styles each

// A byte of a level's text waits here, at U+F000 and up, until the level's font gives its code
// page; symbol fonts keep it there, as Windows writes their characters.
inline constexpr char16_t levelByte = 0xF000;

// Characters that would split the block structure or mean nothing in running text.
inline bool isInsertable(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == '\t';
    return u != 0xFDD0 && u != 0xFDD1 && u != 0xFFFC && u != QChar::ParagraphSeparator;
}

// Beyond what Roman numerals write the number stays decimal.
inline QString lowerRoman(int number)
{
    if (number <= 0 || number >= 4000)
        return QString::number(number);
    static constexpr std::pair<int, const char *> digits[]
        = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
           {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString text;
    for (const auto &[value, letters] : digits) {
        for (; number >= value; number -= value)
            text += QLatin1String(letters);
    }
    return text;
}

inline bool isPlaceholder(QChar c)
{
    return c.unicode() < 10;
}

} // namespace rtf
