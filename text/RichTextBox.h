// The rich edit control of the document windows: a QTextEdit with the classic members the
// program uses (selection properties, load and save, find, span, print).
#pragma once

#include "platform/FileWrite.h"

#include <QTextCursor>
#include <QTextEdit>
#include <QVector>
#include <optional>

class QPagedPaintDevice;
class QPrinter;

class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    enum FileType { rtfRTF = 0, rtfText = 1 };
    enum FindOption { rtfWholeWord = 2, rtfMatchCase = 4 };
    enum Alignment { rtfLeft = 0, rtfRight = 1, rtfCenter = 2 };
    // Unit of every length the control takes and gives (indents, tabs, right margin).
    enum class Scale { Millimetres, Twips };
    enum class LoadResult {
        Ok,
        AccessError,
        FormatError,
        TooLarge,
        NotRegularFile,
        TooManyParagraphs
    };

    // More tab stops than this per paragraph are refused.
    static constexpr int MaxTabStops = 32;

    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    void setScale(Scale scale);
    Scale scale() const;

    // Positions: one per character and one per paragraph end; Text().size() is the end.
    QString Text() const;
    void setText(const QString &text);

    int SelStart() const;
    void setSelStart(int position);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    // Both setters are one undo step each.
    void setSelText(const QString &text);
    QString SelRTF() const;
    void setSelRTF(const QString &rtfOrText);

    // Character format of the selection; empty when the selection mixes values (Null).
    std::optional<QString> SelFontName() const;
    void setSelFontName(const QString &name);
    std::optional<double> SelFontSize() const; // points
    void setSelFontSize(double points);
    std::optional<bool> SelBold() const;
    void setSelBold(bool on);
    std::optional<bool> SelItalic() const;
    void setSelItalic(bool on);
    std::optional<bool> SelUnderline() const;
    void setSelUnderline(bool on);
    std::optional<bool> SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    std::optional<double> SelCharOffset() const; // twips, positive raised
    void setSelCharOffset(double twips);
    std::optional<int> SelColor() const; // 0x00BBGGRR
    void setSelColor(int color);

    // Paragraph format of every paragraph the selection touches.
    std::optional<int> SelAlignment() const;
    void setSelAlignment(int alignment);
    std::optional<double> SelIndent() const;
    void setSelIndent(double value);
    std::optional<double> SelHangingIndent() const;
    void setSelHangingIndent(double value);
    std::optional<double> SelRightIndent() const;
    void setSelRightIndent(double value);
    std::optional<bool> SelBullet() const;
    void setSelBullet(bool on);
    std::optional<double> BulletIndent() const;
    void setBulletIndent(double value);
    std::optional<int> SelTabCount() const;
    void setSelTabCount(int count);
    std::optional<double> SelTabs(int index) const;
    void setSelTabs(int index, double position);

    // Text width for the whole document; 0 wraps at the control's own width.
    double RightMargin() const;
    void setRightMargin(double value);

    // Replaces everything and clears undo. An access error is reported apart from a format error
    // and from anything but a regular file, which is not opened. A file larger than
    // TextFileLoad::MaxFileBytes is refused before it is read, and one that grows past it while
    // it is read is refused when it does. An empty file is an empty document. A large file is
    // read while the event loop serves everything but input.
    LoadResult LoadFile(const QString &path, int type);
    // The most paragraphs a loaded file may have: in the control's font, more would run past
    // the height Qt's layout can place (TooManyParagraphs).
    int ParagraphLimit() const;
    // Writes beside the target and replaces it only when the write succeeded; in a folder that
    // takes no new file, a writable file is written in place.
    FileWrite::Result SaveFile(const QString &path, int type);

    // Selects the hit and returns its position, or returns -1 and leaves the selection.
    int Find(const QString &text, int start = 0, int end = -1, int options = 0);
    // 0-based display line of a position, wrapped lines counted.
    int GetLineFromChar(int position) const;
    // False while the layout behind a large insertion has not yet reached POSITION: asking for
    // its line then would lay out all the text before it at once.
    bool isLaidOutAt(int position) const;
    // Extends the selection over characters in (or, negated, outside) the set.
    void Span(const QString &set, bool forward = true, bool negate = false);
    // Moves the caret up to the first character in (or, negated, outside) the set.
    void UpTo(const QString &set, bool forward = true, bool negate = false);
    // Prints the selection if there is one, else everything. False when the printout could not
    // be made; a PDF file that could not be written whole is left as it was.
    bool SelPrint(QPrinter &printer);

    bool canUndo() const;
    void undo();

    // Gathers the changes made while it lives into one undo step, apart from the steps before
    // and after it (typing right behind it is a step of its own); Undo puts the caret back where
    // it stood when the step began, or at caretAfterUndo.
    class UndoStep
    {
    public:
        explicit UndoStep(RichTextBox *box);
        UndoStep(RichTextBox *box, int caretAfterUndo);
        ~UndoStep();
        UndoStep(const UndoStep &) = delete;
        UndoStep &operator=(const UndoStep &) = delete;

    private:
        QTextCursor cursor;
        int commandsBefore;
    };

    // For a slot connected to KeyDown or KeyPress: the key is swallowed (KeyCode = 0 or
    // KeyAscii = 0); cancelled in KeyDown, no KeyPress follows.
    void cancelKey();

signals:
    // After every change of the text.
    void Change();
    // After every change of the text or its format, also through the Sel* setters.
    void Edited();
    // Synchronously on every caret or selection change; not for format-only writes.
    void SelChange();
    // The layout, running behind a large insertion, has reached further into the text.
    void LaidOutFurther();
    // KEY_CODE is one of KeyCodes::Code.
    void KeyDown(int keyCode, int shift);
    // Only for keys that produce a character code (printable, Backspace, Tab, Enter, Esc,
    // Ctrl+letter 1-26).
    void KeyPress(int keyAscii);
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // The owner opens its own context menu on the right button; the control has none.
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool paint(QPagedPaintDevice &device) const;

    struct Private;
    Private *d;
};
