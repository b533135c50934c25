// What the main window shows of a selection: the position panel's text and the font boxes.
#pragma once

#include <QString>
#include <optional>

class QComboBox;
class RichTextBox;

namespace SelectionFeedback {

// "1-" line "-" column for a caret (line from 1, column from 0), "A" and the length for a
// selection.
QString positionText(const RichTextBox &text);

// The size in its shortest decimal form with a point: 12 gives "12", 10.5 gives "10.5".
QString sizeText(double points);

// Selects the matching entry (names without regard to case); a name the list lacks is shown
// without an entry; nothing for mixed names.
void showFontName(QComboBox *box, const std::optional<QString> &name);
// Selects the entry equal to the size's text, else shows the text; empty for mixed sizes.
void showFontSize(QComboBox *box, std::optional<double> points);

} // namespace SelectionFeedback
