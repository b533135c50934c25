// The formatting dialog as the user meets it: opened from the Format menu of a rich-text
// window, its pages loaded from the selection, edited, and applied to the document and ruler.
#include "common/PageSettings.h"
#include "document/frmDocument.h"
#include "format/OptionsControls.h"
#include "format/frmOptions.h"
#include "frame/frmMain.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/Screen.h"
#include "tests/support/Fixtures.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "text/TextFormat.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <cmath>
#include <memory>

namespace {

using Act = std::function<void(frmOptions &)>;

// The selections the load and apply tests start from.
enum class Fixture { Plain, Formatted, Mixed, Lowered, OddTabs };

QString fontFamily()
{
    const QStringList fonts = Screen::Fonts();
    return fonts.contains(QStringLiteral("DejaVu Sans")) ? QStringLiteral("DejaVu Sans")
                                                         : fonts.value(0);
}

// What the dialog shows, page by page, in one line.
QString shown(const frmOptions &form)
{
    const auto row = [](const QListWidget *list) {
        const QListWidgetItem *item = list->currentItem();
        return item && item->isSelected() ? list->row(item) : -1;
    };
    const int font = row(form.lstSchrift);
    QStringList tabs;
    for (int i = 0; i < form.comboTab->ListCount(); ++i)
        tabs << form.comboTab->List(i);
    const QString alignment = form.optLinks->isChecked() ? "L"
        : form.optZentriert->isChecked()                 ? "Z"
        : form.optRechts->isChecked()                    ? "R"
                                                         : "-";
    return QStringLiteral(
               "font=%1 size=%2/%3 style=%4 strike=%5 under=%6 vertical=%7/%8/%9 "
               "colour=%10 align=%11 indent=%12|%13|%14 bullet=%15 tabs=%16 rr=%17 sample=%18")
        .arg(font < 0 ? QStringLiteral("-") : form.lstSchrift->item(font)->text())
        .arg(form.comboGrad->Text())
        .arg(form.comboGrad->ListIndex())
        .arg(row(form.lstSchnitt))
        .arg(form.chkDurch->Value())
        .arg(form.chkUnter->Value())
        .arg(form.comboVertikal->currentIndex())
        .arg(form.txtVertikal->text())
        .arg(form.UpDownVertikal->isEnabled() ? "on" : "off")
        .arg(form.lblAktuelleFarbe->text().isEmpty()
                 ? QString::number(form.lblAktuelleFarbe->BackColor(), 16)
                 : form.lblAktuelleFarbe->text())
        .arg(alignment)
        .arg(form.txtLinks->text(), form.txtErste->text(), form.txtRechts->text())
        .arg(form.chkAufzaehl->Value())
        .arg(tabs.join(u'|'))
        .arg(form.UpDownRR->isEnabled() ? "on" : "off")
        .arg(form.lblMuster->isHidden() ? "off" : "on");
}

// Every character's and paragraph's format as the edit control reports it.
QString formats(RichTextBox &text)
{
    const int start = text.SelStart();
    const int length = text.SelLength();
    QStringList all;
    for (int i = 0; i < text.Text().size(); ++i) {
        text.setSelStart(i);
        text.setSelLength(1);
        const auto value = [](const auto &v) { return v ? QVariant(*v).toString() : "null"; };
        QStringList tabs;
        for (int t = 0; t < text.SelTabCount().value_or(0); ++t)
            tabs << value(text.SelTabs(t));
        all << QStringList {value(text.SelFontName()),
                            value(text.SelFontSize()),
                            value(text.SelBold()),
                            value(text.SelItalic()),
                            value(text.SelUnderline()),
                            value(text.SelStrikeThru()),
                            value(text.SelCharOffset()),
                            value(text.SelColor()),
                            value(text.SelAlignment()),
                            value(text.SelIndent()),
                            value(text.SelHangingIndent()),
                            value(text.SelRightIndent()),
                            value(text.SelBullet()),
                            value(text.BulletIndent()),
                            tabs.join(u'/')}
                   .join(u',');
    }
    text.setSelStart(start);
    text.setSelLength(length);
    return all.join(u'\n');
}

} // namespace

Q_DECLARE_METATYPE(Fixture)

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void eachTabOpensWithSelectionLoaded_data();
    void eachTabOpensWithSelectionLoaded();
    void clickedTabShowsItsPage();
    void applyWritesChosenSections_data();
    void applyWritesChosenSections();
    void untouchedOkChangesNothing_data();
    void untouchedOkChangesNothing();
    void applyIsOneUndoStep();
    void untouchedOkLeavesUndoToTyping_data();
    void untouchedOkLeavesUndoToTyping();
    void spinnerRulesRefuseWithBeep_data();
    void spinnerRulesRefuseWithBeep();
    void sizeFieldFilterAndRange_data();
    void sizeFieldFilterAndRange();
    void fieldFiltersLetEscAndTabPass_data();
    void fieldFiltersLetEscAndTabPass();
    void fontListNamesPlainFamilies();
    void offsetPointsComeBack_data();
    void offsetPointsComeBack();
    void offsetSurvivesSaveAndReload();
    void tabStopsTypedRoundedAndRefused_data();
    void tabStopsTypedRoundedAndRefused();
    void tabListEditedAndWrittenInListOrder();
    void clipboardWatchStopsWhileOpen_data();
    void clipboardWatchStopsWhileOpen();
    void colourMixerChoosesOnClick();
    void pageApplyMovesRulerBoxes_data();
    void pageApplyMovesRulerBoxes();
    void f1OpensHelpTopic();
    void pageFormatShowsWholeName();
    void screenshotsOfEachPage();
    void typedValuesHeldAndShownAgain_data();
    void typedValuesHeldAndShownAgain();
    void listsChooseByKeys_data();
    void listsChooseByKeys();
    void tabStopsGermanWhateverLocale();

