// Alle ersetzen planned in one scan: which hits the search-and-replace loop replaces and where
// it leaves the selection, without running a search per hit.
#pragma once

#include <QList>
#include <QString>

namespace ReplaceAll {

enum Direction { Oberhalb = 0, Unterhalb = 1, Gesamt = 2 };

// The dialog's state when the loop starts.
struct Loop
{
    QString find;
    QString replacement;
    int options = 0; // 2 whole word, 4 match case, as the edit control's Find takes them
    int direction = Gesamt;
    int startposition = 0;
    int selStart = 0;
    int selLength = 0;
    bool ersterDurchlauf = true;
};

struct Plan
{
    // Where the replaced hits start in the text as it was: ascending, never overlapping.
    QList<int> hits;
    // Where the loop leaves the selection, in the replaced text.
    int selStart = 0;
    int selLength = 0;
    bool ersterDurchlauf = true;
    // The jump to the top fell due behind a replacement; the rest of the loop searches the
    // replaced text, so it has to be planned again on that.
    bool jumpDue = false;
};

Plan plan(const QString &text, const Loop &loop);

} // namespace ReplaceAll
