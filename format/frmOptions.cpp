// The formatting dialog: its controls, the load from the selection, the page switch, closing.
// The apply and the pages' own rules are in frmOptionsApply.cpp and frmOptionsPages.cpp.
#include "format/frmOptions.h"

#include "common/Grid.h"
#include "common/PageSettings.h"
#include "document/DocumentHost.h"
#include "document/Ruler.h"
#include "document/frmDocument.h"
#include "format/OptionsControls.h"
#include "format/OptionsSupport.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/PageKeys.h"
#include "platform/Screen.h"
#include "text/RichTextBox.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <algorithm>
#include <cmath>

using namespace OptionsSupport;

namespace {

// Design size of the window's client area, twips.
constexpr int formWidth = 6348;
constexpr int formHeight = 5460;

// The palette, row by row, as red-green-blue.
constexpr unsigned paletteRgb[48] = {
    0xFFFFFF, 0xFFC0C0, 0xFFE0C0, 0xFFFFC0, 0xC0FFC0, 0xC0FFFF, 0xC0C0FF, 0xFFC0FF,
    0xE0E0E0, 0xFF8080, 0xFFC080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF, 0xFF80FF,
    0xC0C0C0, 0xFF0000, 0xFF8000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF,
    0x808080, 0xC00000, 0xC04000, 0xC0C000, 0x00C000, 0x00C0C0, 0x0000C0, 0xC000C0,
    0x404040, 0x800000, 0x804000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080,
    0x000000, 0x400000, 0x804040, 0x404000, 0x004000, 0x004040, 0x000040, 0x400040,
};

int bgrFromRgb(unsigned rgb)
{
    return static_cast<int>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

QLabel *label(const QString &caption, QWidget *parent, int left, int top)
{
    auto *item = new QLabel(caption, parent);
    place(item, left, top);
    return item;
}

QGroupBox *frame(const QString &caption, QWidget *parent, int left, int top, int width, int height)
{
    auto *box = new QGroupBox(caption, parent);
    place(box, left, top, width, height);
    return box;
}

QPushButton *button(const QString &caption, QWidget *parent)
{
    auto *item = new QPushButton(caption, parent);
    // Enter belongs to the default button alone.
    item->setAutoDefault(false);
    return item;
}

// A text box with its spinner right beside it.
std::pair<QLineEdit *, UpDown *> spinBox(QWidget *parent, int left, int top)
{
    auto *box = new QLineEdit(parent);
    place(box, left, top, 612, 300);
    auto *spinner = new UpDown(box, parent);
    place(spinner, left + 612, top, 255, 300);
    return {box, spinner};
}

} // namespace

FormInstance<frmOptions> &frmOptionsForm()
{
    static FormInstance<frmOptions> instance;
    return instance;
}

frmOptions::frmOptions()
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Optionen"));
    Screen::setFixedDialog(this, formWidth, formHeight);
    // The twips layout is made for the classic 8 point dialog font.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    buildWindow();
    buildFontPage();
    buildColourPage();
    buildParagraphPage();
    buildTabPage();
    buildPagePage();
    connectPages();
    Form_Load();
}

frmOptions::~frmOptions() = default;

void frmOptions::open(int tab)
{
    Screen::setMousePointer(Screen::vbHourglass);
    frmOptions &form = frmOptionsForm().get();
    form.TabStrip1->selectTab(tab);
    form.showPage(tab);
    Modal::showModal(&form);
    frmOptionsForm().unload();
}

void frmOptions::buildWindow()
{
    TabStrip1 = new TabStrip(this);
    place(TabStrip1, 120, 120, 5772, 4212);
    const char *tabs[][3] = {
        {"Schrift", "Schrift", "Schrift"},
        {"Farbe", "Farbe", "Farbe"},
        {"Absatz", "Absatz", "Absatz"},
        {"Tabulatoren", "Tabulatoren", "Tabulatoren"},
        {"Seite einrichten", "Seite", "Seiteneinrichtung"},
    };
    for (int k = 1; k <= 5; ++k) {
        TabStrip1->addTab(QString::fromUtf8(tabs[k - 1][0]), QString::fromUtf8(tabs[k - 1][1]));
        Rahmen[k] = new QGroupBox(QString::fromUtf8(tabs[k - 1][2]), this);
        Rahmen[k]->hide();
    }
    connect(TabStrip1, &TabStrip::Click, this, &frmOptions::TabStrip1_Click);
    new PageKeys(this, TabStrip1->tabBar());

    cmdOK = new QPushButton(QStringLiteral("O&K"), this);
    place(cmdOK, 1320, 4440, 1452, 612);
    cmdOK->setDefault(true);
    comboUebernehmen = new QComboBox(this);
    place(comboUebernehmen, 2880, 4440, 1452, 300);
    cmdSetzen = button(QStringLiteral("&Übernehmen"), this);
    place(cmdSetzen, 2880, 4740, 1452, 312);
    cmdAbbrechen = button(QStringLiteral("A&bbrechen"), this);
    place(cmdAbbrechen, 4440, 4440, 1452, 612);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdSetzen, &QPushButton::clicked, this, &frmOptions::cmdSetzen_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmOptions::cmdAbbrechen_Click);
}

