// Placeholder until the RTF reader and writer are merged: nothing reads as RTF.
#include "platform/richtext/RtfBridge.h"

namespace RtfBridge {

bool looksLikeRtf(const QByteArray &data)
{
    return data.trimmed().startsWith("{\\rtf");
}

bool read(const QByteArray &, QTextCursor &)
{
    return false;
}

QByteArray write(const QTextDocument &, int, int)
{
    return QByteArray();
}

} // namespace RtfBridge
