// libFuzzer entry for the picture loader: any input is decoded as whichever kind it looks like,
// metafiles through the helper process with its limits, and gives a picture within the limits or
// nothing.
#include "fuzz/FuzzApplication.h"
#include "pictures/Picture.h"
#include "pictures/PictureLimits.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    startFuzzApplication(*argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (PictureKind kind : {PictureKind::Emf, PictureKind::Wmf, PictureKind::Bitmap}) {
        const std::optional<DecodedPicture> picture = DecodePicture(input, kind);
        if (!picture)
            continue;
        const QImage &image = picture->image;
        if (image.isNull() || qint64(image.width()) * image.height() > PictureLimits::maxPixels
            || !(picture->widthTwips > 0) || !(picture->heightTwips > 0))
            std::abort();
    }
    return 0;
}
