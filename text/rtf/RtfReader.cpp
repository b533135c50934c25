// Entry points of the RTF reader; the work is done by the interpreter.
#include "text/rtf/RtfReader.h"

#include "text/rtf/RtfInterpreter.h"

namespace rtf {

bool looksLikeRtf(const QByteArray &data)
{
    qsizetype i = 0;
    while (i < data.size()
           && (data.at(i) == ' ' || data.at(i) == '\t' || data.at(i) == '\r' || data.at(i) == '\n'))
        ++i;
    return QByteArrayView(data).sliced(i).startsWith("{\\rtf");
}

ReadResult read(const QByteArray &data, QTextCursor &cursor)
{
    if (!looksLikeRtf(data))
        return ReadResult {false, QStringLiteral("Die Datei ist kein gültiges RTF-Dokument.")};
    Interpreter interpreter(cursor);
    interpreter.run(data);
    return ReadResult {true, QString()};
}

} // namespace rtf
