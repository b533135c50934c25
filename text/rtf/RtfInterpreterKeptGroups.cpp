// The RTF interpreter's groups kept as the file had them: shapes and objects around a picture,
// headers and footers, bookmarks and comments, and the document's information.
#include "text/rtf/RtfInterpreter.h"

#include "text/TextMarks.h"
#include "text/rtf/RtfSectionGroups.h"

#include <QTextBlock>

namespace rtf {

// A group is kept whole only when its first word makes it one: text before that word is the
// text's own, and the root group is the document.
bool Interpreter::opensKeptGroup() const
{
    const GroupState &state = stack.back();
    return state.destination == Destination::Text && state.opening && stack.size() > 1;
}

// A kept group is written back as it was and must read the same wherever it lands: what it
// holds may not change the document around it.
bool Interpreter::insideKeptGroup() const
{
    return keptShape.depth != 0 || keptObject.depth != 0;
}

// A kept shape gives nothing but its picture, and a picture, a kept object or a field's
// instruction holds no tables: the saved file's own tables are numbered anew.
bool Interpreter::keepsOut(const GroupState &state, Destination target) const
{
    if (state.destination == Destination::Shape || state.destination == Destination::Picture)
        return true;
    switch (target) {
    case Destination::FontTable:
    case Destination::ColorTable:
    case Destination::StyleSheet:
    case Destination::ListTable:
    case Destination::ListOverrideTable:
    case Destination::Tables:
        return insideKeptGroup() || state.destination == Destination::FieldInstruction;
    default:
        return false;
    }
}

QByteArray Interpreter::keptBytes(const GroupState &closing, int codePage, int unicodeSkip) const
{
    return kept::own(tokenizer->consumed().sliced(closing.start),
                     kept::Source {fonts, defaultFont, documentCodePage, codePage, unicodeSkip});
}

std::optional<Interpreter::KeptShape> Interpreter::closeKeptGroups(const GroupState &closing)
{
    std::optional<KeptShape> placed;
    if (keptShape.depth == stack.size()) {
        KeptShape shape = std::exchange(keptShape, KeptShape());
        if (shape.picture) {
            shape.picture->rtfGroup = keptBytes(closing, shape.codePage, shape.unicodeSkip);
            placed = std::move(shape);
        }
    }
    if (keptObject.depth == stack.size())
        keepObjectGroup(closing);
    if (sectionDepth == stack.size()) {
        sectionDepth = 0;
        // Nothing in a header is read, so the group's state is the one it began in.
        keepSection(keptBytes(closing, closing.codePage, closing.unicodeSkip));
    }
    if (markDepth == stack.size()) {
        markDepth = 0;
        keepMark(keptBytes(closing, closing.codePage, closing.unicodeSkip), markKind);
    }
    if (infoDepth == stack.size()) {
        infoDepth = 0;
        if (info.isEmpty())
            info = keptBytes(closing, closing.codePage, closing.unicodeSkip);
    }
    return placed;
}

// An object whose result is just its picture is written back whole, in place of the picture;
// not one that leaves a list label for the text behind it, which the saved file would show.
void Interpreter::keepObjectGroup(const GroupState &closing)
{
    const KeptObject object = std::exchange(keptObject, KeptObject());
    if (object.contents != 1 || object.pictures != 1 || !out.pendingLabel.isEmpty())
        return;
    QTextCursor at(cursor);
    at.setPosition(object.position);
    at.setPosition(object.position + 1, QTextCursor::KeepAnchor);
    std::optional<TextPicture::Picture> picture = TextPicture::of(at.charFormat());
    if (!picture)
        return;
    picture->rtfGroup = keptBytes(closing, object.codePage, object.unicodeSkip);
    QTextCharFormat format = at.charFormat();
    format.merge(TextPicture::format(*picture));
    at.setCharFormat(format);
}

// Attached once the paragraph they belong to ends (or the next one begins), not group by group:
// Qt keeps every block format it was given, so growing one step at a time would cost the square
// of their size.
void Interpreter::keepSection(QByteArrayView bytes)
{
    pendingSection += bytes;
}

// Kept section bytes go with the paragraph being read, or with the next one after a paragraph
// end.
void Interpreter::attachSection()
{
    if (pendingSection.isEmpty())
        return;
    QTextBlockFormat format = cursor.blockFormat();
    section::addGroups(format, std::exchange(pendingSection, QByteArray()));
    cursor.setBlockFormat(format);
}

void Interpreter::shape(const Token &, ShapeGroup part)
{
    GroupState &state = top();
    if (state.destination == Destination::Shape)
        return;
    if (part == ShapeGroup::Whole && keptShape.depth == 0 && opensKeptGroup()) {
        keptShape = KeptShape {stack.size(), std::nullopt, state.chars, state.codePage,
                               state.unicodeSkip};
        state.destination = Destination::Shape;
        return;
    }
    state.destination = Destination::Skip;
}

// Headers and footers are neither shown nor edited, only kept.
void Interpreter::sectionGroup(const Token &)
{
    GroupState &state = top();
    if (sectionDepth == 0 && note.depth == 0 && opensKeptGroup())
        sectionDepth = stack.size();
    state.destination = Destination::Skip;
}

// The words that make other readers use the first-page and the left and right headers.
void Interpreter::sectionWord(const Token &token)
{
    if (top().destination != Destination::Text || note.depth != 0 || insideKeptGroup())
        return;
    QByteArray word = "\\";
    word += QByteArrayView(token.text.data(), static_cast<qsizetype>(token.text.size()));
    keepSection(word);
}

// Bookmarks and comments are neither shown nor edited, only kept with the text beside them.
void Interpreter::mark(const Token &, MarkKind kind)
{
    if (markDepth == 0 && !insideKeptGroup() && opensKeptGroup()) {
        markDepth = stack.size();
        markKind = kind;
    }
    top().destination = Destination::Skip;
}

// \chatn: the place of a comment's mark in the text.
void Interpreter::markWord(const Token &token)
{
    if (top().destination != Destination::Text || insideKeptGroup())
        return;
    QByteArray word = "\\";
    word += QByteArrayView(token.text.data(), static_cast<qsizetype>(token.text.size()));
    keepMark(word, MarkKind::End);
}

// The document's title, author and dates, kept whole when they stand in the document's header.
void Interpreter::documentInfo(const Token &)
{
    if (infoDepth == 0 && stack.size() == 2 && opensKeptGroup())
        infoDepth = stack.size();
    top().destination = Destination::Skip;
}

// A mark stays with the character it stood before; an end with the one it stood behind while
// its paragraph has one and no start waits for the next character. Deleting the text around a
// mark so deletes it.
void Interpreter::keepMark(QByteArrayView bytes, MarkKind kind)
{
    flushRun();
    if (kind == MarkKind::End && out.marksBefore.isEmpty() && characterBehind())
        out.marksAfter += bytes;
    else
        out.marksBefore += bytes;
}

// Whether the paragraph being read has a character of this read before the mark.
bool Interpreter::characterBehind() const
{
    if (out.pendingParagraph || out.pendingCells > 0)
        return false;
    return !out.runText.isEmpty()
        || (cursor.positionInBlock() > 0 && cursor.position() > out.first);
}

// The last character of this read before the cursor, paragraph ends aside; -1 for none.
int Interpreter::lastCharacter() const
{
    int end = cursor.position();
    for (QTextBlock block = cursor.block(); block.isValid() && end > out.first;
         block = block.previous()) {
        if (end > block.position())
            return end - 1;
        end = block.position() - 1;
    }
    return -1;
}

void Interpreter::attachMarksAfter(int position, const QByteArray &bytes)
{
    QTextCursor at(cursor);
    const QTextDocument &document = *cursor.document();
    int start = position;
    if (start > 0 && document.characterAt(start).isLowSurrogate()
        && document.characterAt(start - 1).isHighSurrogate())
        --start;
    at.setPosition(start);
    at.setPosition(position + 1, QTextCursor::KeepAnchor);
    QTextCharFormat format = at.charFormat();
    TextMarks::setAfter(format, TextMarks::after(format) + bytes);
    at.setCharFormat(format);
}

// Marks behind a character are attached once the next content comes, not mark by mark: each
// attachment copies them.
void Interpreter::settleMarksAfter()
{
    if (out.marksAfter.isEmpty())
        return;
    flushRun();
    attachMarksAfter(cursor.position() - 1, std::exchange(out.marksAfter, QByteArray()));
}

// Marks left at the end of the text stay with its last character; without one they are lost.
void Interpreter::endMarks()
{
    settleMarksAfter();
    if (out.marksBefore.isEmpty())
        return;
    const QByteArray bytes = std::exchange(out.marksBefore, QByteArray());
    if (const int position = lastCharacter(); position >= 0)
        attachMarksAfter(position, bytes);
}

} // namespace rtf
