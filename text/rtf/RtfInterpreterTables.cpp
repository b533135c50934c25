// The RTF interpreter's tables: a row's cells join in one paragraph, separated by tabs.
#include "text/rtf/RtfInterpreter.h"

#include <algorithm>

namespace rtf {

// A cell's last paragraph ends with the cell, and its row's cells join in one paragraph: a list
// item among them keeps the joined paragraph in its list.
void Interpreter::cell(const Token &)
{
    if (top().destination != Destination::Text)
        return;
    ++out.pendingCells;
    if (listed(top().para) && !out.cellList)
        out.cellList = top().para;
}

void Interpreter::row(const Token &token)
{
    if (top().destination != Destination::Text)
        return;
    // Cells are separated by tabs; the last cell of a row needs none.
    out.pendingCells = std::max(out.pendingCells - 1, 0);
    paragraph(token);
}

} // namespace rtf