private:
    void prepare(Fixture fixture);
    // Opens the dialog on a tab through its Format menu item and acts in it.
    void openOn(int tab, const Act &act);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
    frmDocument *document = nullptr;
    RichTextBox *text = nullptr;
};

void TestOptions::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestOptions::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
    program->main().LoadNewDoc();
    document = qobject_cast<frmDocument *>(program->active());
    QVERIFY(document);
    text = document->txtText;
}

void TestOptions::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

void TestOptions::prepare(Fixture fixture)
{
    text->setText(QStringLiteral("Erster Absatz\nZweiter Absatz"));
    text->setSelStart(0);
    text->setSelLength(text->Text().size());
    text->setSelFontName(fontFamily());
    text->setSelFontSize(12);
    switch (fixture) {
    case Fixture::Plain:
        text->setSelFontName(fontFamily().toUpper());
        break;
    case Fixture::Formatted:
        text->setSelFontSize(10.5);
        text->setSelBold(true);
        text->setSelItalic(true);
        text->setSelUnderline(true);
        text->setSelCharOffset(64);
        text->setSelColor(0x0000FF);
        text->setSelAlignment(RichTextBox::rtfCenter);
        text->setSelIndent(10);
        text->setSelHangingIndent(5);
        text->setSelRightIndent(5);
        text->setSelBullet(true);
        text->setBulletIndent(5);
        text->setSelTabCount(2);
        text->setSelTabs(0, 12.5);
        text->setSelTabs(1, 30);
        break;
    case Fixture::Mixed:
        text->setSelLength(8);
        text->setSelFontSize(14);
        text->setSelBold(true);
        text->setSelUnderline(true);
        text->setSelStrikeThru(true);
        text->setSelCharOffset(-64);
        text->setSelColor(0x00FF00);
        text->setSelAlignment(RichTextBox::rtfRight);
        text->setSelIndent(10);
        text->setSelRightIndent(5);
        text->setSelBullet(true);
        text->setSelTabCount(1);
        text->setSelTabs(0, 20);
        text->setSelStart(0);
        text->setSelLength(text->Text().size());
        break;
    case Fixture::Lowered:
        text->setSelCharOffset(-64);
        text->setSelIndent(3.75);
        text->setSelHangingIndent(-3.75);
        break;
    case Fixture::OddTabs:
        text->setSelIndent(13.74);
        text->setSelTabCount(2);
        text->setSelTabs(0, 13.7);
        text->setSelTabs(1, 40);
        break;
    }
}

void TestOptions::openOn(int tab, const Act &act)
{
    QAction *items[]
        = {document->mnuFormatZeichen, document->mnuFormatFarbe, document->mnuFormatAbsatz,
           document->mnuFormatTabs, document->mnuFormatSeite};
    bool acted = false;
    env->modals.answerForm([&](QWidget *form) {
        auto *options = qobject_cast<frmOptions *>(form);
        QVERIFY(options);
        acted = true;
        act(*options);
    });
    items[tab - 1]->trigger();
    QVERIFY(acted);
    QVERIFY(!frmOptionsForm().isLoaded());
}

void TestOptions::eachTabOpensWithSelectionLoaded_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<Fixture>("fixture");
    QTest::addColumn<QString>("expected");
    const QString font = fontFamily();
    QTest::newRow("plain, font named in other case")
        << 1 << Fixture::Plain
        << QStringLiteral("font=%1 size=12/4 style=0 strike=0 under=0 vertical=0/0/off colour=0 "
                          "align=L indent=0|0|0 bullet=0 tabs= rr=on sample=on")
               .arg(font);
    QTest::newRow("lowered, first line indented")
        << 2 << Fixture::Lowered
        << QStringLiteral("font=%1 size=12/4 style=0 strike=0 under=0 vertical=2/3/on colour=0 "
                          "align=L indent=0|5|0 bullet=0 tabs= rr=on sample=on")
               .arg(font);
    QTest::newRow("formatted")
        << 3 << Fixture::Formatted
        << QStringLiteral("font=%1 size=10.5/-1 style=3 strike=0 under=1 vertical=1/3/on "
                          "colour=ff align=Z indent=15|-5|5 bullet=1 tabs=12,5|30 rr=on sample=on")
               .arg(font);
    QTest::newRow("off the grid")
        << 4 << Fixture::OddTabs
        << QStringLiteral("font=%1 size=12/4 style=0 strike=0 under=0 vertical=0/0/off colour=0 "
                          "align=L indent=12|0|0 bullet=0 tabs=12,5|40 rr=on sample=on")
               .arg(font);
    QTest::newRow("mixed")
        << 5 << Fixture::Mixed
        << QStringLiteral("font=%1 size=/-1 style=-1 strike=2 under=2 vertical=-1/0/off "
                          "colour=(keine) align=- indent=|| bullet=2 tabs= rr=off sample=off")
               .arg(font);
}

