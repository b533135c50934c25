// The plain-text file codec: encoding and line ends found when reading, text read in bounded
// pieces, and the bytes written back as the file held them.
#include "text/PlainTextFile.h"

#include "common/Cp1252.h"
#include "text/TextFileLoad.h"
#include "text/TextFormat.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace PlainTextFile {

namespace {

// The file's usual line end is the one that ends its first line; LF when it has none. CR and
// LF are the same bytes in UTF-8 and code page 1252, and never part of another character.
std::optional<QString> firstLineEnd(QFile &file)
{
    bool crBefore = false;
    for (TextFileLoad::LimitedRead reading(file); !reading.atEnd();) {
        const std::optional<QByteArray> piece = reading.next();
        if (!piece)
            return std::nullopt;
        const QByteArray &chunk = *piece;
        if (crBefore)
            return chunk.startsWith('\n') ? QStringLiteral("\r\n") : QStringLiteral("\r");
        const qsizetype cr = chunk.indexOf('\r');
        const qsizetype lf = chunk.indexOf('\n');
        if (lf >= 0 && (cr < 0 || lf < cr))
            return QStringLiteral("\n");
        if (cr >= 0 && cr + 1 < chunk.size())
            return chunk.at(cr + 1) == '\n' ? QStringLiteral("\r\n") : QStringLiteral("\r");
        crBefore = cr >= 0;
    }
    return crBefore ? QStringLiteral("\r") : QStringLiteral("\n");
}

// Where a chunk of UTF-8 may end without cutting a character: before a lead byte whose
// character the chunk does not hold whole.
qsizetype wholeCharactersEnd(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes.at(size - back));
        if ((byte & 0xC0) == 0x80)
            continue;
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

// Puts decoded text into the document paragraph by paragraph. A paragraph that ended
// otherwise than the file's usual line end keeps its end in its format, and a line separator
// that was the Unicode one or the control character 11 is marked, so that a file saved
// unchanged is written back byte for byte.
class Filler
{
public:
    Filler(QTextDocument &document, const QString &lineEnd) : cursor(&document), lineEnd(lineEnd)
    {
        unicodeSeparator.setProperty(TextFormat::UnicodeLineSeparator, true);
        verticalTab.setProperty(TextFormat::VerticalTab, true);
        cursor.beginEditBlock();
    }
    // The edit block ends however the reading ends: a document left inside one would no longer
    // report changes or lay out new text.
    ~Filler() { cursor.endEditBlock(); }
    Filler(const Filler &) = delete;
    Filler &operator=(const Filler &) = delete;

    void add(const QString &text)
    {
        qsizetype start = 0;
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = text.at(i).unicode();
            if (crBefore) {
                crBefore = false;
                if (c == u'\n') {
                    endParagraph(QStringLiteral("\r\n"));
                    start = i + 1;
                    continue;
                }
                endParagraph(QStringLiteral("\r"));
            }
            if (c == u'\r') {
                insert(text, start, i);
                if (i + 1 == size) {
                    crBefore = true;
                } else {
                    const bool crlf = text.at(i + 1) == u'\n';
                    endParagraph(crlf ? QStringLiteral("\r\n") : QStringLiteral("\r"));
                    i += crlf ? 1 : 0;
                }
                start = i + 1;
            } else if (c == u'\n' || c == QChar::ParagraphSeparator || c == 0xFDD0 || c == 0xFDD1) {
                insert(text, start, i);
                endParagraph(QString(QChar(c)));
                start = i + 1;
            } else if (c == QChar::LineSeparator || c == u'\v') {
                insert(text, start, i);
                cursor.insertText(QString(QChar::LineSeparator),
                                  c == u'\v' ? verticalTab : unicodeSeparator);
                ++inBlock;
                start = i + 1;
            } else if (inBlock + (i - start) >= (inPieces ? PieceLength : LongLine)) {
                if (!inPieces) {
                    insert(text, start, i);
                    start = i;
                    cutIntoPieces();
                }
                if (inBlock + (i - start) >= PieceLength) {
                    const qsizetype cut = pieceEnd(text, start, i);
                    insert(text, start, cut);
                    continueLine();
                    start = cut;
                }
            }
        }
        insert(text, start, size);
    }

    void finish()
    {
        if (crBefore)
            endParagraph(QStringLiteral("\r"));
    }

private:
    // Inserts the characters in [from, to), which end no paragraph.
    void insert(const QString &text, qsizetype from, qsizetype to)
    {
        if (to <= from)
            return;
        cursor.insertText(text.mid(from, to - from), chars);
        inBlock += to - from;
    }

    void endParagraph(const QString &end)
    {
        if (end != lineEnd) {
            QTextBlockFormat format = cursor.blockFormat();
            format.setProperty(TextFormat::ParagraphEnd, end);
            cursor.setBlockFormat(format);
        }
        cursor.insertBlock(QTextBlockFormat(), chars);
        inBlock = 0;
        inPieces = false;
    }

    void continueLine()
    {
        cursor.insertBlock(pieceFormat(), chars);
        inBlock = 0;
    }

    static QTextBlockFormat pieceFormat()
    {
        QTextBlockFormat format;
        format.setProperty(TextFormat::ContinuedLine, true);
        return format;
    }

    // The line in the current block has grown too long: what it holds becomes pieces.
    void cutIntoPieces()
    {
        const QTextBlock block = cursor.block();
        const QString text = block.text();
        QTextCursor splitter(cursor.document());
        qsizetype from = 0;
        for (int cuts = 0; text.size() - from > PieceLength; ++cuts) {
            const qsizetype cut = pieceEnd(text, from, from + PieceLength);
            splitter.setPosition(block.position() + static_cast<int>(cut) + cuts);
            splitter.insertBlock(pieceFormat(), chars);
            from = cut;
        }
        inBlock = text.size() - from;
        inPieces = true;
    }

