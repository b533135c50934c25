// The clipboard's formats: what the program writes, and what it reads.
#pragma once

#include <QMimeData>
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

// The RTF that DATA offers in one of the rich-text formats; empty when none holds RTF.
inline QByteArray rtfData(const QMimeData &data)
{
    for (const QString &format : rtfFormats()) {
        const QByteArray rtf = data.data(format).trimmed();
        if (rtf.startsWith("{\\rtf"))
            return rtf;
    }
    return {};
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
