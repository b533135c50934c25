// frmSearch: the search, Ersetzen one hit at a time, and Alle ersetzen as one edit.
#include "tools/frmSearch.h"

#include "document/DocumentHost.h"
#include "document/DocumentWindow.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/PageKeys.h"
#include "platform/Screen.h"
#include "platform/StatusBar.h"
#include "text/RichTextBox.h"
#include "tools/ReplaceAll.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>

namespace {

const QString ready = QStringLiteral("Bereit.");
const QString meldung = QStringLiteral("Meldung");
const QString foundText
    = QStringLiteral("Der Suchtext wurde gefunden. \"Ersetzen\" oder wieder \"Suchen\" wählen.");
const QString notFoundText = QStringLiteral("Der Suchtext wurde nicht (mehr) gefunden.");
const QString replacedText
    = QStringLiteral("Ersetzung wurde durchgeführt. Ggf. wieder \"Suchen\" wählen.");
const QString noneReplacedText = QStringLiteral("Es wurde keine Ersetzung vorgenommen.");
const QString oneReplacedText = QStringLiteral("Es wurde eine Ersetzung vorgenommen.");
const QString countReplacedText = QStringLiteral("Es wurden %1 Ersetzungen vorgenommen.");

template<class Control>
Control *place(Control *control, int left, int top, int width, int height)
{
    control->setGeometry(Screen::twipsRect(left, top, width, height));
    return control;
}

// The edit control of the active document, asked for afresh; none without a document.
RichTextBox *activeText()
{
    DocumentHost *host = MainForm();
    DocumentWindow *window = host ? host->ActiveForm() : nullptr;
    return window ? window->txtText : nullptr;
}

int textLength(const RichTextBox *text)
{
    return static_cast<int>(text->Text().size());
}

// Replaces the planned hits in one edit block, so the document changes once and one undo
// takes it all back, leaving the caret behind the last hit, as the undo of any removal does.
void replaceHits(RichTextBox *text, const ReplaceAll::Plan &plan, int findLength,
                 const QString &replacement)
{
    if (!plan.hits.isEmpty()) {
        {
            // The edit carries a caret at the end of the last hit to the end of its
            // replacement, where the loop leaves it; so the caret is seen to move only once.
            const QSignalBlocker quiet(text);
            text->setSelStart(plan.hits.last() + findLength);
        }
        const RichTextBox::UndoStep step(text, plan.hits.last() + findLength);
        QTextCursor edit(text->document());
        for (auto hit = plan.hits.crbegin(); hit != plan.hits.crend(); ++hit) {
            edit.setPosition(*hit);
            edit.setPosition(*hit + findLength, QTextCursor::KeepAnchor);
            edit.insertText(replacement);
        }
    }
    // A hit left selected stays so, and Ersetzen can still replace it.
    if (text->SelStart() != plan.selStart || text->SelLength() != plan.selLength) {
        text->setSelStart(plan.selStart);
        text->setSelLength(plan.selLength);
    }
}

// The replacement as the edit control keeps it: its own line-break character is Qt's.
QString documentText(QString text)
{
    text.replace(u'\v', QChar::LineSeparator);
    return text;
}

} // namespace

frmSearch::frmSearch() : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Suchen und Ersetzen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    buildLayout();
    connectHandlers();
    Form_Load();
}

frmSearch::~frmSearch() = default;

