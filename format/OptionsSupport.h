// Small shared pieces of the formatting dialog: placing controls in twips and millimetres,
// list indexes, number conversions and the way to the active document.
#pragma once

#include <QString>

class QListWidget;
class QWidget;
class RichTextBox;
class frmDocument;

namespace OptionsSupport {

// The edit control's offset unit per point.
constexpr double offsetPerPoint = 21.3192;

// Twips relative to the container; without a size the control keeps its natural one.
void place(QWidget *widget, int left, int top, int width = -1, int height = -1);
void placeMm(QWidget *widget, double left, double top, double width, double height);

int listIndex(const QListWidget *list);
void setListIndex(QListWidget *list, int index);

// A whole number kept inside int's range.
int wholeNumber(double value);
// Rounding to the nearest whole number, halves to even.
int roundedToEven(double value);

// A tab position written with the German decimal comma (12,5), and back.
QString tabText(double mm);
float tabValue(const QString &text);

// The active rich-text window and its edit control, or none.
frmDocument *activeDocument();
RichTextBox *activeText();

} // namespace OptionsSupport
