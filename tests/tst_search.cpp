// The search-and-replace dialog as the user works it from the Edit menu: searches in every
// direction, Ersetzen, Alle ersetzen against the plain search-and-replace loop, the status
// texts and closing.
#include "document/DocumentWindow.h"
#include "frame/frmMain.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/Screen.h"
#include "platform/StatusBar.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmSearch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString found
    = QStringLiteral("Der Suchtext wurde gefunden. \"Ersetzen\" oder wieder \"Suchen\" wählen.");
const QString notFound = QStringLiteral("Der Suchtext wurde nicht (mehr) gefunden.");
const QString sample = QStringLiteral("Da Wort steht, hier Wort Ende."); // hits at 3 and 20

enum Direction { oberhalb = 0, unterhalb = 1, gesamt = 2 };

// The dialog's state that the replace-all loop reads and leaves.
struct LoopState
{
    QString text;
    int selStart = 0;
    int selLength = 0;
    bool ersterDurchlauf = true;
    int counter = 0;
};

// Alle ersetzen as a plain loop of searches and replacements on an edit control, one search
// per hit; a start position behind the end of the text counts as the end.
LoopState referenceLoop(const LoopState &before, const QString &find, const QString &replacement,
                        int direction, int options, int startposition)
{
    RichTextBox box;
    box.setText(before.text);
    box.setSelStart(before.selStart);
    box.setSelLength(before.selLength);
    LoopState after;
    after.ersterDurchlauf = before.ersterDurchlauf;
    const auto length = [&box] { return static_cast<int>(box.Text().size()); };
    do {
        if (direction != unterhalb && after.ersterDurchlauf
            && box.SelStart() == std::min(startposition, length())) {
            box.setSelStart(0);
            after.ersterDurchlauf = false;
        }
        const int end = direction == oberhalb ? startposition : length();
        if (box.Find(find, box.SelStart() + box.SelLength(), end, options) == -1)
            break;
        box.setSelText(replacement);
        ++after.counter;
    } while (box.SelStart() + box.SelLength() < length());
    after.text = box.Text();
    after.selStart = box.SelStart();
    after.selLength = box.SelLength();
    return after;
}

QString meldung(const frmSearch &form)
{
    return form.StatusBar1->Panels(QStringLiteral("Meldung"))->text();
}

QString replacedText(int counter)
{
    if (counter == 0)
        return QStringLiteral("Es wurde keine Ersetzung vorgenommen.");
    if (counter == 1)
        return QStringLiteral("Es wurde eine Ersetzung vorgenommen.");
    return QStringLiteral("Es wurden %1 Ersetzungen vorgenommen.").arg(counter);
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingTakesSelection_data();
    void openingTakesSelection();
    void dialogIsCentred();
    void searches_data();
    void searches();
    void changesRestartTheSearch_data();
    void changesRestartTheSearch();
    void ersetzenReplacesTheHitAndSearchGoesOnBehind();
    void ersetzenOnlyWhileTheHitIsSelected();
    void alleErsetzenEqualsTheLoop_data();
    void alleErsetzenEqualsTheLoop();
    void alleErsetzenIsOneChangeAndOneUndoStep();
    void closingReturnsToStartUnlessSelected_data();
    void closingReturnsToStartUnlessSelected();
    void statusReturnsToBereit();
    void statusLineShowsWholeText_data();
    void statusLineShowsWholeText();
    void f1OpensTheHelpTopic();

private:
    // Opens the dialog through the Edit menu and lets `act` work it while it is shown.
    void withDialog(DocumentWindow *window, int tab, std::function<void(frmSearch &)> act);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestSearch::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
}

void TestSearch::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

void TestSearch::withDialog(DocumentWindow *window, int tab, std::function<void(frmSearch &)> act)
{
    bool shown = false;
    env->modals.answerForm([&](QWidget *form) {
        shown = true;
        QCOMPARE(form->objectName(), QStringLiteral("frmSearch"));
        act(*qobject_cast<frmSearch *>(form));
    });
    (tab == 1 ? window->mnuEditSearch : window->mnuEditChange)->trigger();
    QVERIFY(shown);
    QVERIFY(!frmSearchForm().isLoaded());
}

