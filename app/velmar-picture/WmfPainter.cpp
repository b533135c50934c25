// The device layer: libwmf hands each drawing call with coordinates in the metafile's own space,
// which the painter's transform maps onto the picture's pixels.
#include "app/velmar-picture/WmfPainter.h"

#include "app/velmar-picture/PictureSize.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstring>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>
}

namespace {

// A bitmap inside a metafile is drawn only up to this size; libwmf's own sizes are 16-bit.
constexpr qint64 maxBitmapPixels = 16'000'000;

struct Device
{
    QPainter *painter = nullptr;
};

QPainter &painterOf(wmfAPI *api)
{
    return *static_cast<Device *>(api->device_data)->painter;
}

QColor colour(const wmfRGB *rgb)
{
    return QColor(rgb->r, rgb->g, rgb->b);
}

QPointF point(const wmfD_Coord &coord)
{
    return QPointF(coord.x, coord.y);
}

QRectF rect(const wmfD_Coord &topLeft, const wmfD_Coord &bottomRight)
{
    return QRectF(point(topLeft), point(bottomRight)).normalized();
}

QPen penOf(const wmfDC *dc)
{
    const wmfPen *pen = WMF_DC_PEN(dc);
    if (!pen || WMF_PEN_STYLE(pen) == PS_NULL)
        return QPen(Qt::NoPen);
    QPen result(colour(WMF_PEN_COLOR(pen)));
    // Width 0 is one device pixel, as a cosmetic pen draws it; so is a width no pen can have.
    const double width = WMF_PEN_WIDTH(pen);
    result.setWidthF(std::isfinite(width) && width > 0 ? width : 0);
    switch (WMF_PEN_STYLE(pen)) {
    case PS_DASH:
        result.setStyle(Qt::DashLine);
        break;
    case PS_DOT:
    case PS_ALTERNATE:
        result.setStyle(Qt::DotLine);
        break;
    case PS_DASHDOT:
        result.setStyle(Qt::DashDotLine);
        break;
    case PS_DASHDOTDOT:
        result.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    switch (WMF_PEN_ENDCAP(pen)) {
    case PS_ENDCAP_SQUARE:
        result.setCapStyle(Qt::SquareCap);
        break;
    case PS_ENDCAP_FLAT:
        result.setCapStyle(Qt::FlatCap);
        break;
    default:
        result.setCapStyle(Qt::RoundCap);
    }
    switch (WMF_PEN_JOIN(pen)) {
    case PS_JOIN_BEVEL:
        result.setJoinStyle(Qt::BevelJoin);
        break;
    case PS_JOIN_MITER:
        result.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        result.setJoinStyle(Qt::RoundJoin);
    }
    return result;
}

// A libwmf bitmap as an image, or a null image when it is empty or too large.
QImage imageOf(wmfAPI *api, wmfBMP *bmp, int x, int y, int width, int height)
{
    if (!bmp->data || width <= 0 || height <= 0
        || static_cast<qint64>(width) * height > maxBitmapPixels)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            wmfRGB rgb {};
            wmf_ipa_bmp_color(api, bmp, &rgb, static_cast<unsigned>(x + column),
                              static_cast<unsigned>(y + row));
            // The library counts rows from the bottom, as a device-independent bitmap does.
            image.setPixel(column, height - 1 - row, qRgb(rgb.r, rgb.g, rgb.b));
        }
    }
    return image;
}

QBrush brushOf(wmfAPI *api, const wmfDC *dc)
{
    wmfBrush *brush = WMF_DC_BRUSH(dc);
    if (!brush)
        return QBrush(Qt::NoBrush);
    const QColor fill = colour(WMF_BRUSH_COLOR(brush));
    switch (WMF_BRUSH_STYLE(brush)) {
    case BS_NULL:
        return QBrush(Qt::NoBrush);
    case BS_HATCHED: {
        static constexpr Qt::BrushStyle hatches[]
            = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
               Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        const unsigned hatch = WMF_BRUSH_HATCH(brush);
        return QBrush(fill, hatch < std::size(hatches) ? hatches[hatch] : Qt::SolidPattern);
    }
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT: {
        wmfBMP *bmp = WMF_BRUSH_BITMAP(brush);
        const QImage pattern = imageOf(api, bmp, 0, 0, bmp->width, bmp->height);
        return pattern.isNull() ? QBrush(fill) : QBrush(pattern);
    }
    default:
        return QBrush(fill);
    }
}