void frmOptions::buildFontPage()
{
    QWidget *page = Rahmen[1];
    lblSchrift = label(QStringLiteral("S&chriftart:"), page, 120, 240);
    lstSchrift = new QListWidget(page);
    place(lstSchrift, 120, 480, 2772, 1200);
    lblSchrift->setBuddy(lstSchrift);
    lblSchnitt = label(QStringLiteral("Sch&riftschnitt:"), page, 3000, 240);
    lstSchnitt = new QListWidget(page);
    place(lstSchnitt, 3000, 480, 1332, 1200);
    lblSchnitt->setBuddy(lstSchnitt);
    lblGrad = label(QStringLiteral("&Grad:"), page, 4440, 240);
    comboGrad = new SimpleCombo(false, page);
    place(comboGrad, 4440, 480, 732, 1104);
    comboGrad->setText(QStringLiteral("11"));
    lblGrad->setBuddy(comboGrad->field());

    framDarstellung = frame(QStringLiteral("Darstellung"), page, 120, 1800, 2772, 1092);
    chkDurch = new GreyCheckBox(QStringLiteral("&Durchgestrichen"), framDarstellung);
    place(chkDurch, 120, 240);
    chkUnter = new GreyCheckBox(QStringLiteral("&Unterstrichen"), framDarstellung);
    place(chkUnter, 120, 600);
    framMuster = frame(QStringLiteral("Muster"), page, 3000, 1800, 2172, 1092);
    pboxMuster = new QWidget(framMuster);
    pboxMuster->setAutoFillBackground(true);
    QPalette white = pboxMuster->palette();
    white.setColor(QPalette::Window, Qt::white);
    pboxMuster->setPalette(white);
    place(pboxMuster, 120, 240, 1932, 732);
    lblMuster = new QLabel(QStringLiteral("Beispiel"), pboxMuster);
    lblMuster->setAlignment(Qt::AlignCenter);
    place(lblMuster, 0, 120, 1932, 612);

    lblVertikal1 = label(QStringLiteral("&Vertikal"), page, 120, 3120);
    comboVertikal = new QComboBox(page);
    place(comboVertikal, 960, 3120, 1692, 300);
    lblVertikal1->setBuddy(comboVertikal);
    lblVertikal2 = label(QStringLiteral("um"), page, 2760, 3120);
    std::tie(txtVertikal, UpDownVertikal) = spinBox(page, 3240, 3120);
    UpDownVertikal->setRange(0, 18);
    lblVertikal3 = label(QStringLiteral("Punkt"), page, 4320, 3120);
}

void frmOptions::buildColourPage()
{
    QWidget *page = Rahmen[2];
    framPalette = frame(QStringLiteral("Farbpalette"), page, 120, 240, 2412, 2052);
    for (int i = 0; i < 48; ++i) {
        lblFarbe[i] = new SwatchLabel(framPalette);
        lblFarbe[i]->setBackColor(bgrFromRgb(paletteRgb[i]));
    }
    place(lblFarbe[0], 240, 360, 252, 252);

    framFarben = frame(QStringLiteral("Weitere Farben"), page, 2640, 240, 2412, 2052);
    auto row = [this](SwatchLabel *&first, QScrollBar *&slider, SwatchLabel *&pure) {
        first = new SwatchLabel(framFarben);
        place(first, 120, 360, 252, 252);
        slider = new Slider(255, framFarben);
        place(slider, 372, 360, 1500, 252);
        pure = new SwatchLabel(framFarben);
        place(pure, 1872, 360, 252, 252);
    };
    row(lblR1, HScrollR, lblR2);
    row(lblG1, HScrollG, lblG2);
    row(lblB1, HScrollB, lblB2);
    lblKlick = label(QStringLiteral("Klick! ->"), framFarben, 120, 1560);
    lblFarbbeispiel = new SwatchLabel(framFarben);
    place(lblFarbbeispiel, 960, 1560, 1332, 372);

    Label1 = label(QStringLiteral("Aktuelle Farbe:"), page, 240, 2520);
    lblAktuelleFarbe = new SwatchLabel(page);
    place(lblAktuelleFarbe, 1680, 2460, 1332, 372);
    lblAktuelleFarbe->setText(QStringLiteral("(keine)"));
}

