// Tests of the rich edit control: positions, selection properties, files, find, signals.
#include "platform/FileWrite.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Keyboard.h"
#include "tests/support/TestEnvironment.h"
#include "text/RichTextBox.h"
#include "text/TextFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <functional>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template<typename T>
QVariant variant(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

struct Property
{
    std::function<void(RichTextBox &, const QVariant &)> set;
    std::function<QVariant(RichTextBox &)> get;
};

const QMap<QString, Property> &properties()
{
    using Box = RichTextBox;
    static const QMap<QString, Property> map = {
        {"FontName",
         {[](Box &b, const QVariant &v) { b.setSelFontName(v.toString()); },
          [](Box &b) { return variant(b.SelFontName()); }}},
        {"FontSize",
         {[](Box &b, const QVariant &v) { b.setSelFontSize(v.toDouble()); },
          [](Box &b) { return variant(b.SelFontSize()); }}},
        {"Bold",
         {[](Box &b, const QVariant &v) { b.setSelBold(v.toBool()); },
          [](Box &b) { return variant(b.SelBold()); }}},
        {"Italic",
         {[](Box &b, const QVariant &v) { b.setSelItalic(v.toBool()); },
          [](Box &b) { return variant(b.SelItalic()); }}},
        {"Underline",
         {[](Box &b, const QVariant &v) { b.setSelUnderline(v.toBool()); },
          [](Box &b) { return variant(b.SelUnderline()); }}},
        {"StrikeThru",
         {[](Box &b, const QVariant &v) { b.setSelStrikeThru(v.toBool()); },
          [](Box &b) { return variant(b.SelStrikeThru()); }}},
        {"CharOffset",
         {[](Box &b, const QVariant &v) { b.setSelCharOffset(v.toDouble()); },
          [](Box &b) { return variant(b.SelCharOffset()); }}},
        {"Color",
         {[](Box &b, const QVariant &v) { b.setSelColor(v.toInt()); },
          [](Box &b) { return variant(b.SelColor()); }}},
        {"Alignment",
         {[](Box &b, const QVariant &v) { b.setSelAlignment(v.toInt()); },
          [](Box &b) { return variant(b.SelAlignment()); }}},
        {"Indent",
         {[](Box &b, const QVariant &v) { b.setSelIndent(v.toDouble()); },
          [](Box &b) { return variant(b.SelIndent()); }}},
        {"HangingIndent",
         {[](Box &b, const QVariant &v) { b.setSelHangingIndent(v.toDouble()); },
          [](Box &b) { return variant(b.SelHangingIndent()); }}},
        {"RightIndent",
         {[](Box &b, const QVariant &v) { b.setSelRightIndent(v.toDouble()); },
          [](Box &b) { return variant(b.SelRightIndent()); }}},
        {"Bullet",
         {[](Box &b, const QVariant &v) { b.setSelBullet(v.toBool()); },
          [](Box &b) { return variant(b.SelBullet()); }}},
        {"BulletIndent",
         {[](Box &b, const QVariant &v) { b.setBulletIndent(v.toDouble()); },
          [](Box &b) { return variant(b.BulletIndent()); }}},
        {"TabCount",
         {[](Box &b, const QVariant &v) { b.setSelTabCount(v.toInt()); },
          [](Box &b) { return variant(b.SelTabCount()); }}},
        {"Tabs0",
         {[](Box &b, const QVariant &v) { b.setSelTabs(0, v.toDouble()); },
          [](Box &b) { return variant(b.SelTabs(0)); }}},
        {"Tabs2",
         {[](Box &b, const QVariant &v) { b.setSelTabs(2, v.toDouble()); },
          [](Box &b) { return variant(b.SelTabs(2)); }}},
    };
    return map;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A length on the widget's screen, where an inch is its logical dots per inch.
double pixelsFromMm(const QWidget &widget, double mm)
{
    return mm * widget.logicalDpiX() / 25.4;
}

void select(RichTextBox &box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

} // namespace

class TestRichTextBox : public QObject
{
    Q_OBJECT
private slots:
    void positionsAndText();
    void selectionIsClamped();
    void selTextReplaces_data();
    void selTextReplaces();
    void propertyReadsBack_data();
    void propertyReadsBack();
    void formatChangeIsOneUndoStep_data();
    void formatChangeIsOneUndoStep();
    void valueAlreadyShownAddsNoUndoStep_data();
    void valueAlreadyShownAddsNoUndoStep();
    void extremeValuesAreHeldAndSavedAsShown_data();
    void extremeValuesAreHeldAndSavedAsShown();
    void mixedSelectionReadsNull_data();
    void mixedSelectionReadsNull();
    void caretUsesInsertionFormat();
    void fontSizeKeepsOffset();
    void hiddenTextKeepsItsMarkWithoutUnderline();
    void scales();
    void tabStopsKeepOrder();
    void find_data();
    void find();
    void sentenceBySpanAndUpTo();
    void upToWithoutHit();
    void lineFromCharCountsWrappedLines();
    void plainFilesKeepEncoding_data();
    void plainFilesKeepEncoding();
    void loadErrors();
    void onlyRegularFilesLoad_data();
    void onlyRegularFilesLoad();
    void emptyRtfFileIsEmptyDocument();
    void plainFileSavedUnchangedIsIdentical_data();
    void plainFileSavedUnchangedIsIdentical();
    void softBreakTypedAfterAFilesSeparatorIsALineEnd_data();
    void softBreakTypedAfterAFilesSeparatorIsALineEnd();
    void lineFromCharLaysOutOnlyUpToItsBlock();
    void lineCountsFollowTheWidth();
    void lineFromCharStaysRightThroughEdits();
    void overlongWordStaysOnOneLine_data();
    void overlongWordStaysOnOneLine();
    void saveInReadOnlyFolder_data();
    void saveInReadOnlyFolder();
    void saveElsewhereReplacesTheFile();
    void overwriteOnFullDisk_data();
    void overwriteOnFullDisk();
    void keySignalsInOrder();
    void cancelledKeyIsSwallowed();
    void selChangeOncePerMove();
    void bulletIsPainted();
    void bulletStandsBeforeText_data();
    void bulletStandsBeforeText();
    void copyGivesPlainAndRtf();
    void pasteTakesRtfWithoutPlainText();
    void selRtfReplacesSelection();
    void rtfFileProperties_data();
    void rtfFileProperties();
    void rtfFileRoundTrip();
    void justifiedAlignmentReadsNull();
    void listLabelsArePainted();
    void bulletReplacesNumber();
    void selPrintPrintsSelectionOrAll();
};

void TestRichTextBox::positionsAndText()
{
    RichTextBox box;
    box.setText(QStringLiteral("ab\r\ncd\nef\rg\vh"));
    QCOMPARE(box.Text(), QStringLiteral("ab\rcd\ref\rg\vh"));
    select(box, 0, static_cast<int>(box.Text().size()));
    QCOMPARE(box.SelText(), box.Text());
    QCOMPARE(box.document()->blockCount(), 4);
}

void TestRichTextBox::selectionIsClamped()
{
    RichTextBox box;
    box.setText(QStringLiteral("Hallo\rWelt"));
    select(box, 2, 3);
    box.setSelStart(-5);
    QCOMPARE(box.SelStart(), 0);
    QCOMPARE(box.SelLength(), 0);
    box.setSelStart(1000);
    QCOMPARE(box.SelStart(), 10);
    box.setSelStart(7);
    box.setSelLength(1000);
    QCOMPARE(box.SelLength(), 3);
    QCOMPARE(box.SelText(), QStringLiteral("elt"));
}

void TestRichTextBox::selTextReplaces_data()
{
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QStringLiteral("1\r\n2") << QStringLiteral("a1\r2d");
    QTest::newRow("CR") << QStringLiteral("1\r2") << QStringLiteral("a1\r2d");
    QTest::newRow("LF") << QStringLiteral("1\n2") << QStringLiteral("a1\r2d");
    QTest::newRow("empty deletes") << QString() << QStringLiteral("ad");
}

void TestRichTextBox::selTextReplaces()
{
    QFETCH(QString, inserted);
    QFETCH(QString, text);
    RichTextBox box;
    box.setText(QStringLiteral("abcd"));
    select(box, 1, 2);
    box.setSelText(inserted);
    QCOMPARE(box.Text(), text);
    QCOMPARE(box.SelStart(), text.size() - 1);
    QCOMPARE(box.SelLength(), 0);
}

void TestRichTextBox::propertyReadsBack_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("paragraph");
    const auto row
        = [](const char *name, const char *property, const QVariant &value, bool paragraph) {
              QTest::newRow(name) << QString::fromLatin1(property) << value << paragraph;
          };
    row("FontName", "FontName", QStringLiteral("Courier New"), false);
    row("FontSize", "FontSize", 13.5, false);
    row("Bold", "Bold", true, false);
    row("Italic", "Italic", true, false);
    row("Underline", "Underline", true, false);
    row("StrikeThru", "StrikeThru", true, false);
    row("CharOffset raised", "CharOffset", 60.0, false);
    row("CharOffset lowered", "CharOffset", -40.0, false);
    row("Color", "Color", 0x123456, false);
    row("Alignment right", "Alignment", 1, true);
    row("Alignment centre", "Alignment", 2, true);
    row("Indent 12.5 mm", "Indent", 12.5, true);
    row("HangingIndent", "HangingIndent", -6.35, true);
    row("RightIndent", "RightIndent", 7.25, true);
    row("Bullet", "Bullet", true, true);
    row("BulletIndent", "BulletIndent", 6.0, true);
    row("TabCount", "TabCount", 2, true);
    row("Tabs", "Tabs0", 33.3, true);
}

void TestRichTextBox::propertyReadsBack()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    const Property &p = properties()[property];
    RichTextBox box;
    box.setText(QStringLiteral("eins\rzwei\rdrei"));
    select(box, 0, 14);
    p.set(box, value);
    QCOMPARE(p.get(box), value);
    select(box, 6, 2);
    QCOMPARE(p.get(box), value);
    QCOMPARE(box.Text(), QStringLiteral("eins\rzwei\rdrei"));
}

