// Fields of RTF files: their instructions kept around the results the user edits, through
// typing, deleting, Undo and a save.
#include "tests/support/Keyboard.h"
#include "tests/support/RtfFiles.h"
#include "tests/support/TestEnvironment.h"
#include "text/RichTextBox.h"
#include "text/TextField.h"

#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace {

const QString fieldsFixture = RtfFiles::fixture(QStringLiteral("fields.rtf"));

QString paragraphs(const QTextDocument &document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts.append(block.text());
    return texts.join(QLatin1Char('|'));
}

// Each field's kind (the instruction's first upper-case word) and its result, in text order.
QStringList fields(const QTextDocument &document)
{
    static const QRegularExpression kind(QStringLiteral("\\b[A-Z]{3,}\\b"));
    QStringList result;
    int last = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QList<TextField::Field> around = TextField::of(it.fragment().charFormat());
            if (around.isEmpty()) {
                last = 0;
                continue;
            }
            if (around.last().id == last) {
                result.last() += it.fragment().text();
                continue;
            }
            last = around.last().id;
            result.append(kind.match(QString::fromLatin1(around.last().instruction)).captured()
                          + QLatin1Char(' ') + it.fragment().text());
        }
    }
    return result;
}

bool placeAt(RichTextBox &box, const QString &text, bool atEnd)
{
    QTextCursor found = box.document()->find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return false;
    if (atEnd)
        found.setPosition(found.selectionEnd());
    else
        found.setPosition(found.selectionStart());
    box.setTextCursor(found);
    return true;
}

QByteArray saved(RichTextBox &box, const TestEnvironment &environment)
{
    return RtfFiles::saveAndRead(box, environment.path(QStringLiteral("saved.rtf")));
}

const QStringList fixtureFields {QStringLiteral("HYPERLINK Beispiel"),
                                 QStringLiteral("HYPERLINK Ziel"), QStringLiteral("PAGE 1"),
                                 QStringLiteral("NUMPAGES 3"), QStringLiteral("FORMTEXT Muster")};

} // namespace

class TestRtfFields : public QObject
{
    Q_OBJECT

private slots:
    void keepsInstructionsThroughEdits_data();
    void keepsInstructionsThroughEdits();
    void deletedResultTakesItsFieldAndUndoBringsItBack();
    void tableOfContentsSpansItsParagraphs();
};

void TestRtfFields::keepsInstructionsThroughEdits_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QString>("at"); // the caret goes before this text, or behind it with "|"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("written");

    const QString rest = QStringLiteral("|1 von 3|Name: Muster|Ziel");
    QStringList inside = fixtureFields;
    inside[0] = QStringLiteral("HYPERLINK Bei-spiel");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "typed behind a hyperlink")
            << QStringLiteral("Beispiel|") << QStringLiteral("e")
            << QStringLiteral("Mehr unter Beispiele und im Kapitel Ziel.") + rest << fixtureFields
            << QByteArray("{\\fldrslt\\ul\\cf1 Beispiel}}\\ul\\cf1 e\\ulnone\\cf0  und");
        Keyboard::newRow(way, "typed inside a result")
            << QStringLiteral("spiel") << QStringLiteral("-")
            << QStringLiteral("Mehr unter Bei-spiel und im Kapitel Ziel.") + rest << inside
            << QByteArray("{\\fldrslt\\ul\\cf1 Bei-spiel}}");
        Keyboard::newRow(way, "typed before a field that starts a paragraph")
            << QStringLiteral("1 von") << QStringLiteral("Seite ")
            << QStringLiteral("Mehr unter Beispiel und im Kapitel Ziel.|Seite 1 von 3|Name: "
                              "Muster|Ziel")
            << fixtureFields << QByteArray("\\pard Seite {\\field{\\*\\fldinst {");
    }
}

