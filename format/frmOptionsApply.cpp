// "Übernehmen": writes the dialog's sections into the active document's selection, the page
// settings and the ruler, then lets the document window catch up once.
#include "common/Grid.h"
#include "common/LeadingNumber.h"
#include "common/PageSettings.h"
#include "document/Ruler.h"
#include "document/frmDocument.h"
#include "format/OptionsControls.h"
#include "format/OptionsSupport.h"
#include "format/frmOptions.h"
#include "text/RichTextBox.h"
#include "text/TextFormat.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <cmath>

using namespace OptionsSupport;

namespace {

enum Section { Font, Colour, Paragraph, Tabs, PageSetup };

} // namespace

void frmOptions::cmdSetzen_Click()
{
    frmDocument *document = activeDocument();
    if (!document)
        return;
    // A number still being typed counts as the spinner would hold it, rules and beeps included.
    for (UpDown *spinner :
         {UpDownVertikal, UpDownL, UpDownE, UpDownR, UpDownRL, UpDownRR, UpDownRO, UpDownRU})
        spinner->commitTyped();
    const int scope = comboUebernehmen->currentIndex();
    const int first = scope >= 2 && scope <= 5 ? scope - 1 : Font;
    // Whatever the sections change is one undo step of the document.
    const RichTextBox::UndoStep step(document->txtText);
    for (int section = first; section <= PageSetup; ++section) {
        RichTextBox &text = *document->txtText;
        switch (section) {
        case Font:
            applyFont(text);
            break;
        case Colour:
            applyColour(text);
            break;
        case Paragraph:
            applyParagraph(text);
            break;
        case Tabs:
            applyTabs(text);
            break;
        case PageSetup:
            applyPage(*document);
            break;
        }
        if (scope != 0)
            break;
    }
    document->txtText_SelChange();
}

void frmOptions::applyFont(RichTextBox &text)
{
    const int font = listIndex(lstSchrift);
    if (font >= 0)
        text.setSelFontName(lstSchrift->item(font)->text());
    const double size = leadingNumber(comboGrad->Text());
    if (size > 0 && size <= TextFormat::maxFontPoints)
        text.setSelFontSize(size);
    const int style = listIndex(lstSchnitt);
    if (style >= 0 && style <= 3) {
        text.setSelBold(style >= 2);
        text.setSelItalic(style == 1 || style == 3);
    }
    if (chkUnter->Value() != 2)
        text.setSelUnderline(chkUnter->Value() == 1);
    if (chkDurch->Value() != 2)
        text.setSelStrikeThru(chkDurch->Value() == 1);
    const int position = comboVertikal->currentIndex();
    if (position == 0) {
        text.setSelCharOffset(0);
    } else if (position == 1 || position == 2) {
        const double offset = std::floor(UpDownVertikal->Value() * offsetPerPoint) + 1;
        text.setSelCharOffset(position == 1 ? offset : -offset);
    }
}

void frmOptions::applyColour(RichTextBox &text)
{
    const bool unchanged = !colourChosen && lblAktuelleFarbe->BackColor() == loadedColour;
    if (lblAktuelleFarbe->text().isEmpty() && !unchanged)
        text.setSelColor(lblAktuelleFarbe->BackColor());
}

void frmOptions::applyParagraph(RichTextBox &text)
{
    const auto boxValue = [](const QLineEdit *box, double (*round)(double)) {
        return box->text().isEmpty() ? 0.0f : static_cast<float>(round(leadingNumber(box->text())));
    };
    const float left = boxValue(txtLinks, AufRasterRunden);
    const float firstLine = boxValue(txtErste, AufRasterRundenGespiegelt);
    const float right = boxValue(txtRechts, AufRasterRunden);

    if (chkAufzaehl->Value() == 1) {
        text.setSelBullet(true);
        text.setBulletIndent(UpDownE->Value() <= 0 ? -UpDownE->Value() : 0);
    } else if (chkAufzaehl->Value() == 0) {
        text.setSelBullet(false);
    }
    if (!txtLinks->text().isEmpty())
        text.setSelIndent(firstLine + left);
    if (!txtRechts->text().isEmpty())
        text.setSelRightIndent(right);
    if (!txtErste->text().isEmpty())
        text.setSelHangingIndent(-firstLine);
    if (optLinks->isChecked())
        text.setSelAlignment(RichTextBox::rtfLeft);
    else if (optZentriert->isChecked())
        text.setSelAlignment(RichTextBox::rtfCenter);
    else if (optRechts->isChecked())
        text.setSelAlignment(RichTextBox::rtfRight);
}

void frmOptions::applyTabs(RichTextBox &text)
{
    // Paragraphs with different stops keep theirs until the user has edited the list.
    if (tabsMixed && !tabListEdited)
        return;
    const int count = std::min(comboTab->ListCount(), int(RichTextBox::MaxTabStops));
    text.setSelTabCount(count);
    for (int i = 0; i < count; ++i) {
        QString entry = comboTab->List(i);
        const qsizetype comma = entry.indexOf(u',');
        if (comma >= 0)
            entry[comma] = u'.';
        text.setSelTabs(i, static_cast<float>(AufRasterRunden(leadingNumber(entry))));
    }
}

void frmOptions::applyPage(frmDocument &document)
{
    RichTextBox &text = *document.txtText;
    Page::RandRechts = static_cast<float>(AufRasterRunden(UpDownRR->Value()));
    text.setRightMargin(Page::textWidth());
    const double margin = text.RightMargin();
    QWidget *lineal = document.pboxLineal;
    Ruler::setWidthMm(lineal, margin);
    // A mixed right indent gives the marker no place; it stays where it was.
    if (const std::optional<double> rightIndent = text.SelRightIndent()) {
        QLabel *marker = document.imgRU;
        marker->setVisible(true);
        double left = margin - *rightIndent - Ruler::widthMm(marker) / 2;
        if (*rightIndent == 0)
            left -= 1;
        Ruler::setLeftMm(marker, left);
    }
    QWidget *rechts = document.pboxLinealRechts;
    Ruler::setWidthMm(rechts, Page::RandRechts);
    rechts->move(lineal->x() + lineal->width(), rechts->y());
}
