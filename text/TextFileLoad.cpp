// Plain text read in bounded pieces into a document, and loading off the window's thread.
#include "text/TextFileLoad.h"

#include "common/Cp1252.h"
#include "platform/Screen.h"
#include "text/TextFormat.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <memory>

namespace TextFileLoad {

namespace {

// What is read at once: the file's bytes and their text stay a few megabytes beside the
// document, whatever the file's size.
constexpr qint64 ChunkBytes = 4 * 1024 * 1024;

// The file's usual line end is the one that ends its first line; LF when it has none. CR and
// LF are the same bytes in UTF-8 and code page 1252, and never part of another character.
std::optional<QString> firstLineEnd(QFile &file)
{
    bool crBefore = false;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(ChunkBytes);
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
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
        cursor.endEditBlock();
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
    QByteArray carried;
    for (bool first = true;; first = false) {
        QByteArray chunk = carried + file.read(ChunkBytes);
        if (file.error() != QFileDevice::NoError)
            return Fill::ReadError;
        const bool last = file.atEnd();
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

// Keeps every window open while it lives: a window closed during the wait would take the
// window being loaded, or the program, away under the load.
class CloseHold : public QObject
{
public:
    CloseHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~CloseHold() override { QCoreApplication::instance()->removeEventFilter(this); }
    CloseHold(const CloseHold &) = delete;
    CloseHold &operator=(const CloseHold &) = delete;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

std::optional<Plain> readPlain(QFile &file, QTextDocument &document)
{
    const std::optional<QString> lineEnd = firstLineEnd(file);
    if (!lineEnd)
        return std::nullopt;
    Plain plain {Encoding::Utf8, *lineEnd};
    const auto utf8 = [&plain](QByteArray &chunk, bool first, bool last,
                               QByteArray &carried) -> std::optional<QString> {
        const QByteArrayView bom(utf8Bom);
        if (first && chunk.startsWith(bom)) {
            plain.encoding = Encoding::Utf8Bom;
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
    switch (fill(file, document, plain.lineEnd, utf8)) {
    case Fill::Done:
        return plain;
    case Fill::ReadError:
        return std::nullopt;
    case Fill::OtherEncoding:
        break;
    }
    document.clear();
    plain.encoding = Encoding::Cp1252;
    const auto cp1252 = [](QByteArray &chunk, bool, bool, QByteArray &carried) {
        carried.clear();
        return std::optional<QString>(Cp1252::decode(chunk));
    };
    if (fill(file, document, plain.lineEnd, cp1252) != Fill::Done)
        return std::nullopt;
    return plain;
}

void whileServed(QObject &object, const std::function<void()> &work)
{
    const int pointer = Screen::MousePointer();
    Screen::setMousePointer(Screen::vbHourglass);
    QThread *home = QThread::currentThread();
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        work();
        object.moveToThread(home);
    }));
    object.moveToThread(thread.get());
    const CloseHold hold;
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the program quits; the work still finishes first.
    thread->wait();
    Screen::setMousePointer(pointer);
}

} // namespace TextFileLoad
