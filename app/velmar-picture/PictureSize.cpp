#include "app/velmar-picture/PictureSize.h"

#include "pictures/PictureLimits.h"

#include <cmath>

QImage blankPicture(double widthTwips, double heightTwips, double twipsPerPixelX,
                    double twipsPerPixelY)
{
    if (!(twipsPerPixelX > 0) || !(twipsPerPixelY > 0))
        return QImage();
    const double width = std::max(1.0, std::round(widthTwips / twipsPerPixelX));
    const double height = std::max(1.0, std::round(heightTwips / twipsPerPixelY));
    // Compared as doubles first, so no size from a header can overflow an integer.
    if (!(widthTwips > 0) || !(heightTwips > 0)
        || !(width * height <= double(PictureLimits::maxPixels)))
        return QImage();
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (!image.isNull())
        image.fill(Qt::white);
    return image;
}
