// The date and time dialog as the Insert menu opens it: the lists as formatted for a fixed
// moment, the page chosen on opening, OK, double click and Abbrechen, and what lands in the
// document.
#include "common/DateFormat.h"
#include "document/DocumentWindow.h"
#include "frame/frmMain.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/Modal.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmDate.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <functional>
#include <memory>

namespace {

const QDateTime wednesday(QDate(2026, 12, 9), QTime(14, 5, 9));

QListWidgetItem *entry(QListWidget *list, int number)
{
    return list->item(number - 1);
}

QString listed(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts.join(u'\n');
}

void doubleClick(QListWidget *list, int number)
{
    QListWidgetItem *item = entry(list, number);
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    // Press and release, then the second press that the window system reports as the double
    // click, and its release.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void clickTab(QTabBar *tabs, int tab)
{
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(tab - 1).center());
}

} // namespace

class TestDate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dateEntriesOfTheDay();
    void timeEntriesOfTheMoment();
    void entriesOnOtherDays_data();
    void entriesOnOtherDays();
    void openingShowsTheTabsPage_data();
    void openingShowsTheTabsPage();
    void withoutTheHandOverBothPagesStandAndOkTakesTheDate();
    void okInsertsTheVisiblePagesEntry_data();
    void okInsertsTheVisiblePagesEntry();
    void doubleClickInsertsAndCloses_data();
    void doubleClickInsertsAndCloses();
    void abbrechenAndEscInsertNothing_data();
    void abbrechenAndEscInsertNothing();
    void listsKeepTheMomentTheyWereOpened();
    void f1OpensTheHelpTopic_data();
    void f1OpensTheHelpTopic();
    void screenshotsOfBothPages();

private:
    // Opens the dialog on a tab as the Insert menu does and lets `act` work it while it is
    // shown.
    void withDialog(int tab, std::function<void(frmDate &)> act);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
    QDateTime moment = wednesday;
};

void TestDate::initTestCase()
{
    // Whatever the process speaks, the program is German.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestDate::init()
{
    moment = wednesday;
    frmDate::setClock([this] { return moment; });
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
}

void TestDate::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
    frmDate::setClock({});
}

void TestDate::withDialog(int tab, std::function<void(frmDate &)> act)
{
    bool shown = false;
    env->modals.answerForm([&](QWidget *form) {
        shown = true;
        QCOMPARE(form->objectName(), QStringLiteral("frmDate"));
        act(*qobject_cast<frmDate *>(form));
    });
    frmDate::open(tab);
    QVERIFY(shown);
    QVERIFY(!frmDateForm().isLoaded());
}

void TestDate::dateEntriesOfTheDay()
{
    // Prefix slowest, rest fastest, on Wednesday 9 December 2026.
    QStringList expected;
    for (const QString prefix : {"", "Mi, ", "Mittwoch, "}) {
        for (const QString day : {"9", "09"}) {
            for (const QString rest : {".12.26", ".12.2026", ".12.26", ".12.2026", ". Dez. 26",
                                       ". Dez. 2026", ". Dezember 26", ". Dezember 2026"})
                expected << prefix + day + rest;
        }
    }
    expected << "3. Tag der Woche"
             << "KW 50"
             << "4. Quartal"
             << "343. Tag des Jahres";
    program->document(QString(), 0);
    withDialog(1, [&](frmDate &form) {
        QCOMPARE(form.lstDate->count(), 52);
        QCOMPARE(listed(form.lstDate), expected.join(u'\n'));
        QCOMPARE(entry(form.lstDate, 4)->text(), QStringLiteral("9.12.2026"));
        QCOMPARE(entry(form.lstDate, 14)->text(), QStringLiteral("09. Dez. 2026"));
        QCOMPARE(form.lstDate->currentRow(), 0);
        form.cmdAbbrechen->click();
    });
}