void TestSearch::openingTakesSelection_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<bool>("richText");
    QTest::newRow("Suchen, selection") << 1 << 3 << true;
    QTest::newRow("Ersetzen, selection") << 2 << 3 << false;
    QTest::newRow("Suchen, caret") << 1 << 0 << false;
    QTest::newRow("Ersetzen, caret") << 2 << 0 << true;
}

void TestSearch::openingTakesSelection()
{
    QFETCH(int, tab);
    QFETCH(int, selLength);
    QFETCH(bool, richText);
    DocumentWindow *window
        = program->document(QStringLiteral("Ein Text: dem wird gesucht."), 10, selLength, richText);
    withDialog(window, tab, [&](frmSearch &form) {
        QCOMPARE(form.windowTitle(), QStringLiteral("Suchen und Ersetzen"));
        QCOMPARE(form.TabStrip1->currentIndex(), tab - 1);
        QCOMPARE(form.TabStrip1->tabText(tab - 1), tab == 1 ? "Suche&n" : "Erset&zen");
        for (QWidget *control : QList<QWidget *> {form.lblErsetzen, form.txtErsetzen,
                                                  form.cmdErsetzen, form.cmdAlleErsetzen})
            QCOMPARE(control->isVisible(), tab == 2);
        QCOMPARE(form.txtSuchen->text(), selLength ? "dem" : "");
        QCOMPARE(form.cmdSuchen->isEnabled(), selLength > 0);
        QCOMPARE(form.cmdAlleErsetzen->isEnabled(), selLength > 0);
        QVERIFY(!form.cmdErsetzen->isEnabled());
        QVERIFY(form.cmdSuchen->isDefault());
        QCOMPARE(form.comboRichtung->count(), 3);
        QCOMPARE(form.comboRichtung->itemText(0), QStringLiteral("oberhalb"));
        QCOMPARE(form.comboRichtung->itemText(1), QStringLiteral("unterhalb"));
        QCOMPARE(form.comboRichtung->currentText(), QStringLiteral("gesamt"));
        QVERIFY(!form.chkGross->isChecked());
        QVERIFY(!form.chkWort->isChecked());
        QCOMPARE(meldung(form), QStringLiteral("Bereit."));
        QCOMPARE(form.Startposition, 10);
        QCOMPARE(window->txtText->SelStart(), 10);
        QCOMPARE(window->txtText->SelLength(), 0);
        form.cmdAbbrechen->click();
    });
}

void TestSearch::dialogIsCentred()
{
    DocumentWindow *window = program->document(sample, 0);
    withDialog(window, 1, [](frmSearch &form) {
        // As wide as made; as high, or higher by the status line's second line.
        QCOMPARE(form.width(), Screen::pixelsFromTwipsX(5316));
        QVERIFY(form.height() >= Screen::pixelsFromTwipsY(4872));
        QVERIFY(form.height() < Screen::pixelsFromTwipsY(4872 + 600));
        const double left = (Screen::Width() - Screen::twipsFromPixelsX(form.width())) / 2;
        QCOMPARE(form.x(), Screen::pixelsFromTwipsX(left));
        QVERIFY(form.Rahmen->geometry().top() > form.TabStrip1->geometry().bottom());
        form.cmdAbbrechen->click();
    });
}

