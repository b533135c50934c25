// The rich-text window: page settings, the ruler strip and the edit control below it.
#include "document/frmDocument.h"

#include "common/PageSettings.h"
#include "document/DocumentHost.h"
#include "document/DocumentTools.h"
#include "document/PrintCopy.h"
#include "document/SelectionFeedback.h"
#include "platform/RichTextBox.h"
#include "platform/Screen.h"
#include "platform/TextFormat.h"
#include "platform/Toolbar.h"

#include <QAction>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <cmath>

namespace {

int px(double mm)
{
    return static_cast<int>(std::lround(mm * TextFormat::pixelsPerMm()));
}

QWidget *greyBox(QWidget *parent, const QColor &colour)
{
    auto *box = new QWidget(parent);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, colour);
    box->setPalette(palette);
    return box;
}

} // namespace

frmDocument::frmDocument(QWidget *parent)
    : DocumentWindow(QStringLiteral("frmDocument"),
                     {Qt::CaseInsensitive, QStringLiteral(".rtf"), 3, true}, parent)
{
    txtText->setScale(RichTextBox::Scale::Millimetres);
    txtText->setFont(QFont(QStringLiteral("Times New Roman"), 12));
    buildFormatMenus();
    Form_Load();
    watchEditControl();
    connect(txtText, &RichTextBox::SelChange, this, &frmDocument::txtText_SelChange);
}

void frmDocument::buildFormatMenus()
{
    mnuFormat = new QMenu(QStringLiteral("F&ormat"));
    mnuPopupFormat = new QMenu(QStringLiteral("&Format"));
    ownMenu(mnuFormat);
    struct Item
    {
        const char *caption;
        QAction *frmDocument::*member;
        void (frmDocument::*handler)();
    };
    const Item items[] = {
        {"Zei&chen...", &frmDocument::mnuFormatZeichen, &frmDocument::mnuFormatZeichen_Click},
        {"Schriftfar&be...", &frmDocument::mnuFormatFarbe, &frmDocument::mnuFormatFarbe_Click},
        {"&Absatz...", &frmDocument::mnuFormatAbsatz, &frmDocument::mnuFormatAbsatz_Click},
        {"&Tabulatoren...", &frmDocument::mnuFormatTabs, &frmDocument::mnuFormatTabs_Click},
        {"&Seite einrichten...", &frmDocument::mnuFormatSeite, &frmDocument::mnuFormatSeite_Click},
    };
    for (const Item &item : items) {
        const QString caption = QString::fromUtf8(item.caption);
        this->*item.member = mnuFormat->addAction(caption);
        connect(this->*item.member, &QAction::triggered, this, item.handler);
        connect(mnuPopupFormat->addAction(caption), &QAction::triggered, this, item.handler);
    }
    mnuPopup->addSeparator();
    mnuPopup->addMenu(mnuPopupFormat);
}

QList<QMenu *> frmDocument::menus() const
{
    QList<QMenu *> bar = DocumentWindow::menus();
    bar.insert(2, mnuFormat);
    return bar;
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
}

double frmDocument::boxHeightMm() const
{
    const QFontMetricsF metrics(pboxLineal->font());
    return metrics.height() / TextFormat::pixelsPerMm() + 1.0;
}

double frmDocument::picture1HeightMm() const
{
    const double scrollHeight = HScroll->sizeHint().height() / TextFormat::pixelsPerMm();
    return 1.5 * scrollHeight + boxHeightMm();
}

void frmDocument::buildRuler()
{
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    pboxLinealLinks = greyBox(Picture1, QColor(192, 192, 192));
    pboxLineal = greyBox(Picture1, Qt::white);
    pboxLinealRechts = greyBox(Picture1, QColor(192, 192, 192));
    const int side = Screen::pixelsFromTwipsX(384);
    const std::pair<QLabel **, const char *> markers[]
        = {{&imgLO, "Erstzeileneinzug"}, {&imgLU, "Linker Einzug"}, {&imgRU, "Rechter Einzug"}};
    const char *tags[] = {"RandLO", "RandLU", "RandRU"};
    for (int i = 0; i < 3; ++i) {
        QLabel *marker = new QLabel(pboxLineal);
        marker->setFixedSize(side, side);
        marker->setToolTip(QString::fromUtf8(markers[i].second));
        marker->setProperty("Tag", QString::fromLatin1(tags[i]));
        *markers[i].first = marker;
    }
    HScroll = new QScrollBar(Qt::Horizontal, Picture1);
    VScroll = new QScrollBar(Qt::Vertical, Picture1);
    HScroll->hide();
    VScroll->hide();
    placeRulerBoxes();
    Picture1->setGeometry(0, 0, width(), px(picture1HeightMm()));
}

void frmDocument::placeRulerBoxes()
{
    const double height = boxHeightMm();
    const double width = Page::textWidth();
    pboxLinealLinks->setGeometry(0, 0, 0, px(height));
    pboxLineal->setGeometry(px(0), 0, px(width), px(height));
    pboxLinealRechts->setGeometry(px(width), 0, px(Page::RandRechts), px(height));
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
    txtText->setGeometry(0, top, width(), textHeight);
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
}

void frmDocument::print(QPrinter &printer, bool selection)
{
    txtDruck->setRightMargin(txtText->RightMargin());
    if (selection) {
        txtDruck->setSelStart(0);
        txtDruck->setSelLength(static_cast<int>(txtDruck->Text().size()));
        txtDruck->setSelRTF(txtText->SelRTF());
    } else {
        txtText->setSelStart(0);
        txtText->setSelLength(static_cast<int>(txtText->Text().size()));
        txtDruck->setSelStart(0);
        txtDruck->setSelLength(static_cast<int>(txtDruck->Text().size()));
        txtDruck->setSelRTF(txtText->SelRTF());
        txtText->setSelLength(0);
    }
    PrintCopy::insertLineBreaks(*txtDruck->document());
    txtDruck->setSelStart(0);
    txtDruck->setSelLength(0);
    txtDruck->SelPrint(printer);
}

QString frmDocument::fileTypeText() const
{
    return QStringLiteral("RTF-Datei");
}
