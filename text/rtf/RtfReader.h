// Reads RTF into a QTextDocument: what real word processors write, never crashing or hanging
// on malformed input.
#pragma once

#include <QByteArray>
#include <QString>

class QTextCursor;
class QTextDocument;

namespace rtf {

// True when the data starts (after white space) with "{\rtf".
bool looksLikeRtf(const QByteArray &data);

struct ReadResult
{
    bool ok = false;
    QString error; // German text for a message box when !ok
};

// Inserts the document's content at the cursor, which ends behind it. The first paragraph
// joins the cursor's paragraph; a paragraph end in the RTF starts a new one.
ReadResult read(const QByteArray &data, QTextCursor &cursor);
// Reads a whole file into an empty document, which keeps the file's information group too.
ReadResult readDocument(const QByteArray &data, QTextDocument &document);

} // namespace rtf