void TestRichTextBox::formatChangeIsOneUndoStep_data()
{
    propertyReadsBack_data();
}

// A format change is one undo step of its own: Undo takes back the format alone, puts the
// caret back where it stood, and leaves the typing before it to the next Undo. Setting a value
// again that is already there adds no step.
void TestRichTextBox::formatChangeIsOneUndoStep()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    const Property &p = properties()[property];
    RichTextBox box;
    box.setText(QStringLiteral("eins\rzwei"));
    select(box, 9, 0);
    QTest::keyClicks(&box, "drei");
    select(box, 2, 5);
    const QVariant before = p.get(box);
    p.set(box, value);
    QCOMPARE(p.get(box), value);
    p.set(box, value);
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("eins\rzweidrei"));
    QCOMPARE(box.textCursor().position(), 7);
    select(box, 2, 5);
    QCOMPARE(p.get(box), before);
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("eins\rzwei"));
    QVERIFY(!box.canUndo());
}

void TestRichTextBox::valueAlreadyShownAddsNoUndoStep_data()
{
    QTest::addColumn<QString>("property");
    // The colour is left out: unset text takes the theme's colour, which black need not be.
    for (const char *property : {"FontName", "FontSize", "Bold", "Italic", "Underline",
                                 "StrikeThru", "CharOffset", "Alignment", "Indent", "HangingIndent",
                                 "RightIndent", "Bullet", "BulletIndent", "TabCount"})
        QTest::newRow(property) << QString::fromLatin1(property);
}

// Typed text has none of its format set; writing the value it already shows gives Undo
// nothing to do of its own, so the next Undo takes back the typing.
void TestRichTextBox::valueAlreadyShownAddsNoUndoStep()
{
    QFETCH(QString, property);
    const Property &p = properties()[property];
    RichTextBox box;
    QTest::keyClicks(&box, "eins");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "zwei");
    for (const int length : {0, 9}) {
        select(box, length ? 0 : 6, length);
        p.set(box, p.get(box));
    }
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("eins\r"));
}

void TestRichTextBox::extremeValuesAreHeldAndSavedAsShown_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("hanging"); // set before, in twips
    QTest::addColumn<QVariant>("held");
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const auto row = [](const char *property, double value, double hanging, const QVariant &held) {
        QTest::addRow("%s %g after hanging %g", property, value, hanging)
            << QString::fromLatin1(property) << value << hanging << held;
    };
    for (const char *indent : {"Indent", "HangingIndent", "RightIndent"}) {
        row(indent, 2147483648.0, 0, 31680.0);
        row(indent, 1000000, 0, 31680.0);
        row(indent, -1000000, 0, -31680.0);
        row(indent, -31680, 0, -31680.0);
        for (const double refused : {nan, inf, -inf})
            row(indent, refused, 0, 0.0);
    }
    // The following lines' place (indent plus hanging indent) keeps within the limit too.
    row("Indent", 1000000, 31680, 0.0);
    row("Indent", -1000000, 31680, -63360.0);
    row("Indent", 1000000, -31680, 63360.0);
    row("HangingIndent", nan, 31680, 31680.0);
    for (const char *length : {"BulletIndent", "Tabs0"}) {
        row(length, 1000000, 0, 31680.0);
        row(length, -1000000, 0, 0.0);
    }
    row("BulletIndent", inf, 0, 0.0);
    row("Tabs0", inf, 0, QVariant());
    row("CharOffset", 1e9, 0, 43200.0);
    row("CharOffset", -1e9, 0, -43200.0);
    row("CharOffset", nan, 0, 0.0);
    row("FontSize", 1e9, 0, 2160.0);
    row("FontSize", 0.2, 0, 1.0);
    row("FontSize", 13.3, 0, 13.5);
    row("FontSize", nan, 0, 12.0);
    row("FontSize", -inf, 0, 12.0);
}

