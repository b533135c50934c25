// Case folding for searches: character by character, so every length stays the same and a hit
// in the folded text is a hit in the text (ß stays ß, never SS).
#pragma once

#include <QString>

namespace CaseFolding {

void fold(QString &text);

} // namespace CaseFolding