void TestOptions::eachTabOpensWithSelectionLoaded()
{
    QFETCH(int, tab);
    QFETCH(Fixture, fixture);
    QFETCH(QString, expected);
    prepare(fixture);
    openOn(tab, [&](frmOptions &form) {
        QCOMPARE(form.windowTitle(), QStringLiteral("Optionen"));
        QCOMPARE(form.TabStrip1->SelectedIndex(), tab);
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(form.Rahmen[k]->isVisible(), k == tab);
        const QRect client(form.TabStrip1->ClientLeft(), form.TabStrip1->ClientTop(),
                           form.TabStrip1->ClientWidth(), form.TabStrip1->ClientHeight());
        QCOMPARE(form.Rahmen[tab]->geometry(), client);
        QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
        QCOMPARE(shown(form), expected);
        const bool anyTabs = form.comboTab->ListCount() > 0;
        QVERIFY(!form.cmdTabSetzen->isEnabled());
        QVERIFY(!form.cmdTabLoeschen->isEnabled());
        QCOMPARE(form.cmdTabAlleLoeschen->isEnabled(), anyTabs);
        QCOMPARE(form.UpDownL->maximum(), 120);
        QCOMPARE(form.UpDownE->minimum(), -200);
        QCOMPARE(form.UpDownRR->maximum(), 165);
        QCOMPARE(form.vorschauTextWidth(), 16.0f);
        form.cmdAbbrechen->click();
    });
}

void TestOptions::clickedTabShowsItsPage()
{
    prepare(Fixture::Plain);
    openOn(1, [](frmOptions &form) {
        QTest::mouseClick(form.TabStrip1->tabBar(), Qt::LeftButton, {},
                          form.TabStrip1->tabBar()->tabRect(3).center());
        QCOMPARE(form.TabStrip1->SelectedIndex(), 4);
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(form.Rahmen[k]->isVisible(), k == 4);
        form.cmdAbbrechen->click();
    });
}

void TestOptions::applyWritesChosenSections_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("written");
    QTest::newRow("Alles") << 0 << QStringLiteral("font colour paragraph tabs page");
    QTest::newRow("Schriftart") << 1 << QStringLiteral("font");
    QTest::newRow("Schriftfarbe") << 2 << QStringLiteral("colour");
    QTest::newRow("Absatz") << 3 << QStringLiteral("paragraph");
    QTest::newRow("Tabulatoren") << 4 << QStringLiteral("tabs");
    QTest::newRow("Seiteneinrichtung") << 5 << QStringLiteral("page");
}

void TestOptions::applyWritesChosenSections()
{
    QFETCH(int, scope);
    QFETCH(QString, written);
    prepare(Fixture::Plain);
    openOn(1, [&](frmOptions &form) {
        form.comboGrad->setText(QStringLiteral("14"));
        form.lstSchnitt->setCurrentRow(2);
        form.chkUnter->click();
        form.chkDurch->click();
        form.comboVertikal->setCurrentIndex(1);
        form.lblFarbe[17]->Click();
        form.UpDownL->setValue(10);
        form.UpDownE->setValue(-5);
        form.txtRechts->setText(QStringLiteral("12,5"));
        form.chkAufzaehl->click();
        form.optZentriert->click();
        form.comboTab->setText(QStringLiteral("40"));
        form.cmdTabSetzen->click();
        form.UpDownRR->setValue(27);
        form.comboUebernehmen->setCurrentIndex(scope);
        form.cmdSetzen->click();
        form.cmdAbbrechen->click();
    });
    const bool font = written.contains("font");
    QCOMPARE(text->SelFontSize(), font ? 14 : 12);
    QCOMPARE(text->SelBold(), font);
    QCOMPARE(text->SelItalic(), false);
    QCOMPARE(text->SelUnderline(), font);
    QCOMPARE(text->SelStrikeThru(), font);
    QCOMPARE(text->SelCharOffset(), font ? 22 : 0);
    QCOMPARE(text->SelColor(), written.contains("colour") ? 0x0000FF : 0);
    const bool paragraph = written.contains("paragraph");
    QCOMPARE(text->SelIndent(), paragraph ? 5 : 0);
    QCOMPARE(text->SelHangingIndent(), paragraph ? 5 : 0);
    QCOMPARE(text->SelRightIndent(), paragraph ? 12.5 : 0);
    QCOMPARE(text->SelBullet(), paragraph);
    QCOMPARE(text->BulletIndent().value_or(0), paragraph ? 5 : 0);
    QCOMPARE(text->SelAlignment(), paragraph ? int(RichTextBox::rtfCenter) : 0);
    QCOMPARE(text->SelTabCount(), written.contains("tabs") ? 1 : 0);
    const bool page = written.contains("page");
    QCOMPARE(Page::RandRechts, page ? 27.5f : 25.0f);
    QCOMPARE(text->RightMargin(), page ? 157.5 : 160.0);
}

void TestOptions::untouchedOkChangesNothing_data()
{
    QTest::addColumn<Fixture>("fixture");
    QTest::newRow("plain") << Fixture::Plain;
    QTest::newRow("formatted") << Fixture::Formatted;
    QTest::newRow("mixed") << Fixture::Mixed;
}

void TestOptions::untouchedOkChangesNothing()
{
    QFETCH(Fixture, fixture);
    prepare(fixture);
    text->setSelFontName(fontFamily());
    const QString before = formats(*text);
    const QString rtf = text->SelRTF();
    const int beeps = beepCount();
    openOn(3, [](frmOptions &form) { form.cmdOK->click(); });
    QCOMPARE(formats(*text), before);
    QCOMPARE(text->SelRTF(), rtf);
    QCOMPARE(beepCount(), beeps);
}