// Whatever a setter is given, the control holds a value it can show and save: a saved file
// read back gives every property as the control showed it. Non-numbers change nothing.
void TestRichTextBox::extremeValuesAreHeldAndSavedAsShown()
{
    QFETCH(QString, property);
    QFETCH(double, value);
    QFETCH(double, hanging);
    QFETCH(QVariant, held);
    RichTextBox box;
    box.setScale(RichTextBox::Scale::Twips);
    box.setText(QStringLiteral("eins\rzwei"));
    select(box, 0, 9);
    box.setSelFontSize(12);
    box.setSelHangingIndent(hanging);
    if (property == QLatin1String("BulletIndent"))
        box.setSelBullet(true);
    properties()[property].set(box, value);
    QCOMPARE(properties()[property].get(box), held);

    const QStringList compared {"FontSize",      "CharOffset",  "Indent",
                                "HangingIndent", "RightIndent", "Bullet",
                                "BulletIndent",  "TabCount",    "Tabs0"};
    QTemporaryDir dir;
    const QString path = dir.filePath("werte.rtf");
    QVERIFY(box.SaveFile(path, RichTextBox::rtfRTF));
    RichTextBox again;
    again.setScale(RichTextBox::Scale::Twips);
    QCOMPARE(again.LoadFile(path, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    select(again, 0, 9);
    for (const QString &name : compared)
        QVERIFY2(properties()[name].get(again) == properties()[name].get(box), qPrintable(name));
}

void TestRichTextBox::mixedSelectionReadsNull_data()
{
    propertyReadsBack_data();
}

void TestRichTextBox::mixedSelectionReadsNull()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(bool, paragraph);
    const Property &p = properties()[property];
    RichTextBox box;
    box.setText(QStringLiteral("eins\rzwei\rdrei"));
    select(box, 0, 2);
    p.set(box, value);
    select(box, 0, 14);
    QCOMPARE(p.get(box), QVariant());
    // A selection ending at a paragraph start does not touch that paragraph.
    select(box, paragraph ? 0 : 1, paragraph ? 5 : 1);
    QCOMPARE(p.get(box), value);
}

void TestRichTextBox::caretUsesInsertionFormat()
{
    RichTextBox box;
    box.setText(QStringLiteral("ab"));
    box.setSelStart(1);
    QSignalSpy changes(&box, &RichTextBox::Change);
    QSignalSpy moves(&box, &RichTextBox::SelChange);
    box.setSelBold(true);
    box.setSelFontSize(20);
    QCOMPARE(box.SelBold(), std::optional<bool>(true));
    QCOMPARE(box.SelFontSize(), std::optional<double>(20));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(moves.count(), 0);
    box.setSelText(QStringLiteral("X"));
    select(box, 1, 1);
    QCOMPARE(box.SelBold(), std::optional<bool>(true));
    select(box, 0, 1);
    QCOMPARE(box.SelBold(), std::optional<bool>(false));
    // Format writes on a selection are no text change either.
    box.setSelItalic(true);
    box.setSelIndent(5);
    QCOMPARE(changes.count(), 1);
}

void TestRichTextBox::fontSizeKeepsOffset()
{
    RichTextBox box;
    box.setText(QStringLiteral("x2"));
    select(box, 1, 1);
    box.setSelFontSize(10);
    box.setSelCharOffset(60);
    box.setSelFontSize(20);
    QCOMPARE(box.SelCharOffset(), std::optional<double>(60));
    const QTextCharFormat format = box.document()->firstBlock().begin().fragment().charFormat();
    const QTextCharFormat raised = (++box.document()->firstBlock().begin()).fragment().charFormat();
    QCOMPARE(format.baselineOffset(), 0.0);
    // 3 points (60 twips) above the line of a 20-point character: 15 % of its size.
    QCOMPARE(raised.baselineOffset(), 15.0);
}

// Underlining hidden text shows the underline itself; taking it away shows the mark again.
void TestRichTextBox::hiddenTextKeepsItsMarkWithoutUnderline()
{
    RichTextBox box;
    box.setSelRTF(QStringLiteral("{\\rtf1 a{\\v bc}d}"));
    select(box, 1, 2);
    const auto shown = [&box] {
        QTextCursor at(box.document());
        at.setPosition(2);
        const QTextCharFormat format = at.charFormat();
        const QTextCharFormat::UnderlineStyle line = format.underlineStyle();
        return QStringLiteral("%1, %2, %3, %4")
            .arg(line == QTextCharFormat::DotLine               ? QStringLiteral("dotted")
                     : line == QTextCharFormat::SingleUnderline ? QStringLiteral("single")
                                                                : QStringLiteral("other line"))
            .arg(TextFormat::ownUnderline(format) ? QStringLiteral("underlined")
                                                  : QStringLiteral("not underlined"))
            .arg(format.underlineColor().name())
            .arg(TextFormat::hidden(format) ? QStringLiteral("hidden") : QStringLiteral("shown"));
    };
    const QString marked = shown();
    QCOMPARE(marked, QStringLiteral("dotted, not underlined, #808080, hidden"));
    box.setSelUnderline(true);
    QCOMPARE(box.SelUnderline(), std::optional<bool>(true));
    QCOMPARE(shown(), QStringLiteral("single, underlined, #000000, hidden"));
    box.setSelUnderline(false);
    QCOMPARE(box.SelUnderline(), std::optional<bool>(false));
    QCOMPARE(shown(), marked);
}

void TestRichTextBox::scales()
{
    RichTextBox box;
    box.setText(QStringLiteral("a"));
    box.setScale(RichTextBox::Scale::Twips);
    box.setSelIndent(720);
    box.setSelTabs(0, 1417);
    QCOMPARE(box.SelIndent(), std::optional<double>(720));
    QCOMPARE(box.SelTabs(0), std::optional<double>(1417));
    box.setScale(RichTextBox::Scale::Millimetres);
    QCOMPARE(box.SelIndent(), std::optional<double>(12.7));
    // Lines as wide as the margin: 2540 mm are 100 inches of the screen's pixels.
    box.setRightMargin(2540);
    QCOMPARE(box.lineWrapMode(), QTextEdit::FixedPixelWidth);
    QCOMPARE(box.lineWrapColumnOrWidth(), 100 * box.logicalDpiX());
    box.setRightMargin(0);
    QCOMPARE(box.lineWrapMode(), QTextEdit::WidgetWidth);
    box.setScale(RichTextBox::Scale::Twips);
    box.setRightMargin(1440);
    QCOMPARE(box.lineWrapColumnOrWidth(), box.logicalDpiX());
    QCOMPARE(box.RightMargin(), 1440.0);
}

void TestRichTextBox::tabStopsKeepOrder()
{
    RichTextBox box;
    box.setText(QStringLiteral("a\rb"));
    select(box, 0, 3);
    box.setSelTabCount(3);
    box.setSelTabs(0, 30);
    box.setSelTabs(1, 10);
    box.setSelTabs(2, 20);
    QCOMPARE(box.SelTabs(0), std::optional<double>(30));
    QCOMPARE(box.SelTabs(1), std::optional<double>(10));
    QCOMPARE(box.SelTabs(2), std::optional<double>(20));
    QCOMPARE(box.SelTabs(3), std::nullopt);
    box.setSelTabCount(RichTextBox::MaxTabStops + 1);
    box.setSelTabs(RichTextBox::MaxTabStops, 99);
    QCOMPARE(box.SelTabCount(), std::optional<int>(3));
    // Both paragraphs got the list; layout sees it sorted.
    const QTextBlock last = box.document()->lastBlock();
    const QList<QTextOption::Tab> tabs = last.blockFormat().tabPositions();
    QCOMPARE(tabs.size(), 3);
    QVERIFY(tabs[0].position < tabs[1].position && tabs[1].position < tabs[2].position);
}

void TestRichTextBox::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("expected");
    const QString text = QStringLiteral("Der Hund, die Hundehütte und der HUND.");
    QTest::newRow("any case") << text << "hund" << 0 << -1 << 0 << 4;
    QTest::newRow("from start") << text << "hund" << 5 << -1 << 0 << 14;
    QTest::newRow("match case") << text << "HUND" << 0 << -1 << 4 << 33;
    QTest::newRow("whole word") << text << "hund" << 5 << -1 << 2 << 33;
    QTest::newRow("end excludes") << text << "hund" << 5 << 17 << 0 << -1;
    QTest::newRow("end includes") << text << "hund" << 5 << 18 << 0 << 14;
    QTest::newRow("missing") << text << "Katze" << 0 << -1 << 0 << -1;
    QTest::newRow("sharp s stays") << "Die Straße."
                                   << "STRASSE" << 0 << -1 << 0 << -1;
    QTest::newRow("capital sharp s") << "Die Straße."
                                     << "STRAẞE" << 0 << -1 << 0 << 4;
    QTest::newRow("after sharp s") << "Maße und Masse"
                                   << "masse" << 0 << -1 << 2 << 9;
    QTest::newRow("across paragraphs") << "ab\rcd"
                                       << "b\rc" << 0 << -1 << 0 << 1;
    // Letters beyond the basic plane (two UTF-16 units each) have cases too: Deseret, Osage,
    // Adlam, Old Hungarian.
    QTest::newRow("Deseret, other case") << "Ein 𐐨𐐯𐑅 hier"
                                         << "𐐀𐐇𐐝" << 0 << -1 << 0 << 4;
    QTest::newRow("Deseret, match case") << "Ein 𐐨𐐯𐑅 hier"
                                         << "𐐀𐐇𐐝" << 0 << -1 << 4 << -1;
    QTest::newRow("Osage, other case") << "𐒰𐒱 und 𐓘𐓙"
                                       << "𐓘𐓙" << 0 << -1 << 0 << 0;
    QTest::newRow("Adlam, whole word") << "x𞤢𞤣 𞤢𞤣"
                                       << "𞤀𞤁" << 0 << -1 << 2 << 6;
    QTest::newRow("Old Hungarian, other case") << "-𐳀𐳁-"
                                               << "𐲀𐲁" << 0 << -1 << 0 << 1;
    QTest::newRow("behind a letter beyond the plane") << "😀𐐀 Hund"
                                                      << "HUND" << 0 << -1 << 0 << 5;
}

