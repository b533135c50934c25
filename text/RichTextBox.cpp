// RichTextBox: selection properties, files and notifications on QTextEdit.
#include "text/RichTextBox.h"

#include "platform/ControlMouse.h"
#include "platform/FileWrite.h"
#include "platform/KeyCodes.h"
#include "platform/Screen.h"
#include "text/ClipboardFormats.h"
#include "text/PictureObjects.h"
#include "text/PlainTextFile.h"
#include "text/TextField.h"
#include "text/TextFileLoad.h"
#include "text/TextFormat.h"
#include "text/TextMarks.h"
#include "text/rtf/RtfReader.h"
#include "text/rtf/RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QAbstractUndoItem>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// The program sees a paragraph end as '\r' and a soft line break as '\v'.
QChar ownChar(QChar c)
{
    switch (c.unicode()) {
    case QChar::ParagraphSeparator:
    case 0xFDD0: // frame start
    case 0xFDD1: // frame end
        return u'\r';
    case QChar::LineSeparator:
        return u'\v';
    default:
        return c;
    }
}

QString ownText(QString text)
{
    for (QChar &c : text)
        c = ownChar(c);
    return text;
}

// Qt itself turns CR LF, CR and LF into paragraph ends.
QString qtText(QString text)
{
    text.replace(u'\v', QChar::LineSeparator);
    return text;
}

int keyAscii(const QKeyEvent *event)
{
    const int key = event->key();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (ctrl != alt) // Ctrl and Alt together are AltGr
        return ctrl && key >= Qt::Key_A && key <= Qt::Key_Z ? KeyCodes::ctrlLetter(key) : 0;
    switch (key) {
    case Qt::Key_Backspace:
        return KeyCodes::vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyCodes::vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCodes::vbKeyReturn;
    case Qt::Key_Escape:
        return KeyCodes::vbKeyEscape;
    default:
        break;
    }
    const QList<uint> text = event->text().toUcs4();
    if (text.isEmpty() || text.first() < 32 || text.first() == 127)
        return 0;
    return static_cast<int>(text.first());
}

// Hands out one value when all are equal, Null otherwise.
template<typename Value>
class Common
{
public:
    bool add(const Value &value)
    {
        if (!result)
            result = value;
        else if (*result != value)
            mixed = true;
        return !mixed;
    }
    std::optional<Value> get() const { return mixed ? std::nullopt : result; }

private:
    std::optional<Value> result;
    bool mixed = false;
};

// Bullets are no part of Qt's layout: each bulleted paragraph gets its bullet in the bullet
// indent before its first line. Drawn in document coordinates, in the blocks that meet `area`.
// The bullet is laid out like the text, so that it keeps its size on a scaled printer page.
void drawBullets(QPainter &painter, const QTextDocument &document, const QRectF &area)
{
    QAbstractTextDocumentLayout *documentLayout = document.documentLayout();
    const double pixelsPerMm = TextFormat::pixelsPerMm();
    const int first = documentLayout->hitTest(area.topLeft(), Qt::FuzzyHit);
    for (QTextBlock block = document.findBlock(std::max(0, first)); block.isValid();
         block = block.next()) {
        // Blocks are laid out in order: the first one without lines ends the laid-out part.
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() == 0 || layout->position().y() > area.bottom())
            break;
        const QTextBlockFormat format = block.blockFormat();
        if (!TextFormat::bullet(format))
            continue;
        const QTextLine line = layout->lineAt(0);
        const QTextCharFormat chars
            = block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
        QFont font = chars.font().resolve(document.defaultFont());
        if (const QString family = TextFormat::bulletFont(format); !family.isEmpty())
            font.setFamilies({family});
        const double room = TextFormat::bulletTextMm(format) * pixelsPerMm;
        QTextLayout bullet(TextFormat::bulletText(format), font, documentLayout->paintDevice());
        const auto layOut = [&bullet] {
            bullet.beginLayout();
            const QTextLine bulletLine = bullet.createLine();
            bullet.endLayout();
            return bulletLine;
        };
        QTextLine bulletLine = layOut();
        // Letters too large for the room get a smaller bullet, never one over the text.
        if (bulletLine.naturalTextWidth() > room * 0.8) {
            const double scale = room * 0.8 / bulletLine.naturalTextWidth();
            if (font.pointSizeF() > 0)
                font.setPointSizeF(font.pointSizeF() * scale);
            else
                font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * scale)));
            bullet.setFont(font);
            bulletLine = layOut();
        }
        bullet.draw(&painter,
                    layout->position()
                        + QPointF(line.x() - room, line.y() + line.ascent() - bulletLine.ascent()));
    }
}

} // namespace

namespace {

// Words longer than this (in characters without a space) are no longer broken at the margin:
// Qt's layout looks for the word's end again for every line it breaks off, which grows with
// the square of the word.
constexpr qsizetype LongWord = 4096;

// A space the line may break at: not one of the no-break spaces.
bool isBreakingSpace(QChar c)
{
    return c.isSpace() && c != QChar::Nbsp && c != u'\u2007' && c != u'\u202F';
}

// A paragraph end always allows a break, so only a long paragraph can hold a long word.
bool hasLongWord(const QTextBlock &block)
{
    if (block.length() <= LongWord)
        return false;
    qsizetype run = 0;
    for (const QChar c : block.text()) {
        run = isBreakingSpace(c) ? 0 : run + 1;
        if (run > LongWord)
            return true;
    }
    return false;
}

bool hasLongWord(const QTextDocument *document)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (hasLongWord(block))
            return true;
    }
    return false;
}

// A read that stopped short: the file grew past the size limit while it was read, or failed.
RichTextBox::LoadResult unreadable(const QFile &file)
{
    return TextFileLoad::pastLimit(file) ? RichTextBox::LoadResult::TooLarge
                                         : RichTextBox::LoadResult::AccessError;
}

} // namespace

struct RichTextBox::Private
{
    explicit Private(RichTextBox *owner) : q(owner) { }

    // The distinct formats the selection touches, gathered once per selection and change.
    struct Summary
    {
        bool valid = false;
        int start = 0;
        int end = 0;
        QList<QTextCharFormat> chars;
        QList<QTextBlockFormat> blocks;
    };