// Everything one OK writes goes back with one Undo; the typing before it stays for the next.
void TestOptions::applyIsOneUndoStep()
{
    prepare(Fixture::Plain);
    text->setSelStart(text->Text().size());
    QTest::keyClicks(text, "!");
    text->setSelStart(3);
    const QString before = formats(*text);
    openOn(3, [](frmOptions &form) {
        form.txtLinks->setText(QStringLiteral("30"));
        form.txtRechts->setText(QStringLiteral("10"));
        form.optZentriert->click();
        form.cmdOK->click();
    });
    QCOMPARE(text->SelIndent(), 30);
    document->mnuEditUndo->trigger();
    QCOMPARE(formats(*text), before);
    QCOMPARE(text->SelStart(), 3);
    QCOMPARE(text->Text(), QStringLiteral("Erster Absatz\rZweiter Absatz!"));
    document->mnuEditUndo->trigger();
    QCOMPARE(text->Text(), QStringLiteral("Erster Absatz\rZweiter Absatz"));
}

void TestOptions::untouchedOkLeavesUndoToTyping_data()
{
    QTest::addColumn<QString>("file"); // empty: a new document
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length"); // -1: up to the end
    const QString fixtures = QStringLiteral(VELMAR_FIXTURES_DIR "/rtf/");
    for (const int length : {0, -1}) {
        const char *where = length ? "whole text" : "caret";
        QTest::addRow("new document, %s", where) << QString() << 0 << length;
        for (const char *name : {"lo-letter.rtf", "re-brief.rtf", "abi-features.rtf",
                                 "pd-features.rtf", "lo-features.rtf"})
            QTest::addRow("%s, %s", name, where)
                << Fixtures::path(QStringLiteral("corpus/rtf/") + QLatin1String(name)) << 1
                << length;
    }
    QTest::newRow("in hidden text") << fixtures + "hidden.rtf" << 10 << 4;
    QTest::newRow("in hidden underlined text") << fixtures + "hidden.rtf" << 30 << 2;
    QTest::newRow("in highlighted text") << fixtures + "highlight.rtf" << 10 << 2;
}

// OK with nothing changed gives Undo nothing to do of its own: the next Undo takes back the
// typing before it.
void TestOptions::untouchedOkLeavesUndoToTyping()
{
    QFETCH(QString, file);
    QFETCH(int, start);
    QFETCH(int, length);
    if (!file.isEmpty())
        QCOMPARE(text->LoadFile(file, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    const QString original = text->Text();
    text->setSelStart(original.size());
    QTest::keyClicks(text, "x");
    for (int tab = 1; tab <= 5; ++tab) {
        text->setSelStart(start);
        text->setSelLength(length < 0 ? text->Text().size() : length);
        openOn(tab, [](frmOptions &form) { form.cmdOK->click(); });
    }
    document->mnuEditUndo->trigger();
    QCOMPARE(text->Text(), original);
}

void TestOptions::spinnerRulesRefuseWithBeep_data()
{
    QTest::addColumn<QList<int>>("start"); // L, E, R, RL, RR
    QTest::addColumn<QString>("spinner");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("after"); // L, E, R, RL, RR
    QTest::addColumn<int>("beeps");
    QTest::newRow("left up to exactly 40 mm")
        << QList {119, 0, 0, 25, 25} << "L" << 1 << QList {120, 0, 0, 25, 25} << 0;
    QTest::newRow("left past 40 mm")
        << QList {115, 0, 0, 30, 25} << "L" << 1 << QList {115, 0, 0, 30, 25} << 1;
    QTest::newRow("right indent past 40 mm")
        << QList {120, 0, 0, 25, 25} << "R" << 1 << QList {120, 0, 0, 25, 25} << 1;
    QTest::newRow("left margin past 40 mm")
        << QList {120, 0, 0, 25, 25} << "RL" << 1 << QList {120, 0, 0, 25, 25} << 1;
    QTest::newRow("right indent measures the first line")
        << QList {20, 30, 90, 25, 25} << "R" << 1 << QList {20, 30, 90, 25, 25} << 1;
    QTest::newRow("first line floor")
        << QList {10, -10, 0, 25, 25} << "E" << -1 << QList {10, -10, 0, 25, 25} << 1;
    QTest::newRow("left drags a hanging first line")
        << QList {10, -10, 0, 25, 25} << "L" << -1 << QList {9, -9, 0, 25, 25} << 0;
    QTest::newRow("top margin unchecked")
        << QList {120, 0, 0, 25, 25} << "RO" << 35 << QList {120, 0, 0, 25, 25} << 0;
}

void TestOptions::spinnerRulesRefuseWithBeep()
{
    QFETCH(QList<int>, start);
    QFETCH(QString, spinner);
    QFETCH(int, step);
    QFETCH(QList<int>, after);
    QFETCH(int, beeps);
    prepare(Fixture::Plain);
    openOn(3, [&](frmOptions &form) {
        form.UpDownRL->setValue(start[3]);
        form.UpDownRR->setValue(start[4]);
        form.UpDownL->setValue(start[0]);
        form.UpDownE->setValue(start[1]);
        form.UpDownR->setValue(start[2]);
        const QMap<QString, UpDown *> spinners {{"L", form.UpDownL},   {"E", form.UpDownE},
                                                {"R", form.UpDownR},   {"RL", form.UpDownRL},
                                                {"RR", form.UpDownRR}, {"RO", form.UpDownRO}};
        const int before = beepCount();
        spinners[spinner]->stepBy(step);
        QCOMPARE(beepCount() - before, beeps);
        const QList<int> values {form.UpDownL->Value(), form.UpDownE->Value(),
                                 form.UpDownR->Value(), form.UpDownRL->Value(),
                                 form.UpDownRR->Value()};
        QCOMPARE(values, after);
        QCOMPARE(form.txtLinks->text(), QString::number(after[0]));
        form.cmdAbbrechen->click();
    });
}

void TestOptions::sizeFieldFilterAndRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("beeps");
    QTest::newRow("emptied") << QString() << "1" << 0;
    QTest::newRow("zero") << "0"
                          << "1" << 0;
    QTest::newRow("too large") << "3000"
                               << "2160" << 0;
    QTest::newRow("largest") << "2160"
                             << "2160" << 0;
    QTest::newRow("letter") << "1a"
                            << "1" << 1;
    QTest::newRow("comma and point") << "1,."
                                     << "1" << 2;
}

void TestOptions::sizeFieldFilterAndRange()
{
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(int, beeps);
    prepare(Fixture::Plain);
    openOn(1, [&](frmOptions &form) {
        QLineEdit *field = form.comboGrad->field();
        field->setFocus();
        field->selectAll();
        const int before = beepCount();
        if (typed.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, typed);
        QCOMPARE(field->text(), result);
        QCOMPARE(beepCount() - before, beeps);
        form.cmdOK->click();
    });
    QCOMPARE(text->SelFontSize(), result.toDouble());
}

void TestOptions::fieldFiltersLetEscAndTabPass_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("key");
    QTest::newRow("size field, Esc") << 1 << int(Qt::Key_Escape);
    QTest::newRow("size field, Tab") << 1 << int(Qt::Key_Tab);
    QTest::newRow("size field, Shift+Tab") << 1 << int(Qt::Key_Backtab);
    QTest::newRow("tab-stop field, Esc") << 4 << int(Qt::Key_Escape);
    QTest::newRow("tab-stop field, Tab") << 4 << int(Qt::Key_Tab);
}