void frmOptions::buildParagraphPage()
{
    QWidget *page = Rahmen[3];
    framEinzug = frame(QStringLiteral("Einzüge (in mm !)"), page, 120, 240, 2172, 1572);
    const std::tuple<QLabel **, const char *, QLineEdit **, UpDown **, int> rows[] = {
        {&lblLinks, "&Links:", &txtLinks, &UpDownL, 360},
        {&lblErste, "&Erste Zeile:", &txtErste, &UpDownE, 780},
        {&lblRechts, "&Rechts", &txtRechts, &UpDownR, 1200},
    };
    for (const auto &[caption, text, box, spinner, top] : rows) {
        *caption = label(QString::fromUtf8(text), framEinzug, 120, top);
        std::tie(*box, *spinner) = spinBox(framEinzug, 1200, top);
        (*spinner)->setRange(-1000, 1000);
        // An empty indent box leaves that indent of the paragraphs as it is.
        (*spinner)->setEmptyKept(true);
        (*caption)->setBuddy(*box);
    }
    framAbsatz = frame(QStringLiteral("Absatzausrichtung"), page, 2400, 240, 2652, 1572);
    optLinks = new QRadioButton(QStringLiteral("L&inksbündig"), framAbsatz);
    place(optLinks, 240, 360);
    optZentriert = new QRadioButton(QStringLiteral("&Zentriert"), framAbsatz);
    place(optZentriert, 240, 720);
    optRechts = new QRadioButton(QStringLiteral("Re&chtsbündig"), framAbsatz);
    place(optRechts, 240, 1080);
    chkAufzaehl = new GreyCheckBox(QStringLiteral("Mit &Aufzählungszeichen"), page);
    place(chkAufzaehl, 120, 2040);
}

void frmOptions::buildTabPage()
{
    QWidget *page = Rahmen[4];
    Label2 = label(QStringLiteral("Alle Tabulatoren in mm !"), page, 120, 240);
    lblTab1 = label(QStringLiteral("Aktueller &Tab:"), page, 120, 600);
    lblTab2 = label(QStringLiteral("&Gesetzte Tabs:"), page, 120, 1000);
    comboTab = new SimpleCombo(true, page);
    place(comboTab, 2040, 600, 1140, 1296);
    lblTab1->setBuddy(comboTab->field());
    lblTab2->setBuddy(comboTab->list());
    cmdTabSetzen = button(QStringLiteral("&Setzen"), page);
    place(cmdTabSetzen, 3600, 600, 1332, 372);
    cmdTabLoeschen = button(QStringLiteral("&Löschen"), page);
    place(cmdTabLoeschen, 3600, 1080, 1332, 372);
    cmdTabAlleLoeschen = button(QStringLiteral("All&e löschen"), page);
    place(cmdTabAlleLoeschen, 3600, 1560, 1332, 372);
    for (QPushButton *item : {cmdTabSetzen, cmdTabLoeschen, cmdTabAlleLoeschen})
        item->setEnabled(false);
}