void TestRichTextBox::find()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, options);
    QFETCH(int, expected);
    RichTextBox box;
    box.setText(text);
    select(box, 1, 1);
    QCOMPARE(box.Find(needle, start, end, options), expected);
    QCOMPARE(box.SelStart(), expected < 0 ? 1 : expected);
    QCOMPARE(box.SelLength(), expected < 0 ? 1 : needle.size());
}

void TestRichTextBox::sentenceBySpanAndUpTo()
{
    RichTextBox box;
    box.setText(QStringLiteral("Erster Satz. Zweiter Satz! Dritter."));
    box.setSelStart(17);
    box.UpTo(QStringLiteral(".:?!"), false, false);
    QCOMPARE(box.SelStart(), 12);
    box.Span(QStringLiteral(".:?!"), true, true);
    QCOMPARE(box.SelText(), QStringLiteral(" Zweiter Satz"));
    box.Span(QStringLiteral("!"), true, false);
    QCOMPARE(box.SelText(), QStringLiteral(" Zweiter Satz!"));
}

void TestRichTextBox::upToWithoutHit()
{
    RichTextBox box;
    box.setText(QStringLiteral("ohne Punkt\rzwei"));
    box.setSelStart(4);
    box.UpTo(QStringLiteral("."), false, false);
    QCOMPARE(box.SelStart(), 0);
    box.UpTo(QStringLiteral("."), true, false);
    QCOMPARE(box.SelStart(), 15);
    box.setSelStart(2);
    box.UpTo(QStringLiteral("\r"), true, false);
    QCOMPARE(box.SelStart(), 10);
}

void TestRichTextBox::lineFromCharCountsWrappedLines()
{
    RichTextBox box;
    box.setRightMargin(30);
    const QString longParagraph = QStringLiteral("wort ").repeated(40);
    box.setText(longParagraph + QStringLiteral("\rkurz\rnoch"));
    const QTextBlock first = box.document()->firstBlock();
    QCOMPARE(box.GetLineFromChar(0), 0);
    const int wrapped = box.GetLineFromChar(static_cast<int>(longParagraph.size()));
    QVERIFY(wrapped > 1);
    QCOMPARE(wrapped, first.layout()->lineCount() - 1);
    QCOMPARE(box.GetLineFromChar(static_cast<int>(longParagraph.size()) + 1), wrapped + 1);
    QCOMPARE(box.GetLineFromChar(static_cast<int>(box.Text().size())), wrapped + 2);
    box.setSelStart(0);
    box.setSelText(longParagraph + QStringLiteral("\r"));
    QCOMPARE(box.GetLineFromChar(static_cast<int>(box.Text().size())), 2 * wrapped + 3);
}

void TestRichTextBox::plainFilesKeepEncoding_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("start");
    QTest::newRow("cp1252 crlf") << Fixtures::path("corpus/text/cp1252-crlf.txt")
                                 << QStringLiteral("Grüße");
    QTest::newRow("utf8 lf") << Fixtures::path("corpus/text/utf8-lf.txt") << QString();
}

void TestRichTextBox::plainFilesKeepEncoding()
{
    QFETCH(QString, path);
    QFETCH(QString, start);
    const QByteArray original = fileBytes(path);
    QVERIFY(!original.isEmpty());
    RichTextBox box;
    QCOMPARE(box.LoadFile(path, RichTextBox::rtfText), RichTextBox::LoadResult::Ok);
    QVERIFY(box.Text().startsWith(start));
    QVERIFY(!box.Text().contains(u'\n'));
    QVERIFY(!box.canUndo());
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.txt");
    QVERIFY(box.SaveFile(copy, RichTextBox::rtfText));
    QCOMPARE(fileBytes(copy), original);
}

void TestRichTextBox::loadErrors()
{
    QTemporaryDir dir;
    RichTextBox box;
    box.setText(QStringLiteral("bleibt"));
    QCOMPARE(box.LoadFile(dir.filePath("missing.rtf"), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::AccessError);
    const QString plain = dir.filePath("plain.rtf");
    QVERIFY(writeBytes(plain, "kein RTF"));
    QCOMPARE(box.LoadFile(plain, RichTextBox::rtfRTF), RichTextBox::LoadResult::FormatError);
    QCOMPARE(box.Text(), QStringLiteral("bleibt"));
    // Not UTF-8, so code page 1252; a new character outside it is saved as UTF-8.
    QVERIFY(writeBytes(plain, "Ma\xDF\r\n"));
    QCOMPARE(box.LoadFile(plain, RichTextBox::rtfText), RichTextBox::LoadResult::Ok);
    QCOMPARE(box.Text(), QStringLiteral("Maß\r"));
    box.setSelStart(0);
    box.setSelText(QStringLiteral("€"));
    QVERIFY(box.SaveFile(plain, RichTextBox::rtfText));
    QCOMPARE(fileBytes(plain), QByteArray("\x80Ma\xDF\r\n"));
    box.setSelText(QStringLiteral("→"));
    QVERIFY(box.SaveFile(plain, RichTextBox::rtfText));
    QCOMPARE(fileBytes(plain), QStringLiteral("€→Maß\r\n").toUtf8());
}

void TestRichTextBox::onlyRegularFilesLoad_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<RichTextBox::LoadResult>("result");
    QTest::newRow("named pipe") << "fifo" << RichTextBox::LoadResult::NotRegularFile;
    QTest::newRow("device") << "/dev/zero" << RichTextBox::LoadResult::NotRegularFile;
    QTest::newRow("folder") << "folder" << RichTextBox::LoadResult::NotRegularFile;
    QTest::newRow("larger than a window holds") << "huge" << RichTextBox::LoadResult::TooLarge;
}