void TestOptions::fieldFiltersLetEscAndTabPass()
{
    QFETCH(int, tab);
    QFETCH(int, key);
    prepare(Fixture::Plain);
    const QString before = formats(*text);
    openOn(tab, [&](frmOptions &form) {
        QLineEdit *field = tab == 1 ? form.comboGrad->field() : form.comboTab->field();
        form.activateWindow();
        field->setFocus();
        field->setText(QStringLiteral("20"));
        const int beeps = beepCount();
        QTest::keyClick(field, Qt::Key(key));
        QCOMPARE(beepCount(), beeps);
        QCOMPARE(field->text(), QStringLiteral("20"));
        if (key == Qt::Key_Escape) {
            QVERIFY(!form.isVisible());
            QCOMPARE(form.result(), int(QDialog::Rejected));
            return;
        }
        QVERIFY(form.isVisible());
        QVERIFY(form.focusWidget() != field);
        form.cmdAbbrechen->click();
    });
    QCOMPARE(formats(*text), before);
}

void TestOptions::fontListNamesPlainFamilies()
{
    prepare(Fixture::Plain);
    openOn(1, [](frmOptions &form) {
        QStringList names;
        for (int i = 0; i < form.lstSchrift->count(); ++i)
            names << form.lstSchrift->item(i)->text();
        for (const QString &family : QFontDatabase::families()) {
            const qsizetype bracket = family.indexOf(QStringLiteral(" ["));
            const QString plain
                = bracket > 0 && family.endsWith(u']') ? family.left(bracket) : family;
            QVERIFY2(names.count(plain) == 1, qPrintable(plain));
        }
        for (const QString &name : std::as_const(names))
            QVERIFY2(!name.endsWith(u']'), qPrintable(name));
        form.cmdAbbrechen->click();
    });
}

void TestOptions::offsetPointsComeBack_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("offset");
    QTest::newRow("raised 1") << 1 << 1 << 22.0;
    QTest::newRow("raised 2") << 1 << 2 << 43.0;
    QTest::newRow("lowered 3") << 2 << 3 << -64.0;
    QTest::newRow("raised 10") << 1 << 10 << 214.0;
    QTest::newRow("normal") << 0 << 0 << 0.0;
}

void TestOptions::offsetPointsComeBack()
{
    QFETCH(int, position);
    QFETCH(int, points);
    QFETCH(double, offset);
    prepare(Fixture::Formatted);
    openOn(1, [&](frmOptions &form) {
        form.comboVertikal->setCurrentIndex(position);
        form.UpDownVertikal->setValue(points);
        form.cmdOK->click();
    });
    QCOMPARE(text->SelCharOffset(), offset);
    openOn(1, [&](frmOptions &form) {
        QCOMPARE(form.comboVertikal->currentIndex(), position);
        QCOMPARE(form.txtVertikal->text(), QString::number(points));
        form.cmdAbbrechen->click();
    });
}