    // Format-only document changes made by the setters are no Change.
    struct FormatWrite
    {
        explicit FormatWrite(Private *d) : d(d) { ++d->formatWrites; }
        ~FormatWrite() { --d->formatWrites; }
        Private *d;
    };

    RichTextBox *q;
    Scale scale = Scale::Millimetres;
    double rightMargin = 0;
    PlainTextFile::Format plainFormat;
    bool keyCancelled = false;
    int formatWrites = 0;
    int lastAnchor = 0;
    int lastPosition = 0;
    Summary summary;
    // Blocks before this number carry their display line count (QTextBlock::setLineCount) as
    // laid out now, so that a block's first line number is a tree look-up, not a walk.
    int countedBlocks = 0;
    // A large insertion's caret waits for the background layout to reach it.
    bool caretToShow = false;
    // Undo and redo put blocks back as they were, pieces of long lines included.
    int restoring = 0;

    int end() const { return q->document()->characterCount() - 1; }
    QChar charAt(int position) const { return ownChar(q->document()->characterAt(position)); }

    double toMm(double value) const
    {
        return scale == Scale::Twips ? value / TextFormat::twipsPerMm : value;
    }
    double fromMm(double mm) const
    {
        // Rounded so that twips written come back as written.
        return scale == Scale::Twips ? std::round(mm * TextFormat::twipsPerMm * 1000.0) / 1000.0
                                     : mm;
    }

    // A length the caller gives, in millimetres and held to [low, high]; none for a value
    // that is no number.
    std::optional<double> heldMm(double value, double low, double high) const
    {
        if (!std::isfinite(value))
            return std::nullopt;
        return std::clamp(toMm(value), low, high);
    }

    // A file keeps the hanging indent and the place of the following lines (the sum of both
    // indents), each within the limit; the first line may stand up to twice as far.
    static double heldIndent(double mm, double hangingMm)
    {
        constexpr double limit = TextFormat::maxLengthMm;
        return std::clamp(mm, -limit - hangingMm, limit - hangingMm);
    }
    static double heldHanging(double mm, double indentMm)
    {
        constexpr double limit = TextFormat::maxLengthMm;
        return std::clamp(mm, std::max(-limit, -limit - indentMm),
                          std::min(limit, limit - indentMm));
    }

    void connectDocument()
    {
        QTextDocument *document = q->document();
        PictureObjects::attach(*document);
        QObject::connect(
            document, &QTextDocument::contentsChange, q,
            [this](int from, int removed, int added) { contentsChanged(from, removed, added); });
        // A layout of the whole document (new width, new default font) reports everything as
        // changed; an edit reports the part from the edit down.
        QObject::connect(document->documentLayout(), &QAbstractTextDocumentLayout::update, q,
                         [this](const QRectF &rect) {
                             if (rect.top() <= 0 && rect.height() >= INT_MAX / 2)
                                 countedBlocks = 0;
                             // Before QTextEdit lays the text out down to the shown place.
                             keepPageHeight();
                         });
        QObject::connect(document->documentLayout(),
                         &QAbstractTextDocumentLayout::documentSizeChanged, q, [this] {
                             showCaretWhenLaidOut();
                             emit q->LaidOutFurther();
                         });
    }

    void contentsChanged(int from, int removed, int added)
    {
        summary.valid = false;
        countedBlocks = std::min(countedBlocks, q->document()->findBlock(from).blockNumber());
        if (added > 0) {
            watchForLongWords(from, added);
            if (restoring == 0)
                endOwnLines(from, added);
        }
        if (formatWrites == 0 || removed != added)
            emit q->Change();
        emit q->Edited();
    }

    // A paragraph typed or pasted into a piece of a long line copies the piece's format, but
    // the line end before it is the user's own: it does not continue the line.
    void endOwnLines(int from, int added)
    {
        const QTextDocument *document = q->document();
        const QTextBlock first = document->findBlock(from);
        if (!first.blockFormat().boolProperty(TextFormat::ContinuedLine))
            return;
        for (QTextBlock block = first.next(); block.isValid() && block.position() <= from + added;
             block = block.next()) {
            QTextBlockFormat format = block.blockFormat();
            if (!format.boolProperty(TextFormat::ContinuedLine))
                continue;
            format.clearProperty(TextFormat::ContinuedLine);
            const FormatWrite write(this);
            QTextCursor(block).setBlockFormat(format);
        }
    }

