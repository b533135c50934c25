// frmDate: the two lists, filled once when the dialog loads, and the insertion of the chosen
// entry.
#include "tools/frmDate.h"

#include "common/DateFormat.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/PageKeys.h"
#include "platform/Screen.h"
#include "tools/ActiveDocument.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

namespace {

// Entries from here on are the week, quarter and day counts.
constexpr int countEntries = 48;

frmDate::Clock &currentClock()
{
    static frmDate::Clock current;
    return current;
}

QDateTime now()
{
    return currentClock() ? currentClock()() : QDateTime::currentDateTime();
}

template<class Control>
Control *place(Control *control, int left, int top, int width, int height)
{
    control->setGeometry(Screen::twipsRect(left, top, width, height));
    return control;
}

QGroupBox *page(const QString &caption, QLabel *&label, const QString &text, QListWidget *&list,
                QWidget *parent)
{
    auto *frame = place(new QGroupBox(caption, parent), 240, 600, 3732, 2412);
    label = place(new QLabel(text, frame), 120, 240, 3492, 612);
    label->setWordWrap(true);
    list = place(new QListWidget(frame), 120, 840, 3492, 1200);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(list);
    return frame;
}

void fill(QListWidget *list, int count, QString (*entry)(int, const QDateTime &))
{
    // Each entry takes the clock as it is built.
    for (int i = 0; i < count; ++i)
        list->addItem(entry(i, now()));
    list->setCurrentRow(0);
}

} // namespace