void TestDate::timeEntriesOfTheMoment()
{
    // At 14:05:09: the twelve base patterns on the 24-hour and on the 12-hour clock.
    const QStringList day = {"14:5",   "14:05",   "14:5",    "14:05",    "14:5:9",  "14:05:9",
                             "14:5:9", "14:05:9", "14:5:09", "14:05:09", "14:5:09", "14:05:09"};
    const QStringList pm = {"2:5",    "2:05",    "02:5",   "02:05",   "2:5:9",   "2:05:9",
                            "02:5:9", "02:05:9", "2:5:09", "2:05:09", "02:5:09", "02:05:09"};
    QStringList expected = day;
    for (const QString &time : day)
        expected << QString(time).replace(2, 1, u'.') + " Uhr";
    for (const QString marker : {" PM", " pm", " P", " p"}) {
        for (const QString &time : pm)
            expected << time + marker;
    }
    program->document(QString(), 0);
    withDialog(2, [&](frmDate &form) {
        QCOMPARE(form.lstTime->count(), 72);
        QCOMPARE(listed(form.lstTime), expected.join(u'\n'));
        QCOMPARE(entry(form.lstTime, 1)->text(), QStringLiteral("14:5"));
        QCOMPARE(entry(form.lstTime, 16)->text(), QStringLiteral("14.05 Uhr"));
        QCOMPARE(entry(form.lstTime, 26)->text(), QStringLiteral("2:05 PM"));
        QCOMPARE(entry(form.lstTime, 72)->text(), QStringLiteral("02:05:09 p"));
        QCOMPARE(form.lstTime->currentRow(), 0);
        form.cmdAbbrechen->click();
    });
}

void TestDate::entriesOnOtherDays_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<bool>("timeList");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    const auto at = [](int y, int m, int d, int h = 12, int n = 0) {
        return QDateTime(QDate(y, m, d), QTime(h, n));
    };
    QTest::newRow("ISO week 53 on Friday 1 January 2027")
        << at(2027, 1, 1) << false << 50 << "KW 53";
    QTest::newRow("week 1 on Monday 4 January 2027") << at(2027, 1, 4) << false << 50 << "KW 1";
    QTest::newRow("week 1 on Tuesday 31 December 2024")
        << at(2024, 12, 31) << false << 50 << "KW 1";
    QTest::newRow("Sunday is day 7") << at(2026, 12, 13) << false << 49 << "7. Tag der Woche";
    QTest::newRow("Monday is day 1") << at(2026, 12, 14) << false << 49 << "1. Tag der Woche";
    QTest::newRow("day 366 of a leap year")
        << at(2028, 12, 31) << false << 52 << "366. Tag des Jahres";
    QTest::newRow("quarter 4 in October") << at(2026, 10, 1) << false << 51 << "4. Quartal";
    QTest::newRow("quarter 1 in March") << at(2026, 3, 31) << false << 51 << "1. Quartal";
    QTest::newRow("Sunday's names") << at(2026, 3, 1) << false << 48 << "Sonntag, 01. März 2026";
    QTest::newRow("March abbreviated") << at(2026, 3, 1) << false << 22 << "So, 1. Mrz. 2026";
    QTest::newRow("half past midnight, AM/PM")
        << at(2026, 12, 9, 0, 30) << true << 25 << "12:30 AM";
    QTest::newRow("half past midnight, 24 hours") << at(2026, 12, 9, 0, 30) << true << 1 << "0:30";
    QTest::newRow("noon is PM") << at(2026, 12, 9, 12, 0) << true << 40 << "12:00 pm";
    QTest::newRow("morning a/p") << at(2026, 12, 9, 9, 7) << true << 64 << "09:07 a";
}

void TestDate::entriesOnOtherDays()
{
    QFETCH(QDateTime, when);
    QFETCH(bool, timeList);
    QFETCH(int, number);
    QFETCH(QString, text);
    moment = when;
    program->document(QString(), 0);
    withDialog(timeList ? 2 : 1, [&](frmDate &form) {
        QCOMPARE(entry(timeList ? form.lstTime : form.lstDate, number)->text(), text);
        form.cmdAbbrechen->click();
    });
}

void TestDate::openingShowsTheTabsPage_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("date") << 1;
    QTest::newRow("time") << 2;
}