    void watchForLongWords(int from, int added)
    {
        if (q->wordWrapMode() == QTextOption::WordWrap)
            return;
        const QTextDocument *document = q->document();
        const QTextBlock last = document->findBlock(from + added);
        for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
            if (hasLongWord(block)) {
                q->setWordWrapMode(QTextOption::WordWrap);
                return;
            }
            if (block == last)
                break;
        }
    }

    // Brings the line counts of the blocks up to this one, which is laid out, up to date.
    void countLinesUpTo(const QTextBlock &target)
    {
        if (countedBlocks > target.blockNumber())
            return;
        for (QTextBlock block = q->document()->findBlockByNumber(countedBlocks); block.isValid();
             block = block.next()) {
            const QTextLayout *layout = block.layout();
            const int lines = block.isVisible() && layout ? std::max(1, layout->lineCount()) : 0;
            if (block.lineCount() != lines)
                block.setLineCount(lines);
            if (block == target)
                break;
        }
        countedBlocks = target.blockNumber() + 1;
    }

    void cursorMoved()
    {
        setInsertionFormat();
        const QTextCursor cursor = q->textCursor();
        if (cursor.anchor() == lastAnchor && cursor.position() == lastPosition)
            return;
        lastAnchor = cursor.anchor();
        lastPosition = cursor.position();
        summary.valid = false;
        dropSeparatorMark(cursor);
        emit q->SelChange();
    }

    // Typed after a line separator read from a plain-text file, text would take the
    // separator's mark, and a soft break typed there would be saved as that file's character.
    void dropSeparatorMark(const QTextCursor &cursor)
    {
        QTextCharFormat format = cursor.charFormat();
        if (cursor.hasSelection()
            || (!format.hasProperty(TextFormat::VerticalTab)
                && !format.hasProperty(TextFormat::UnicodeLineSeparator)))
            return;
        format.clearProperty(TextFormat::VerticalTab);
        format.clearProperty(TextFormat::UnicodeLineSeparator);
        q->setCurrentCharFormat(format);
    }

    // Text typed just before or behind a field's result stays out of the field, and takes no
    // bookmark or comment of the characters beside it.
    void setInsertionFormat()
    {
        const QTextCursor cursor = q->textCursor();
        if (cursor.hasSelection())
            return;
        QTextCharFormat format = TextField::insertionFormat(cursor);
        TextMarks::clear(format);
        if (format != cursor.charFormat())
            q->setCurrentCharFormat(format);
    }

    const Summary &selectionSummary()
    {
        const QTextCursor cursor = q->textCursor();
        const int start = cursor.selectionStart();
        const int stop = cursor.selectionEnd();
        if (summary.valid && summary.start == start && summary.end == stop)
            return summary;
        summary = Summary {true, start, stop, {}, {}};
        std::vector<bool> charSeen;
        std::vector<bool> blockSeen;
        // Format indexes are small and dense: a flag per index beats a hash.
        const auto firstSight = [](std::vector<bool> &seen, int index) {
            if (index < 0)
                return false;
            if (static_cast<size_t>(index) >= seen.size())
                seen.resize(static_cast<size_t>(index) + 64);
            if (seen[static_cast<size_t>(index)])
                return false;
            seen[static_cast<size_t>(index)] = true;
            return true;
        };
        int previousChar = -1;
        int previousBlock = -1;
        const QTextDocument *document = q->document();
        const QTextBlock first = document->findBlock(start);
        const QTextBlock last = document->findBlock(std::max(start, stop - 1));
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            const int blockIndex = block.blockFormatIndex();
            if (blockIndex != previousBlock && firstSight(blockSeen, blockIndex))
                summary.blocks.append(block.blockFormat());
            previousBlock = blockIndex;
            // Positions are costly to ask for; only the outer blocks need them.
            const bool edge = block == first || block == last;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (edge) {
                    const int position = fragment.position();
                    if (position >= stop)
                        break;
                    if (position + fragment.length() <= start)
                        continue;
                }
                const int charIndex = fragment.charFormatIndex();
                if (charIndex != previousChar && firstSight(charSeen, charIndex))
                    summary.chars.append(fragment.charFormat());
                previousChar = charIndex;
            }
            if (block == last)
                break;
        }
        // Only paragraph ends selected: their own format counts.
        if (summary.chars.isEmpty())
            summary.chars.append(document->findBlock(start).charFormat());
        return summary;
    }

    template<typename Get>
    auto commonChar(Get get) -> std::optional<decltype(get(QTextCharFormat()))>
    {
        const QTextCursor cursor = q->textCursor();
        if (!cursor.hasSelection())
            return get(cursor.charFormat());
        Common<decltype(get(QTextCharFormat()))> common;
        for (const QTextCharFormat &format : selectionSummary().chars) {
            if (!common.add(get(format)))
                break;
        }
        return common.get();
    }

    template<typename Get>
    auto commonBlock(Get get) -> std::optional<decltype(get(QTextBlockFormat()))>
    {
        const QTextCursor cursor = q->textCursor();
        if (!cursor.hasSelection())
            return get(cursor.blockFormat());
        Common<decltype(get(QTextBlockFormat()))> common;
        for (const QTextBlockFormat &format : selectionSummary().blocks) {
            if (!common.add(get(format)))
                break;
        }
        return common.get();
    }

    QString fontName(const QTextCharFormat &format) const
    {
        const QStringList families = format.fontFamilies().toStringList();
        return families.isEmpty() ? q->document()->defaultFont().family() : families.first();
    }

    double fontSize(const QTextCharFormat &format) const
    {
        return format.hasProperty(QTextFormat::FontPointSize)
            ? format.fontPointSize()
            : q->document()->defaultFont().pointSizeF();
    }

    void mergeChars(const QTextCharFormat &modifier)
    {
        rewriteChars([&modifier](QTextCharFormat &format) { format.merge(modifier); });
    }

    struct Piece
    {
        int start;
        int end;
        QTextCharFormat format;
    };

    // The fragments of the selection, cut to it.
    QList<Piece> selectedPieces() const
    {
        const QTextCursor cursor = q->textCursor();
        const int start = cursor.selectionStart();
        const int stop = cursor.selectionEnd();
        QList<Piece> pieces;
        const QTextDocument *document = q->document();
        for (QTextBlock block = document->findBlock(start);
             block.isValid() && block.position() < stop; block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int from = std::max(start, fragment.position());
                const int to = std::min(stop, fragment.position() + fragment.length());
                if (from < to)
                    pieces.append({from, to, fragment.charFormat()});
            }
        }
        return pieces;
    }

    // Rewrites each selected fragment (or the insertion format) with its own values changed.
    template<typename Change>
    void rewriteChars(Change change)
    {
        QTextCursor cursor = q->textCursor();
        if (!cursor.hasSelection()) {
            QTextCharFormat format = cursor.charFormat();
            change(format);
            q->setCurrentCharFormat(format);
            return;
        }
        FormatWrite write(this);
        UndoStep step(q);
        QTextCursor editor(q->document());
        for (Piece &piece : selectedPieces()) {
            const QTextCharFormat old = piece.format;
            change(piece.format);
            // An unchanged piece leaves no undo step that would do nothing.
            if (TextFormat::looksAlike(piece.format, old, q->document()->defaultFont()))
                continue;
            editor.setPosition(piece.start);
            editor.setPosition(piece.end, QTextCursor::KeepAnchor);
            editor.setCharFormat(piece.format);
        }
    }

    // The paragraphs the selection touches; a selection ending at a paragraph start leaves
    // that paragraph out.
    QList<QTextBlock> touchedBlocks() const
    {
        const QTextCursor cursor = q->textCursor();
        const int start = cursor.selectionStart();
        const int stop = cursor.hasSelection() ? cursor.selectionEnd() - 1 : start;
        QList<QTextBlock> blocks;
        const QTextBlock last = q->document()->findBlock(stop);
        for (QTextBlock block = q->document()->findBlock(start); block.isValid();
             block = block.next()) {
            blocks.append(block);
            if (block == last)
                break;
        }
        return blocks;
    }

    template<typename Change>
    void rewriteBlocks(Change change)
    {
        FormatWrite write(this);
        UndoStep step(q);
        QTextCursor editor(q->document());
        for (const QTextBlock &block : touchedBlocks()) {
            QTextBlockFormat format = block.blockFormat();
            change(format);
            if (TextFormat::looksAlike(format, block.blockFormat()))
                continue;
            editor.setPosition(block.position());
            editor.setBlockFormat(format);
        }
    }

    void setTabList(QList<double> stops)
    {
        rewriteBlocks([&](QTextBlockFormat &format) { TextFormat::setTabStops(format, stops); });
    }

    void applyRightMargin()
    {
        if (rightMargin <= 0) {
            q->setLineWrapMode(QTextEdit::WidgetWidth);
            return;
        }
        const double pixels = toMm(rightMargin) * TextFormat::pixelsPerMm();
        q->setLineWrapMode(QTextEdit::FixedPixelWidth);
        q->setLineWrapColumnOrWidth(static_cast<int>(std::lround(std::min(pixels, MaxPageWidth))));
    }

    // Qt's layout of a document without a page height hangs once the text reaches 8,388,607
    // pixels (its largest fixed-point page, which it cannot break), some 20 MB of text in a
    // narrow window. Pages this tall let it go on, with the document's margins between them.
    static constexpr double LayoutPageHeight = 8'000'000;
    // The widest lines a right margin or a long text gets.
    static constexpr double MaxPageWidth = 1.0e7;

    // QTextEdit gives the document a page without height whenever it lays the text out anew (a
    // new width, alignment or document), and then lays it out at once down to the shown place.
    void keepPageHeight()
    {
        QTextDocument *document = q->document();
        const QSizeF page = document->pageSize();
        if (page.height() < 0)
            document->setPageSize(pageFor(page.width()));
    }

    // Qt's layout keeps its places in 26.6 fixed point, and its pages' ends overflow past
    // 32,000,000 pixels: what lies below is placed wrongly, or the layout does not end. A text
    // that could wrap to more lines than fit above this height gets lines wider than the
    // control: 100 MB of text in the 9 cm window would reach some 43 million pixels.
    static constexpr double LayoutHeightLimit = 28'000'000;
    // How many characters short of the width a line may end, where it breaks before a word.
    static constexpr double LineEndWaste = 16;

    // The page for lines WIDTH wide (0: not wrapped), widened as far as the text needs: by the
    // default font's measure, each paragraph takes its characters' lines and one more.
    QSizeF pageFor(double width) const
    {
        const QTextDocument *document = q->document();
        const QFontMetricsF metrics(document->defaultFont());
        const double lines = q->ParagraphLimit() - document->blockCount();
        // With more paragraphs than that, no width keeps them above it.
        if (width > 0 && lines > 0) {
            const double needed
                = metrics.averageCharWidth() * (document->characterCount() / lines + LineEndWaste);
            width = std::max(width, std::min(std::ceil(needed), MaxPageWidth));
        }
        return QSizeF(width, LayoutPageHeight);
    }

    // A file is read into a document of its own, which the control shows only when it is
    // complete: a broken file leaves the old content alone, and nothing lays out or reports
    // the text while it is being read.
    std::unique_ptr<QTextDocument> freshDocument() const
    {
        const QTextDocument *old = q->document();
        auto fresh = std::make_unique<QTextDocument>();
        fresh->setDefaultFont(old->defaultFont());
        fresh->setDefaultTextOption(old->defaultTextOption());
        fresh->setDocumentMargin(old->documentMargin());
        fresh->setUseDesignMetrics(old->useDesignMetrics());
        fresh->setUndoRedoEnabled(false);
        return fresh;
    }

    // longWords: whether the new text holds a word too long to break at the margin.
    void adopt(std::unique_ptr<QTextDocument> document, bool longWords)
    {
        q->setWordWrapMode(longWords ? QTextOption::WordWrap
                                     : QTextOption::WrapAtWordBoundaryOrAnywhere);
        QTextDocument *fresh = document.release();
        fresh->setParent(q);
        fresh->setUndoRedoEnabled(true);
        const QPointer<QTextDocument> previous(q->document());
        // The new text is shown from its start; the control lays it out down to the shown place.
        q->verticalScrollBar()->setValue(0);
        q->setDocument(fresh);
        // A fresh cursor: the old one would carry the old insertion format into the new text.
        q->setTextCursor(QTextCursor(fresh));
        if (previous)
            delete previous.data();
        connectDocument();
        keepPageHeight();
        summary.valid = false;
        countedBlocks = 0;
        caretToShow = false;
        emit q->Change();
        // The caret stands at the start of another text, even where its position is the same.
        const QTextCursor cursor = q->textCursor();
        lastAnchor = cursor.anchor();
        lastPosition = cursor.position();
        emit q->SelChange();
    }

    // Qt lays out an insertion synchronously, paragraph by paragraph to its end. A large one
    // is laid out afterwards from the document's start, the shown part at once and the rest in
    // the background or when it is needed, as a loaded file is: a document without a page size
    // has no layout.
    static constexpr qsizetype LargeInsertion = 64 * 1024;

    template<typename Insert>
    void insert(qsizetype size, Insert insertion)
    {
        QTextCursor cursor = q->textCursor();
        if (size < LargeInsertion) {
            insertion(cursor);
            q->setTextCursor(cursor);
            return;
        }
        QTextDocument *document = q->document();
        const QSizeF page = document->pageSize();
        document->setPageSize(QSizeF());
        insertion(cursor);
        // A large text may need wider lines than before.
        document->setPageSize(page.isNull() ? page : pageFor(page.width()));
        // The control's own caret has moved behind the insertion with it; scrolling to it now
        // would lay out everything before it at once.
        caretToShow = true;
        showCaretWhenLaidOut();
    }

    void showCaretWhenLaidOut()
    {
        if (!caretToShow)
            return;
        const QTextLayout *layout = q->textCursor().block().layout();
        if (!layout || layout->lineCount() == 0)
            return;
        caretToShow = false;
        q->ensureCursorVisible();
    }

    void insertText(const QString &text)
    {
        insert(text.size(), [&](QTextCursor &cursor) { cursor.insertText(qtText(text)); });
    }

    void insertRtf(const QByteArray &data)
    {
        insert(data.size(), [&](QTextCursor &cursor) {
            cursor.beginEditBlock();
            cursor.removeSelectedText();
            rtf::read(data, cursor);
            cursor.endEditBlock();
        });
    }

    double toOwnerScale(double pixels) const
    {
        const double mm = pixels / TextFormat::pixelsPerMm();
        return scale == Scale::Twips ? mm * TextFormat::twipsPerMm : mm;
    }
};

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent), d(new Private(this))
{
    setAcceptRichText(true);
    // Paragraphs run left to right unless their format says otherwise, as in the classic
    // control; this also spares the layout a search for each paragraph's direction.
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);
    d->connectDocument();
    d->keepPageHeight();
    // The caret's blink repaints the caret, which needs its line laid out.
    for (QObject *child : children()) {
        if (qstrcmp(child->metaObject()->className(), "QWidgetTextControl") == 0)
            child->installEventFilter(this);
    }
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { d->cursorMoved(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { d->cursorMoved(); });
}

