// The document's information group of an RTF file (`\info`: title, author, company, dates),
// kept on the document as the file had it: Velmar neither shows nor edits it but writes it
// back in the saved file's header.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace rtf::info {

// The kept group; empty for none.
QByteArray group(const QTextDocument &document);
void setGroup(QTextDocument &document, const QByteArray &bytes);

} // namespace rtf::info