void TestSearch::searches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("find");
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    // Where each Suchen selects the hit; -1 is not found.
    QTest::addColumn<QList<int>>("hits");
    QTest::newRow("gesamt: top to end, no wrap")
        << sample << 10 << "Wort" << int(gesamt) << false << false << QList<int> {3, 20, -1, -1};
    QTest::newRow("oberhalb: top to the start position")
        << sample << 10 << "Wort" << int(oberhalb) << false << false << QList<int> {3, -1};
    QTest::newRow("unterhalb: start position to end")
        << sample << 10 << "Wort" << int(unterhalb) << false << false << QList<int> {20, -1};
    QTest::newRow("any case") << sample << 10 << "wORT" << int(gesamt) << false << false
                              << QList<int> {3, 20, -1};
    QTest::newRow("match case passes over other cases")
        << "wort WORT Wort" << 0 << "Wort" << int(gesamt) << true << false << QList<int> {10, -1};
    QTest::newRow("match case, nothing in that case")
        << sample << 10 << "wort" << int(gesamt) << true << false << QList<int> {-1};
    QTest::newRow("whole word passes over longer words")
        << "Worte Wortwahl Wort." << 0 << "Wort" << int(gesamt) << false << true
        << QList<int> {15, -1};
    QTest::newRow("inside words without whole word")
        << "Worte Wortwahl Wort." << 0 << "Wort" << int(gesamt) << false << false
        << QList<int> {0, 6, 15, -1};
    QTest::newRow("whole word and match case")
        << "wort Worte WORT Wort" << 0 << "Wort" << int(gesamt) << true << true
        << QList<int> {16, -1};
    QTest::newRow("umlauts in any case") << "ÄRGER und Ärger" << 0 << "ärger" << int(gesamt)
                                         << false << false << QList<int> {0, 10, -1};
    QTest::newRow("hits at the very start and end")
        << "ab mitte ab" << 5 << "ab" << int(gesamt) << false << false << QList<int> {0, 9, -1};
    QTest::newRow("no hit") << sample << 10 << "Satz" << int(gesamt) << false << false
                            << QList<int> {-1, -1};
}

void TestSearch::searches()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, find);
    QFETCH(int, direction);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(QList<int>, hits);
    DocumentWindow *window = program->document(text, caret);
    RichTextBox *box = window->txtText;
    withDialog(window, 1, [&](frmSearch &form) {
        form.txtSuchen->setText(find);
        form.comboRichtung->setCurrentIndex(direction);
        form.chkGross->setChecked(matchCase);
        form.chkWort->setChecked(wholeWord);
        for (int hit : hits) {
            const int beeps = beepCount();
            const int selStart = box->SelStart();
            const int selLength = box->SelLength();
            QTest::keyClick(&form, Qt::Key_Return);
            if (hit >= 0) {
                QCOMPARE(box->SelStart(), hit);
                QCOMPARE(box->SelLength(), find.size());
                QCOMPARE(meldung(form), found);
                QCOMPARE(beepCount(), beeps);
            } else {
                // The selection stays, but for the jump to the top.
                if (form.ErsterDurchlauf || direction == unterhalb) {
                    QCOMPARE(box->SelStart(), selStart);
                    QCOMPARE(box->SelLength(), selLength);
                }
                QCOMPARE(meldung(form), notFound);
                QCOMPARE(beepCount(), beeps + 1);
            }
            QCOMPARE(form.cmdErsetzen->isEnabled(), hit >= 0);
        }
        form.cmdAbbrechen->click();
    });
    QCOMPARE(box->Text(), text);
}

void TestSearch::changesRestartTheSearch_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("match case") << "chkGross";
    QTest::newRow("whole word") << "chkWort";
    QTest::newRow("direction") << "comboRichtung";
    QTest::newRow("search text") << "txtSuchen";
    QTest::newRow("replacement") << "txtErsetzen";
    QTest::newRow("tab") << "TabStrip1";
}