RichTextBox::~RichTextBox()
{
    // The base class still tears down the document; nothing may reach d after this.
    document()->disconnect(this);
    document()->documentLayout()->disconnect(this);
    disconnect(this, nullptr, this, nullptr);
    delete d;
}

void RichTextBox::setScale(Scale scale)
{
    d->scale = scale;
}

RichTextBox::Scale RichTextBox::scale() const
{
    return d->scale;
}

QString RichTextBox::Text() const
{
    return ownText(document()->toRawText());
}

void RichTextBox::setText(const QString &text)
{
    document()->setPlainText(qtText(text));
    // A fresh cursor drops the old insertion format.
    setTextCursor(QTextCursor(document()));
}

int RichTextBox::SelStart() const
{
    return textCursor().selectionStart();
}

void RichTextBox::setSelStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, d->end()));
    setTextCursor(cursor);
}

int RichTextBox::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextBox::setSelLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.setPosition(start + std::clamp(length, 0, d->end() - start), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString RichTextBox::SelText() const
{
    return ownText(textCursor().selectedText());
}

void RichTextBox::setSelText(const QString &text)
{
    const UndoStep step(this);
    d->insertText(text);
}

QString RichTextBox::SelRTF() const
{
    const QTextCursor cursor = textCursor();
    return QString::fromLatin1(
        rtf::write(*document(), cursor.selectionStart(), cursor.selectionEnd()));
}

void RichTextBox::setSelRTF(const QString &rtfOrText)
{
    if (!rtfOrText.startsWith(u"{\\rtf")) {
        setSelText(rtfOrText);
        return;
    }
    const UndoStep step(this);
    d->insertRtf(rtfOrText.toLatin1());
}

std::optional<QString> RichTextBox::SelFontName() const
{
    return d->commonChar([this](const QTextCharFormat &f) { return d->fontName(f); });
}

void RichTextBox::setSelFontName(const QString &name)
{
    QTextCharFormat format;
    // Documents name fonts by family alone, which any program can resolve.
    format.setFontFamilies({Screen::plainFontName(name)});
    d->mergeChars(format);
}

std::optional<double> RichTextBox::SelFontSize() const
{
    return d->commonChar([this](const QTextCharFormat &f) { return d->fontSize(f); });
}

void RichTextBox::setSelFontSize(double points)
{
    if (!std::isfinite(points) || points <= 0)
        return;
    points = std::clamp(std::round(points * 2) / 2, TextFormat::minFontPoints,
                        TextFormat::maxFontPoints);
    // The offset is kept in percent of the size, so it follows the size.
    d->rewriteChars([points](QTextCharFormat &format) {
        format.setFontPointSize(points);
        TextFormat::setCharOffset(format, TextFormat::charOffsetTwips(format));
    });
}

std::optional<bool> RichTextBox::SelBold() const
{
    return d->commonChar(
        [](const QTextCharFormat &f) { return f.fontWeight() >= QFont::DemiBold; });
}

void RichTextBox::setSelBold(bool on)
{
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    d->mergeChars(format);
}

std::optional<bool> RichTextBox::SelItalic() const
{
    return d->commonChar([](const QTextCharFormat &f) { return f.fontItalic(); });
}

void RichTextBox::setSelItalic(bool on)
{
    QTextCharFormat format;
    format.setFontItalic(on);
    d->mergeChars(format);
}

std::optional<bool> RichTextBox::SelUnderline() const
{
    return d->commonChar([](const QTextCharFormat &f) { return f.fontUnderline(); });
}

void RichTextBox::setSelUnderline(bool on)
{
    d->rewriteChars([on](QTextCharFormat &format) { TextFormat::setOwnUnderline(format, on); });
}

std::optional<bool> RichTextBox::SelStrikeThru() const
{
    return d->commonChar([](const QTextCharFormat &f) { return f.fontStrikeOut(); });
}

void RichTextBox::setSelStrikeThru(bool on)
{
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    d->mergeChars(format);
}

std::optional<double> RichTextBox::SelCharOffset() const
{
    return d->commonChar([](const QTextCharFormat &f) { return TextFormat::charOffsetTwips(f); });
}

void RichTextBox::setSelCharOffset(double twips)
{
    if (!std::isfinite(twips))
        return;
    twips = std::clamp(twips, -TextFormat::maxCharOffsetTwips, TextFormat::maxCharOffsetTwips);
    d->rewriteChars([this, twips](QTextCharFormat &format) {
        if (!format.hasProperty(QTextFormat::FontPointSize))
            format.setFontPointSize(d->fontSize(format));
        TextFormat::setCharOffset(format, twips);
    });
}

std::optional<int> RichTextBox::SelColor() const
{
    return d->commonChar([](const QTextCharFormat &f) {
        if (!f.hasProperty(QTextFormat::ForegroundBrush))
            return 0;
        const QColor color = f.foreground().color();
        return color.red() | color.green() << 8 | color.blue() << 16;
    });
}

void RichTextBox::setSelColor(int color)
{
    QTextCharFormat format;
    format.setForeground(QColor(color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF));
    d->mergeChars(format);
}

std::optional<int> RichTextBox::SelAlignment() const
{
    constexpr int justified = -1;
    const std::optional<int> common = d->commonBlock([](const QTextBlockFormat &f) {
        const Qt::Alignment horizontal = f.alignment() & Qt::AlignHorizontal_Mask;
        if (horizontal & Qt::AlignRight)
            return int(rtfRight);
        if (horizontal & Qt::AlignHCenter)
            return int(rtfCenter);
        if (horizontal & Qt::AlignJustify)
            return justified;
        return int(rtfLeft);
    });
    // Justified text (from files of other programs) has no value of its own here: Null.
    if (common == justified)
        return std::nullopt;
    return common;
}

void RichTextBox::setSelAlignment(int alignment)
{
    const Qt::Alignment qt = alignment == rtfRight ? Qt::AlignRight
        : alignment == rtfCenter                   ? Qt::AlignHCenter
                                                   : Qt::AlignLeft;
    d->rewriteBlocks([qt](QTextBlockFormat &format) { format.setAlignment(qt); });
}

std::optional<double> RichTextBox::SelIndent() const
{
    return d->commonBlock(
        [this](const QTextBlockFormat &f) { return d->fromMm(TextFormat::indentMm(f)); });
}

void RichTextBox::setSelIndent(double value)
{
    const std::optional<double> mm
        = d->heldMm(value, -2 * TextFormat::maxLengthMm, 2 * TextFormat::maxLengthMm);
    if (!mm)
        return;
    d->rewriteBlocks([mm](QTextBlockFormat &format) {
        const double hanging = TextFormat::hangingIndentMm(format);
        TextFormat::setIndents(format, Private::heldIndent(*mm, hanging), hanging,
                               TextFormat::rightIndentMm(format));
    });
}

std::optional<double> RichTextBox::SelHangingIndent() const
{
    return d->commonBlock(
        [this](const QTextBlockFormat &f) { return d->fromMm(TextFormat::hangingIndentMm(f)); });
}

void RichTextBox::setSelHangingIndent(double value)
{
    const std::optional<double> mm
        = d->heldMm(value, -TextFormat::maxLengthMm, TextFormat::maxLengthMm);
    if (!mm)
        return;
    d->rewriteBlocks([mm](QTextBlockFormat &format) {
        const double indent = TextFormat::indentMm(format);
        TextFormat::setIndents(format, indent, Private::heldHanging(*mm, indent),
                               TextFormat::rightIndentMm(format));
    });
}

std::optional<double> RichTextBox::SelRightIndent() const
{
    return d->commonBlock(
        [this](const QTextBlockFormat &f) { return d->fromMm(TextFormat::rightIndentMm(f)); });
}

void RichTextBox::setSelRightIndent(double value)
{
    const std::optional<double> mm
        = d->heldMm(value, -TextFormat::maxLengthMm, TextFormat::maxLengthMm);
    if (!mm)
        return;
    d->rewriteBlocks([mm](QTextBlockFormat &format) {
        TextFormat::setIndents(format, TextFormat::indentMm(format),
                               TextFormat::hangingIndentMm(format), *mm);
    });
}

std::optional<bool> RichTextBox::SelBullet() const
{
    return d->commonBlock([](const QTextBlockFormat &f) { return TextFormat::bullet(f); });
}

void RichTextBox::setSelBullet(bool on)
{
    d->rewriteBlocks([on](QTextBlockFormat &format) {
        // A bullet takes the place of a number or label from a file's list.
        if (on)
            format.clearProperty(QTextFormat::ObjectIndex);
        TextFormat::clearListLevel(format);
        TextFormat::setBullet(format, on, TextFormat::bulletIndentMm(format));
    });
    viewport()->update();
}

std::optional<double> RichTextBox::BulletIndent() const
{
    return d->commonBlock(
        [this](const QTextBlockFormat &f) { return d->fromMm(TextFormat::bulletIndentMm(f)); });
}

void RichTextBox::setBulletIndent(double value)
{
    const std::optional<double> mm = d->heldMm(value, 0, TextFormat::maxLengthMm);
    if (!mm)
        return;
    d->rewriteBlocks([mm](QTextBlockFormat &format) {
        TextFormat::setBullet(format, TextFormat::bullet(format), *mm);
    });
    viewport()->update();
}

std::optional<int> RichTextBox::SelTabCount() const
{
    return d->commonBlock([](const QTextBlockFormat &f) {
        return static_cast<int>(TextFormat::tabStopsMm(f).size());
    });
}

void RichTextBox::setSelTabCount(int count)
{
    if (count < 0 || count > MaxTabStops)
        return;
    QList<double> stops = TextFormat::tabStopsMm(d->touchedBlocks().first().blockFormat());
    stops.resize(count);
    d->setTabList(stops);
}

std::optional<double> RichTextBox::SelTabs(int index) const
{
    if (index < 0)
        return std::nullopt;
    const std::optional<std::optional<double>> stop
        = d->commonBlock([this, index](const QTextBlockFormat &f) -> std::optional<double> {
              const QList<double> stops = TextFormat::tabStopsMm(f);
              if (index >= stops.size())
                  return std::nullopt;
              return d->fromMm(stops.at(index));
          });
    return stop ? *stop : std::nullopt;
}

void RichTextBox::setSelTabs(int index, double position)
{
    const std::optional<double> mm = d->heldMm(position, 0, TextFormat::maxLengthMm);
    if (index < 0 || index >= MaxTabStops || !mm)
        return;
    QList<double> stops = TextFormat::tabStopsMm(d->touchedBlocks().first().blockFormat());
    if (index >= stops.size())
        stops.resize(index + 1);
    stops[index] = *mm;
    d->setTabList(stops);
}

double RichTextBox::RightMargin() const
{
    return d->rightMargin;
}

void RichTextBox::setRightMargin(double value)
{
    if (!std::isfinite(value))
        return;
    d->rightMargin = std::max(0.0, value);
    d->applyRightMargin();
    d->countedBlocks = 0;
}

RichTextBox::LoadResult RichTextBox::LoadFile(const QString &path, int type)
{
    QFile file(path);
    switch (TextFileLoad::open(file)) {
    case TextFileLoad::Opening::Opened:
        break;
    case TextFileLoad::Opening::Unreadable:
        return LoadResult::AccessError;
    case TextFileLoad::Opening::NotRegularFile:
        return LoadResult::NotRegularFile;
    case TextFileLoad::Opening::TooLarge:
        return LoadResult::TooLarge;
    }
    const qint64 size = file.size();
    std::unique_ptr<QTextDocument> fresh = d->freshDocument();
    LoadResult result = LoadResult::Ok;
    std::optional<PlainTextFile::Format> plain;
    bool longWords = false;
    // Touches nothing but the file and the fresh document, so it may run on another thread.
    const auto read = [&] {
        if (type == rtfRTF) {
            const std::optional<QByteArray> data = TextFileLoad::readWhole(file);
            // An empty file is an empty document, as an empty plain text is.
            if (!data)
                result = unreadable(file);
            else if (!data->isEmpty() && !rtf::readDocument(*data, *fresh).ok)
                result = LoadResult::FormatError;
        } else {
            plain = PlainTextFile::read(file, *fresh);
            if (!plain)
                result = unreadable(file);
        }
        if (result == LoadResult::Ok)
            longWords = hasLongWord(fresh.get());
    };
    // A small file is read at once, a larger one away from the window, which stays served.
    constexpr qint64 ServedLoadBytes = 1024 * 1024;
    if (size < ServedLoadBytes) {
        read();
    } else {
        TextFileLoad::whileServed(*fresh, read);
    }
    if (result != LoadResult::Ok)
        return result;
    if (fresh->blockCount() > ParagraphLimit())
        return LoadResult::TooManyParagraphs;
    d->plainFormat = plain.value_or(PlainTextFile::Format());
    d->adopt(std::move(fresh), longWords);
    return LoadResult::Ok;
}

int RichTextBox::ParagraphLimit() const
{
    return static_cast<int>(Private::LayoutHeightLimit
                            / std::ceil(QFontMetricsF(font()).lineSpacing()));
}

FileWrite::Result RichTextBox::SaveFile(const QString &path, int type)
{
    const QByteArray bytes = type == rtfRTF ? rtf::write(*document(), 0, -1)
                                            : PlainTextFile::encode(*document(), d->plainFormat);
    return FileWrite::replace(path, bytes);
}

int RichTextBox::Find(const QString &text, int start, int end, int options)
{
    const QString all = Text();
    const int length = static_cast<int>(all.size());
    start = std::clamp(start, 0, length);
    end = end < 0 || end > length ? length : std::max(end, start);
    const int size = static_cast<int>(text.size());
    if (size == 0 || end - start < size)
        return -1;
    QString haystack = all.mid(start, end - start);
    QString needle = text;
    if (!(options & rtfMatchCase)) {
        // Qt folds character by character: a hit in the folded text is one at the same place in
        // the text (ß stays ß, never SS).
        haystack = haystack.toCaseFolded();
        needle = needle.toCaseFolded();
    }
    const auto wordChar = [&](int position) {
        return position >= 0 && position < length && all.at(position).isLetterOrNumber();
    };
    for (qsizetype hit = haystack.indexOf(needle); hit >= 0;
         hit = haystack.indexOf(needle, hit + 1)) {
        const int position = start + static_cast<int>(hit);
        if ((options & rtfWholeWord) && (wordChar(position - 1) || wordChar(position + size)))
            continue;
        setSelStart(position);
        setSelLength(size);
        return position;
    }
    return -1;
}

int RichTextBox::GetLineFromChar(int position) const
{
    const QTextDocument *document = this->document();
    const int at = std::clamp(position, 0, d->end());
    const QTextBlock block = document->findBlock(at);
    if (!block.isValid())
        return 0;
    // Qt lays a document out from its start, so this reaches the block and nothing beyond it.
    document->documentLayout()->blockBoundingRect(block);
    d->countLinesUpTo(block);
    const QTextLine line
        = block.layout() ? block.layout()->lineForTextPosition(at - block.position()) : QTextLine();
    return block.firstLineNumber() + (line.isValid() ? line.lineNumber() : 0);
}

bool RichTextBox::eventFilter(QObject *watched, QEvent *event)
{
    // Behind a large insertion the caret rests until the layout reaches it: a blink would lay
    // out all the text before it at once.
    if (event->type() == QEvent::Timer && !isLaidOutAt(textCursor().position()))
        return true;
    return QTextEdit::eventFilter(watched, event);
}

QVariant RichTextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // The caret's rectangle behind a large insertion would lay out all the text before it at
    // once; the input method learns it when the layout has reached the caret.
    constexpr Qt::InputMethodQueries placed
        = Qt::ImCursorRectangle | Qt::ImAnchorRectangle | Qt::ImInputItemClipRectangle;
    if ((query & placed) && !isLaidOutAt(textCursor().position()))
        return QRectF();
    return QTextEdit::inputMethodQuery(query);
}