void TestRichTextBox::onlyRegularFilesLoad()
{
    QFETCH(QString, kind);
    QFETCH(RichTextBox::LoadResult, result);
    QTemporaryDir dir;
    QString path = kind;
    if (kind == QLatin1String("fifo")) {
        path = dir.filePath("pipe.txt");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == QLatin1String("folder")) {
        path = dir.filePath("ordner.rtf");
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("huge")) {
        // A sparse file: it takes no room and is never read.
        path = dir.filePath("riesig.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(3) << 30));
    }
    RichTextBox box;
    box.setText(QStringLiteral("bleibt"));
    for (const int type : {int(RichTextBox::rtfText), int(RichTextBox::rtfRTF)})
        QCOMPARE(box.LoadFile(path, type), result);
    QCOMPARE(box.Text(), QStringLiteral("bleibt"));
}

void TestRichTextBox::emptyRtfFileIsEmptyDocument()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("leer.rtf");
    QVERIFY(writeBytes(path, QByteArray()));
    RichTextBox box;
    box.setText(QStringLiteral("vorher"));
    QCOMPARE(box.LoadFile(path, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(box.Text(), QString());
    QVERIFY(!box.canUndo());
}

void TestRichTextBox::plainFileSavedUnchangedIsIdentical_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("line separator") << QStringLiteral("eins\u2028zwei\n").toUtf8();
    QTest::newRow("paragraph separator") << QStringLiteral("eins\u2029zwei\n").toUtf8();
    QTest::newRow("noncharacters") << QStringLiteral("a\uFDD0b\uFDD1c\uFDEF").toUtf8();
    QTest::newRow("vertical tab and line separator") << QStringLiteral("a\vb\u2028c\vd").toUtf8();
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\rd\r\n\r\n");
    QTest::newRow("lone cr in lf file") << QByteArray("a\nb\rc\n");
    QTest::newRow("cr only") << QByteArray("a\rb\r\r");
    QTest::newRow("second byte order mark") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFtext");
    QTest::newRow("code page 1252 with separator bytes") << QByteArray("\x81\xE4\r\n\x85\n");
    QTest::newRow("all together")
        << QStringLiteral("\uFEFFÄ\u2029\u2028\r\n\uFDD0\n\r\u2029").toUtf8();
}

void TestRichTextBox::softBreakTypedAfterAFilesSeparatorIsALineEnd_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("saved");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "vertical tab") << QByteArray("a\vb\n") << QByteArray("a\v\nxb\n");
        Keyboard::newRow(way, "line separator") << QStringLiteral("a\u2028b\r\n").toUtf8()
                                                << QStringLiteral("a\u2028\r\nxb\r\n").toUtf8();
    }
}

// The file's own separator stays as it was; what is typed behind it is the user's.
void TestRichTextBox::softBreakTypedAfterAFilesSeparatorIsALineEnd()
{
    QFETCH(Keyboard::Way, way);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QTemporaryDir dir;
    const QString path = dir.filePath("text.txt");
    QVERIFY(writeBytes(path, bytes));
    RichTextBox box;
    QCOMPARE(box.LoadFile(path, RichTextBox::rtfText), RichTextBox::LoadResult::Ok);
    QVERIFY(Keyboard::focus(&box));
    box.setSelStart(2);
    QVERIFY(Keyboard::type(way, QString(), {"shift+Return", "x"}));
    QTRY_COMPARE(box.Text(), QStringLiteral("a\v\vxb\r"));
    QVERIFY(box.SaveFile(path, RichTextBox::rtfText));
    QCOMPARE(fileBytes(path), saved);
}

void TestRichTextBox::plainFileSavedUnchangedIsIdentical()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("text.txt");
    QVERIFY(writeBytes(path, bytes));
    RichTextBox box;
    QCOMPARE(box.LoadFile(path, RichTextBox::rtfText), RichTextBox::LoadResult::Ok);
    const QString copy = dir.filePath("kopie.txt");
    QVERIFY(box.SaveFile(copy, RichTextBox::rtfText));
    QCOMPARE(fileBytes(copy), bytes);
    // An edit elsewhere keeps every special character where it was.
    box.setSelStart(0);
    box.setSelText(QStringLiteral("x"));
    QVERIFY(box.SaveFile(copy, RichTextBox::rtfText));
    const QByteArray edited = fileBytes(copy);
    QVERIFY(edited.endsWith(bytes.mid(bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0)));
}

void TestRichTextBox::lineFromCharLaysOutOnlyUpToItsBlock()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lang.txt");
    QVERIFY(
        writeBytes(path, QByteArray("Eine Zeile Text, die sich wiederholt.\n").repeated(20000)));
    RichTextBox box;
    box.resize(400, 300);
    box.show();
    QCOMPARE(box.LoadFile(path, RichTextBox::rtfText), RichTextBox::LoadResult::Ok);
    const QTextBlock last = box.document()->lastBlock();
    QCOMPARE(box.GetLineFromChar(0), 0);
    const int middle = static_cast<int>(box.document()->findBlockByNumber(100).position()) + 3;
    const int line = box.GetLineFromChar(middle);
    QVERIFY(!last.layout() || last.layout()->lineCount() == 0);
    // Lines wrap at 400 pixels; the count is the same once everything is laid out.
    const int before = box.document()->findBlockByNumber(100).firstLineNumber();
    QVERIFY(line >= 100);
    QVERIFY(box.GetLineFromChar(static_cast<int>(box.Text().size())) >= 20000);
    QCOMPARE(box.GetLineFromChar(middle), line);
    int counted = 0;
    for (QTextBlock block = box.document()->firstBlock(); block.blockNumber() < 100;
         block = block.next())
        counted += block.layout()->lineCount();
    QCOMPARE(before, counted);
}

void TestRichTextBox::lineCountsFollowTheWidth()
{
    RichTextBox box;
    box.setRightMargin(120);
    box.setText(QStringLiteral("wort ").repeated(60) + QStringLiteral("\rende"));
    const int end = static_cast<int>(box.Text().size());
    const int wide = box.GetLineFromChar(end);
    box.setRightMargin(30);
    const int narrow = box.GetLineFromChar(end);
    QVERIFY(narrow > wide);
    QCOMPARE(narrow, box.document()->firstBlock().layout()->lineCount());
    box.setRightMargin(120);
    QCOMPARE(box.GetLineFromChar(end), wide);
}