void frmOptions::buildPagePage()
{
    QWidget *page = Rahmen[5];
    lblFormat = label(QStringLiteral("Seiten&format:"), page, 120, 300);
    comboFormat = new QComboBox(page);
    place(comboFormat, 1320, 240, 2172, 300);
    lblFormat->setBuddy(comboFormat);
    framAusrichtung = frame(QStringLiteral("Ausrichtung"), page, 120, 660, 3372, 660);
    optHoch = new QRadioButton(QStringLiteral("&Hochformat"), framAusrichtung);
    place(optHoch, 120, 300);
    optQuer = new QRadioButton(QStringLiteral("&Querformat"), framAusrichtung);
    place(optQuer, 1800, 300);
    optHoch->setChecked(true);
    optHoch->setEnabled(false);
    optQuer->setEnabled(false);

    framRaender = frame(QStringLiteral("Seitenränder (in mm !):"), page, 120, 1440, 3372, 1932);
    const std::tuple<QLabel **, const char *, QLineEdit **, UpDown **, int, int> rows[] = {
        {&lblRandOben, "&Oben", &txtRandOben, &UpDownRO, 1020, 360},
        {&lblRandLinks, "&Links", &txtRandLinks, &UpDownRL, 120, 840},
        {&lblRandRechts, "&Rechts", &txtRandRechts, &UpDownRR, 1860, 840},
        {&lblRandUnten, "&Unten", &txtRandUnten, &UpDownRU, 1020, 1320},
    };
    for (const auto &[caption, text, box, spinner, left, top] : rows) {
        *caption = label(QString::fromUtf8(text), framRaender, left, top);
        std::tie(*box, *spinner) = spinBox(framRaender, left + 600, top);
        (*spinner)->setRange(5, 60);
        (*spinner)->setValue(25);
        (*caption)->setBuddy(*box);
    }
    cmdMinimalerRand = button(QStringLiteral("&Minimale Ränder"), page);
    place(cmdMinimalerRand, 120, 3420, 1812, 312);
    cmdMinimalerRand->setEnabled(false);

    lblVorschau = label(QStringLiteral("Vorschau:"), page, 3840, 960);
    auto *sheet = new QFrame(page);
    sheet->setFrameStyle(QFrame::Box | QFrame::Plain);
    pboxVorschauBlatt = sheet;
    pboxVorschauBlatt->setAutoFillBackground(true);
    pboxVorschauBlatt->setBackgroundRole(QPalette::Base);
    place(pboxVorschauBlatt, 3840, 1200, 1217, 1709);
    pboxVorschauText = new QWidget(pboxVorschauBlatt);
    pboxVorschauText->setAutoFillBackground(true);
    pboxVorschauText->setBackgroundRole(QPalette::Window);
    QPalette grey = pboxVorschauText->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    pboxVorschauText->setPalette(grey);
    placeMm(pboxVorschauText, 2.5, 2.5, 16, 24.7);
}

void frmOptions::Form_Load()
{
    if (MainForm())
        MainForm()->timeClipboard.stop();
    Screen::centre(this, formWidth, formHeight);
    cmdSetzen->setGeometry(cmdSetzen->x(), comboUebernehmen->y() + comboUebernehmen->height(),
                           cmdSetzen->width(), cmdAbbrechen->height() - comboUebernehmen->height());

    loading = true;
    for (const char *scope :
         {"Alles", "Schriftart", "Schriftfarbe", "Absatz", "Tabulatoren", "Seiteneinrichtung"})
        comboUebernehmen->addItem(QString::fromUtf8(scope));
    comboUebernehmen->setCurrentIndex(0);
    lblMuster->setText(QStringLiteral("Beispiel"));
    lstSchrift->addItems(Screen::Fonts());
    lstSchrift->sortItems();
    for (const char *size :
         {"8", "9", "10", "11", "12", "14", "16", "18", "20", "24", "28", "36", "48", "72", "96"})
        comboGrad->AddItem(QString::fromLatin1(size));
    lstSchnitt->addItems({QStringLiteral("Normal"), QStringLiteral("Kursiv"),
                          QStringLiteral("Fett"), QStringLiteral("Fett-Kursiv")});
    comboVertikal->addItems(
        {QStringLiteral("normal"), QStringLiteral("hochgestellt"), QStringLiteral("tiefgestellt")});

    const RichTextBox *text = activeText();
    if (text)
        loadCharacter(*text);
    layOutColours();
    if (text) {
        loadColour(*text);
        loadPage();
        loadParagraph(*text);
        loadTabs(*text);
    }
    loading = false;
    Screen::setMousePointer(Screen::vbDefault);
}