bool RichTextBox::isLaidOutAt(int position) const
{
    if (!d->caretToShow)
        return true;
    const QTextBlock block = document()->findBlock(std::clamp(position, 0, d->end()));
    return !block.isValid() || (block.layout() && block.layout()->lineCount() > 0);
}

void RichTextBox::Span(const QString &set, bool forward, bool negate)
{
    QTextCursor cursor = textCursor();
    int position = cursor.position();
    const int end = d->end();
    const auto inSet = [&](int p) { return set.contains(d->charAt(p)) != negate; };
    if (forward) {
        while (position < end && inSet(position))
            ++position;
    } else {
        while (position > 0 && inSet(position - 1))
            --position;
    }
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void RichTextBox::UpTo(const QString &set, bool forward, bool negate)
{
    QTextCursor cursor = textCursor();
    int position = cursor.position();
    const int end = d->end();
    const auto inSet = [&](int p) { return set.contains(d->charAt(p)) != negate; };
    if (forward) {
        while (position < end && !inSet(position))
            ++position;
    } else {
        while (position > 0 && !inSet(position - 1))
            --position;
    }
    cursor.setPosition(position);
    setTextCursor(cursor);
}

bool RichTextBox::SelPrint(QPrinter &printer)
{
    printer.setFullPage(false);
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return paint(printer);
    // Qt's PDF output writes straight over the file and hides a failed write; made in memory,
    // the file is written whole or not at all.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(printer.pageLayout());
        pdf.setResolution(printer.resolution());
        pdf.setCreator(printer.creator());
        pdf.setTitle(printer.docName());
        if (!paint(pdf))
            return false;
    }
    return FileWrite::replace(printer.outputFileName(), buffer.data()).written;
}