frmDate::frmDate() : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmDate"));
    setWindowTitle(QStringLiteral("Datums- und Zeitformate"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    buildLayout();
    connectHandlers();
    Form_Load();
}

frmDate::~frmDate() = default;

void frmDate::setClock(Clock clock)
{
    currentClock() = std::move(clock);
}

QStringList frmDate::datePatterns()
{
    const QStringList prefixes = {QString(), QStringLiteral("ddd, "), QStringLiteral("dddd, ")};
    const QStringList days = {QStringLiteral("d"), QStringLiteral("dd")};
    const QStringList rests
        = {QStringLiteral("/m/yy"),     QStringLiteral("/m/yyyy"),    QStringLiteral("/mm/yy"),
           QStringLiteral("/mm/yyyy"),  QStringLiteral("/ mmm. yy"),  QStringLiteral("/ mmm. yyyy"),
           QStringLiteral("/ mmmm yy"), QStringLiteral("/ mmmm yyyy")};
    QStringList patterns;
    for (const QString &prefix : prefixes) {
        for (const QString &day : days) {
            for (const QString &rest : rests)
                patterns.append(prefix + day + rest);
        }
    }
    patterns << QStringLiteral("w") << QStringLiteral("ww") << QStringLiteral("q")
             << QStringLiteral("y");
    return patterns;
}

QStringList frmDate::timePatterns()
{
    QStringList base;
    for (const QString &seconds : {QString(), QStringLiteral(":s"), QStringLiteral(":ss")}) {
        for (const QString &hours : {QStringLiteral("h"), QStringLiteral("hh")}) {
            for (const QString &minutes : {QStringLiteral("n"), QStringLiteral("nn")})
                base.append(hours + u':' + minutes + seconds);
        }
    }
    QStringList patterns = base;
    for (const QString &pattern : std::as_const(base))
        patterns.append(QString(pattern).replace(pattern.indexOf(u':'), 1, u'.'));
    for (const QString &marker : {QStringLiteral(" AM/PM"), QStringLiteral(" am/pm"),
                                  QStringLiteral(" A/P"), QStringLiteral(" a/p")}) {
        for (const QString &pattern : std::as_const(base))
            patterns.append(pattern + marker);
    }
    return patterns;
}

QString frmDate::dateEntry(int index, const QDateTime &when)
{
    using namespace DateFormat;
    const QString pattern = datePatterns().value(index);
    if (index < countEntries)
        return format(when, pattern);
    // The counts follow the European week: Monday first, week 1 the first with four days.
    const QString count = format(when, pattern, vbMonday, vbFirstFourDays);
    switch (index - countEntries) {
    case 0:
        return count + QStringLiteral(". Tag der Woche");
    case 1:
        return QStringLiteral("KW ") + count;
    case 2:
        return count + QStringLiteral(". Quartal");
    default:
        return count + QStringLiteral(". Tag des Jahres");
    }
}

QString frmDate::timeEntry(int index, const QDateTime &when)
{
    const QString text = DateFormat::format(when, timePatterns().value(index));
    return index >= 12 && index < 24 ? text + QStringLiteral(" Uhr") : text;
}

void frmDate::buildLayout()
{
    setFixedSize(Screen::pixelsFromTwipsX(4572), Screen::pixelsFromTwipsY(4140));

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setTabData(TabStrip1->addTab(QStringLiteral("&Datum einfügen")),
                          QStringLiteral("Datum"));
    TabStrip1->setTabData(TabStrip1->addTab(QStringLiteral("&Uhrzeit einfügen")),
                          QStringLiteral("Zeit"));
    TabStrip1->setDrawBase(false);
    const QRect strip = Screen::twipsRect(120, 120, 4092, 3132);
    const int tabHeight = TabStrip1->sizeHint().height();
    TabStrip1->setGeometry(strip.left(), strip.top(), strip.width(), tabHeight);
    tabPage = new QFrame(this);
    tabPage->setFrameShape(QFrame::StyledPanel);
    tabPage->setGeometry(strip.adjusted(0, tabHeight, 0, 0));

    Rahmen1 = page(QStringLiteral("Datum"), Label1,
                   QStringLiteral("&Wählen Sie das gewünschte Datumsformat aus!"), lstDate, this);
    Rahmen1->setObjectName(QStringLiteral("Rahmen1"));
    Rahmen2 = page(QStringLiteral("Zeit"), Label2,
                   QStringLiteral("&Wählen Sie das gewünschte Zeitformat aus!"), lstTime, this);
    Rahmen2->setObjectName(QStringLiteral("Rahmen2"));
    lstDate->setObjectName(QStringLiteral("lstDate"));
    lstTime->setObjectName(QStringLiteral("lstTime"));
    lstTime->installEventFilter(this);

    cmdOK = place(new QPushButton(QStringLiteral("&OK"), this), 120, 3480, 1332, 372);
    cmdOK->setDefault(true);
    cmdAbbrechen
        = place(new QPushButton(QStringLiteral("&Abbrechen"), this), 2880, 3480, 1332, 372);
}

void frmDate::connectHandlers()
{
    connect(TabStrip1, &QTabBar::currentChanged, this, &frmDate::TabStrip1_Click);
    new PageKeys(this, TabStrip1);
    connect(cmdOK, &QPushButton::clicked, this, &frmDate::cmdOK_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmDate::cmdAbbrechen_Click);
    connect(lstDate, &QListWidget::itemDoubleClicked, this, &frmDate::lstDate_DblClick);
    connect(lstTime, &QListWidget::itemDoubleClicked, this, &frmDate::lstTime_DblClick);
}

void frmDate::Form_Load()
{
    Screen::centre(this, Screen::twipsFromPixelsX(width()), Screen::twipsFromPixelsY(height()));
    fill(lstDate, dateCount, &frmDate::dateEntry);
    fill(lstTime, timeCount, &frmDate::timeEntry);
}

void frmDate::showPage(int tab)
{
    QGroupBox *shown = tab == 2 ? Rahmen2 : Rahmen1;
    QGroupBox *hidden = tab == 2 ? Rahmen1 : Rahmen2;
    shown->setVisible(true);
    // The tab strip's client area: its page inside the page's frame.
    shown->setGeometry(tabPage->geometry() - tabPage->contentsMargins() - QMargins(2, 2, 2, 2));
    hidden->setVisible(false);
}

void frmDate::TabStrip1_Click()
{
    showPage(TabStrip1->currentIndex() + 1);
}

void frmDate::cmdOK_Click()
{
    // The visible page decides; hidden means hidden by the page switch, not by the window.
    const QListWidget *list = Rahmen1->isHidden() ? lstTime : lstDate;
    if (const QListWidgetItem *entry = list->currentItem())
        ActiveDocument::setSelRTF(entry->text());
    close();
}

void frmDate::lstDate_DblClick()
{
    cmdOK_Click();
}

void frmDate::lstTime_DblClick()
{
    cmdOK_Click();
}

void frmDate::cmdAbbrechen_Click()
{
    close();
}

void frmDate::keyPressEvent(QKeyEvent *event)
{
    if (!handleEscapeAndHelp(this, event, HelpTopic::InsertDate, [this] { cmdAbbrechen_Click(); }))
        QDialog::keyPressEvent(event);
}

bool frmDate::eventFilter(QObject *watched, QEvent *event)
{
    // The time list has its own help topic.
    if (watched == lstTime && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_F1) {
            showHelpTopic(this, HelpTopic::InsertTime);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

FormInstance<frmDate> &frmDateForm()
{
    static FormInstance<frmDate> form;
    return form;
}

void frmDate::open(int tab)
{
    frmDate &form = frmDateForm().get();
    form.TabStrip1->setCurrentIndex(tab - 1);
    form.showPage(tab);
    // The arrow keys choose a format at once.
    (tab == 2 ? form.lstTime : form.lstDate)->setFocus();
    Modal::showModal(&form);
    frmDateForm().unload();
}
