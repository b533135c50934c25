// The white ground a metafile is drawn on, at the picture's own size.
#pragma once

#include <QImage>

// WIDTH x HEIGHT twips in pixels; a null image when that is empty or beyond the picture limit.
QImage blankPicture(double widthTwips, double heightTwips, double twipsPerPixelX,
                    double twipsPerPixelY);