void TestSearch::changesRestartTheSearch()
{
    QFETCH(QString, change);
    DocumentWindow *window = program->document(sample, 10);
    RichTextBox *box = window->txtText;
    withDialog(window, 2, [&](frmSearch &form) {
        form.txtSuchen->setText(QStringLiteral("Wort"));
        form.cmdSuchen->click();
        form.cmdSuchen->click();
        QCOMPARE(box->SelStart(), 20);
        QVERIFY(!form.ErsterDurchlauf);
        if (change == "chkGross")
            form.chkGross->click();
        else if (change == "chkWort")
            form.chkWort->click();
        else if (change == "comboRichtung")
            form.comboRichtung->setCurrentIndex(oberhalb);
        else if (change == "txtSuchen")
            QTest::keyClicks(form.txtSuchen, QStringLiteral(" "));
        else if (change == "txtErsetzen")
            QTest::keyClicks(form.txtErsetzen, QStringLiteral("x"));
        else
            form.TabStrip1->setCurrentIndex(0);
        QCOMPARE(box->SelStart(), 10);
        QCOMPARE(box->SelLength(), 0);
        QVERIFY(form.ErsterDurchlauf);
        QVERIFY(!form.cmdErsetzen->isEnabled());
        QCOMPARE(form.txtErsetzen->isHidden(), change == "TabStrip1");
        if (change == "txtSuchen")
            form.txtSuchen->setText(QStringLiteral("Wort"));
        form.cmdSuchen->click();
        QCOMPARE(box->SelStart(), 3);
        form.cmdAbbrechen->click();
    });
}

void TestSearch::ersetzenReplacesTheHitAndSearchGoesOnBehind()
{
    DocumentWindow *window = program->document(sample, 10, 0, false);
    RichTextBox *box = window->txtText;
    withDialog(window, 2, [&](frmSearch &form) {
        form.txtSuchen->setText(QStringLiteral("Wort"));
        form.txtErsetzen->setText(QStringLiteral("Wortwahl"));
        form.cmdSuchen->click();
        form.cmdErsetzen->click();
        QCOMPARE(box->Text(), QStringLiteral("Da Wortwahl steht, hier Wort Ende."));
        QCOMPARE(box->SelStart(), 3);
        QCOMPARE(box->SelLength(), 8);
        QVERIFY(!form.cmdErsetzen->isEnabled());
        QCOMPARE(meldung(form),
                 QStringLiteral("Ersetzung wurde durchgeführt. Ggf. wieder \"Suchen\" wählen."));
        form.cmdSuchen->click();
        QCOMPARE(box->SelStart(), 24);
        form.cmdErsetzen->click();
        form.cmdSuchen->click();
        QCOMPARE(meldung(form), notFound);
        form.cmdAbbrechen->click();
    });
    QCOMPARE(box->Text(), QStringLiteral("Da Wortwahl steht, hier Wortwahl Ende."));
}

void TestSearch::ersetzenOnlyWhileTheHitIsSelected()
{
    DocumentWindow *window = program->document(sample, 10);
    RichTextBox *box = window->txtText;
    withDialog(window, 2, [&](frmSearch &form) {
        form.txtSuchen->setText(QStringLiteral("Wort"));
        form.txtErsetzen->setText(QStringLiteral("Satz"));
        form.cmdSuchen->click();
        QVERIFY(form.cmdErsetzen->isEnabled());
        box->setSelLength(2);
        QVERIFY(!form.cmdErsetzen->isEnabled());
        box->setSelLength(4);
        QVERIFY(!form.cmdErsetzen->isEnabled());

        form.cmdSuchen->click();
        QVERIFY(form.cmdErsetzen->isEnabled());
        // Nothing is left to replace behind the hit, which stays selected for Ersetzen.
        form.cmdAlleErsetzen->click();
        QVERIFY(form.cmdErsetzen->isEnabled());
        form.cmdAbbrechen->click();
    });
}