void frmSearch::buildLayout()
{
    setFixedSize(Screen::pixelsFromTwipsX(5316), Screen::pixelsFromTwipsY(4872));

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setTabData(TabStrip1->addTab(QStringLiteral("Suche&n")), QStringLiteral("Suchen"));
    TabStrip1->setTabData(TabStrip1->addTab(QStringLiteral("Erset&zen")),
                          QStringLiteral("Ersetzen"));
    TabStrip1->setDrawBase(false);
    const QRect strip = Screen::twipsRect(120, 120, 4692, 3132);
    const int tabHeight = TabStrip1->sizeHint().height();
    TabStrip1->setGeometry(strip.left(), strip.top(), strip.width(), tabHeight);
    tabPage = new QFrame(this);
    tabPage->setFrameShape(QFrame::StyledPanel);
    tabPage->setGeometry(strip.adjusted(0, tabHeight, 0, 0));

    Rahmen = new QGroupBox(QStringLiteral("Suchen"), this);
    Rahmen->setObjectName(QStringLiteral("Rahmen"));
    lblSuchen = place(new QLabel(QStringLiteral("&Suchen nach:"), Rahmen), 240, 240, 1572, 252);
    txtSuchen = place(new QLineEdit(Rahmen), 1800, 240, 2172, 288);
    lblErsetzen
        = place(new QLabel(QStringLiteral("&Ersetzen durch:"), Rahmen), 240, 720, 1572, 252);
    txtErsetzen = place(new QLineEdit(Rahmen), 1800, 720, 2172, 288);
    lblRichtung = place(new QLabel(QStringLiteral("Such&richtung:"), Rahmen), 240, 1200, 1572, 252);
    comboRichtung = place(new QComboBox(Rahmen), 1800, 1200, 2172, 288);
    chkGross = place(new QCheckBox(QStringLiteral("&Groß- / Kleinschreibung beachten"), Rahmen),
                     240, 1680, 3732, 252);
    chkWort = place(new QCheckBox(QStringLiteral("Nur ganzes &Wort suchen"), Rahmen), 240, 2040,
                    3732, 252);
    lblSuchen->setBuddy(txtSuchen);
    lblErsetzen->setBuddy(txtErsetzen);
    lblRichtung->setBuddy(comboRichtung);

    cmdSuchen = place(new QPushButton(QStringLiteral("S&uchen"), this), 2040, 3360, 1332, 372);
    cmdSuchen->setDefault(true);
    cmdSuchen->setEnabled(false);
    cmdAbbrechen
        = place(new QPushButton(QStringLiteral("A&bbrechen"), this), 3480, 3360, 1332, 372);
    cmdErsetzen = place(new QPushButton(QStringLiteral("Erse&tzen"), this), 2040, 3840, 1332, 372);
    cmdErsetzen->setEnabled(false);
    cmdAlleErsetzen
        = place(new QPushButton(QStringLiteral("&Alle ersetzen"), this), 3480, 3840, 1332, 372);
    cmdAlleErsetzen->setEnabled(false);

    StatusBar1 = place(new StatusBar(this), 0, 4572, 5316, 300);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->addPanel(meldung, ready, QString(), 1);
    fitStatusLine();

    timeStatus.setInterval(5000);
    timeStatus.setSingleShot(true);
}

// Every status text shows whole: the status line wraps its text, and the dialog grows by the
// lines the longest text needs beyond the one line it was made for.
void frmSearch::fitStatusLine()
{
    QLabel *panel = StatusBar1->Panels(meldung);
    panel->setWordWrap(true);
    // Not shown yet: the bar lays its panel out only when asked to.
    if (StatusBar1->layout())
        StatusBar1->layout()->activate();
    int needed = 0;
    for (const QString &text : {ready, foundText, notFoundText, replacedText, noneReplacedText,
                                oneReplacedText, countReplacedText.arg(INT_MAX)}) {
        panel->setText(text);
        needed = std::max(needed, panel->heightForWidth(panel->width()));
    }
    panel->setText(ready);
    const int missing = needed - panel->height();
    if (missing <= 0)
        return;
    setFixedHeight(height() + missing);
    StatusBar1->resize(StatusBar1->width(), StatusBar1->height() + missing);
}

