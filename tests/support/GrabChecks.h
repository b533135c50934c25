// What a grab of a window must show, read from its pixels: every caption on show is drawn, and
// none runs past its control, which would cut it off.
#pragma once

#include <QStringList>

class QMenu;
class QMenuBar;
class QWidget;

namespace GrabChecks {

// The labels, check boxes and option buttons on show in `window` whose caption the grab does
// not show whole, each named with what is wrong; empty when every caption stands whole.
QStringList cutCaptions(QWidget *window);
// The items of an open menu (or of a menu bar) that the grab shows without their caption, or
// without their shortcut beside it; empty when every item shows both.
QStringList itemsWithoutCaption(QMenu *menu);
QStringList itemsWithoutCaption(QMenuBar *bar);

} // namespace GrabChecks