bool RichTextBox::paint(QPagedPaintDevice &device) const
{
    const QTextCursor cursor = textCursor();
    std::unique_ptr<QTextDocument> copy;
    if (cursor.hasSelection()) {
        copy = std::make_unique<QTextDocument>();
        copy->setDefaultFont(document()->defaultFont());
        copy->setDefaultTextOption(document()->defaultTextOption());
        QTextCursor(copy.get()).insertFragment(cursor.selection());
    } else {
        copy.reset(document()->clone());
    }
    PictureObjects::attach(*copy);
    copy->setUseDesignMetrics(document()->useDesignMetrics());
    // The printout adds nothing of its own: the text starts at the printable area's edge.
    copy->setDocumentMargin(0);

    const QRectF pageMm = device.pageLayout().paintRect(QPageLayout::Millimeter);
    const double pixelsPerMm = TextFormat::pixelsPerMm();
    // Laid out as on screen, in screen pixels, with the screen's line width; the painter
    // scales a screen millimetre to a printed one.
    double width = RightMargin() > 0 ? d->toMm(RightMargin()) * pixelsPerMm
                                     : document()->textWidth() - 2 * document()->documentMargin();
    if (width <= 0)
        width = pageMm.width() * pixelsPerMm;
    const QSizeF page(pageMm.width() * pixelsPerMm, pageMm.height() * pixelsPerMm);
    copy->setPageSize(QSizeF(width, page.height()));

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scale = device.logicalDpiX() / 25.4 / pixelsPerMm;
    painter.scale(scale, scale);
    // Pictures print at up to twice their screen resolution: sharper, at a bounded cost.
    PictureObjects::decodeAll(*copy, std::min(scale, 2.0));
    painter.setPen(Qt::black);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    const int pages = std::max(1, copy->pageCount());
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device.newPage();
        const QRectF area(QPointF(0, i * page.height()), page);
        painter.save();
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        context.clip = area;
        copy->documentLayout()->draw(&painter, context);
        drawBullets(painter, *copy, area);
        painter.restore();
    }
    return painter.end();
}