void TestDate::openingShowsTheTabsPage()
{
    QFETCH(int, tab);
    program->document(QString(), 0);
    withDialog(tab, [&](frmDate &form) {
        QCOMPARE(form.windowTitle(), QStringLiteral("Datums- und Zeitformate"));
        QCOMPARE(form.TabStrip1->currentIndex(), tab - 1);
        QCOMPARE(form.TabStrip1->tabText(0), QStringLiteral("&Datum einfügen"));
        QCOMPARE(form.TabStrip1->tabText(1), QStringLiteral("&Uhrzeit einfügen"));
        QCOMPARE(form.Rahmen1->isVisible(), tab == 1);
        QCOMPARE(form.Rahmen2->isVisible(), tab == 2);
        QGroupBox *shown = tab == 1 ? form.Rahmen1 : form.Rahmen2;
        QCOMPARE(shown->title(), tab == 1 ? QStringLiteral("Datum") : QStringLiteral("Zeit"));
        // The page lies on the tab strip's client area, below the tabs.
        QVERIFY(shown->geometry().top() > form.TabStrip1->geometry().bottom());
        QVERIFY(form.cmdOK->isDefault());
        QCOMPARE(form.Label1->text(),
                 QStringLiteral("&Wählen Sie das gewünschte Datumsformat aus!"));
        QCOMPARE(form.Label2->text(), QStringLiteral("&Wählen Sie das gewünschte Zeitformat aus!"));
        // Switching the tab moves the other page to the same place.
        clickTab(form.TabStrip1, 3 - tab);
        QCOMPARE(form.Rahmen1->isVisible(), tab == 2);
        QCOMPARE(form.Rahmen2->isVisible(), tab == 1);
        QCOMPARE((tab == 1 ? form.Rahmen2 : form.Rahmen1)->geometry(), shown->geometry());
        form.cmdAbbrechen->click();
    });
}

void TestDate::withoutTheHandOverBothPagesStandAndOkTakesTheDate()
{
    DocumentWindow *window = program->document(QString(), 0);
    frmDate &form = frmDateForm().get();
    env->modals.answerForm([](QWidget *shown) {
        auto &dialog = *qobject_cast<frmDate *>(shown);
        QVERIFY(dialog.Rahmen1->isVisible());
        QVERIFY(dialog.Rahmen2->isVisible());
        QCOMPARE(dialog.Rahmen1->geometry(), dialog.Rahmen2->geometry());
        dialog.lstTime->setCurrentRow(3);
        dialog.cmdOK->click();
    });
    Modal::showModal(&form);
    frmDateForm().unload();
    QCOMPARE(window->txtText->Text(), QStringLiteral("9.12.26"));
}

void TestDate::okInsertsTheVisiblePagesEntry_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QList<int>>("tabClicks");
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("date, untouched") << 1 << QList<int> {} << true << "9.12.26";
    QTest::newRow("time, untouched") << 2 << QList<int> {} << false << "14:5";
    QTest::newRow("date, then the time tab") << 1 << QList<int> {2} << true << "14.05:09 Uhr";
    QTest::newRow("time, then back and forth") << 2 << QList<int> {1, 2} << false << "14.05:09 Uhr";
    QTest::newRow("date, to time and back") << 1 << QList<int> {2, 1} << false << "Mi, 9.12.2026";
}

void TestDate::okInsertsTheVisiblePagesEntry()
{
    QFETCH(int, tab);
    QFETCH(QList<int>, tabClicks);
    QFETCH(bool, richText);
    QFETCH(QString, inserted);
    // A selection is replaced by the entry.
    DocumentWindow *window = program->document(QStringLiteral("Heute: XXX."), 7, 3, richText);
    withDialog(tab, [&](frmDate &form) {
        form.lstDate->setCurrentItem(entry(form.lstDate, 18));
        form.lstTime->setCurrentItem(entry(form.lstTime, 24));
        if (tabClicks.isEmpty()) {
            form.lstDate->setCurrentRow(0);
            form.lstTime->setCurrentRow(0);
        }
        for (int next : tabClicks)
            clickTab(form.TabStrip1, next);
        form.cmdOK->click();
        QVERIFY(!form.isVisible());
    });
    QCOMPARE(window->txtText->Text(), QStringLiteral("Heute: %1.").arg(inserted));
    QCOMPARE(window->txtText->SelStart(), 7 + inserted.size());
    QCOMPARE(window->txtText->SelLength(), 0);
}

