// Position, font name and font size as the main window's boxes show them.
#include "document/SelectionFeedback.h"

#include "text/RichTextBox.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace SelectionFeedback {

QString positionText(const RichTextBox &text)
{
    if (text.SelLength() != 0)
        return QStringLiteral("A%1").arg(text.SelLength());
    const int caret = text.SelStart();
    const int line = text.GetLineFromChar(caret);
    // The first position of the caret's display line, found by halving: lines only grow.
    int low = 0;
    int high = caret;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (text.GetLineFromChar(middle) < line)
            low = middle + 1;
        else
            high = middle;
    }
    return QStringLiteral("1-%1-%2").arg(line + 1).arg(caret - low);
}

QString sizeText(double points)
{
    return QString::number(points, 'g', 15);
}

void showFontName(QComboBox *box, const std::optional<QString> &name)
{
    // Set from code, the box must not write the name back as a choice of the user's.
    const QSignalBlocker quiet(box);
    int index = -1;
    if (name) {
        const QString wanted = name->toUpper();
        for (int i = 0; i < box->count(); ++i) {
            if (box->itemText(i).toUpper() == wanted) {
                index = i;
                break;
            }
        }
    }
    box->setCurrentIndex(index);
    // A font that is not installed is still the selection's font: the box names it.
    box->setPlaceholderText(index < 0 && name ? *name : QString());
}

void showFontSize(QComboBox *box, std::optional<double> points)
{
    const QSignalBlocker quiet(box);
    if (!points) {
        box->setCurrentIndex(-1);
        box->setEditText(QString());
        return;
    }
    const QString text = sizeText(*points);
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly));
    // Choosing the entry that is already chosen leaves typed text standing.
    box->setEditText(text);
}

} // namespace SelectionFeedback
