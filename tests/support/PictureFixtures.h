// Small pictures for RTF tests, made in memory: bitmaps through QImage, metafiles byte by byte.
#pragma once

#include "text/TextPicture.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QSize>

class QTextDocument;

namespace PictureFixtures {

// A bitmap of one colour in the given image format ("PNG", "JPEG").
QByteArray bitmap(QSize size, QColor color, const char *format);
// A Windows metafile without its placeable header (as \wmetafile8 holds it): one filled
// rectangle of `size` logical units.
QByteArray wmf(QSize size, QColor color);
// An enhanced metafile: one filled rectangle of `size` pixels.
QByteArray emf(QSize size, QColor color);
// A DIB (a BMP file without its file header), 24 bits per pixel.
QByteArray dib(QSize size, QColor color);

// {\pict WORDS HEX}, the hex in lines of 64 digits.
QByteArray pict(const QByteArray &words, const QByteArray &data);
// A document with one font whose body is BODY.
QByteArray document(const QByteArray &body);

// The pictures of a document in order.
QList<TextPicture::Picture> pictures(const QTextDocument &document);

} // namespace PictureFixtures
