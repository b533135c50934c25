// The clipboard's formats: what the program writes, and what it reads.
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

// Plain text for the clipboard: the edit control's paragraph ends ('\r') and soft line breaks
// ('\v') become line feeds, which Qt hands on in the platform's own line ends. Pictures have no
// text.
inline QString plainText(QString text)
{
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(u'\r', u'\n');
    text.replace(u'\v', u'\n');
    return text;
}

} // namespace ClipboardFormats