void TestDate::doubleClickInsertsAndCloses_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("date") << 1 << 44 << "Mittwoch, 09.12.2026";
    QTest::newRow("time") << 2 << 49 << "2:5 P";
}

void TestDate::doubleClickInsertsAndCloses()
{
    QFETCH(int, tab);
    QFETCH(int, number);
    QFETCH(QString, inserted);
    DocumentWindow *window = program->document(QStringLiteral("am "), 3);
    withDialog(tab, [&](frmDate &form) {
        doubleClick(tab == 1 ? form.lstDate : form.lstTime, number);
        QVERIFY(!form.isVisible());
    });
    QCOMPARE(window->txtText->Text(), QStringLiteral("am ") + inserted);
}

void TestDate::abbrechenAndEscInsertNothing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Abbrechen") << false;
    QTest::newRow("Esc") << true;
}

void TestDate::abbrechenAndEscInsertNothing()
{
    QFETCH(bool, escape);
    DocumentWindow *window = program->document(QStringLiteral("bleibt"), 2, 2);
    withDialog(1, [&](frmDate &form) {
        form.lstDate->setCurrentRow(5);
        if (escape)
            QTest::keyClick(form.lstDate, Qt::Key_Escape);
        else
            form.cmdAbbrechen->click();
        QVERIFY(!form.isVisible());
    });
    QCOMPARE(window->txtText->Text(), QStringLiteral("bleibt"));
    QCOMPARE(window->txtText->SelStart(), 2);
    QCOMPARE(window->txtText->SelLength(), 2);
}

void TestDate::listsKeepTheMomentTheyWereOpened()
{
    DocumentWindow *window = program->document(QString(), 0);
    moment = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58));
    withDialog(1, [&](frmDate &form) {
        form.lstDate->setCurrentRow(3);
        // Midnight passes while the dialog is open.
        moment = QDateTime(QDate(2027, 1, 1), QTime(0, 0, 5));
        QTest::keyClick(form.lstDate, Qt::Key_Return);
    });
    QCOMPARE(window->txtText->Text(), QStringLiteral("31.12.2026"));
    // The next opening formats afresh and starts on the first entry again.
    withDialog(2, [&](frmDate &form) {
        QCOMPARE(form.lstTime->currentRow(), 0);
        QCOMPARE(entry(form.lstTime, 12)->text(), QStringLiteral("00:00:05"));
        QCOMPARE(entry(form.lstDate, 4)->text(), QStringLiteral("1.01.2027"));
        form.cmdAbbrechen->click();
    });
}

void TestDate::f1OpensTheHelpTopic_data()
{
    QTest::addColumn<bool>("inTimeList");
    QTest::addColumn<int>("topic");
    QTest::newRow("dialog") << false << 31;
    QTest::newRow("time list") << true << 32;
}

void TestDate::f1OpensTheHelpTopic()
{
    QFETCH(bool, inTimeList);
    QFETCH(int, topic);
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    program->document(QString(), 0);
    withDialog(inTimeList ? 2 : 1, [&](frmDate &form) {
        QTest::keyClick(inTimeList ? form.lstTime : static_cast<QWidget *>(form.lstDate),
                        Qt::Key_F1);
        QVERIFY(Help::viewer());
        QCOMPARE(Help::viewer()->currentContext(), topic);
        form.cmdAbbrechen->click();
    });
    Help::closeViewer();
}

void TestDate::screenshotsOfBothPages()
{
    program->document(QString(), 0);
    const QString folder = screenshotFolder();
    for (int tab = 1; tab <= 2; ++tab) {
        const QString file = QDir(folder).filePath(QStringLiteral("frmDate-%1.png").arg(tab));
        QFile::remove(file);
        withDialog(tab, [&](frmDate &form) {
            QVERIFY(form.grab().save(file));
            QCOMPARE(GrabChecks::cutCaptions(&form).join(QStringLiteral("; ")), QString());
            form.cmdAbbrechen->click();
        });
    }
}

QTEST_MAIN(TestDate)
#include "tst_date.moc"
