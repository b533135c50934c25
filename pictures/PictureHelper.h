// Runs the metafile helper, velmar-picture beside the program, for one metafile: the decoding
// happens in a process of its own, held to a time and a memory limit.
#pragma once

#include "pictures/Picture.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace PictureHelper {

// The helper's path: beside the running executable.
QString path();

// The picture the helper makes of DATA ("wmf" or "emf"); nothing when it crashes, runs out of
// time or memory, refuses the data or answers anything but a picture within the limits. Blocks
// the calling thread only, whichever it is.
std::optional<DecodedPicture> decode(const QByteArray &data, const char *kind,
                                     double twipsPerPixelX, double twipsPerPixelY);

} // namespace PictureHelper
