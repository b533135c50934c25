// The rich-text window: page settings, the ruler strip and the edit control below it, and the
// handlers of its own menu items.
#include "document/frmDocument.h"

#include "common/Grid.h"
#include "common/PageSettings.h"
#include "document/DocumentHost.h"
#include "document/DocumentTools.h"
#include "document/PrintCopy.h"
#include "document/SelectionFeedback.h"
#include "platform/Screen.h"
#include "platform/Toolbar.h"
#include "text/RichTextBox.h"

#include <QAction>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTextDocument>
#include <algorithm>

frmDocument::frmDocument(QWidget *parent)
    : DocumentWindow(QStringLiteral("frmDocument"),
                     {Qt::CaseInsensitive, QStringLiteral(".rtf"), 3, true}, parent)
{
    txtText->setScale(RichTextBox::Scale::Millimetres);
    txtText->setFont(QFont(QStringLiteral("Times New Roman"), 12));
    // The ruler's 0 mm is the text's left edge.
    txtText->setFrameShape(QFrame::NoFrame);
    txtText->document()->setDocumentMargin(0);
    DocumentMenus::build(*this, DocumentMenus::RichText);
    Form_Load();
    watchEditControl();
    connect(txtText, &RichTextBox::SelChange, this, &frmDocument::txtText_SelChange);
}

static void openOptions(int tab)
{
    if (documentTools().frmOptions)
        documentTools().frmOptions(tab);
}

void frmDocument::mnuFormatZeichen_Click()
{
    openOptions(1);
}

void frmDocument::mnuFormatFarbe_Click()
{
    openOptions(2);
}

void frmDocument::mnuFormatAbsatz_Click()
{
    openOptions(3);
}

void frmDocument::mnuFormatTabs_Click()
{
    openOptions(4);
}

void frmDocument::mnuFormatSeite_Click()
{
    openOptions(5);
}

void frmDocument::Form_Load()
{
    loadCommon();
    Page::reset();
    txtText->setRightMargin(Page::textWidth());
    txtText->setSelIndent(0);
    txtText->setSelHangingIndent(0);
    txtText->setSelRightIndent(0);
    txtText->setSelTabCount(0);
    EinzugKomplett = false;
    Tabanzahl = 0;
    buildRuler();
    Form_Resize();
    // The paragraph reset of the empty text is no step the user can undo.
    txtText->document()->clearUndoRedoStacks();
}

