// Header and footer groups of an RTF file and the words that choose between them, kept on the
// paragraph they stood before: Velmar neither shows nor edits them but writes them back there.
#pragma once

#include <QByteArray>
#include <QTextBlockFormat>

namespace rtf::section {

// The kept bytes of a paragraph, as the file had them; empty for none.
QByteArray groups(const QTextBlockFormat &format);
// Adds bytes behind those the paragraph keeps already.
void addGroups(QTextBlockFormat &format, QByteArrayView bytes);

} // namespace rtf::section