bool RichTextBox::canUndo() const
{
    return document()->isUndoAvailable();
}

void RichTextBox::undo()
{
    const int anchor = d->lastAnchor;
    const int position = d->lastPosition;
    ++d->restoring;
    QTextEdit::undo();
    --d->restoring;
    // An undone format change leaves the caret: what shows the selection's format must still
    // follow.
    if (d->lastAnchor == anchor && d->lastPosition == position)
        emit SelChange();
}

namespace {

// Ends an undo step: Qt merges typed text into a step that ends with an insertion, so that one
// undo would take back the step and the typing behind it alike.
class StepEdge : public QAbstractUndoItem
{
public:
    void undo() override { }
    void redo() override { }
};

} // namespace

// An edit block opened on a cursor: Qt notes where it stood and puts the caret back there.
RichTextBox::UndoStep::UndoStep(RichTextBox *box) : UndoStep(box, box->textCursor().position()) { }

RichTextBox::UndoStep::UndoStep(RichTextBox *box, int caretAfterUndo)
    : cursor(box->document()), commandsBefore(box->document()->availableUndoSteps())
{
    cursor.setPosition(std::clamp(caretAfterUndo, 0, box->document()->characterCount() - 1));
    cursor.beginEditBlock();
}

RichTextBox::UndoStep::~UndoStep()
{
    // Qt counts the commands on its undo stack there. A step that changed nothing gets no
    // edge, which would be an undo step of its own.
    if (cursor.document()->availableUndoSteps() != commandsBefore)
        cursor.document()->appendUndoItem(new StepEdge);
    cursor.endEditBlock();
}