void TestSearch::alleErsetzenEqualsTheLoop_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("options");
    // Suchen clicks before Alle ersetzen.
    QTest::addColumn<int>("searches");
    // Where the document's caret is put behind the dialog's back before Alle ersetzen, or -1.
    QTest::addColumn<int>("moveTo");
    QTest::addColumn<int>("counter");
    QTest::newRow("a by aa in aaa") << "aaa" << 0 << "a"
                                    << "aa" << int(gesamt) << 0 << 0 << -1 << 3;
    QTest::newRow("replacement holds the search text")
        << "Wort und Wort" << 5 << "Wort"
        << "Wortwahl" << int(gesamt) << 0 << 0 << -1 << 2;
    QTest::newRow("empty replacement deletes") << "ein Wort, ein Wort" << 0 << "ein "
                                               << "" << int(gesamt) << 0 << 0 << -1 << 2;
    QTest::newRow("empty replacement joins hits") << "aaaa" << 0 << "aa"
                                                  << "" << int(gesamt) << 0 << 0 << -1 << 2;
    QTest::newRow("oberhalb ends at the start position")
        << "x x x x x" << 4 << "x"
        << "yy" << int(oberhalb) << 0 << 0 << -1 << 2;
    QTest::newRow("oberhalb, text above shortened") << "xx xx xx" << 5 << "xx"
                                                    << "" << int(oberhalb) << 0 << 0 << -1 << 3;
    QTest::newRow("oberhalb, hit across the start position")
        << "abcabc" << 3 << "ca"
        << "C" << int(oberhalb) << 0 << 0 << -1 << 0;
    QTest::newRow("unterhalb from the caret") << "a b a b a" << 3 << "a"
                                              << "c" << int(unterhalb) << 0 << 0 << -1 << 2;
    QTest::newRow("whole word") << "Wort Worte Wort" << 0 << "Wort"
                                << "X" << int(gesamt) << int(RichTextBox::rtfWholeWord) << 0 << -1
                                << 2;
    QTest::newRow("whole word sees the replacement in front")
        << "--" << 0 << "-"
        << "a" << int(gesamt) << int(RichTextBox::rtfWholeWord) << 0 << -1 << 1;
    QTest::newRow("whole word sees in front of a deleted hit")
        << "a-- -" << 0 << "-"
        << "" << int(gesamt) << int(RichTextBox::rtfWholeWord) << 0 << -1 << 2;
    QTest::newRow("match case") << "Wort wort WORT" << 0 << "wort"
                                << "x" << int(gesamt) << int(RichTextBox::rtfMatchCase) << 0 << -1
                                << 1;
    QTest::newRow("any case") << "Wort wort WORT" << 0 << "wort"
                              << "x" << int(gesamt) << 0 << 0 << -1 << 3;
    QTest::newRow("whole word and match case")
        << "Wort wort Worte Wort" << 0 << "Wort"
        << "Satz" << int(gesamt) << int(RichTextBox::rtfWholeWord | RichTextBox::rtfMatchCase) << 0
        << -1 << 2;
    QTest::newRow("no hit") << "nichts" << 2 << "x"
                            << "y" << int(gesamt) << 0 << 0 << -1 << 0;
    QTest::newRow("one hit") << "ein x" << 2 << "x"
                             << "y" << int(gesamt) << 0 << 0 << -1 << 1;
    QTest::newRow("replacement ends the text") << "x y x" << 0 << "x"
                                               << "zz" << int(gesamt) << 0 << 0 << -1 << 2;
    QTest::newRow("a selected hit stays") << "x x x" << 0 << "x"
                                          << "y" << int(gesamt) << 0 << 1 << -1 << 2;
    QTest::newRow("a selected hit, none behind it") << "x y" << 0 << "x"
                                                    << "z" << int(gesamt) << 0 << 1 << -1 << 0;
    QTest::newRow("after a failed search") << "x x x" << 2 << "x"
                                           << "y" << int(oberhalb) << 0 << 2 << -1 << 0;
    QTest::newRow("jump to the top due behind a replacement")
        << "a a a a" << 2 << "a"
        << "aa" << int(gesamt) << 0 << 0 << 0 << 6;
    QTest::newRow("paragraphs") << "eine Zeile\nnoch eine\n"
                                << 4 << "e"
                                << "ee" << int(gesamt) << 0 << 0 << -1 << 6;
}