void TestRtfFields::keepsInstructionsThroughEdits()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(QString, at);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, written);
    TestEnvironment environment;

    RichTextBox box;
    box.resize(600, 300);
    box.show();
    QCOMPARE(box.LoadFile(fieldsFixture, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(::fields(*box.document()), fixtureFields);
    QVERIFY(Keyboard::focus(&box));
    QVERIFY(placeAt(box, at.chopped(at.endsWith(QLatin1Char('|')) ? 1 : 0),
                    at.endsWith(QLatin1Char('|'))));
    QVERIFY(Keyboard::type(way, typed));
    QTRY_COMPARE(paragraphs(*box.document()), text);
    QCOMPARE(::fields(*box.document()), fields);

    const QByteArray file = saved(box, environment);
    QVERIFY2(file.contains(written), file.constData());
    // The instructions as the file wrote them: targets, bookmark names, the form field's data.
    for (const char *instruction :
         {"HYPERLINK \"https://example.org/\" }", "HYPERLINK \\\\l \"_Ziel\" }", " PAGE }",
          " NUMPAGES }", "{\\*\\ffname Text1}{\\*\\ffdeftext Muster}"})
        QVERIFY2(file.contains(instruction), instruction);
    RichTextBox again;
    QCOMPARE(again.LoadFile(environment.path(QStringLiteral("saved.rtf")), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    QCOMPARE(paragraphs(*again.document()), text);
    QCOMPARE(::fields(*again.document()), fields);
}

void TestRtfFields::deletedResultTakesItsFieldAndUndoBringsItBack()
{
    TestEnvironment environment;
    RichTextBox box;
    QCOMPARE(box.LoadFile(fieldsFixture, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QVERIFY(placeAt(box, QStringLiteral("Beispiel"), false));
    QTextCursor cursor = box.textCursor();
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 8);
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.document()->firstBlock().text(),
             QStringLiteral("Mehr unter  und im Kapitel Ziel."));
    QCOMPARE(::fields(*box.document()), fixtureFields.mid(1));
    QVERIFY(!saved(box, environment).contains("example.org"));

    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.document()->firstBlock().text(),
             QStringLiteral("Mehr unter Beispiel und im Kapitel Ziel."));
    QCOMPARE(::fields(*box.document()), fixtureFields);
    QVERIFY(saved(box, environment).contains("HYPERLINK \"https://example.org/\""));
}

void TestRtfFields::tableOfContentsSpansItsParagraphs()
{
    TestEnvironment environment;
    RichTextBox box;
    QCOMPARE(box.LoadFile(RtfFiles::fixture(QStringLiteral("toc.rtf")), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    QTextCursor cursor(box.document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    box.setTextCursor(cursor);
    QTest::keyClicks(&box, QStringLiteral("!"));
    const QByteArray file = saved(box, environment);
    // One table of contents around both entries; the second entry's paragraph keeps its indent
    // when the field closes inside it.
    QCOMPARE(file.count("TOC \\\\o \"1-3\""), 1);
    QVERIFY2(file.contains("\\par\r\n\\pard\\li240\\sa100\\tx9062{\\field{\\*\\fldinst {"),
             file.constData());
    QVERIFY2(file.contains("{\\fldrslt 2}}}}}}\\pard\\li240\\sa100\\tx9062\\par"),
             file.constData());

    RichTextBox again;
    QCOMPARE(again.LoadFile(environment.path(QStringLiteral("saved.rtf")), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    QCOMPARE(paragraphs(*again.document()),
             QStringLiteral("Inhalt|Einleitung\t1|Ziele\t2||Einleitung|Ziele!"));
    QCOMPARE(
        ::fields(*again.document()),
        QStringList({"HYPERLINK Einleitung\t", "PAGEREF 1", "HYPERLINK Ziele\t", "PAGEREF 2"}));
    const QTextBlock second = again.document()->findBlockByNumber(2);
    const QList<TextField::Field> around = TextField::of(second.begin().fragment().charFormat());
    QCOMPARE(around.size(), 2);
    QVERIFY(around.first().instruction.contains(" TOC "));
}

QTEST_MAIN(TestRtfFields)
#include "tst_rtffields.moc"
