// Numbered lists of RTF files: the numbers other word processors show, kept through an edit, a
// save and a second reading.
#include "tests/support/RtfFiles.h"
#include "tests/support/TestEnvironment.h"
#include "text/RichTextBox.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace {

// Each paragraph with the label its list shows before it.
QStringList labelled(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextList *list = block.textList();
        lines.append(list ? list->itemText(block) + QLatin1Char(' ') + block.text() : block.text());
    }
    return lines;
}

} // namespace

class TestRtfLists : public QObject
{
    Q_OBJECT

private slots:
    void numbersStayAsTheOriginalsThroughASave_data();
    void numbersStayAsTheOriginalsThroughASave();
};

void TestRtfLists::numbersStayAsTheOriginalsThroughASave_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines"); // after "!" is typed behind the first paragraph
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("list going on after its sub-lists")
        << QStringLiteral("list-continued.rtf")
        << QStringList {"Anleitung!",
                        "1. Schritt 1",
                        "2. Schritt 2",
                        "3. Schritt 3",
                        "a) Teil a von 3",
                        "b) Teil b von 3",
                        "4. Schritt 4",
                        "5. Schritt 5",
                        "6. Schritt 6",
                        "7. Schritt 7",
                        "a) Teil a von 7",
                        "b) Teil b von 7",
                        "8. Schritt 8",
                        "9. Schritt 9",
                        "10. Schritt 10",
                        "11. Schritt 11",
                        "Ende"}
        << QByteArray("{\\listtext 4.\\tab}\\ls1\\ilvl0");
    QTest::newRow("list item ending a table cell")
        << QStringLiteral("list-cell.rtf")
        << QStringList {"Aufgaben!", "1. Einkaufen", "2. Kochen\tMontag", "Danach"}
        << QByteArray("{\\listtext 2.\\tab}\\ls1\\ilvl0");
    QTest::newRow("headings numbered by their styles")
        << QStringLiteral("headings.rtf")
        << QStringList {"1 INTRODUCTION!", "Worum es geht.", "1.1 Scope", "1.2 Terms",
                        "2 DESIGN",        "2.1 Parts",      "Ende."}
        << QByteArray("{\\leveltext\\'032.\\'00;}");
}

void TestRtfLists::numbersStayAsTheOriginalsThroughASave()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, written);
    TestEnvironment environment;
    const QString saved = environment.path(QStringLiteral("saved.rtf"));

    RichTextBox box;
    QCOMPARE(box.LoadFile(RtfFiles::fixture(file), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    QTextCursor cursor(box.document()->firstBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    box.setTextCursor(cursor);
    QTest::keyClicks(&box, QStringLiteral("!"));
    QCOMPARE(labelled(*box.document()), lines);

    const QByteArray bytes = RtfFiles::saveAndRead(box, saved);
    QVERIFY2(bytes.contains(written), bytes.constData());
    RichTextBox again;
    QCOMPARE(again.LoadFile(saved, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(labelled(*again.document()), lines);
}

QTEST_MAIN(TestRtfLists)
#include "tst_rtflists.moc"
