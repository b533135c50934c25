// Captions of controls that cannot grow: the design font, made smaller in half points until
// the whole caption fits the control.
#pragma once

class QAbstractButton;
class QFont;
class QLabel;

namespace CaptionFit {

// A label's text (wrapped when the label wraps) within the label's contents.
void fitLabel(QLabel *label, const QFont &design);
// A check box's or option button's caption beside its box.
void fitButton(QAbstractButton *button, const QFont &design);

} // namespace CaptionFit