void TestRichTextBox::lineFromCharStaysRightThroughEdits()
{
    RichTextBox box;
    box.setRightMargin(40);
    QString text;
    for (int i = 0; i < 60; ++i)
        text += QStringLiteral("wort ").repeated(i % 7 * 6) + u'\r';
    box.setText(text);
    // Display lines counted the long way: every paragraph laid out, its lines added up.
    const auto expectedLine = [&box](int position) {
        const QTextDocument *document = box.document();
        const QTextBlock target = document->findBlock(position);
        document->documentLayout()->blockBoundingRect(target);
        int line = 0;
        for (QTextBlock block = document->firstBlock(); block != target; block = block.next())
            line += block.layout()->lineCount();
        return line
            + target.layout()->lineForTextPosition(position - target.position()).lineNumber();
    };
    quint32 seed = 7;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<quint32>(range));
    };
    for (int round = 0; round < 150; ++round) {
        const int size = static_cast<int>(box.Text().size());
        box.setSelStart(next(size + 1));
        if (round % 3 == 0) {
            box.setSelLength(next(40));
            box.setSelText(QString());
        } else {
            box.setSelText(round % 5 ? QStringLiteral("neue worte ").repeated(next(8))
                                     : QStringLiteral("\rabsatz\r"));
        }
        if (round % 50 == 49)
            box.setRightMargin(20 + next(60));
        for (int probe = 0; probe < 4; ++probe) {
            const int position = next(static_cast<int>(box.Text().size()) + 1);
            QCOMPARE(box.GetLineFromChar(position), expectedLine(position));
        }
    }
}

void TestRichTextBox::overlongWordStaysOnOneLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << QByteArray(300000, 'e') << int(RichTextBox::rtfText)
                             << QString(300000, u'e');
    QTest::newRow("joined by no-break spaces")
        << QStringLiteral("a\u00A0").repeated(150000).toUtf8() << int(RichTextBox::rtfText)
        << QStringLiteral("a\u00A0").repeated(150000);
    QTest::newRow("rtf escapes") << "{\\rtf1\\ansi " + QByteArray("\\'e4").repeated(300000) + "}"
                                 << int(RichTextBox::rtfRTF) << QString(300000, u'ä');
}

void TestRichTextBox::overlongWordStaysOnOneLine()
{
    // A word wider than the line is broken at the margin, unless it is so long that breaking it
    // would take the layout ever longer for each line.
    QFETCH(QByteArray, bytes);
    QFETCH(int, type);
    QFETCH(QString, text);
    RichTextBox box;
    box.setRightMargin(30);
    box.setText(QString(300, u'e'));
    QVERIFY(box.GetLineFromChar(299) > 0);
    box.setSelStart(300);
    box.setSelText(QString(5000, u'e'));
    QCOMPARE(box.GetLineFromChar(5300), 0);
    QTemporaryDir dir;
    const QString path = dir.filePath("wort");
    QVERIFY(writeBytes(path, bytes));
    QCOMPARE(box.LoadFile(path, type), RichTextBox::LoadResult::Ok);
    QCOMPARE(box.Text(), text);
    QCOMPARE(box.GetLineFromChar(300000), 0);
    box.setSelStart(150000);
    box.setSelText(QStringLiteral("x"));
    QCOMPARE(box.GetLineFromChar(300001), 0);
}

void TestRichTextBox::saveInReadOnlyFolder_data()
{
    QTest::addColumn<bool>("fileWritable");
    QTest::newRow("writable file is written in place") << true;
    QTest::newRow("read-only file stays") << false;
}

void TestRichTextBox::saveInReadOnlyFolder()
{
    QFETCH(bool, fileWritable);
    if (::geteuid() == 0)
        QSKIP(qPrintable(needsUserWithoutRoot("Folder permissions do not bind the root user")));
    const TestEnvironment env;
    QTemporaryDir dir;
    const QString target = dir.filePath("alt.txt");
    QVERIFY(writeBytes(target, "alter, langer Inhalt"));
    if (!fileWritable)
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    RichTextBox box;
    box.setText(QStringLiteral("neu"));
    const bool saved = box.SaveFile(target, RichTextBox::rtfText).written;
    const bool newFile = box.SaveFile(dir.filePath("neu.txt"), RichTextBox::rtfText).written;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(saved, fileWritable);
    QCOMPARE(fileBytes(target),
             fileWritable ? QByteArray("neu") : QByteArray("alter, langer Inhalt"));
    QVERIFY(!newFile);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"alt.txt"});
}

void TestRichTextBox::overwriteOnFullDisk_data()
{
    QTest::addColumn<int>("newSize");
    QTest::addColumn<bool>("written");
    QTest::newRow("more than the disk takes: old bytes back") << 3000 << false;
    QTest::newRow("what the disk takes") << 900 << true;
    QTest::newRow("shorter than before") << 10 << true;
}

void TestRichTextBox::overwriteOnFullDisk()
{
    QFETCH(int, newSize);
    QFETCH(bool, written);
    // The old bytes are kept in its data folder while the file is written.
    const TestEnvironment env;
    QTemporaryDir dir;
    const QString target = dir.filePath("Notizen.txt");
    const QByteArray old(551, 'a');
    QVERIFY(writeBytes(target, old));
    const QByteArray bytes(newSize, 'n');
    bool saved = false;
    {
        const FileSizeLimit fullDisk(1024);
        saved = FileWrite::overwrite(target, bytes).written;
    }
    QCOMPARE(saved, written);
    QCOMPARE(fileBytes(target), written ? bytes : old);
}

void TestRichTextBox::saveElsewhereReplacesTheFile()
{
    // The new content goes to a new file that takes the old one's place; a program still
    // reading the old file reads the old content, so a failed write could not have harmed it.
    QTemporaryDir dir;
    const QString target = dir.filePath("alt.txt");
    QVERIFY(writeBytes(target, "alt"));
    QFile reader(target);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    RichTextBox box;
    box.setText(QStringLiteral("neu"));
    QVERIFY(box.SaveFile(target, RichTextBox::rtfText));
    QCOMPARE(fileBytes(target), QByteArray("neu"));
    QCOMPARE(reader.readAll(), QByteArray("alt"));
}

void TestRichTextBox::keySignalsInOrder()
{
    RichTextBox box;
    QStringList events;
    connect(&box, &RichTextBox::KeyDown, this, [&](int code, int shift) {
        events << QStringLiteral("down %1 %2").arg(code).arg(shift);
    });
    connect(&box, &RichTextBox::KeyPress, this,
            [&](int ascii) { events << QStringLiteral("press %1").arg(ascii); });
    connect(&box, &RichTextBox::Change, this, [&] { events << QStringLiteral("change"); });
    QTest::keyClick(&box, Qt::Key_A);
    QTest::keyClick(&box, Qt::Key_F3);
    QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(events,
             QStringList({"down 65 0", "press 97", "change", "down 114 0", "down 17 2", "down 66 2",
                          "press 2"}));
    QCOMPARE(box.Text(), QStringLiteral("a"));
}

void TestRichTextBox::cancelledKeyIsSwallowed()
{
    RichTextBox box;
    connect(&box, &RichTextBox::KeyPress, &box, [&](int ascii) {
        if (ascii == 'x')
            box.cancelKey();
    });
    QTest::keyClicks(&box, QStringLiteral("axb"));
    QCOMPARE(box.Text(), QStringLiteral("ab"));
}

