// Where the ruler strip's two scroll bars go and what range they get, worked out in the strip's
// millimetres from the strip's inner size and the size of the row of ruler boxes.
#pragma once

#include <QtGlobal>

namespace StripLayout {

struct Bar
{
    bool Visible = false;
    qint16 Min = 0;
    qint16 Max = 0;
    qint16 LargeChange = 1;
    qint16 SmallChange = 1;
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

struct Strip
{
    float ScaleWidth = 0;
    float ScaleHeight = 0;
    float rowWidth = 0;
    float rowHeight = 0;
};

// Nearest whole number as a 16-bit value, halves to the even neighbour.
qint16 nearest(float value);

// One pass: the bars' visibility as it stands decides how much room the row has. The bars'
// thickness is read from them (the horizontal bar's Height, the vertical bar's Width). Values
// come out as worked out, even where a bar could not take them.
void pass(const Strip &strip, Bar &vertical, Bar &horizontal);

// Two passes, so that a bar shown by the first can make room for the other in the second.
void layout(const Strip &strip, Bar &vertical, Bar &horizontal);

} // namespace StripLayout
