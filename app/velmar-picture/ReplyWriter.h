// The helper's answer as it goes out: the header of PictureLimits, then the pixels row by row.
#pragma once

#include "app/velmar-picture/WmfPainter.h"

#include <QtGlobal>
#include <functional>

// Hands PICTURE's answer to WRITE piece by piece; false as soon as WRITE fails.
bool writeReply(const RenderedPicture &picture,
                const std::function<bool(const char *bytes, qint64 size)> &write);