void TestOptions::offsetSurvivesSaveAndReload()
{
    prepare(Fixture::Plain);
    if (text->SelRTF().isEmpty())
        QSKIP("this build writes no rich text");
    openOn(1, [](frmOptions &form) {
        form.comboVertikal->setCurrentIndex(1);
        form.UpDownVertikal->setValue(3);
        form.cmdOK->click();
    });
    const QString path = env->path(QStringLiteral("hoch.rtf"));
    QVERIFY(text->SaveFile(path, RichTextBox::rtfRTF));
    QCOMPARE(text->LoadFile(path, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    text->setSelStart(0);
    text->setSelLength(5);
    openOn(1, [](frmOptions &form) {
        QCOMPARE(form.comboVertikal->currentIndex(), 1);
        QCOMPARE(form.txtVertikal->text(), QStringLiteral("3"));
        form.cmdAbbrechen->click();
    });
}

void TestOptions::tabStopsTypedRoundedAndRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field"); // after the keys
    QTest::addColumn<bool>("settable");
    QTest::addColumn<QString>("list"); // after "Setzen", when settable
    QTest::addColumn<int>("beeps");
    QTest::newRow("12,4") << "12,4"
                          << "12,4" << true << "12,5" << 0;
    QTest::newRow("half way goes up") << "11,25"
                                      << "11,25" << true << "12,5" << 0;
    QTest::newRow("13,75") << "13,75"
                           << "13,75" << true << "15" << 0;
    QTest::newRow("1,2 rounds to 0") << "1,2"
                                     << "1,2" << true << "0" << 0;
    QTest::newRow("159,9 rounds to 160") << "159,9"
                                         << "159,9" << true << "160" << 0;
    QTest::newRow("160 refused") << "160"
                                 << "160" << true << "" << 1;
    QTest::newRow("0,5 not settable") << "0,5"
                                      << "0,5" << false << "" << 0;
    QTest::newRow(",5 not settable") << ",5"
                                     << ",5" << false << "" << 0;
    QTest::newRow("second comma, point, letter, minus") << "1,2,.x-"
                                                        << "1,2" << true << "0" << 4;
}

void TestOptions::tabStopsTypedRoundedAndRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(bool, settable);
    QFETCH(QString, list);
    QFETCH(int, beeps);
    prepare(Fixture::Plain);
    openOn(4, [&](frmOptions &form) {
        const int before = beepCount();
        QTest::keyClicks(form.comboTab->field(), typed);
        QCOMPARE(form.comboTab->Text(), field);
        QCOMPARE(form.cmdTabSetzen->isEnabled(), settable);
        if (settable)
            form.cmdTabSetzen->click();
        QCOMPARE(form.comboTab->ListCount() ? form.comboTab->List(0) : QString(), list);
        QCOMPARE(form.comboTab->Text().isEmpty(), settable && list.size() > 0);
        QCOMPARE(beepCount() - before, beeps);
        QTest::keyClick(form.comboTab->field(), Qt::Key_Return);
        QCOMPARE(form.comboTab->ListCount(), list.isEmpty() ? 0 : 1);
    });
}

void TestOptions::tabListEditedAndWrittenInListOrder()
{
    prepare(Fixture::Plain);
    const auto entries = [](const frmOptions &form) {
        QStringList all;
        for (int i = 0; i < form.comboTab->ListCount(); ++i)
            all << form.comboTab->List(i);
        return all;
    };
    openOn(4, [&](frmOptions &form) {
        for (const char *typed : {"5", "12,5", "40", "12,5"}) {
            form.comboTab->setText(QString::fromLatin1(typed));
            form.cmdTabSetzen->click();
        }
        QCOMPARE(entries(form), (QStringList {"12,5", "40", "5"}));
        QVERIFY(form.comboTab->Text().isEmpty());
        QVERIFY(form.cmdTabAlleLoeschen->isEnabled());
        form.comboTab->setText(QStringLiteral("12,50"));
        QVERIFY(!form.cmdTabLoeschen->isEnabled());
        form.comboTab->setText(QStringLiteral("12,5"));
        QVERIFY(form.cmdTabLoeschen->isEnabled());
        QCOMPARE(form.comboTab->ListIndex(), 0);
        form.cmdTabLoeschen->click();
        QCOMPARE(entries(form), (QStringList {"40", "5"}));
        form.cmdSetzen->click();
        form.cmdTabAlleLoeschen->click();
        QVERIFY(entries(form).isEmpty());
        QVERIFY(!form.cmdTabAlleLoeschen->isEnabled());
        form.cmdAbbrechen->click();
    });
    QCOMPARE(text->SelTabCount(), 2);
    QCOMPARE(text->SelTabs(0), 40.0);
    QCOMPARE(text->SelTabs(1), 5.0);

    openOn(4, [&](frmOptions &form) {
        QCOMPARE(entries(form), (QStringList {"40", "5"}));
        form.comboTab->list()->setCurrentRow(1);
        QTest::mouseClick(
            form.comboTab->list()->viewport(), Qt::LeftButton, {},
            form.comboTab->list()->visualItemRect(form.comboTab->list()->item(1)).center());
        QCOMPARE(form.comboTab->Text(), QStringLiteral("5"));
        QVERIFY(form.cmdTabLoeschen->isEnabled());
        form.cmdTabLoeschen->click();
        form.comboTab->setText(QStringLiteral("40"));
        form.cmdTabLoeschen->click();
        QVERIFY(!form.cmdTabAlleLoeschen->isEnabled());
        form.cmdOK->click();
    });
    QCOMPARE(text->SelTabCount(), 0);
}

void TestOptions::clipboardWatchStopsWhileOpen_data()
{
    QTest::addColumn<QString>("close");
    QTest::newRow("OK") << "OK";
    QTest::newRow("Abbrechen") << "Abbrechen";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("close box") << "close box";
}

void TestOptions::clipboardWatchStopsWhileOpen()
{
    QFETCH(QString, close);
    QVERIFY(program->main().timeClipboard.isActive());
    openOn(2, [&](frmOptions &form) {
        QVERIFY(!program->main().timeClipboard.isActive());
        form.lblFarbe[17]->Click();
        if (close == "OK")
            form.cmdOK->click();
        else if (close == "Abbrechen")
            form.cmdAbbrechen->click();
        else if (close == "Esc")
            QTest::keyClick(&form, Qt::Key_Escape);
        else
            form.close();
        QVERIFY(!form.isVisible());
    });
    QVERIFY(program->main().timeClipboard.isActive());
    QCOMPARE(text->SelColor(), close == "OK" ? 0x0000FF : 0);
}