void TestRichTextBox::selChangeOncePerMove()
{
    RichTextBox box;
    box.setText(QStringLiteral("eins zwei"));
    QSignalSpy moves(&box, &RichTextBox::SelChange);
    box.setSelStart(3);
    QCOMPARE(moves.count(), 1);
    box.setSelLength(2);
    QCOMPARE(moves.count(), 2);
    box.setSelBold(true);
    box.setSelAlignment(RichTextBox::rtfCenter);
    QCOMPARE(moves.count(), 2);
    QTest::keyClick(&box, Qt::Key_Right);
    QCOMPARE(moves.count(), 3);
}

void TestRichTextBox::bulletIsPainted()
{
    RichTextBox box;
    box.resize(300, 100);
    box.setText(QStringLiteral("Punkt"));
    box.setSelIndent(5);
    box.setBulletIndent(5);
    const QImage plain = box.grab().toImage();
    box.setSelBullet(true);
    const QImage bulleted = box.grab().toImage();
    QVERIFY(plain != bulleted);
    box.setSelBullet(false);
    QCOMPARE(box.grab().toImage(), plain);
}

void TestRichTextBox::bulletStandsBeforeText_data()
{
    QTest::addColumn<QByteArray>("rtf"); // else set as the paragraph dialog sets bullets
    QTest::addColumn<double>("indent");
    QTest::addColumn<double>("hanging");
    QTest::addColumn<double>("bulletIndent");
    const QByteArray head = "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}{\\f1 Symbol;}}";
    const QByteArray bullet = "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0"
                              "{\\pntxtb\\'B7}}";
    QTest::newRow("read, hanging paragraph")
        << head + bullet + "\\fi-360\\li720\\f0\\fs24 Hallo Welt\\par}" << 0.0 << 0.0 << 0.0;
    QTest::newRow("read, no indents")
        << head + bullet + "\\f0\\fs24 Hallo Welt\\par}" << 0.0 << 0.0 << 0.0;
    QTest::newRow("read, large letters")
        << head + bullet + "\\fi-360\\li360\\f0\\fs48 Hallo Welt\\par}" << 0.0 << 0.0 << 0.0;
    QTest::newRow("read, very large letters")
        << head + bullet + "\\fi-360\\li360\\f0\\fs200 Hallo\\par}" << 0.0 << 0.0 << 0.0;
    QTest::newRow("dialog, first line at 0") << QByteArray() << 0.0 << 0.0 << 0.0;
    QTest::newRow("dialog, first line at 10") << QByteArray() << 10.0 << -10.0 << 0.0;
    QTest::newRow("dialog, hanging 5") << QByteArray() << 10.0 << 5.0 << 5.0;
}

void TestRichTextBox::bulletStandsBeforeText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(double, indent);
    QFETCH(double, hanging);
    QFETCH(double, bulletIndent);
    RichTextBox box;
    box.resize(500, 240);
    if (rtf.isEmpty()) {
        box.setText(QStringLiteral("Hallo Welt"));
        box.setSelIndent(indent);
        box.setSelHangingIndent(hanging);
        box.setSelBullet(true);
        box.setBulletIndent(bulletIndent);
    } else {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("punkt.rtf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rtf);
        file.close();
        QCOMPARE(box.LoadFile(path, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
        QCOMPARE(box.SelBullet(), std::optional<bool>(true));
    }
    box.show();
    box.setSelStart(0);
    const QRect caret = box.cursorRect();
    const QImage shot = box.viewport()->grab().toImage();
    const int dark = qGray(box.palette().color(QPalette::Text).rgb()) + 100;
    const auto inked = [&](int x) {
        for (int y = caret.top(); y <= caret.bottom(); ++y) {
            if (qGray(shot.pixel(x, y)) < dark)
                return true;
        }
        return false;
    };
    // The bullet's ink stands wholly before the text's first letter, with room between.
    int bulletLeft = -1;
    int bulletRight = -1;
    for (int x = 0; x < caret.left(); ++x) {
        if (inked(x)) {
            bulletLeft = bulletLeft < 0 ? x : bulletLeft;
            bulletRight = x;
        }
    }
    QVERIFY2(bulletLeft >= 0, "no bullet before the text");
    QVERIFY(bulletRight < caret.left() - 1);
    // And it stands at the first line's indent.
    const double firstLineMm = *box.SelIndent();
    const int indentX
        = static_cast<int>(box.document()->documentMargin() + pixelsFromMm(box, firstLineMm));
    QVERIFY2(std::abs(bulletLeft - indentX) <= caret.height() / 4,
             qPrintable(QStringLiteral("bullet at %1, indent at %2").arg(bulletLeft).arg(indentX)));
}

void TestRichTextBox::copyGivesPlainAndRtf()
{
    RichTextBox box;
    box.setText(QStringLiteral("eins\rzwei"));
    select(box, 2, 5);
    box.copy();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), QStringLiteral("ns\nzw"));
    QVERIFY(data->data(QStringLiteral("text/rtf")).startsWith("{\\rtf"));
    box.setSelStart(0);
    box.paste();
    QCOMPARE(box.Text(), QStringLiteral("ns\rzweins\rzwei"));
}

void TestRichTextBox::pasteTakesRtfWithoutPlainText()
{
    RichTextBox source;
    source.setText(QStringLiteral("fett"));
    select(source, 0, 4);
    source.setSelBold(true);
    auto *data = new QMimeData;
    data->setData(QStringLiteral("application/rtf"), source.SelRTF().toLatin1());
    QGuiApplication::clipboard()->setMimeData(data);
    RichTextBox box;
    box.setText(QStringLiteral("[]"));
    box.setSelStart(1);
    box.paste();
    QCOMPARE(box.Text(), QStringLiteral("[fett]"));
    select(box, 1, 4);
    QCOMPARE(box.SelBold(), std::optional<bool>(true));
}

void TestRichTextBox::selRtfReplacesSelection()
{
    RichTextBox source;
    source.setText(QStringLiteral("eins zwei drei"));
    select(source, 5, 4);
    source.setSelBold(true);
    select(source, 0, 14);
    const QString rtf = source.SelRTF();
    QVERIFY(rtf.startsWith(QStringLiteral("{\\rtf")));
    RichTextBox box;
    box.setText(QStringLiteral("[X]"));
    select(box, 1, 1);
    box.setSelRTF(rtf);
    QCOMPARE(box.Text(), QStringLiteral("[eins zwei drei]"));
    QCOMPARE(box.SelStart(), 15);
    select(box, 6, 4);
    QCOMPARE(box.SelBold(), std::optional<bool>(true));
    select(box, 1, 4);
    QCOMPARE(box.SelBold(), std::optional<bool>(false));
    box.setSelRTF(QStringLiteral("{kein rtf}"));
    QCOMPARE(box.Text(), QStringLiteral("[{kein rtf} zwei drei]"));
    select(box, 0, 11);
    box.setSelRTF(QString());
    QCOMPARE(box.Text(), QStringLiteral(" zwei drei]"));
}

