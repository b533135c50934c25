// The ruler strip's scroll-bar layout.
#include "document/StripLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace StripLayout {

qint16 nearest(float value)
{
    // nearbyint rounds halves to even in the default rounding mode.
    const float lowest = std::numeric_limits<qint16>::min();
    const float highest = std::numeric_limits<qint16>::max();
    if (std::isnan(value))
        return 0;
    return static_cast<qint16>(std::nearbyint(std::clamp(value, lowest, highest)));
}

namespace {

void showVertical(Bar &bar, float maxLength, float left, float height)
{
    bar.Visible = true;
    bar.Min = 0;
    bar.Max = nearest(maxLength);
    bar.Top = 0;
    bar.Left = left;
    bar.Height = height;
    bar.LargeChange = nearest(bar.Height);
    bar.SmallChange = static_cast<qint16>(std::floor(bar.LargeChange / 5.0));
}

void showHorizontal(Bar &bar, float maxLength, float top, float width)
{
    bar.Visible = true;
    bar.Min = 0;
    bar.Max = nearest(maxLength);
    bar.Top = top;
    bar.Left = 0;
    bar.Width = width;
    bar.LargeChange = nearest(bar.Width);
    bar.SmallChange = static_cast<qint16>(std::floor(bar.LargeChange / 5.0));
}

} // namespace

void pass(const Strip &strip, Bar &vertical, Bar &horizontal)
{
    const float sw = strip.ScaleWidth;
    const float sh = strip.ScaleHeight;
    const float bh = horizontal.Height;
    const float bw = vertical.Width;
    const float availableHeight = horizontal.Visible ? sh - bh : sh;
    const float availableWidth = vertical.Visible ? sw - bw : sw;
    const bool verticalNeeded = availableHeight < strip.rowHeight;
    const bool horizontalNeeded = strip.rowWidth > availableWidth;
    if (verticalNeeded && horizontalNeeded) {
        showVertical(vertical, strip.rowHeight - (sh - bh), sw - bw, sh - bh);
        showHorizontal(horizontal, strip.rowWidth - (sw - bw), sh - bh, sw - bw);
    } else if (verticalNeeded) {
        showVertical(vertical, strip.rowHeight - sh, sw - bw, sh);
        horizontal.Visible = false;
    } else if (horizontalNeeded) {
        showHorizontal(horizontal, strip.rowWidth - sw, sh - bh, sw);
        vertical.Visible = false;
    } else {
        vertical.Visible = false;
        horizontal.Visible = false;
    }
}

void layout(const Strip &strip, Bar &vertical, Bar &horizontal)
{
    pass(strip, vertical, horizontal);
    pass(strip, vertical, horizontal);
}

} // namespace StripLayout