void TestOptions::colourMixerChoosesOnClick()
{
    prepare(Fixture::Mixed);
    openOn(2, [](frmOptions &form) {
        QCOMPARE(form.lblAktuelleFarbe->text(), QStringLiteral("(keine)"));
        form.HScrollB->setValue(255);
        QCOMPARE(form.lblFarbbeispiel->BackColor(), 16711680);
        form.HScrollB->setValue(0);
        form.HScrollR->setValue(255);
        QCOMPARE(form.lblFarbbeispiel->BackColor(), 255);
        QCOMPARE(form.lblAktuelleFarbe->text(), QStringLiteral("(keine)"));
        QTest::mouseClick(form.lblFarbbeispiel, Qt::LeftButton);
        QCOMPARE(form.lblAktuelleFarbe->BackColor(), 255);
        QVERIFY(form.lblAktuelleFarbe->text().isEmpty());
        form.comboUebernehmen->setCurrentIndex(2);
        form.cmdOK->click();
    });
    QCOMPARE(text->SelColor(), 255);
    QCOMPARE(text->SelFontSize(), std::nullopt);
}

void TestOptions::pageApplyMovesRulerBoxes_data()
{
    QTest::addColumn<Fixture>("fixture");
    QTest::addColumn<int>("margin");
    QTest::addColumn<double>("rightIndent"); // -1: mixed, the marker stays
    QTest::newRow("default margin, no right indent") << Fixture::Plain << 25 << 0.0;
    QTest::newRow("wider margin, right indent") << Fixture::Formatted << 30 << 5.0;
    QTest::newRow("mixed right indent") << Fixture::Mixed << 30 << -1.0;
}

void TestOptions::pageApplyMovesRulerBoxes()
{
    QFETCH(Fixture, fixture);
    QFETCH(int, margin);
    QFETCH(double, rightIndent);
    prepare(fixture);
    const QPoint markerBefore = document->imgRU->pos();
    document->imgRU->hide();
    const float preview = (210.0f - 25 - margin) / 10;
    openOn(5, [&](frmOptions &form) {
        form.UpDownRR->setValue(margin);
        QCOMPARE(form.vorschauTextWidth(), preview);
        form.comboUebernehmen->setCurrentIndex(5);
        form.cmdOK->click();
    });
    const double ppm = TextFormat::pixelsPerMm();
    const auto px = [ppm](double mm) { return int(std::lround(mm * ppm)); };
    const double width = 210 - 25 - margin;
    QCOMPARE(Page::RandRechts, float(margin));
    QCOMPARE(text->RightMargin(), width);
    QCOMPARE(document->pboxLineal->width(), px(width));
    QCOMPARE(document->pboxLinealRechts->width(), px(margin));
    QCOMPARE(document->pboxLinealRechts->x(),
             document->pboxLineal->x() + document->pboxLineal->width());
    if (rightIndent < 0) {
        QVERIFY(document->imgRU->isHidden());
        QCOMPARE(document->imgRU->pos(), markerBefore);
        return;
    }
    QVERIFY(!document->imgRU->isHidden());
    const double half = document->imgRU->width() / ppm / 2;
    // A marker's place is measured from its box.
    QCOMPARE(document->imgRU->x() - document->pboxLineal->x(),
             px(width - rightIndent - half - (rightIndent == 0 ? 1 : 0)));
}

void TestOptions::f1OpensHelpTopic()
{
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    openOn(3, [](frmOptions &form) {
        QTest::keyClick(form.txtLinks, Qt::Key_F1);
        QVERIFY(Help::viewer());
        QCOMPARE(Help::viewer()->currentContext(), 35);
        form.cmdAbbrechen->click();
    });
    Help::closeViewer();
}

void TestOptions::pageFormatShowsWholeName()
{
    openOn(5, [](frmOptions &form) {
        QComboBox *format = form.comboFormat;
        QCOMPARE(format->currentText(), QStringLiteral("DIN A4 (210 x 297 mm)"));
        QVERIFY2(format->width() >= format->sizeHint().width(),
                 qPrintable(QStringLiteral("%1 of %2 pixels")
                                .arg(format->width())
                                .arg(format->sizeHint().width())));
        QVERIFY(QRect(QPoint(0, 0), form.Rahmen[5]->size()).contains(format->geometry()));
        form.cmdAbbrechen->click();
    });
}

void TestOptions::screenshotsOfEachPage()
{
    prepare(Fixture::Formatted);
    const QString folder = screenshotFolder();
    for (int tab = 1; tab <= 5; ++tab) {
        const QString file = QDir(folder).filePath(QStringLiteral("frmOptions-%1.png").arg(tab));
        QFile::remove(file);
        openOn(tab, [&](frmOptions &form) {
            QVERIFY(form.grab().save(file));
            QCOMPARE(GrabChecks::cutCaptions(&form).join(QStringLiteral("; ")), QString());
            form.cmdAbbrechen->click();
        });
    }
}