void frmSearch::connectHandlers()
{
    connect(cmdSuchen, &QPushButton::clicked, this, &frmSearch::cmdSuchen_Click);
    connect(cmdErsetzen, &QPushButton::clicked, this, &frmSearch::cmdErsetzen_Click);
    connect(cmdAlleErsetzen, &QPushButton::clicked, this, &frmSearch::cmdAlleErsetzen_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmSearch::cmdAbbrechen_Click);
    connect(TabStrip1, &QTabBar::currentChanged, this, &frmSearch::TabStrip1_Click);
    new PageKeys(this, TabStrip1);
    connect(txtSuchen, &QLineEdit::textChanged, this, &frmSearch::txtSuchen_Change);
    connect(txtErsetzen, &QLineEdit::textChanged, this, &frmSearch::searchRestart);
    connect(chkGross, &QCheckBox::toggled, this, &frmSearch::searchRestart);
    connect(chkWort, &QCheckBox::toggled, this, &frmSearch::searchRestart);
    connect(comboRichtung, &QComboBox::currentIndexChanged, this, &frmSearch::searchRestart);
    connect(&timeStatus, &QTimer::timeout, this, &frmSearch::timeStatus_Timer);
}

void frmSearch::Form_Load()
{
    if (RichTextBox *text = activeText()) {
        Startposition = text->SelStart();
        ErsterDurchlauf = true;
        if (text->SelLength() > 0)
            txtSuchen->setText(text->SelText());
    }
    Screen::centre(this, Screen::twipsFromPixelsX(width()), Screen::twipsFromPixelsY(height()));
    // The tab strip's client area: its page inside the page's frame.
    Rahmen->setGeometry(tabPage->geometry() - tabPage->contentsMargins() - QMargins(2, 2, 2, 2));
    {
        // Filling the list is no choice of a direction.
        const QSignalBlocker filling(comboRichtung);
        comboRichtung->addItems(
            {QStringLiteral("oberhalb"), QStringLiteral("unterhalb"), QStringLiteral("gesamt")});
    }
    comboRichtung->setCurrentIndex(ReplaceAll::Gesamt);
}

void frmSearch::Form_Unload()
{
    timeStatus.stop();
    releaseHit();
    RichTextBox *text = activeText();
    if (text && text->SelLength() == 0)
        text->setSelStart(Startposition);
}

void frmSearch::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frmSearch::keyPressEvent(QKeyEvent *event)
{
    if (!handleEscapeAndHelp(this, event, HelpTopic::EditSearch, [this] { cmdAbbrechen_Click(); }))
        QDialog::keyPressEvent(event);
}

void frmSearch::TabStrip1_Click()
{
    const bool replacing = TabStrip1->currentIndex() == 1;
    const QList<QWidget *> controls = {txtErsetzen, lblErsetzen, cmdErsetzen, cmdAlleErsetzen};
    for (QWidget *control : controls)
        control->setVisible(replacing);
    searchRestart();
}

void frmSearch::txtSuchen_Change()
{
    searchRestart();
    const bool searchable = !txtSuchen->text().isEmpty();
    cmdSuchen->setEnabled(searchable);
    cmdAlleErsetzen->setEnabled(searchable);
}

void frmSearch::searchRestart()
{
    releaseHit();
    if (RichTextBox *text = activeText()) {
        text->setSelStart(Startposition);
        text->setSelLength(0);
    }
    ErsterDurchlauf = true;
}

int frmSearch::findOptions() const
{
    return (chkWort->isChecked() ? RichTextBox::rtfWholeWord : 0)
        | (chkGross->isChecked() ? RichTextBox::rtfMatchCase : 0);
}

int frmSearch::startIn(const RichTextBox *text) const
{
    return std::min(Startposition, textLength(text));
}

void frmSearch::jumpToTopIfDue(RichTextBox *text)
{
    if (comboRichtung->currentIndex() == ReplaceAll::Unterhalb)
        return;
    if (text->SelStart() == startIn(text) && ErsterDurchlauf) {
        text->setSelStart(0);
        ErsterDurchlauf = false;
    }
}

