// The RTF interpreter's footnotes and endnotes: gathered apart, numbered, and added behind the
// content.
#include "text/rtf/RtfInterpreter.h"

#include "text/rtf/RtfInterpreterShared.h"

#include <QTextDocumentFragment>

namespace rtf {

Interpreter::Notes &Interpreter::notesOf(NoteKind kind)
{
    std::unique_ptr<Notes> &gathered = notes[kind];
    if (!gathered)
        gathered = std::make_unique<Notes>();
    return *gathered;
}

// The cursor and what is being written change places with the notes' own.
void Interpreter::swapOutput(NoteKind kind)
{
    Notes &gathered = notesOf(kind);
    cursor.swap(gathered.cursor);
    std::swap(out, gathered.output);
}

// Footnotes count 1, 2, 3, endnotes i, ii, iii, as word processors number them.
QString Interpreter::noteLabel(Note &which)
{
    if (which.number == 0)
        which.number = ++notesOf(which.kind).count;
    return which.kind == Footnote ? QString::number(which.number) : lowerRoman(which.number);
}

// The note's last paragraph is closed, its number put before its text unless the note shows
// it, and the reference is put into the text as a raised number.
void Interpreter::endNote(const ParaState &para)
{
    flushRun();
    endMarks();
    applyBlockFormat(para);
    out.pendingParagraph = true;
    out.labelKept = false;
    Note ended = std::exchange(note, Note());
    if (!ended.referenced) {
        swapOutput(ended.kind);
        return;
    }
    const QString label = noteLabel(ended);
    CharState mark = ended.reference;
    if (mark.offsetTwips <= 0 && mark.script == CharState::Normal)
        mark.script = CharState::Super;
    if (!ended.marked && ended.start >= 0) {
        QTextCursor at(cursor.document());
        at.setPosition(ended.start);
        at.insertText(label + QLatin1Char(' '), charFormat(mark));
    }
    swapOutput(ended.kind);
    putMark(mark, label);
}

void Interpreter::putMark(const CharState &state, const QString &label)
{
    beginContent();
    if (!(out.runState == state)) {
        flushRun();
        out.runState = state;
    }
    out.runText += label;
}

// Footnotes, then endnotes, behind the content, each note a paragraph of its own.
bool Interpreter::appendNotes(const ParaState &last)
{
    bool appended = false;
    for (const std::unique_ptr<Notes> &gathered : notes) {
        if (!gathered || gathered->document.isEmpty())
            continue;
        if (!appended && !out.pendingParagraph)
            applyBlockFormat(last);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertFragment(QTextDocumentFragment(&gathered->document));
        appended = true;
    }
    return appended;
}

void Interpreter::footnote(const Token &)
{
    GroupState &state = top();
    if (state.destination != Destination::Text || note.depth != 0) {
        state.destination = Destination::Skip;
        return;
    }
    flushRun();
    const bool referenced = note.referenced;
    const CharState reference = note.reference;
    note = Note();
    note.depth = stack.size();
    note.referenced = referenced;
    note.reference = reference;
    swapOutput(Footnote);
}

// \ftnalt makes the note an endnote; it comes before the note's text.
void Interpreter::setEndnote(const Token &)
{
    if (note.depth == 0 || note.kind == Endnote || note.start >= 0)
        return;
    swapOutput(Footnote);
    note.kind = Endnote;
    swapOutput(Endnote);
}

void Interpreter::noteMark(const Token &)
{
    if (top().destination != Destination::Text)
        return;
    if (note.depth == 0) {
        note.referenced = true;
        note.reference = top().chars;
        return;
    }
    note.marked = true;
    for (QChar c : noteLabel(note))
        put(c);
}

} // namespace rtf
