// The clipboard's rich-text formats: what the program writes, and what it reads.
#pragma once

#include <QStringList>

namespace ClipboardFormats {

inline QString rtf()
{
    return QStringLiteral("text/rtf");
}

inline QStringList rtfFormats()
{
    return {rtf(), QStringLiteral("application/rtf"), QStringLiteral("text/richtext")};
}

} // namespace ClipboardFormats
