// The print copy's hard line breaks: each wrapped display line of a paragraph ends in a line
// break, so that the printout breaks its lines where the screen does.
#pragma once

class QTextDocument;

namespace PrintCopy {

// A line that ends in a space has the space replaced; any other wrapped line gets the break
// behind its last character. Paragraph ends stay as they are, so first-line indents and
// bullets stay on each paragraph's first line.
void insertLineBreaks(QTextDocument &copy);

} // namespace PrintCopy