void TestSearch::alleErsetzenEqualsTheLoop()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(int, direction);
    QFETCH(int, options);
    QFETCH(int, searches);
    QFETCH(int, moveTo);
    QFETCH(int, counter);
    DocumentWindow *window = program->document(text, caret);
    RichTextBox *box = window->txtText;
    withDialog(window, 2, [&](frmSearch &form) {
        form.txtSuchen->setText(find);
        form.txtErsetzen->setText(replacement);
        form.comboRichtung->setCurrentIndex(direction);
        form.chkWort->setChecked(options & RichTextBox::rtfWholeWord);
        form.chkGross->setChecked(options & RichTextBox::rtfMatchCase);
        for (int i = 0; i < searches; ++i)
            form.cmdSuchen->click();
        if (moveTo >= 0)
            box->setSelStart(moveTo);
        const LoopState before {box->Text(), box->SelStart(), box->SelLength(),
                                form.ErsterDurchlauf, 0};
        const LoopState expected
            = referenceLoop(before, find, replacement, direction, options, form.Startposition);
        QCOMPARE(expected.counter, counter);
        const bool ersetzen = form.cmdErsetzen->isEnabled();

        form.cmdAlleErsetzen->click();
        QCOMPARE(box->Text(), expected.text);
        QCOMPARE(box->SelStart(), expected.selStart);
        QCOMPARE(box->SelLength(), expected.selLength);
        QCOMPARE(form.ErsterDurchlauf, expected.ersterDurchlauf);
        QCOMPARE(meldung(form), replacedText(counter));
        // Nothing replaced leaves Ersetzen as it was; a replacement has taken the hit away.
        QCOMPARE(form.cmdErsetzen->isEnabled(), ersetzen && counter == 0);
        form.cmdAbbrechen->click();
    });
}

void TestSearch::alleErsetzenIsOneChangeAndOneUndoStep()
{
    const QString text = QStringLiteral("Jede Zeile hat ein e.\rUnd diese eine auch.");
    DocumentWindow *window = program->document(text, 5, 5);
    RichTextBox *box = window->txtText;
    box->setSelBold(true);
    box->setSelStart(0);
    QSignalSpy changes(box, &RichTextBox::Change);
    QSignalSpy moves(box, &RichTextBox::SelChange);
    withDialog(window, 2, [&](frmSearch &form) {
        form.txtSuchen->setText(QStringLiteral("e"));
        form.txtErsetzen->setText(QStringLiteral("ee"));
        changes.clear();
        moves.clear();
        form.cmdAlleErsetzen->click();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(moves.size(), 1);
        form.cmdAbbrechen->click();
    });
    QCOMPARE(box->Text().count(u'e'), text.count(u'e') * 2);
    // The replacements take the format of the text they replace.
    box->setSelStart(7);
    box->setSelLength(7);
    QCOMPARE(box->SelText(), QStringLiteral("Zeeilee"));
    QCOMPARE(box->SelBold(), std::optional<bool>(true));
    box->undo();
    QCOMPARE(box->Text(), text);
}

void TestSearch::closingReturnsToStartUnlessSelected_data()
{
    QTest::addColumn<QString>("work");
    QTest::addColumn<QString>("close");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::newRow("nothing found") << ""
                                   << "Abbrechen" << 10 << 0;
    QTest::newRow("hit selected") << "Suchen"
                                  << "Esc" << 3 << 4;
    QTest::newRow("last hit stays after a failed search") << "Suchen Suchen Suchen"
                                                          << "close box" << 20 << 4;
    QTest::newRow("replacement selected") << "Suchen Ersetzen"
                                          << "Abbrechen" << 3 << 5;
    QTest::newRow("after Alle ersetzen") << "Alle"
                                         << "Esc" << 10 << 0;
}