    // The end of a piece that may reach from START to STOP: after its last space, else STOP.
    static qsizetype pieceEnd(const QString &text, qsizetype start, qsizetype stop)
    {
        for (qsizetype i = stop; i > start; --i) {
            const QChar c = text.at(i - 1);
            if (c == u' ' || c == u'\t')
                return i;
        }
        // A surrogate pair stays in one piece.
        return stop > start && text.at(stop - 1).isHighSurrogate() ? stop - 1 : stop;
    }

    QTextCursor cursor;
    const QString lineEnd;
    const QTextCharFormat chars;
    QTextCharFormat unicodeSeparator;
    QTextCharFormat verticalTab;
    bool crBefore = false;
    // Characters in the current block, and whether its line is shown in pieces.
    qsizetype inBlock = 0;
    bool inPieces = false;
};

enum class Fill { Done, OtherEncoding, ReadError };

// Reads the file from its start in chunks, each decoded by DECODE (empty: the file is not in
// that encoding) and added to the document.
template<typename Decode>
Fill fill(QFile &file, QTextDocument &document, const QString &lineEnd, Decode decode)
{
    if (!file.seek(0))
        return Fill::ReadError;
    Filler filler(document, lineEnd);
    TextFileLoad::LimitedRead reading(file);
    QByteArray carried;
    for (bool first = true;; first = false) {
        const std::optional<QByteArray> piece = reading.next();
        if (!piece)
            return Fill::ReadError;
        QByteArray chunk = carried + *piece;
        const bool last = reading.atEnd();
        const std::optional<QString> text = decode(chunk, first, last, carried);
        if (!text)
            return Fill::OtherEncoding;
        filler.add(*text);
        if (last)
            break;
    }
    filler.finish();
    return Fill::Done;
}

// A paragraph end, a frame's start or end and a soft line break all end a line.
bool endsLine(QChar c)
{
    switch (c.unicode()) {
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
    case 0xFDD0: // frame start
    case 0xFDD1: // frame end
    case u'\r':
    case u'\v':
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<Format> read(QFile &file, QTextDocument &document)
{
    const std::optional<QString> lineEnd = firstLineEnd(file);
    if (!lineEnd)
        return std::nullopt;
    Format found {Encoding::Utf8, *lineEnd};
    const auto utf8 = [&found](QByteArray &chunk, bool first, bool last,
                               QByteArray &carried) -> std::optional<QString> {
        const QByteArrayView bom(utf8Bom);
        if (first && chunk.startsWith(bom)) {
            found.encoding = Encoding::Utf8Bom;
            chunk.remove(0, bom.size());
        }
        const qsizetype end = last ? chunk.size() : wholeCharactersEnd(chunk);
        carried = chunk.mid(end);
        // A second mark after the first is text of the file's own.
        QStringDecoder decoder(QStringDecoder::Utf8,
                               QStringDecoder::Flag::Stateless
                                   | QStringDecoder::Flag::ConvertInitialBom);
        QString text = decoder.decode(QByteArrayView(chunk).first(end));
        if (decoder.hasError())
            return std::nullopt;
        return text;
    };
    switch (fill(file, document, found.lineEnd, utf8)) {
    case Fill::Done:
        return found;
    case Fill::ReadError:
        return std::nullopt;
    case Fill::OtherEncoding:
        break;
    }
    document.clear();
    found.encoding = Encoding::Cp1252;
    QStringDecoder decoder(Cp1252::converterName);
    const auto cp1252 = [&decoder](QByteArray &chunk, bool, bool, QByteArray &carried) {
        carried.clear();
        return std::optional<QString>(decoder.decode(chunk));
    };
    if (fill(file, document, found.lineEnd, cp1252) != Fill::Done)
        return std::nullopt;
    return found;
}

QString text(const QTextDocument &document, const QString &lineEnd)
{
    if (!document.rootFrame()->childFrames().isEmpty()) {
        QString text;
        for (const QChar c : document.toRawText()) {
            if (endsLine(c))
                text += lineEnd;
            else if (c != QChar::ObjectReplacementCharacter)
                text += c;
        }
        return text;
    }
    QString text;
    text.reserve(document.characterCount());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QString piece = fragment.text();
            // A picture has no text.
            piece.remove(QChar::ObjectReplacementCharacter);
            const QTextCharFormat format = fragment.charFormat();
            if (format.boolProperty(TextFormat::VerticalTab))
                piece.replace(QChar::LineSeparator, u'\v');
            else if (!format.boolProperty(TextFormat::UnicodeLineSeparator))
                piece.replace(QChar::LineSeparator, lineEnd);
            text += piece;
        }
        // The pieces of a line too long to lay out in one are saved as that one line.
        const QTextBlock next = block.next();
        if (next.isValid() && !next.blockFormat().boolProperty(TextFormat::ContinuedLine)) {
            const QTextBlockFormat format = block.blockFormat();
            text += format.hasProperty(TextFormat::ParagraphEnd)
                ? format.stringProperty(TextFormat::ParagraphEnd)
                : lineEnd;
        }
    }
    return text;
}

QByteArray encode(const QTextDocument &document, Format &format)
{
    const QString plain = text(document, format.lineEnd);
    if (format.encoding == Encoding::Cp1252) {
        QStringEncoder encoder(Cp1252::converterName);
        const QByteArray bytes = encoder.encode(plain);
        if (!encoder.hasError())
            return bytes;
        format.encoding = Encoding::Utf8;
    }
    return format.encoding == Encoding::Utf8Bom ? utf8Bom + plain.toUtf8() : plain.toUtf8();
}

} // namespace PlainTextFile