void RichTextBox::cancelKey()
{
    d->keyCancelled = true;
}

void RichTextBox::keyPressEvent(QKeyEvent *event)
{
    const bool outer = d->keyCancelled;
    d->keyCancelled = false;
    if (const int code = KeyCodes::keyCode(*event))
        emit KeyDown(code, ControlMouse::shiftCode(event->modifiers()));
    if (!d->keyCancelled) {
        if (const int ascii = keyAscii(event))
            emit KeyPress(ascii);
    }
    const bool cancelled = d->keyCancelled;
    d->keyCancelled = outer;
    if (cancelled || event->matches(QKeySequence::Undo)) {
        if (!cancelled)
            undo();
        event->accept();
        return;
    }
    // Ins switches between inserting and overwriting, in this control alone.
    if (event->key() == Qt::Key_Insert && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        setOverwriteMode(!overwriteMode());
        event->accept();
        return;
    }
    const bool redo = event->matches(QKeySequence::Redo);
    d->restoring += redo ? 1 : 0;
    // The caret may stand where it stood before the text around it came.
    d->setInsertionFormat();
    QTextEdit::keyPressEvent(event);
    d->restoring -= redo ? 1 : 0;
}

void RichTextBox::mousePressEvent(QMouseEvent *event)
{
    emit MouseDown(ControlMouse::buttonsCode(event->button()),
                   ControlMouse::shiftCode(event->modifiers()),
                   d->toOwnerScale(event->position().x()), d->toOwnerScale(event->position().y()));
    QTextEdit::mousePressEvent(event);
}

void RichTextBox::mouseMoveEvent(QMouseEvent *event)
{
    emit MouseMove(ControlMouse::buttonsCode(event->buttons()),
                   ControlMouse::shiftCode(event->modifiers()),
                   d->toOwnerScale(event->position().x()), d->toOwnerScale(event->position().y()));
    QTextEdit::mouseMoveEvent(event);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}

void RichTextBox::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    d->countedBlocks = 0;
}

void RichTextBox::paintEvent(QPaintEvent *event)
{
    QTextEdit::paintEvent(event);
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    painter.translate(offset);
    drawBullets(painter, *document(), QRectF(event->rect()).translated(-offset));
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    if (source->hasText())
        return true;
    const QStringList formats = ClipboardFormats::rtfFormats();
    return acceptRichText()
        && std::any_of(formats.begin(), formats.end(),
                       [source](const QString &mime) { return source->hasFormat(mime); });
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(ClipboardFormats::plainText(SelText()));
    if (acceptRichText())
        data->setData(ClipboardFormats::rtf(),
                      rtf::write(*document(), cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

// The control's own paste and drop keep the formatting: rich text first, where it is taken.
void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    const QByteArray rtf = acceptRichText() ? ClipboardFormats::rtfData(*source) : QByteArray();
    if (!rtf.isEmpty()) {
        const UndoStep step(this);
        d->insertRtf(rtf);
    } else if (source->hasText()) {
        setSelText(source->text());
    }
}
