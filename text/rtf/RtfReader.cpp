// Entry points of the RTF reader; the work is done by the interpreter.
#include "text/rtf/RtfReader.h"

#include "text/rtf/RtfInfoGroup.h"
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

namespace {

ReadResult refusal()
{
    return ReadResult {false, QStringLiteral("Die Datei ist kein gültiges RTF-Dokument.")};
}

} // namespace

ReadResult read(const QByteArray &data, QTextCursor &cursor)
{
    if (!looksLikeRtf(data))
        return refusal();
    Interpreter interpreter(cursor);
    interpreter.run(data);
    return ReadResult {true, QString()};
}

ReadResult readDocument(const QByteArray &data, QTextDocument &document)
{
    if (!looksLikeRtf(data))
        return refusal();
    QTextCursor cursor(&document);
    Interpreter interpreter(cursor);
    interpreter.run(data);
    info::setGroup(document, interpreter.infoGroup());
    return ReadResult {true, QString()};
}

} // namespace rtf
