// What RTF files of other programs hold beside the text: headers and footers, the document's
// information, bookmarks and comments kept unshown, pictures of drawing shapes and objects
// shown, all written back as the file had them however the text around them is edited.
#include "tests/support/Fixtures.h"
#include "tests/support/PictureFixtures.h"
#include "tests/support/RtfFiles.h"
#include "tests/support/TestEnvironment.h"
#include "text/PictureObjects.h"
#include "text/RichTextBox.h"
#include "text/rtf/RtfReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using PictureFixtures::pictures;

namespace {

const QChar objectCharacter = QChar::ObjectReplacementCharacter;

// A group of the original file that the saved file must hold unchanged: the group starting
// with `start`, standing behind `before` (if given) and ahead of `after`.
struct Kept
{
    QByteArray start;
    QByteArray before;
    QByteArray after;
};

QByteArray fixture(const QString &name)
{
    QFile file(Fixtures::path(QStringLiteral("rtf/") + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The whole group that starts with `start`, up to its closing brace.
QByteArray group(const QByteArray &rtf, const QByteArray &start)
{
    const qsizetype from = rtf.indexOf(start);
    if (from < 0)
        return QByteArray();
    int depth = 0;
    for (qsizetype at = from; at < rtf.size(); ++at) {
        const char c = rtf.at(at);
        if (c == '\\')
            ++at;
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0)
            return rtf.mid(from, at + 1 - from);
    }
    return QByteArray();
}

QString paragraphs(const QTextDocument &document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts.append(block.text());
    return texts.join(QLatin1Char('|'));
}

// The colour in the middle of each picture as it is drawn, in the order of the text.
QList<QColor> shownColors(QTextDocument &document)
{
    PictureObjects::decodeAll(document, 1.0);
    QList<QColor> colors;
    const QString text = document.toPlainText();
    for (qsizetype at = text.indexOf(objectCharacter); at >= 0;
         at = text.indexOf(objectCharacter, at + 1)) {
        QTextCursor cursor(&document);
        cursor.setPosition(static_cast<int>(at + 1));
        const QImage image = document
                                 .resource(QTextDocument::ImageResource,
                                           QUrl(cursor.charFormat().toImageFormat().name()))
                                 .value<QImage>();
        colors.append(image.isNull() ? QColor() : image.pixelColor(image.rect().center()));
    }
    return colors;
}

bool sameColors(const QList<QColor> &shown, const QList<QColor> &expected)
{
    if (shown.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QColor a = shown.at(i);
        const QColor b = expected.at(i);
        if (!a.isValid() || std::abs(a.red() - b.red()) > 40 || std::abs(a.green() - b.green()) > 40
            || std::abs(a.blue() - b.blue()) > 40)
            return false;
    }
    return true;
}

QString describe(const QList<QColor> &colors)
{
    QStringList names;
    for (const QColor &color : colors)
        names.append(color.isValid() ? color.name() : QStringLiteral("none"));
    return names.join(QLatin1Char(' '));
}

QRegularExpression wordPattern(const QString &word)
{
    return QRegularExpression(QStringLiteral("\\\\") + word + QStringLiteral("(?![a-z])"));
}

// How often the control word stands in the RTF.
qsizetype wordCount(const QByteArray &rtf, const QString &word)
{
    qsizetype count = 0;
    for (auto it = wordPattern(word).globalMatch(QString::fromLatin1(rtf)); it.hasNext(); it.next())
        ++count;
    return count;
}

// The document as Velmar reads it with the words that keep a group from being shown taken out,
// so that the group's text reads as text.
QTextDocument *shownWith(const QByteArray &rtf, const QStringList &words, QObject *parent)
{
    QByteArray bytes = rtf;
    for (const QString &word : words)
        bytes = QString::fromLatin1(bytes).remove(wordPattern(word)).toLatin1();
    auto *document = new QTextDocument(parent);
    QTextCursor cursor(document);
    rtf::read(bytes, cursor);
    return document;
}

// The text's font and size where it is found, or "missing".
QString shownFormat(const QTextDocument &document, const QString &text)
{
    const QTextCursor at = RtfFiles::firstCharacterOf(document, text);
    if (at.isNull())
        return QStringLiteral("missing");
    const QTextCharFormat format = at.charFormat();
    return format.fontFamilies().toStringList().join(QLatin1Char(','))
        + QStringLiteral(" %1 pt").arg(format.fontPointSize());
}

void typeAtStartAndEnd(RichTextBox &box)
{
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClicks(&box, QStringLiteral("Neu"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&box, QStringLiteral(" Schluss"));
}

} // namespace

Q_DECLARE_METATYPE(QList<Kept>)

class TestRtfKept : public QObject
{
    Q_OBJECT

private slots:
    void keepsWhatItDoesNotShow_data();
    void keepsWhatItDoesNotShow();
    void deletingAPictureDeletesItsGroup_data();
    void deletingAPictureDeletesItsGroup();
    void deletingTextDeletesItsMarks_data();
    void deletingTextDeletesItsMarks();
    void headersStayWithTheWholeDocument();
    void manyHeadersInOneParagraphAreKept_data();
    void manyHeadersInOneParagraphAreKept();
    void keptGroupsReadBackAsRead_data();
    void keptGroupsReadBackAsRead();
    void keptGroupsReadAlikeAfterASave_data();
    void keptGroupsReadAlikeAfterASave();
};

void TestRtfKept::keepsWhatItDoesNotShow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<Kept>>("kept");
    QTest::addColumn<QString>("text"); // after the edit, paragraphs joined by |
    QTest::addColumn<QList<QColor>>("colors"); // of the pictures shown

    const QColor red(Qt::red);
    const QColor green(Qt::green);
    const QString picture(objectCharacter);
    QTest::newRow("section and first-page headers")
        << QStringLiteral("headers.rtf")
        << QList<Kept> {{"\\facingp", "}}", "\\titlepg"},
                        {"\\titlepg", "\\facingp", "{\\header "},
                        {"{\\header ", "\\titlepg", "{\\footer "},
                        {"{\\footer ", "{\\header ", "{\\headerf "},
                        {"{\\headerf ", "{\\footer ", "{\\footerf "},
                        {"{\\footerf ", "{\\headerf ", "Neu"},
                        {"{\\headerl ", "abgelehnt.", "{\\headerr "},
                        {"{\\headerr ", "{\\headerl ", "Gr\\'fcnde"}}
        << QStringLiteral("Neu|Beschluss in der Verwaltungsrechtssache|Der Antrag wird abgelehnt."
                          "|Gründe|Die Klage ist zulässig. Schluss")
        << QList<QColor> {};
    QTest::newRow("shape with pib and a result")
        << QStringLiteral("shape-pib.rtf")
        << QList<Kept> {{"{\\shp{", "Vor dem Bild", "nach dem Bild."}}
        << QStringLiteral("Neu|Vor dem Bild ") + picture
            + QStringLiteral(" nach dem Bild.|Zweiter Absatz. Schluss")
        << QList<QColor> {red};
    QTest::newRow("shape shown by its result")
        << QStringLiteral("shape-result.rtf")
        << QList<Kept> {{"{\\shp{", "Neu", "Unter dem Titel."}}
        << QStringLiteral("Neu|") + picture + QStringLiteral("Unter dem Titel. Schluss")
        << QList<QColor> {green};
    QTest::newRow("object with a result picture")
        << QStringLiteral("object-result.rtf") << QList<Kept> {{"{\\object", "Bild:", "Ende."}}
        << QStringLiteral("Neu|Bild: ") + picture + QStringLiteral(" Ende.|Zweite Zeile. Schluss")
        << QList<QColor> {green};
    QTest::newRow("object in a text box")
        << QStringLiteral("textbox-object.rtf")
        << QList<Kept> {{"{\\shp{", "Formel im Kasten:", "Danach."}}
        << QStringLiteral("Neu|Formel im Kasten: ") + picture + QStringLiteral(" Danach. Schluss")
        << QList<QColor> {green};
    QTest::newRow("document information")
        << QStringLiteral("info.rtf") << QList<Kept> {{"{\\info", "{\\colortbl", "Neu"}}
        << QStringLiteral("Neu|Der Bericht fasst das Jahr zusammen.|Zweiter Absatz. Schluss")
        << QList<QColor> {};
    QTest::newRow("bookmarks of a cross-reference")
        << QStringLiteral("bookmarks.rtf")
        << QList<Kept> {{"{\\*\\bkmkstart _Ref1}", "Neu", "Einleitung"},
                        {"{\\*\\bkmkend _Ref1}", "Einleitung", "Wie in"},
                        {"{\\*\\bkmkstart _GoBack}", "der Anfang", "{\\*\\bkmkend _GoBack}"},
                        {"{\\*\\bkmkend _GoBack}", "{\\*\\bkmkstart _GoBack}", "Ende des"}}
        << QStringLiteral("Neu|Einleitung|Wie in Einleitung auf Seite 1 beschrieben, gilt der "
                          "Anfang.|Ende des Textes. Schluss")
        << QList<QColor> {};
    QTest::newRow("comment on a word")
        << QStringLiteral("comment.rtf")
        << QList<Kept> {{"{\\*\\atrfstart", "am ", "Monatsende"},
                        {"{\\*\\atrfend", "Monatsende", "{\\*\\atnid"},
                        {"{\\*\\atnid", "{\\*\\atrfend", "{\\*\\atnauthor"},
                        {"{\\*\\atnauthor", "{\\*\\atnid", "\\chatn"},
                        {"\\chatn{\\*\\annotation", "{\\*\\atnauthor", "Schluss"},
                        {"{\\*\\annotation", "\\chatn", "Schluss"}}
        << QStringLiteral("Neu|Der Vertrag gilt ab sofort.|Die Frist endet am Monatsende Schluss")
        << QList<QColor> {};
    QTest::newRow("text in nested table properties")
        << QStringLiteral("nesttableprops-text.rtf") << QList<Kept> {}
        << QStringLiteral("Neu|Beschluss|Richter Name\tEnde|Nachher Schluss") << QList<QColor> {};
}

void TestRtfKept::keepsWhatItDoesNotShow()
{
    QFETCH(QString, file);
    QFETCH(QList<Kept>, kept);
    QFETCH(QString, text);
    QFETCH(QList<QColor>, colors);
    TestEnvironment environment;
    const QString saved = environment.path(QStringLiteral("gespeichert.rtf"));
    const QByteArray original = fixture(file);

    RichTextBox box;
    QCOMPARE(box.LoadFile(Fixtures::path(QStringLiteral("rtf/") + file), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    typeAtStartAndEnd(box);
    QCOMPARE(paragraphs(*box.document()), text);
    QVERIFY(box.SaveFile(saved, RichTextBox::rtfRTF));

    const QByteArray written = readFile(saved);
    for (const Kept &one : kept) {
        const QByteArray bytes = one.start.startsWith('{') ? group(original, one.start) : one.start;
        QVERIFY2(!bytes.isEmpty(), one.start.constData());
        QCOMPARE(written.count(bytes), 1);
        const qsizetype at = written.indexOf(bytes);
        QVERIFY2(written.indexOf(one.before) < at, one.before.constData());
        QVERIFY2(written.indexOf(one.after, at + bytes.size()) > at, one.after.constData());
    }

    RichTextBox again;
    QCOMPARE(again.LoadFile(saved, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(paragraphs(*again.document()), text);
    // Read back with the same formats and kept groups, it saves as it was saved.
    QCOMPARE(RtfFiles::saveAndRead(again, environment.path(QStringLiteral("wieder.rtf"))), written);
    const QList<TextPicture::Picture> first = pictures(*box.document());
    const QList<TextPicture::Picture> second = pictures(*again.document());
    QCOMPARE(second.size(), colors.size());
    for (qsizetype i = 0; i < second.size(); ++i)
        QCOMPARE(second.at(i).data, first.at(i).data);
    const QList<QColor> shown = shownColors(*again.document());
    QVERIFY2(sameColors(shown, colors), qPrintable(describe(shown)));
}

void TestRtfKept::deletingAPictureDeletesItsGroup_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("start");

    QTest::newRow("shape") << QStringLiteral("shape-pib.rtf") << QByteArray("{\\shp{");
    QTest::newRow("object") << QStringLiteral("object-result.rtf") << QByteArray("{\\object");
}

void TestRtfKept::deletingAPictureDeletesItsGroup()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, start);
    TestEnvironment environment;
    const QString saved = environment.path(QStringLiteral("gespeichert.rtf"));
    const QByteArray kept = group(fixture(file), start);
    QVERIFY(!kept.isEmpty());

    RichTextBox box;
    QCOMPARE(box.LoadFile(Fixtures::path(QStringLiteral("rtf/") + file), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    const int at = static_cast<int>(box.Text().indexOf(objectCharacter));
    QVERIFY(at > 0);
    box.setSelStart(at + 1);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QVERIFY(!box.Text().contains(objectCharacter));
    QVERIFY(box.SaveFile(saved, RichTextBox::rtfRTF));
    QVERIFY(!readFile(saved).contains(start));

    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.Text().indexOf(objectCharacter), at);
    // Typed right before and right behind it.
    box.setSelStart(at);
    QTest::keyClicks(&box, QStringLiteral("<"));
    box.setSelStart(at + 2);
    QTest::keyClicks(&box, QStringLiteral(">"));
    QCOMPARE(box.Text().mid(at, 3), QStringLiteral("<") + objectCharacter + QStringLiteral(">"));
    QVERIFY(box.SaveFile(saved, RichTextBox::rtfRTF));
    const QByteArray written = readFile(saved);
    QCOMPARE(written.count(kept), 1);
    QVERIFY(written.indexOf('<') < written.indexOf(kept));
    QVERIFY(written.indexOf('>', written.indexOf(kept) + kept.size()) > 0);
    RichTextBox again;
    QCOMPARE(again.LoadFile(saved, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(pictures(*again.document()).size(), 1);
}

void TestRtfKept::deletingTextDeletesItsMarks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("words"); // the text the marks stand around
    QTest::addColumn<QList<QByteArray>>("starts");

    QTest::newRow("bookmark") << QStringLiteral("bookmarks.rtf") << QStringLiteral("Einleitung")
                              << QList<QByteArray> {"{\\*\\bkmkstart _Ref1}",
                                                    "{\\*\\bkmkend _Ref1}"};
    QTest::newRow("comment") << QStringLiteral("comment.rtf") << QStringLiteral("Monatsende")
                             << QList<QByteArray> {"{\\*\\atrfstart", "{\\*\\atrfend",
                                                   "{\\*\\atnid", "{\\*\\atnauthor",
                                                   "{\\*\\annotation"};
}

void TestRtfKept::deletingTextDeletesItsMarks()
{
    QFETCH(QString, file);
    QFETCH(QString, words);
    QFETCH(QList<QByteArray>, starts);
    TestEnvironment environment;
    const QString saved = environment.path(QStringLiteral("gespeichert.rtf"));
    const QByteArray original = fixture(file);

    RichTextBox box;
    QCOMPARE(box.LoadFile(Fixtures::path(QStringLiteral("rtf/") + file), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    const QString text = box.Text();
    const int at = static_cast<int>(text.indexOf(words));
    QVERIFY(at >= 0);
    box.setSelStart(at);
    box.setSelLength(static_cast<int>(words.size()));
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.Text(), QString(text).remove(at, words.size()));
    QByteArray written = RtfFiles::saveAndRead(box, saved);
    QVERIFY(!written.isEmpty());
    for (const QByteArray &start : starts)
        QVERIFY2(!written.contains(start), start.constData());
    QVERIFY(!written.contains("\\chatn"));

    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.Text(), text);
    written = RtfFiles::saveAndRead(box, saved);
    for (const QByteArray &start : starts)
        QCOMPARE(written.count(group(original, start)), 1);
    RichTextBox again;
    QCOMPARE(again.LoadFile(saved, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(again.Text(), text);
}

void TestRtfKept::headersStayWithTheWholeDocument()
{
    RichTextBox box;
    QCOMPARE(box.LoadFile(Fixtures::path(QStringLiteral("rtf/headers.rtf")), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    box.setSelStart(0);
    box.setSelLength(box.document()->firstBlock().length());
    QVERIFY(box.SelRTF().contains(QStringLiteral("Beschluss in der Verwaltungsrechtssache\\par")));
    QVERIFY(!box.SelRTF().contains(QStringLiteral("{\\header")));
    QVERIFY(!box.SelRTF().contains(QStringLiteral("\\titlepg")));
    box.setSelLength(static_cast<int>(box.Text().size()));
    QCOMPARE(box.SelRTF().count(QStringLiteral("{\\headerf ")), 1);
}

void TestRtfKept::manyHeadersInOneParagraphAreKept_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::newRow("header groups") << QByteArray("{\\header h}");
    QTest::newRow("first-page words") << QByteArray("\\titlepg ");
}

// A damaged or generated file may repeat a header group or word many times: each is kept and
// written back, without the document growing with the square of their number.
void TestRtfKept::manyHeadersInOneParagraphAreKept()
{
    QFETCH(QByteArray, group);
    constexpr int count = 50000;
    TestEnvironment env;
    const QString path = env.path(QStringLiteral("kopf.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi Vorher " + group.repeated(count) + "Text\\par}");
    file.close();
    RichTextBox box;
    QCOMPARE(box.LoadFile(path, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(box.Text(), QStringLiteral("Vorher Text"));
    QVERIFY(box.SaveFile(path, RichTextBox::rtfRTF));
    QCOMPARE(readFile(path).count(group.trimmed()), count);
}

void TestRtfKept::keptGroupsReadBackAsRead_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");

    const QString picture(objectCharacter);
    QTest::newRow("header after text") << QByteArray("a{\\b fett\\header Kopf}b") << "afettb";
    QTest::newRow("shape after text")
        << QByteArray("a{\\b fett\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip 41}}}}}b")
        << "afettb";
    QTest::newRow("object after text")
        << QByteArray("a{\\b fett\\object{\\result{\\pict\\pngblip 41}}}b")
        << QStringLiteral("afett") + picture + QStringLiteral("b");
    QTest::newRow("header in the root") << QByteArray("\\header a") << "";
    QTest::newRow("shape with a list label")
        << QByteArray("a{\\shp{\\sv{\\pict\\pngblip 41}}\\listtext 2d}b")
        << QStringLiteral("a") + picture + QStringLiteral("b");
    QTest::newRow("font table in a kept object")
        << QByteArray("{\\rtf{\\object\\result{\\pict\\f3{\\fonttbl{\\f0f\\f1\\fcharset2}}31}}s")
        << picture + QStringLiteral("s");
    QTest::newRow("object leaving a list label")
        << QByteArray("a{\\object\\result{\\pict\\pngblip 41}\\listtext 2d}b")
        << QStringLiteral("a") + picture + QStringLiteral("2db");
    QTest::newRow("shape before a bullet's text")
        << fixture(QStringLiteral("shape-label.rtf")) << picture + QStringLiteral("A");
}

// Text outside a kept group, before its word or left behind by it, is written once.
void TestRtfKept::keptGroupsReadBackAsRead()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);

    RichTextBox box;
    box.setSelRTF(
        QString::fromLatin1(body.startsWith("{\\rtf") ? body : PictureFixtures::document(body)));
    QCOMPARE(box.Text(), text);
    RichTextBox again;
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    again.setSelRTF(box.SelRTF());
    QCOMPARE(again.Text(), text);
}

void TestRtfKept::keptGroupsReadAlikeAfterASave_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("inserted"); // a second file inserted at the end, or none
    QTest::addColumn<QStringList>("words"); // that keep the groups unshown
    QTest::addColumn<QStringList>("texts"); // of the groups

    const QStringList header {QStringLiteral("header")};
    QTest::newRow("footer in code page 1251")
        << QStringLiteral("footer-cp1251.rtf") << QString()
        << QStringList {QStringLiteral("footer")} << QStringList {QStringLiteral("Страница")};
    QTest::newRow("header in a font of charset 128")
        << QStringLiteral("header-fcharset.rtf") << QString() << header
        << QStringList {QStringLiteral("ゾルゲ")};
    QTest::newRow("header in code page 1250")
        << QStringLiteral("header-cp1250.rtf") << QString() << header
        << QStringList {QStringLiteral("Příliš žluťoučký")};
    QTest::newRow("header in code page 932")
        << QStringLiteral("header-cp932.rtf") << QString() << header
        << QStringList {QStringLiteral("日本語"), QStringLiteral("Seite")};
    QTest::newRow("shape text in a font of charset 204")
        << QStringLiteral("shape-cp1251.rtf") << QString()
        << QStringList {QStringLiteral("shp"), QStringLiteral("shpinst")}
        << QStringList {QStringLiteral("Привет")};
    QTest::newRow("link target in code page 1250")
        << QStringLiteral("field-cp1250.rtf") << QString()
        << QStringList {QStringLiteral("fldinst")}
        << QStringList {QStringLiteral("http://example.pl/Łódź")};
    // Both name a font 0 and a font 1 of their own.
    QTest::newRow("headers of two files")
        << QStringLiteral("header-cp1250.rtf") << QStringLiteral("header-cp932.rtf") << header
        << QStringList {QStringLiteral("Příliš žluťoučký"), QStringLiteral("日本語"),
                        QStringLiteral("Seite")};
}

// A kept group reads in the saved file as it read in its own, in the code page and the fonts
// it stood in there.
void TestRtfKept::keptGroupsReadAlikeAfterASave()
{
    QFETCH(QString, file);
    QFETCH(QString, inserted);
    QFETCH(QStringList, words);
    QFETCH(QStringList, texts);
    TestEnvironment environment;

    RichTextBox box;
    QCOMPARE(box.LoadFile(RtfFiles::fixture(file), RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    typeAtStartAndEnd(box);
    if (!inserted.isEmpty())
        box.setSelRTF(QString::fromLatin1(fixture(inserted)));
    const QByteArray written
        = RtfFiles::saveAndRead(box, environment.path(QStringLiteral("gespeichert.rtf")));
    QVERIFY(written.startsWith("{\\rtf1\\ansi\\ansicpg1252"));

    RichTextBox again;
    QCOMPARE(
        again.LoadFile(environment.path(QStringLiteral("gespeichert.rtf")), RichTextBox::rtfRTF),
        RichTextBox::LoadResult::Ok);
    QCOMPARE(again.Text(), box.Text());
    // Each group once.
    for (const QString &word : words)
        QCOMPARE(wordCount(written, word),
                 wordCount(fixture(file), word)
                     + (inserted.isEmpty() ? 0 : wordCount(fixture(inserted), word)));
    const QTextDocument *before = shownWith(fixture(file), words, this);
    const QTextDocument *extra
        = inserted.isEmpty() ? nullptr : shownWith(fixture(inserted), words, this);
    const QTextDocument *after = shownWith(written, words, this);
    for (const QString &text : texts) {
        QString original = shownFormat(*before, text);
        if (extra && original == QStringLiteral("missing"))
            original = shownFormat(*extra, text);
        QVERIFY2(original != QStringLiteral("missing"), qPrintable(text));
        QCOMPARE(shownFormat(*after, text), original);
    }
}

QTEST_MAIN(TestRtfKept)
#include "tst_rtfkept.moc"
