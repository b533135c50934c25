// The tool windows' access to whichever document window is active at the moment: each call
// asks the main window afresh, and does nothing when there is no document to act on.
#pragma once

#include <QString>
#include <optional>

namespace ActiveDocument {

// Replaces the active document's selection by the text, or inserts it at the caret; without an
// active document nothing happens.
void insertText(const QString &text);
// The same through the rich-text property: plain text replaces the selection as it stands.
void setSelRTF(const QString &text);

// The font name of the active document's selection; empty without a document or when the
// selection mixes fonts.
std::optional<QString> selFontName();

} // namespace ActiveDocument
