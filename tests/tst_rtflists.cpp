// Lists of RTF files: the labels and levels other word processors show, kept through an edit, a
// save and a second reading.
#include "tests/support/RtfFiles.h"
#include "tests/support/TestEnvironment.h"
#include "text/RichTextBox.h"
#include "text/TextFormat.h"
#include "text/rtf/RtfReader.h"
#include "text/rtf/RtfWriter.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace {

// Each paragraph with the label shown before it, its bullet's own font in brackets, indented by
// its level in its file's list.
QStringList labelledOnLevels(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        QString label;
        if (TextFormat::bullet(format)) {
            label = TextFormat::bulletText(format);
            if (!TextFormat::bulletFont(format).isEmpty())
                label += QLatin1Char('[') + TextFormat::bulletFont(format) + QLatin1Char(']');
        } else if (const QTextList *list = block.textList()) {
            label = list->itemText(block);
        }
        const std::optional<TextFormat::ListLevel> level = TextFormat::listLevel(format);
        const QString indent(level ? 2 * level->level : 0, QLatin1Char(' '));
        lines.append(label.isEmpty() ? block.text()
                                     : indent + label + QLatin1Char(' ') + block.text());
    }
    return lines;
}

// Opens the fixture, types "!" behind its first paragraph, saves and reads the copy again.
struct RoundTrip
{
    explicit RoundTrip(const QString &file)
    {
        if (box.LoadFile(RtfFiles::fixture(file), RichTextBox::rtfRTF)
            != RichTextBox::LoadResult::Ok)
            return;
        QTextCursor cursor(box.document()->firstBlock());
        cursor.movePosition(QTextCursor::EndOfBlock);
        box.setTextCursor(cursor);
        QTest::keyClicks(&box, QStringLiteral("!"));
        opened = true;
    }
    bool save()
    {
        const QString saved = environment.path(QStringLiteral("saved.rtf"));
        bytes = RtfFiles::saveAndRead(box, saved);
        return again.LoadFile(saved, RichTextBox::rtfRTF) == RichTextBox::LoadResult::Ok;
    }

    TestEnvironment environment;
    RichTextBox box;
    RichTextBox again;
    QByteArray bytes;
    bool opened = false;
};

} // namespace

class TestRtfLists : public QObject
{
    Q_OBJECT

private slots:
    void labelsAndLevelsStayThroughASave_data();
    void labelsAndLevelsStayThroughASave();
    void malformedListTablesReadAndSaveAsText_data();
    void malformedListTablesReadAndSaveAsText();
};