// Sets the painter up for a shape: the DC's pen, and its brush when the shape is filled.
QPainter &prepare(wmfAPI *api, const wmfDC *dc, bool filled)
{
    QPainter &painter = painterOf(api);
    painter.setPen(penOf(dc));
    painter.setBrush(filled ? brushOf(api, dc) : QBrush(Qt::NoBrush));
    return painter;
}

Qt::FillRule fillRule(const wmfDC *dc)
{
    return WMF_DC_POLYFILL(dc) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
}

QPolygonF polygon(const wmfD_Coord *points, int count)
{
    QPolygonF result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result << point(points[i]);
    return result;
}

// Arcs run counter-clockwise from start to end; both are given relative to the centre.
void drawArcShape(wmfAPI *api, wmfDrawArc_t *arc, int kind)
{
    const QRectF box = rect(arc->TL, arc->BR);
    const double start = std::atan2(-arc->start.y, arc->start.x) * 180 / M_PI;
    double span = std::atan2(-arc->end.y, arc->end.x) * 180 / M_PI - start;
    if (span <= 0)
        span += 360;
    const int qtStart = static_cast<int>(std::lround(start * 16));
    const int qtSpan = static_cast<int>(std::lround(span * 16));
    QPainter &painter = prepare(api, arc->dc, kind != 0);
    if (kind == 0)
        painter.drawArc(box, qtStart, qtSpan);
    else if (kind == 1)
        painter.drawPie(box, qtStart, qtSpan);
    else
        painter.drawChord(box, qtStart, qtSpan);
}

void drawPixel(wmfAPI *api, wmfDrawPixel_t *pixel)
{
    painterOf(api).fillRect(
        QRectF(point(pixel->pt), QSizeF(pixel->pixel_width, pixel->pixel_height)),
        colour(&pixel->color));
}

void drawPie(wmfAPI *api, wmfDrawArc_t *arc)
{
    drawArcShape(api, arc, 1);
}

void drawChord(wmfAPI *api, wmfDrawArc_t *arc)
{
    drawArcShape(api, arc, 2);
}

void drawArc(wmfAPI *api, wmfDrawArc_t *arc)
{
    drawArcShape(api, arc, 0);
}

void drawEllipse(wmfAPI *api, wmfDrawArc_t *arc)
{
    prepare(api, arc->dc, true).drawEllipse(rect(arc->TL, arc->BR));
}

void drawLine(wmfAPI *api, wmfDrawLine_t *line)
{
    prepare(api, line->dc, false).drawLine(point(line->from), point(line->to));
}

void polyLine(wmfAPI *api, wmfPolyLine_t *line)
{
    prepare(api, line->dc, false).drawPolyline(polygon(line->pt, line->count));
}

void drawPolygon(wmfAPI *api, wmfPolyLine_t *line)
{
    prepare(api, line->dc, true).drawPolygon(polygon(line->pt, line->count), fillRule(line->dc));
}

void drawPolyPolygon(wmfAPI *api, wmfPolyPoly_t *poly)
{
    QPainterPath path;
    path.setFillRule(fillRule(poly->dc));
    for (int i = 0; i < poly->npoly; ++i) {
        if (poly->pt[i] && poly->count[i] > 0)
            path.addPolygon(polygon(poly->pt[i], poly->count[i]));
    }
    path.closeSubpath();
    prepare(api, poly->dc, true).drawPath(path);
}

void drawRectangle(wmfAPI *api, wmfDrawRectangle_t *shape)
{
    QPainter &painter = prepare(api, shape->dc, true);
    const QRectF box = rect(shape->TL, shape->BR);
    if (shape->width > 0 && shape->height > 0)
        painter.drawRoundedRect(box, shape->width / 2, shape->height / 2);
    else
        painter.drawRect(box);
}

void ropDraw(wmfAPI *api, wmfROP_Draw_t *rop)
{
    constexpr U32 patCopy = 0x00F00021;
    constexpr U32 whiteness = 0x00FF0062;
    constexpr U32 blackness = 0x00000042;
    QPainter &painter = painterOf(api);
    const QRectF box = rect(rop->TL, rop->BR);
    if (rop->ROP == patCopy)
        painter.fillRect(box, brushOf(api, rop->dc));
    else if (rop->ROP == whiteness)
        painter.fillRect(box, Qt::white);
    else if (rop->ROP == blackness)
        painter.fillRect(box, Qt::black);
}

