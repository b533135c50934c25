// Where document windows go in the frame's area, as the classic MDI frame placed them: each new
// window one title bar lower and to the right of the last, and cascading that keeps sizes.
#pragma once

class QMdiArea;
class QMdiSubWindow;

namespace MdiPlacement {

// Places a window just added to the area: one title bar's height lower and to the right of the
// window opened before it, or at the top left again once the stagger passes a third of the area.
void placeNew(QMdiArea *area, QMdiSubWindow *window);

// Cascades the open windows that are not minimised, in the order they were opened, the active
// one last. Each keeps its size where that fits at its place; otherwise it gets the room left
// there, so that its text shows.
void cascade(QMdiArea *area);

} // namespace MdiPlacement