void TestOptions::typedValuesHeldAndShownAgain_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("shown"); // once the keys are done
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("again"); // in the dialog opened after OK
    const QStringList tab {"Tab"};
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "left indent held to its range")
            << "txtLinks"
            << "999" << tab << "120" << 1 << "120";
        Keyboard::newRow(way, "left indent applied by Enter")
            << "txtLinks"
            << "30" << QStringList {"Return"} << "30" << 0 << "30";
        Keyboard::newRow(way, "left indent takes no minus") << "txtLinks"
                                                            << "-7" << tab << "7" << 1 << "7";
        Keyboard::newRow(way, "left indent stepped by Up")
            << "txtLinks"
            << "" << QStringList {"Up", "Up"} << "2" << 0 << "2";
        Keyboard::newRow(way, "first line held by its floor") << "txtErste"
                                                              << "-5a" << tab << "0" << 6 << "0";
        Keyboard::newRow(way, "offset held to 18 points") << "txtVertikal"
                                                          << "99" << tab << "18" << 1 << "18";
        Keyboard::newRow(way, "right margin held by the 40 mm rule")
            << "txtRandRechts"
            << "200" << tab << "145" << 21 << "145";
        Keyboard::newRow(way, "top margin takes digits only") << "txtRandOben"
                                                              << "x1,5" << tab << "15" << 2 << "25";
        Keyboard::newRow(way, "size field takes digits only") << "comboGrad"
                                                              << "1a,4" << tab << "14" << 2 << "14";
        Keyboard::newRow(way, "tab-stop field takes one comma")
            << "comboTab"
            << "1,2,x" << tab << "1,2" << 2 << "";
    }
}

void TestOptions::typedValuesHeldAndShownAgain()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, keys);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    QFETCH(QString, again);
    prepare(Fixture::Plain);
    const auto box = [&](frmOptions &form) {
        const QMap<QString, QLineEdit *> boxes {
            {"txtLinks", form.txtLinks},         {"txtErste", form.txtErste},
            {"txtVertikal", form.txtVertikal},   {"txtRandRechts", form.txtRandRechts},
            {"txtRandOben", form.txtRandOben},   {"comboGrad", form.comboGrad->field()},
            {"comboTab", form.comboTab->field()}};
        return boxes.value(field);
    };
    const QMap<QString, int> tabs {{"txtVertikal", 1},
                                   {"comboGrad", 1},
                                   {"comboTab", 4},
                                   {"txtRandRechts", 5},
                                   {"txtRandOben", 5}};
    const int tab = tabs.value(field, 3);
    openOn(tab, [&](frmOptions &form) {
        if (field == "txtVertikal")
            form.comboVertikal->setCurrentIndex(1);
        QVERIFY(Keyboard::focus(box(form)));
        box(form)->selectAll();
        const int before = beepCount();
        QVERIFY(Keyboard::type(way, typed, keys));
        QCOMPARE(box(form)->text(), shown);
        QCOMPARE(beepCount() - before, beeps);
        if (form.isVisible())
            form.cmdOK->click();
    });
    openOn(tab, [&](frmOptions &form) {
        QCOMPARE(box(form)->text(), again);
        form.cmdAbbrechen->click();
    });
}

void TestOptions::listsChooseByKeys_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("list"); // after the keys
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "size list, Down and Enter")
            << 1 << QStringList {"Down", "Return"} << "14"
            << "";
        Keyboard::newRow(way, "size list, Up twice") << 1 << QStringList {"Up", "Up"} << "10"
                                                     << "";
        Keyboard::newRow(way, "tab list, End, Tab to Löschen")
            << 4 << QStringList {"End", "Tab", "space"} << ""
            << "12,5";
    }
}

void TestOptions::listsChooseByKeys()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(int, tab);
    QFETCH(QStringList, keys);
    QFETCH(QString, field);
    QFETCH(QString, list);
    prepare(Fixture::Plain);
    text->setSelTabCount(2);
    text->setSelTabs(0, 12.5);
    text->setSelTabs(1, 30);
    openOn(tab, [&](frmOptions &form) {
        SimpleCombo *combo = tab == 1 ? form.comboGrad : form.comboTab;
        QVERIFY(Keyboard::focus(combo->list()));
        const QStringList first = keys.mid(0, 1);
        QVERIFY(Keyboard::type(way, QString(), first));
        if (tab == 4) {
            QCOMPARE(combo->Text(), QStringLiteral("30"));
            QVERIFY(form.cmdTabLoeschen->isEnabled());
        }
        QVERIFY(Keyboard::type(way, QString(), keys.mid(1)));
        QCOMPARE(combo->Text(), field);
        QStringList entries;
        for (int i = 0; tab == 4 && i < combo->ListCount(); ++i)
            entries << combo->List(i);
        QCOMPARE(entries.join(u'|'), list);
        if (form.isVisible())
            form.cmdOK->click();
    });
    if (tab == 1)
        QCOMPARE(text->SelFontSize(), field.toDouble());
    else
        QCOMPARE(text->SelTabCount(), 1);
}

void TestOptions::tabStopsGermanWhateverLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    prepare(Fixture::Formatted);
    openOn(4, [](frmOptions &form) {
        QCOMPARE(form.comboTab->List(0), QStringLiteral("12,5"));
        form.comboTab->field()->setFocus();
        QTest::keyClicks(form.comboTab->field(), QStringLiteral("12,5"));
        QVERIFY(form.cmdTabLoeschen->isEnabled());
        form.cmdTabLoeschen->click();
        form.comboTab->setText(QStringLiteral("7,5"));
        form.cmdTabSetzen->click();
        form.cmdOK->click();
    });
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(text->SelTabCount(), 2);
    QCOMPARE(text->SelTabs(0), 30.0);
    QCOMPARE(text->SelTabs(1), 7.5);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