void bmpDraw(wmfAPI *api, wmfBMP_Draw_t *draw)
{
    const QImage image
        = imageOf(api, &draw->bmp, draw->crop.x, draw->crop.y, draw->crop.w, draw->crop.h);
    if (image.isNull())
        return;
    const QSizeF size(draw->crop.w * draw->pixel_width, draw->crop.h * draw->pixel_height);
    painterOf(api).drawImage(QRectF(point(draw->pt), size), image);
}

void drawText(wmfAPI *api, wmfDrawText_t *text)
{
    if (!text->str || !std::isfinite(text->font_height))
        return;
    QPainter &painter = painterOf(api);
    const wmfFont *font = WMF_DC_FONT(text->dc);
    // Fonts are sized in device pixels, so the text is drawn without the world transform.
    const QTransform world = painter.worldTransform();
    const double pixelHeight = std::abs(text->font_height * world.m22());
    if (pixelHeight < 1 || pixelHeight > 10000)
        return;
    QFont qfont;
    if (font) {
        if (WMF_FONT_NAME(font))
            qfont.setFamily(QString::fromLatin1(WMF_FONT_NAME(font)));
        qfont.setWeight(
            static_cast<QFont::Weight>(std::clamp<int>(WMF_FONT_WEIGHT(font), 1, 1000)));
        qfont.setItalic(WMF_FONT_ITALIC(font));
        qfont.setUnderline(WMF_TEXT_UNDERLINE(font));
        qfont.setStrikeOut(WMF_TEXT_STRIKEOUT(font));
    }
    qfont.setPixelSize(static_cast<int>(std::lround(pixelHeight)));
    painter.save();
    painter.resetTransform();
    painter.translate(world.map(point(text->pt)));
    if (font)
        painter.rotate(-WMF_TEXT_ANGLE(font) * 180 / M_PI);
    painter.setFont(qfont);
    painter.setPen(colour(WMF_DC_TEXTCOLOR(text->dc)));
    painter.drawText(QPointF(0, 0), QString::fromLatin1(text->str));
    painter.restore();
}

void regionPaint(wmfAPI *api, wmfPolyRectangle_t *region)
{
    QPainter &painter = painterOf(api);
    const QBrush brush = brushOf(api, region->dc);
    for (unsigned i = 0; i < region->count; ++i)
        painter.fillRect(rect(region->TL[i], region->BR[i]), brush);
}

void regionClip(wmfAPI *api, wmfPolyRectangle_t *region)
{
    QPainter &painter = painterOf(api);
    if (region->count == 0) {
        painter.setClipping(false);
        return;
    }
    QPainterPath clip;
    for (unsigned i = 0; i < region->count; ++i)
        clip.addRect(rect(region->TL[i], region->BR[i]));
    painter.setClipPath(clip);
}

// Whether a device-independent bitmap, with a core (12-byte) or an info (40 bytes and more)
// header, lies whole in its record of LENGTH bytes, colour table and uncompressed pixels
// included, and claims no more than the bitmap limit of pixels.
bool bitmapWithinLimits(const unsigned char *dib, long length)
{
    const auto word = [dib](int at) { return qint64(dib[at]) | qint64(dib[at + 1]) << 8; };
    const auto dword = [&word](int at) { return word(at) | word(at + 2) << 16; };
    constexpr qint64 coreHeader = 12;
    constexpr qint64 infoHeader = 40;
    constexpr qint64 uncompressed = 0;
    constexpr qint64 bitFields = 3;
    constexpr qint64 bitFieldMasks = 12;
    if (!dib || length < coreHeader)
        return false;
    const qint64 headerBytes = dword(0);
    const bool core = headerBytes == coreHeader;
    if (!core && (headerBytes < infoHeader || headerBytes > length))
        return false;
    const qint64 width = core ? word(4) : std::abs(qint64(qint32(dword(4))));
    const qint64 height = core ? word(6) : std::abs(qint64(qint32(dword(8))));
    const qint64 bitCount = core ? word(10) : word(14);
    constexpr qint64 maxBitCount = 32;
    // Checked first, so that no size computed below can overflow.
    if (width * height > maxBitmapPixels || bitCount > maxBitCount)
        return false;
    const qint64 compression = core ? uncompressed : dword(16);
    const qint64 tableColours = bitCount <= 8 ? qint64(1) << bitCount : 0;
    const qint64 usedColours = core ? 0 : dword(32);
    qint64 needed = headerBytes + (usedColours ? usedColours : tableColours) * (core ? 3 : 4);
    if (compression == bitFields && headerBytes == infoHeader)
        needed += bitFieldMasks;
    if (compression == uncompressed || compression == bitFields)
        needed += (width * bitCount + 31) / 32 * 4 * height;
    return needed <= length;
}