void frmSearch::cmdSuchen_Click()
{
    RichTextBox *text = activeText();
    if (!text)
        return;
    releaseHit();
    jumpToTopIfDue(text);
    const int end
        = comboRichtung->currentIndex() == ReplaceAll::Oberhalb ? startIn(text) : textLength(text);
    const int hit
        = text->Find(txtSuchen->text(), text->SelStart() + text->SelLength(), end, findOptions());
    if (hit != -1) {
        holdHit(text);
        showStatus(foundText);
    } else {
        showStatus(notFoundText);
        Beep();
    }
}

void frmSearch::cmdErsetzen_Click()
{
    RichTextBox *text = activeText();
    if (!text)
        return;
    releaseHit();
    const QString replacement = txtErsetzen->text();
    const int length = static_cast<int>(replacement.size());
    text->setSelText(replacement);
    text->setSelStart(text->SelStart() - length);
    text->setSelLength(length);
    showStatus(replacedText);
}

void frmSearch::cmdAlleErsetzen_Click()
{
    RichTextBox *text = activeText();
    if (!text)
        return;
    ReplaceAll::Loop loop;
    loop.find = txtSuchen->text();
    loop.replacement = txtErsetzen->text();
    loop.options = findOptions();
    loop.direction = comboRichtung->currentIndex();
    loop.startposition = Startposition;
    int counter = 0;
    ReplaceAll::Plan plan;
    do {
        loop.selStart = text->SelStart();
        loop.selLength = text->SelLength();
        loop.ersterDurchlauf = ErsterDurchlauf;
        plan = ReplaceAll::plan(text->Text(), loop);
        replaceHits(text, plan, static_cast<int>(loop.find.size()), documentText(loop.replacement));
        ErsterDurchlauf = plan.ersterDurchlauf;
        counter += static_cast<int>(plan.hits.size());
    } while (plan.jumpDue);
    // Nothing replaced leaves Ersetzen as it was; a replacement has taken the hit away.
    if (counter != 0)
        releaseHit();
    if (counter == 0)
        showStatus(noneReplacedText);
    else if (counter == 1)
        showStatus(oneReplacedText);
    else
        showStatus(countReplacedText.arg(counter));
}

void frmSearch::cmdAbbrechen_Click()
{
    close();
}

void frmSearch::timeStatus_Timer()
{
    StatusBar1->Panels(meldung)->setText(ready);
    timeStatus.stop();
}

void frmSearch::showStatus(const QString &text)
{
    timeStatus.stop();
    timeStatus.start();
    StatusBar1->Panels(meldung)->setText(text);
}

void frmSearch::holdHit(RichTextBox *text)
{
    hitStart = text->SelStart();
    hitLength = text->SelLength();
    cmdErsetzen->setEnabled(true);
    hitMoved = connect(text, &RichTextBox::SelChange, this, &frmSearch::checkHit);
    hitChanged = connect(text, &RichTextBox::Change, this, &frmSearch::releaseHit);
}

void frmSearch::releaseHit()
{
    disconnect(hitMoved);
    disconnect(hitChanged);
    cmdErsetzen->setEnabled(false);
}

void frmSearch::checkHit()
{
    const RichTextBox *text = activeText();
    if (!text || text->SelStart() != hitStart || text->SelLength() != hitLength)
        releaseHit();
}

FormInstance<frmSearch> &frmSearchForm()
{
    static FormInstance<frmSearch> form;
    return form;
}

void frmSearch::open(int tab)
{
    frmSearch &form = frmSearchForm().get();
    form.TabStrip1->setCurrentIndex(tab - 1);
    const bool replacing = tab == 2;
    const QList<QWidget *> controls
        = {form.lblErsetzen, form.txtErsetzen, form.cmdAlleErsetzen, form.cmdErsetzen};
    for (QWidget *control : controls)
        control->setVisible(replacing);
    // The search word typed at once lands in its field.
    form.txtSuchen->setFocus();
    Modal::showModal(&form);
    frmSearchForm().unload();
}