void TestRichTextBox::rtfFileProperties_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    const auto row
        = [](const char *needle, int length, const char *property, const QVariant &value) {
              QTest::addRow("%s %s", needle, property)
                  << QString::fromUtf8(needle) << length << QString::fromLatin1(property) << value;
          };
    row("dies", 4, "Bold", true);
    row("Brief", 5, "Italic", true);
    row("Unterstreichung", 15, "Underline", true);
    row("Streichung", 10, "StrikeThru", true);
    row("ist ein", 7, "Bold", false);
    row("Einzug:", 7, "Indent", 567.0);
    row("Einzug:", 7, "HangingIndent", 567.0);
    row("Einzug:", 7, "TabCount", 3);
    row("Einzug:", 7, "Tabs2", 4535.0);
    row("punkt eins", 10, "Bullet", true);
    row("Zentriert", 9, "Alignment", 2);
    row("Zentriert", 9, "Color", 0x0000FF);
    row("Zentriert", 9, "FontSize", 16.0);
    row("Arial", 5, "Alignment", 1);
    row("Arial", 5, "FontName", QStringLiteral("Arial"));
    row("Arial", 5, "FontSize", 10.0);
    row("Rechter Einzug", 14, "RightIndent", 1701.0);
    row("H2O", 1, "CharOffset", 0.0);
    row("2O", 1, "CharOffset", 60.0);
    row("2 als", 1, "CharOffset", -60.0);
    row("2O", 2, "CharOffset", QVariant());
}

void TestRichTextBox::rtfFileProperties()
{
    QFETCH(QString, needle);
    QFETCH(int, length);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    RichTextBox box;
    box.setScale(RichTextBox::Scale::Twips);
    QCOMPARE(box.LoadFile(Fixtures::path("corpus/rtf/re-brief.rtf"), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    QVERIFY(box.Find(needle, 0, -1, RichTextBox::rtfMatchCase) >= 0);
    box.setSelLength(length);
    QCOMPARE(properties()[property].get(box), value);
}

void TestRichTextBox::rtfFileRoundTrip()
{
    RichTextBox box;
    QSignalSpy changes(&box, &RichTextBox::Change);
    QCOMPARE(box.LoadFile(Fixtures::path("corpus/rtf/re-brief.rtf"), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    QCOMPARE(changes.count(), 1);
    QVERIFY(!box.canUndo());
    QVERIFY(box.Text().startsWith(QStringLiteral("Sehr geehrte Damen und Herren, dies ist")));
    select(box, 0, static_cast<int>(box.Text().size()));
    QCOMPARE(box.SelBold(), std::nullopt);
    QCOMPARE(box.SelAlignment(), std::nullopt);
    QTemporaryDir dir;
    const QString copy = dir.filePath("kopie.rtf");
    QVERIFY(box.SaveFile(copy, RichTextBox::rtfRTF));
    RichTextBox again;
    again.setRightMargin(30);
    QCOMPARE(again.LoadFile(copy, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(again.Text(), box.Text());
    QVERIFY(again.GetLineFromChar(static_cast<int>(again.Text().size()))
            > 2 * again.document()->blockCount());
    QCOMPARE(again.document()->blockCount(), box.document()->blockCount());
    again.Find(QStringLiteral("Einzug:"));
    QCOMPARE(again.SelTabs(1), std::optional<double>(2835.0 / TextFormat::twipsPerMm));
}

void TestRichTextBox::justifiedAlignmentReadsNull()
{
    RichTextBox box;
    box.setSelRTF(QStringLiteral("{\\rtf1\\pard\\qj Blocksatz\\par\\pard\\qc Mitte\\par}"));
    select(box, 2, 0);
    QCOMPARE(box.SelAlignment(), std::nullopt);
    select(box, 0, static_cast<int>(box.Text().size()));
    QCOMPARE(box.SelAlignment(), std::nullopt);
    select(box, 0, 9);
    QVERIFY(box.SelRTF().contains(QStringLiteral("\\qj ")));
    box.setSelAlignment(RichTextBox::rtfRight);
    QCOMPARE(box.SelAlignment(), std::optional<int>(RichTextBox::rtfRight));
    QVERIFY(!box.SelRTF().contains(QStringLiteral("\\qj")));
    select(box, 12, 0);
    QCOMPARE(box.SelAlignment(), std::optional<int>(RichTextBox::rtfCenter));
}

// Numbers and bullets of a file's lists stand in the hanging part before the text.
void TestRichTextBox::listLabelsArePainted()
{
    RichTextBox box;
    box.resize(400, 260);
    box.setSelRTF(QStringLiteral(
        "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}}{\\*\\listtable{\\list{\\listlevel\\levelnfc0"
        "{\\leveltext\\'02\\'00.;}\\fi-567\\li1134}\\listid1}{\\list{\\listlevel\\levelnfc23"
        "{\\leveltext\\'01\\u8226 ?;}\\fi-567\\li1134}\\listid2}}{\\listoverridetable"
        "{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}\\fs20"
        "\\pard\\qj\\sa240 Ein Absatz im Blocksatz, lang genug, um umzubrechen, mit Abstand "
        "danach, "
        "und noch ein wenig mehr Text.\\par"
        "\\pard\\ls1 Eins\\par\\pard\\ls1 Zwei\\par\\pard\\ls2 Punkt\\par"
        "\\pard\\sb240\\sl480\\slmult1 Doppelt\\par zweite Zeile\\par}"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QImage shot = box.grab().toImage();
    const QString folder = screenshotFolder();
    QVERIFY(shot.save(folder + QStringLiteral("/richtextbox-lists.png")));

    // Each list paragraph has ink between the first line's left edge and its text.
    for (const char *word : {"Eins", "Zwei", "Punkt"}) {
        QVERIFY(box.Find(QString::fromLatin1(word)) >= 0);
        QTextCursor start = box.textCursor();
        start.setPosition(start.selectionStart());
        const QRect text = box.cursorRect(start);
        const int labelLeft = qRound(pixelsFromMm(box, 10)) - 2;
        bool ink = false;
        for (int x = labelLeft; x < text.left() - 6; ++x) {
            for (int y = text.top(); y < text.bottom(); ++y)
                ink = ink || qGray(shot.pixel(box.viewport()->mapTo(&box, QPoint(x, y)))) < 128;
        }
        QVERIFY2(ink, word);
    }
}

void TestRichTextBox::bulletReplacesNumber()
{
    RichTextBox box;
    box.setSelRTF(QStringLiteral(
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
        "\\listid1}}{\\listoverridetable{\\listoverride\\listid1\\ls1}}"
        "\\pard\\ls1 eins\\par\\pard\\ls1 zwei\\par}"));
    select(box, 6, 0);
    QVERIFY(box.textCursor().block().textList());
    QCOMPARE(box.SelBullet(), std::optional<bool>(false));
    box.setSelBullet(true);
    QCOMPARE(box.SelBullet(), std::optional<bool>(true));
    QVERIFY(!box.textCursor().block().textList());
    QVERIFY(box.document()->begin().textList());
    select(box, 0, static_cast<int>(box.Text().size()));
    const QString rtf = box.SelRTF();
    QCOMPARE(rtf.count(QStringLiteral("\\pnlvlblt")), 1);
    QCOMPARE(rtf.count(QStringLiteral("{\\listtext 1.")), 1);
}

void TestRichTextBox::selPrintPrintsSelectionOrAll()
{
    QTemporaryDir dir;
    RichTextBox box;
    box.setText(QStringLiteral("Seite eins\rund mehr ").repeated(200));
    const auto pages = [&](const QString &name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        box.SelPrint(printer);
        return fileBytes(dir.filePath(name)).count("/Type /Page\n");
    };
    const qsizetype all = pages(QStringLiteral("alles.pdf"));
    select(box, 0, 5);
    const qsizetype selection = pages(QStringLiteral("auswahl.pdf"));
    QCOMPARE(selection, 1);
    QVERIFY(all > 1);
}

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