void TestSearch::closingReturnsToStartUnlessSelected()
{
    QFETCH(QString, work);
    QFETCH(QString, close);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    DocumentWindow *window = program->document(sample, 10);
    RichTextBox *box = window->txtText;
    withDialog(window, 2, [&](frmSearch &form) {
        form.txtSuchen->setText(QStringLiteral("Wort"));
        form.txtErsetzen->setText(QStringLiteral("Worte"));
        for (const QString &step : work.split(u' ', Qt::SkipEmptyParts)) {
            if (step == "Suchen")
                form.cmdSuchen->click();
            else if (step == "Ersetzen")
                form.cmdErsetzen->click();
            else
                form.cmdAlleErsetzen->click();
        }
        if (close == "Esc")
            QTest::keyClick(&form, Qt::Key_Escape);
        else if (close == "close box")
            form.close();
        else
            form.cmdAbbrechen->click();
        QVERIFY(form.isHidden());
    });
    QCOMPARE(box->SelStart(), selStart);
    QCOMPARE(box->SelLength(), selLength);
}

void TestSearch::statusReturnsToBereit()
{
    DocumentWindow *window = program->document(sample, 10);
    withDialog(window, 1, [&](frmSearch &form) {
        QVERIFY(!form.timeStatus.isActive());
        form.txtSuchen->setText(QStringLiteral("Satz"));
        form.cmdSuchen->click();
        QCOMPARE(meldung(form), notFound);
        QVERIFY(form.timeStatus.isActive());
        QVERIFY(form.timeStatus.isSingleShot());
        QCOMPARE(form.timeStatus.interval(), 5000);
        // The wait itself is the timer's; a short one stands in for the five seconds.
        form.timeStatus.setInterval(1);
        QTRY_COMPARE(meldung(form), QStringLiteral("Bereit."));
        QVERIFY(!form.timeStatus.isActive());
        form.cmdAbbrechen->click();
    });
}

void TestSearch::statusLineShowsWholeText_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<int>("button"); // 0 Suchen, 1 Suchen and Ersetzen, 2 Alle ersetzen
    QTest::addColumn<QString>("status");
    QTest::newRow("found") << "Wort" << 0 << found;
    QTest::newRow("not found") << "Satz" << 0 << notFound;
    QTest::newRow("replaced")
        << "Wort" << 1
        << QStringLiteral("Ersetzung wurde durchgeführt. Ggf. wieder \"Suchen\" wählen.");
    QTest::newRow("all replaced") << "Wort" << 2 << replacedText(2);
}

void TestSearch::statusLineShowsWholeText()
{
    QFETCH(QString, find);
    QFETCH(int, button);
    QFETCH(QString, status);
    DocumentWindow *window = program->document(sample, 0);
    withDialog(window, 2, [&](frmSearch &form) {
        form.txtSuchen->setText(find);
        form.txtErsetzen->setText(QStringLiteral("Satz"));
        if (button < 2)
            form.cmdSuchen->click();
        if (button == 1)
            form.cmdErsetzen->click();
        if (button == 2)
            form.cmdAlleErsetzen->click();
        QCOMPARE(meldung(form), status);
        QLabel *panel = form.StatusBar1->Panels(QStringLiteral("Meldung"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(panel->width() >= panel->minimumSizeHint().width());
        QVERIFY2(panel->height() >= panel->heightForWidth(panel->width()),
                 qPrintable(QStringLiteral("%1 of %2 pixels high")
                                .arg(panel->height())
                                .arg(panel->heightForWidth(panel->width()))));
        QVERIFY(form.rect().contains(QRect(panel->mapTo(&form, QPoint(0, 0)), panel->size())));
        form.cmdAbbrechen->click();
    });
}

void TestSearch::f1OpensTheHelpTopic()
{
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    DocumentWindow *window = program->document(sample, 10);
    withDialog(window, 2, [](frmSearch &form) {
        QTest::keyClick(form.txtSuchen, Qt::Key_F1);
        QVERIFY(Help::viewer());
        QCOMPARE(Help::viewer()->currentContext(), 27);
        form.cmdAbbrechen->click();
    });
    Help::closeViewer();
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