void frmOptions::loadCharacter(const RichTextBox &text)
{
    const std::optional<QString> name = text.SelFontName();
    int font = -1;
    for (int i = 0; name && i < lstSchrift->count(); ++i) {
        if (lstSchrift->item(i)->text().toUpper() == name->toUpper()) {
            font = i;
            break;
        }
    }
    setListIndex(lstSchrift, font);

    if (const std::optional<double> size = text.SelFontSize()) {
        const QString s = QString::number(static_cast<float>(*size), 'g', 7);
        int entry = -1;
        for (int i = 0; i < comboGrad->ListCount(); ++i) {
            if (comboGrad->List(i) == s) {
                entry = i;
                break;
            }
        }
        comboGrad->setListIndex(entry);
        comboGrad->setText(s);
    } else {
        comboGrad->setListIndex(-1);
        comboGrad->setText(QString());
    }

    const std::optional<bool> bold = text.SelBold();
    const std::optional<bool> italic = text.SelItalic();
    setListIndex(lstSchnitt, bold && italic ? (*bold ? 2 : 0) + (*italic ? 1 : 0) : -1);

    const auto checkValue = [](std::optional<bool> on) { return on ? (*on ? 1 : 0) : 2; };
    chkDurch->setValue(checkValue(text.SelStrikeThru()));
    chkUnter->setValue(checkValue(text.SelUnderline()));

    const std::optional<double> offset = text.SelCharOffset();
    if (!offset || *offset == 0) {
        comboVertikal->setCurrentIndex(offset ? 0 : -1);
        txtVertikal->setEnabled(false);
        UpDownVertikal->setEnabled(false);
        UpDownVertikal->setMinimum(0);
        UpDownVertikal->setValue(0);
    } else {
        comboVertikal->setCurrentIndex(*offset > 0 ? 1 : 2);
        txtVertikal->setEnabled(true);
        UpDownVertikal->setEnabled(true);
        UpDownVertikal->setMinimum(1);
        // Rounded, not cut: a saved file keeps the offset in half points, which can lie just
        // below the points the apply wrote.
        UpDownVertikal->setValue(wholeNumber(std::round(std::abs(*offset / offsetPerPoint))));
    }
    UpdateSample();
}

void frmOptions::layOutColours()
{
    for (int i = 1; i < 48; ++i)
        lblFarbe[i]->resize(lblFarbe[0]->size());
    for (int i = 1; i < 48; ++i) {
        const QWidget *above = i >= 8 ? lblFarbe[i - 8] : nullptr;
        const QWidget *before = i % 8 ? lblFarbe[i - 1] : nullptr;
        const int x = before ? before->x() + before->width() : lblFarbe[0]->x();
        const int y = above ? above->y() + above->height() : lblFarbe[0]->y();
        lblFarbe[i]->move(x, y);
    }

    const std::tuple<SwatchLabel *, QScrollBar *, SwatchLabel *> rows[]
        = {{lblR1, HScrollR, lblR2}, {lblG1, HScrollG, lblG2}, {lblB1, HScrollB, lblB2}};
    const SwatchLabel *previous = nullptr;
    for (const auto &[first, slider, pure] : rows) {
        if (previous)
            first->move(previous->x(), previous->y() + previous->height());
        slider->move(first->x() + first->width(), first->y());
        pure->move(slider->x() + slider->width(), first->y());
        previous = first;
    }
    lblR2->setBackColor(0x0000FF);
    lblG2->setBackColor(0x00FF00);
    lblB2->setBackColor(0xFF0000);

    const int inset = Screen::pixelsFromTwipsX(110);
    lblFarbbeispiel->move(framFarben->width() - lblFarbbeispiel->width() - inset,
                          framFarben->height() - lblFarbbeispiel->height() - inset);
    lblKlick->move(lblKlick->x(), lblFarbbeispiel->y());
}

void frmOptions::loadColour(const RichTextBox &text)
{
    if (const std::optional<int> colour = text.SelColor()) {
        lblAktuelleFarbe->setBackColor(*colour);
        lblAktuelleFarbe->setText(QString());
        loadedColour = *colour;
    } else {
        lblAktuelleFarbe->setSystemBackColor();
        lblAktuelleFarbe->setText(QStringLiteral("(keine)"));
    }
}

