// The print copy's hard line breaks: each wrapped display line of a paragraph ends in a line
// break, so that the printout breaks its lines where the screen does.
#pragma once

class QTextCursor;
class QTextDocument;

namespace PrintCopy {

// Makes the copy's whole content the selection with its formats as they are. (A copy through
// RTF would round lengths to whole twips, and a line that just fits on screen could break
// elsewhere in the copy.)
void replaceWith(QTextDocument &copy, const QTextCursor &selection);

// A line that ends in a space has the space replaced; any other wrapped line gets the break
// behind its last character. Paragraph ends stay as they are, so first-line indents and
// bullets stay on each paragraph's first line.
void insertLineBreaks(QTextDocument &copy);

} // namespace PrintCopy
