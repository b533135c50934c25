// One pass over the laid-out lines, then the edits from the back, so positions stay valid.
#include "document/PrintCopy.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <algorithm>

namespace PrintCopy {

void replaceWith(QTextDocument &copy, const QTextCursor &selection)
{
    QTextCursor all(&copy);
    all.select(QTextCursor::Document);
    all.insertFragment(selection.selection());
}

void insertLineBreaks(QTextDocument &copy)
{
    struct Break
    {
        int position; // document position of the wrapped line's end
        bool replacesSpace;
    };
    QList<Break> breaks;
    QAbstractTextDocumentLayout *layout = copy.documentLayout();
    for (QTextBlock block = copy.begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out
        const QTextLayout *lines = block.layout();
        const QString text = block.text();
        for (int i = 0; i + 1 < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            const int end = line.textStart() + line.textLength();
            // A line that a soft line break ends breaks there already.
            if (end <= 0 || end >= text.size() || text.at(end - 1) == QChar::LineSeparator)
                continue;
            const bool space = text.at(end - 1) == QLatin1Char(' ');
            breaks.append({block.position() + end - (space ? 1 : 0), space});
        }
    }
    QTextCursor cursor(&copy);
    cursor.beginEditBlock();
    for (auto it = breaks.crbegin(); it != breaks.crend(); ++it) {
        cursor.setPosition(it->position);
        if (it->replacesSpace)
            cursor.setPosition(it->position + 1, QTextCursor::KeepAnchor);
        cursor.insertText(QString(QChar::LineSeparator));
    }
    cursor.endEditBlock();
}

} // namespace PrintCopy