void TestRtfLists::labelsAndLevelsStayThroughASave_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines"); // after "!" is typed behind the first paragraph
    QTest::addColumn<QByteArrayList>("written");

    QTest::newRow("list going on after its sub-lists")
        << QStringLiteral("list-continued.rtf")
        << QStringList {"Anleitung!",
                        "1. Schritt 1",
                        "2. Schritt 2",
                        "3. Schritt 3",
                        "  a) Teil a von 3",
                        "  b) Teil b von 3",
                        "4. Schritt 4",
                        "5. Schritt 5",
                        "6. Schritt 6",
                        "7. Schritt 7",
                        "  a) Teil a von 7",
                        "  b) Teil b von 7",
                        "8. Schritt 8",
                        "9. Schritt 9",
                        "10. Schritt 10",
                        "11. Schritt 11",
                        "Ende"}
        << QByteArrayList {"{\\listtext 4.\\tab}\\ls1\\ilvl0"};
    QTest::newRow("list item ending a table cell")
        << QStringLiteral("list-cell.rtf")
        << QStringList {"Aufgaben!", "1. Einkaufen", "2. Kochen\tMontag", "Danach"}
        << QByteArrayList {"{\\listtext 2.\\tab}\\ls1\\ilvl0"};
    QTest::newRow("headings numbered by their styles")
        << QStringLiteral("headings.rtf")
        << QStringList {"1 INTRODUCTION!", "Worum es geht.", "  1.1 Scope", "  1.2 Terms",
                        "2 DESIGN",        "  2.1 Parts",    "Ende."}
        << QByteArrayList {"{\\leveltext\\'03\\'00.\\'01;}{\\levelnumbers\\'01\\'03;}"};
    QTest::newRow("override's own level format")
        << QStringLiteral("list-override-format.rtf")
        << QStringList {"Liste!", "\u2022 eins", "\u2022 zwei", "Ende"}
        << QByteArrayList {"\\levelnfc23", "{\\leveltext\\'01\\u-3913?;}{\\levelnumbers;}\\f",
                           "\\ls1\\ilvl0"};
    QTest::newRow("level text without a number")
        << QStringLiteral("list-literal-label.rtf")
        << QStringList {"Vorher!", "\u2022 Punkt eins", "\u2022 Punkt zwei", "Nachher"}
        << QByteArrayList {"\\levelnfc23", "{\\pntext\\f"};
    QTest::newRow("levels of one list")
        << QStringLiteral("list-levels.rtf")
        << QStringList {"Schritte!",
                        "1. Erster",
                        "  a) Unterpunkt",
                        "2. Zweiter",
                        "Punkte",
                        "\u2022[OpenSymbol] Obst",
                        "  \u25e6[OpenSymbol] Apfel",
                        "    \u25aa[OpenSymbol] Boskop",
                        "Ende"}
        << QByteArrayList {
               "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}",
               "\\levelnfc4\\leveljc0\\levelstartat1\\levelfollow0{\\leveltext\\'02\\'01);}",
               "{\\leveltext\\'01\\u9702?;}", "\\ls1\\ilvl1", "\\ls2\\ilvl2"};
    QTest::newRow("label fonts") << QStringLiteral("list-label-fonts.rtf")
                                 << QStringList {"Zutaten!", "\u2022 Mehl",
                                                 "  o[Courier New] Weizen",
                                                 "    \uf0a7[Wingdings] Type 405", "Ende"}
                                 << QByteArrayList {"\\fcharset2 Symbol;", "\\fcharset2 Wingdings;",
                                                    "{\\leveltext\\'01\\u-3913?;}",
                                                    "{\\leveltext\\'01o;}",
                                                    "{\\leveltext\\'01\\u-3929?;}"};
    // Velmar counts from 1; other word processors read the start numbers.
    QTest::newRow("start numbers") << QStringLiteral("list-start.rtf")
                                   << QStringList {"Fortsetzung!", "1. F\u00fcnfter",
                                                   "  i. Dritter darunter", "2. Sechster", "Ende"}
                                   << QByteArrayList {"\\levelnfc0\\leveljc0\\levelstartat5",
                                                      "\\levelnfc2\\leveljc0\\levelstartat3"};
}

void TestRtfLists::labelsAndLevelsStayThroughASave()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QFETCH(QByteArrayList, written);
    RoundTrip trip(file);
    QVERIFY(trip.opened);
    QCOMPARE(labelledOnLevels(*trip.box.document()), lines);

    QVERIFY(trip.save());
    for (const QByteArray &part : written)
        QVERIFY2(trip.bytes.contains(part), (part + "\n" + trip.bytes).constData());
    QCOMPARE(labelledOnLevels(*trip.again.document()), lines);
}

void TestRtfLists::malformedListTablesReadAndSaveAsText_data()
{
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("override inside an override's level")
        << QByteArray("{\\rtf1{\\*\\listoverridetable{\\listoverride{\\lfolevel\\listoverride"
                      "{\\listlevel\\levelstartat3{\\leveltext\\'01x;}}\\levelstartat2}\\ls1}}"
                      "\\ls1 A\\par}");
    QTest::newRow("list table in a field's instruction") << QByteArray(
        "{\\rtf1{\\field{\\*\\fldinst {\\*\\listoverridetable{\\listoverride"
        "\\listid9\\ls1}} PAGE}{\\fldrslt 1}}\\par{\\*\\listtable{\\list{\\listlevel\\levelnfc23"
        "\\levelstartat0{\\leveltext\\'01\\u8226 ?;}}\\listid7}}{\\*\\listoverridetable"
        "{\\listoverride\\listid7\\ls1}}\\pard\\ls1{\\listtext x\\tab}A\\par}");
    QTest::newRow("override levels outside an override")
        << QByteArray("{\\rtf1{\\lfolevel{\\listlevel\\levelstartat3}}{\\*\\listoverridetable"
                      "{\\lfolevel{\\lfolevel\\levelstartat2}}\\ls1}\\ls1 A\\par}");
}

void TestRtfLists::malformedListTablesReadAndSaveAsText()
{
    QFETCH(QByteArray, data);
    QTextDocument document;
    QTextCursor cursor(&document);
    QVERIFY(rtf::read(data, cursor).ok);
    QCOMPARE(document.lastBlock().text(), QStringLiteral("A"));

    QTextDocument copy;
    QTextCursor copyCursor(&copy);
    QVERIFY(rtf::read(rtf::write(document), copyCursor).ok);
    QCOMPARE(copy.toPlainText(), document.toPlainText());
}

QTEST_MAIN(TestRtfLists)
#include "tst_rtflists.moc"