// libwmf allocates a bitmap and its colour table at whatever size the header claims: a bitmap
// beyond the limits is left out before that, as one that does not load.
void bmpRead(wmfAPI *api, wmfBMP_Read_t *read)
{
    if (!bitmapWithinLimits(read->buffer, read->length)) {
        read->bmp.data = nullptr;
        return;
    }
    wmf_ipa_bmp_read(api, read);
}

void nothing(wmfAPI *) { }
void nothingFlood(wmfAPI *, wmfFlood_t *) { }
void nothingUser(wmfAPI *, wmfUserData_t *) { }
void nothingRegion(wmfAPI *, wmfPolyRectangle_t *) { }

// Called by wmf_api_create: installs the device.
void installDevice(wmfAPI *api)
{
    auto *functions
        = static_cast<wmfFunctionReference *>(wmf_malloc(api, sizeof(wmfFunctionReference)));
    auto *device = static_cast<Device *>(wmf_malloc(api, sizeof(Device)));
    if (!functions || !device) {
        api->err = wmf_E_InsMem;
        return;
    }
    std::memset(functions, 0, sizeof(*functions));
    *device = Device {};
    functions->device_open = nothing;
    functions->device_close = nothing;
    functions->device_begin = nothing;
    functions->device_end = nothing;
    functions->flood_interior = nothingFlood;
    functions->flood_exterior = nothingFlood;
    functions->draw_pixel = drawPixel;
    functions->draw_pie = drawPie;
    functions->draw_chord = drawChord;
    functions->draw_arc = drawArc;
    functions->draw_ellipse = drawEllipse;
    functions->draw_line = drawLine;
    functions->poly_line = polyLine;
    functions->draw_polygon = drawPolygon;
    functions->draw_polypolygon = drawPolyPolygon;
    functions->draw_rectangle = drawRectangle;
    functions->rop_draw = ropDraw;
    functions->bmp_draw = bmpDraw;
    functions->bmp_read = bmpRead;
    functions->bmp_free = wmf_ipa_bmp_free;
    functions->draw_text = drawText;
    functions->udata_init = nothingUser;
    functions->udata_copy = nothingUser;
    functions->udata_set = nothingUser;
    functions->udata_free = nothingUser;
    functions->region_frame = nothingRegion;
    functions->region_paint = regionPaint;
    functions->region_clip = regionClip;
    api->function_reference = functions;
    api->device_data = device;
}

} // namespace

std::optional<RenderedPicture> renderWmf(QByteArray data, double twipsPerPixelX,
                                         double twipsPerPixelY)
{
    wmfAPI_Options options {};
    options.function = installDevice;
    wmfAPI *api = nullptr;
    const unsigned long flags
        = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return std::nullopt;
    }
    std::optional<RenderedPicture> result;
    wmfD_Rect bbox {};
    unsigned int widthTwips = 0;
    unsigned int heightTwips = 0;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(data.data()), data.size()) == wmf_E_None
        && wmf_scan(api, 0, &bbox) == wmf_E_None
        && wmf_display_size(api, &widthTwips, &heightTwips, 1440, 1440) == wmf_E_None
        && bbox.BR.x > bbox.TL.x && bbox.BR.y > bbox.TL.y) {
        QImage image = blankPicture(widthTwips, heightTwips, twipsPerPixelX, twipsPerPixelY);
        if (!image.isNull()) {
            QPainter painter(&image);
            painter.scale(image.width() / (double(bbox.BR.x) - bbox.TL.x),
                          image.height() / (double(bbox.BR.y) - bbox.TL.y));
            painter.translate(-bbox.TL.x, -bbox.TL.y);
            static_cast<Device *>(api->device_data)->painter = &painter;
            const bool played = wmf_play(api, 0, &bbox) == wmf_E_None;
            painter.end();
            if (played)
                result = RenderedPicture {image, double(widthTwips), double(heightTwips)};
        }
        wmf_mem_close(api);
    }
    wmf_api_destroy(api);
    return result;
}
