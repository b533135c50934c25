// The RTF reader and writer as the edit control calls them.
#pragma once

#include <QByteArray>

class QTextCursor;
class QTextDocument;

namespace RtfBridge {

bool looksLikeRtf(const QByteArray &data);
// Inserts at the cursor; false when the data is not valid RTF.
bool read(const QByteArray &data, QTextCursor &cursor);
QByteArray write(const QTextDocument &document, int from, int to);

} // namespace RtfBridge