void frmDocument::buildRuler()
{
    using namespace Ruler;
    Picture1 = new RulerStrip(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto *links = new RulerBox(Picture1, QColor(192, 192, 192));
    auto *lineal = new RulerBox(Picture1, Qt::white);
    auto *rechts = new RulerBox(Picture1, QColor(192, 192, 192));
    pboxLinealLinks = links;
    pboxLineal = lineal;
    pboxLinealRechts = rechts;
    // Each box gets its scale while it is as wide as a box can become, so that widening it
    // later uncovers marks that are already there.
    const double boxHeight = lineal->textHeightMm(QStringLiteral("1234567890")) + 1;
    const std::pair<RulerBox *, double> boxes[] = {
        {lineal, Page::Seitenbreite - (Page::RandRechts + Page::RandLinks)},
        {links, leftMarginMm},
        {rechts, Page::RandRechts},
    };
    for (const auto &[box, finalWidth] : boxes) {
        setHeightMm(box, boxHeight);
        setWidthMm(box, maxBoxWidthMm);
        setTopMm(box, 0);
        box->drawScale();
        setWidthMm(box, finalWidth);
    }
    setLeftMm(pboxLinealLinks, 0);
    setLeftMm(pboxLineal, leftMm(pboxLinealLinks) + widthMm(pboxLinealLinks));
    setLeftMm(pboxLinealRechts, leftMm(pboxLineal) + widthMm(pboxLineal));

    const double markerHeight = millimetres(Screen::pixelsFromTwipsY(markerTwips));
    const double lowerRow = lowerRowTopMm(markerHeight);
    imgLO = createMarker(pboxLineal, MarkerShape::FirstLineIndent, -0.75 * markerHeight,
                         QStringLiteral("RandLO"), QStringLiteral("Erstzeileneinzug"));
    imgLU = createMarker(pboxLineal, MarkerShape::LeftIndent, lowerRow, QStringLiteral("RandLU"),
                         QStringLiteral("Linker Einzug"));
    imgRU = createMarker(pboxLineal, MarkerShape::RightIndent, lowerRow, QStringLiteral("RandRU"),
                         QStringLiteral("Rechter Einzug"));
    imgTab.setTemplate(createMarker(pboxLineal, MarkerShape::LeftTab, lowerRow, QString(),
                                    QStringLiteral("Linksbündiger Tabulator")));
    placeMarker(imgLO, 0);
    placeMarker(imgLU, 0);
    placeRightIndentMarker(0);

    HScroll = new QScrollBar(Qt::Horizontal, Picture1);
    VScroll = new QScrollBar(Qt::Vertical, Picture1);
    HScroll->setFixedHeight(Screen::pixelsFromTwipsY(scrollBarTwips));
    VScroll->setFixedWidth(Screen::pixelsFromTwipsX(scrollBarTwips));
    HScroll->hide();
    VScroll->hide();
    Picture1->resize(width(), pixels(1.5 * heightMm(HScroll) + heightMm(pboxLineal)));
    connectRuler();
}

double frmDocument::lowerRowTopMm(double markerHeightMm) const
{
    return Ruler::heightMm(pboxLineal) - markerHeightMm / 4 - 1;
}

void frmDocument::placeMarker(QLabel *marker, double positionMm)
{
    Ruler::setLeftMm(marker, positionMm - Ruler::widthMm(marker) / 2);
}

void frmDocument::placeRightIndentMarker(double rightIndentMm)
{
    const double position = txtText->RightMargin() - rightIndentMm;
    placeMarker(imgRU, rightIndentMm == 0 ? position - 1 : position);
}

void frmDocument::loadTabMarker(int number, double positionMm)
{
    QLabel *marker = imgTab.Load(number);
    marker->setVisible(true);
    placeMarker(marker, positionMm);
    Ruler::setTopMm(marker, lowerRowTopMm(Ruler::heightMm(marker)));
    Ruler::setTag(marker, Ruler::tabTag(number));
    connectTabMarker(marker);
}

void frmDocument::Tabaktualisierung()
{
    for (int k = 1; k <= Tabanzahl; ++k)
        imgTab.Unload(k);
    Tabanzahl = 0;
    const std::optional<int> count = txtText->SelTabCount();
    if (!count || *count <= 0)
        return;
    // Paragraphs with as many stops in different places are as mixed as different counts.
    QList<double> stops;
    for (int i = 0; i < *count; ++i) {
        const std::optional<double> stop = txtText->SelTabs(i);
        if (!stop)
            return;
        stops.append(*stop);
    }
    Tabanzahl = static_cast<qint16>(*count);
    for (int k = 1; k <= Tabanzahl; ++k)
        loadTabMarker(k, AufRasterRunden(stops.at(k - 1)));
}

void frmDocument::Einzugaktualisierung()
{
    const std::optional<double> indent = txtText->SelIndent();
    const std::optional<double> hanging = txtText->SelHangingIndent();
    const std::optional<double> right = txtText->SelRightIndent();
    const double snappedIndent = indent ? AufRasterRunden(*indent) : 0;
    const double snappedHanging = hanging ? AufRasterRundenGespiegelt(*hanging) : 0;
    const bool leftKnown = indent && hanging;
    imgLO->setVisible(leftKnown);
    imgLU->setVisible(leftKnown);
    if (leftKnown) {
        placeMarker(imgLO, snappedIndent);
        placeMarker(imgLU, snappedIndent + snappedHanging);
    }
    imgRU->setVisible(right.has_value());
    if (right)
        placeRightIndentMarker(AufRasterRunden(*right));
}

void frmDocument::Form_Resize()
{
    if (!Picture1)
        return;
    Picture1->resize(width(), Picture1->height());
    const int top = Picture1->height();
    const int textHeight = height() - top;
    // A window too low for the text keeps the control where it was.
    if (textHeight < 0)
        return;
    // The text's left edge stands under the ruler's 0 mm.
    const int left = pboxLinealLinks->width();
    txtText->setGeometry(left, top, std::max(0, width() - left), textHeight);
}

Toolbar *frmDocument::ownToolbar() const
{
    return MainForm()->tbRTF;
}

void frmDocument::Form_Activate()
{
    DocumentWindow::Form_Activate();
    txtText_SelChange();
}

void frmDocument::txtText_SelChange()
{
    DocumentHost *host = MainForm();
    showPositionAndClipboard();
    SelectionFeedback::showFontName(host->comboSchrift, txtText->SelFontName());
    SelectionFeedback::showFontSize(host->ComboGroesse, txtText->SelFontSize());
    const std::pair<const char *, std::optional<bool>> toggles[] = {
        {"Bold", txtText->SelBold()},
        {"Italic", txtText->SelItalic()},
        {"Strikethrough", txtText->SelStrikeThru()},
        {"Underline", txtText->SelUnderline()},
    };
    for (const auto &[key, value] : toggles) {
        ToolButton *button = host->tbRTF->Buttons(QString::fromLatin1(key));
        button->setMixedState(!value.has_value());
        button->setValue(value.value_or(false) ? 1 : 0);
    }
    const std::optional<int> alignment = txtText->SelAlignment();
    const bool known = alignment == RichTextBox::rtfLeft || alignment == RichTextBox::rtfCenter
        || alignment == RichTextBox::rtfRight;
    const std::pair<const char *, int> group[] = {
        {"Left", RichTextBox::rtfLeft},
        {"Center", RichTextBox::rtfCenter},
        {"Right", RichTextBox::rtfRight},
    };
    for (const auto &[key, value] : group) {
        ToolButton *button = host->tbRTF->Buttons(QString::fromLatin1(key));
        button->setMixedState(!known);
        button->setValue(known && alignment == value ? 1 : 0);
    }
    Tabaktualisierung();
    Einzugaktualisierung();
}

bool frmDocument::print(QPrinter &printer, bool selection)
{
    // The copy lays its lines out as the screen does: same width, margin and standard font.
    txtDruck->document()->setDocumentMargin(txtText->document()->documentMargin());
    txtDruck->setFont(txtText->font());
    txtDruck->setRightMargin(txtText->RightMargin());
    if (selection) {
        PrintCopy::replaceWith(*txtDruck->document(), txtText->textCursor());
    } else {
        txtText->setSelStart(0);
        txtText->setSelLength(static_cast<int>(txtText->Text().size()));
        PrintCopy::replaceWith(*txtDruck->document(), txtText->textCursor());
        txtText->setSelLength(0);
    }
    PrintCopy::insertLineBreaks(*txtDruck->document());
    txtDruck->setSelStart(0);
    txtDruck->setSelLength(0);
    return txtDruck->SelPrint(printer);
}

QString frmDocument::fileTypeText() const
{
    return QStringLiteral("RTF-Datei");
}

void frmDocument::mnuEinfuegenImage_Click()
{
    if (!documentTools().frmImage)
        return;
    // The browser's load puts the pointer back when it is ready.
    Screen::setMousePointer(Screen::vbHourglass);
    documentTools().frmImage();
}

void frmDocument::mnuFormatFormatvorlage_Click()
{
    if (documentTools().frmTemplate)
        documentTools().frmTemplate();
}

void frmDocument::mnuPopupFormatZeichen_Click()
{
    mnuFormatZeichen_Click();
}

void frmDocument::mnuPopupFormatFarbe_Click()
{
    mnuFormatFarbe_Click();
}

void frmDocument::mnuPopupFormatAbsatz_Click()
{
    mnuFormatAbsatz_Click();
}

void frmDocument::mnuPopupFormatTabs_Click()
{
    mnuFormatTabs_Click();
}

void frmDocument::mnuPopupFormatSeite_Click()
{
    mnuFormatSeite_Click();
}

void frmDocument::mnuPopupFormatVorlage_Click()
{
    mnuFormatFormatvorlage_Click();
}

void frmDocument::mnuViewLineal_Click()
{
    switchRuler(mnuViewLineal);
}

void frmDocument::mnuPopupViewLineal_Click()
{
    switchRuler(mnuPopupViewLineal);
}

void frmDocument::switchRuler(QAction *item)
{
    // The text stays where it is: the band above it is left empty while the ruler is hidden.
    const bool show = !item->isChecked();
    mnuViewLineal->setChecked(show);
    mnuPopupViewLineal->setChecked(show);
    Picture1->setVisible(show);
}