void frmOptions::loadParagraph(const RichTextBox &text)
{
    const std::optional<int> alignment = text.SelAlignment();
    setOption(optLinks, alignment == RichTextBox::rtfLeft);
    setOption(optZentriert, alignment == RichTextBox::rtfCenter);
    setOption(optRechts,
              alignment && *alignment != RichTextBox::rtfLeft
                  && *alignment != RichTextBox::rtfCenter);

    const std::optional<double> indent = text.SelIndent();
    const std::optional<double> hanging = text.SelHangingIndent();
    const std::optional<double> right = text.SelRightIndent();
    const double lg = indent ? AufRasterRunden(*indent) : 0;
    const double hg = hanging ? AufRasterRundenGespiegelt(*hanging) : 0;
    const double rg = right ? AufRasterRunden(*right) : 0;

    const double w = text.RightMargin();
    UpDownE->setRange(roundedToEven(-w - 40), roundedToEven(w - 40));
    UpDownL->setRange(0, roundedToEven(w - 40));
    UpDownR->setRange(0, roundedToEven(w - 40));

    const bool both = indent && hanging;
    UpDownL->setValue(both ? wholeNumber(std::floor(lg + hg)) : 0);
    if (!both)
        txtLinks->setText(QString());
    UpDownR->setValue(wholeNumber(std::floor(rg)));
    if (!right)
        txtRechts->setText(QString());
    UpDownE->setValue(both ? wholeNumber(std::trunc(-hg)) : 0);
    if (!both)
        txtErste->setText(QString());

    const std::optional<bool> bullet = text.SelBullet();
    chkAufzaehl->setValue(bullet ? (*bullet ? 1 : 0) : 2);
    UpDownRR->setEnabled(both);
}

void frmOptions::loadTabs(const RichTextBox &text)
{
    const std::optional<int> count = text.SelTabCount();
    tabsMixed = !count;
    if (!count || *count <= 0) {
        for (QPushButton *item : {cmdTabSetzen, cmdTabLoeschen, cmdTabAlleLoeschen})
            item->setEnabled(false);
        return;
    }
    for (int i = 0; i < *count; ++i)
        comboTab->AddItem(tabText(AufRasterRunden(text.SelTabs(i).value_or(0))));
    comboTab->setListIndex(-1);
    comboTab->setText(QString());
    cmdTabSetzen->setEnabled(false);
    cmdTabLoeschen->setEnabled(false);
    cmdTabAlleLoeschen->setEnabled(true);
}

void frmOptions::loadPage()
{
    comboFormat->addItem(QStringLiteral("DIN A4 (210 x 297 mm)"));
    comboFormat->setCurrentIndex(0);
    comboFormat->setEnabled(false);
    // The format's whole name shows; there is room to the right of the box.
    comboFormat->resize(std::max(comboFormat->width(), comboFormat->sizeHint().width()),
                        comboFormat->height());
    const double p = Page::Seitenbreite;
    UpDownRL->setRange(5, roundedToEven(p - 45));
    UpDownRL->setValue(wholeNumber(std::floor(Page::RandLinks)));
    UpDownRR->setRange(5, roundedToEven(p - 45));
    UpDownRR->setValue(wholeNumber(std::floor(Page::RandRechts)));
    setPreviewWidth();
}

void frmOptions::setPreviewWidth()
{
    previewTextWidth
        = static_cast<float>((Page::Seitenbreite - UpDownRL->Value() - UpDownRR->Value()) / 10);
    const QRect area = pboxVorschauText->geometry();
    pboxVorschauText->setGeometry(area.x(), area.y(),
                                  Ruler::pixels(std::max(0.0f, previewTextWidth)), area.height());
}

void frmOptions::showPage(int index)
{
    if (index < 1 || index > 5)
        return;
    for (int k = 1; k <= 5; ++k) {
        if (k != index) {
            Rahmen[k]->hide();
            continue;
        }
        Rahmen[k]->show();
        Rahmen[k]->setGeometry(TabStrip1->ClientLeft(), TabStrip1->ClientTop(),
                               TabStrip1->ClientWidth(), TabStrip1->ClientHeight());
        Rahmen[k]->raise();
    }
}

void frmOptions::TabStrip1_Click()
{
    showPage(TabStrip1->SelectedIndex());
}

void frmOptions::cmdOK_Click()
{
    cmdSetzen_Click();
    accept();
}

void frmOptions::cmdAbbrechen_Click()
{
    reject();
}

void frmOptions::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frmOptions::Form_Unload()
{
    if (unloaded)
        return;
    unloaded = true;
    if (MainForm())
        MainForm()->timeClipboard.start();
}

void frmOptions::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        showHelpTopic(this, HelpTopic::FormatMenu);
        return;
    }
    QDialog::keyPressEvent(event);
}
