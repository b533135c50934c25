// An enhanced metafile in three steps: the ground its header's frame asks for, libemf2svg's SVG
// of it, and that SVG drawn onto the ground.
#pragma once

#include "app/velmar-picture/WmfPainter.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

// The white ground at the frame's size with the given twips per pixel; nothing when the header
// is short, the frame empty or the picture larger than the picture limit.
std::optional<RenderedPicture> emfGround(const QByteArray &data, double twipsPerPixelX,
                                         double twipsPerPixelY);
// libemf2svg's SVG of DATA for a picture of SIZE pixels; nothing when the library refuses it.
std::optional<QByteArray> emfToSvg(QByteArray data, QSize size);
// Draws SVG over the whole of IMAGE; false when it is no SVG the renderer takes.
bool drawSvg(const QByteArray &svg, QImage &image);

// The three steps in a row.
std::optional<RenderedPicture> renderEmf(const QByteArray &data, double twipsPerPixelX,
                                         double twipsPerPixelY);
