// The RTF reader and writer: real files from other word processors, formats, round trips and
// malformed input.
#include "tests/support/Fixtures.h"
#include "tests/support/RtfFiles.h"
#include "tests/support/TestEnvironment.h"
#include "text/RichTextBox.h"
#include "text/TextFormat.h"
#include "text/rtf/RtfReader.h"
#include "text/rtf/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

namespace {

QByteArray corpusFile(const QString &name)
{
    return Fixtures::bytes(QStringLiteral("corpus/rtf/") + name);
}

bool readInto(QTextDocument &document, const QByteArray &data)
{
    QTextCursor cursor(&document);
    return rtf::read(data, cursor).ok;
}

// Lines as compared with LibreOffice: trimmed, without leading bullet glyphs, no empty lines.
QStringList comparableLines(const QString &text)
{
    static const QString bullets = QStringLiteral("\u2022\u00B7\u25CF\u25E6\u25AA\u2013-*");
    QStringList lines;
    for (QString line : text.split(QRegularExpression(QStringLiteral("[\\n\\x{2029}]")))) {
        line = line.trimmed();
        while (!line.isEmpty() && bullets.contains(line.front()))
            line = line.mid(1).trimmed();
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QString paragraphs(const QTextDocument &document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts.append(block.text());
    return texts.join(QLatin1Char('|'));
}

QString family(const QTextCharFormat &format, const QTextDocument &document)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? document.defaultFont().family() : families.first();
}

// Alignment and underline by name rather than by enum value, so expectations read as formatting.
QString alignmentName(Qt::Alignment alignment)
{
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal == Qt::AlignLeft)
        return QStringLiteral("left");
    if (horizontal == Qt::AlignHCenter)
        return QStringLiteral("center");
    if (horizontal == Qt::AlignRight)
        return QStringLiteral("right");
    if (horizontal == Qt::AlignJustify)
        return QStringLiteral("justify");
    return QStringLiteral("other(%1)").arg(int(horizontal), 0, 16);
}

QString selAlignmentName(const std::optional<int> &alignment)
{
    if (!alignment)
        return QStringLiteral("Null");
    switch (*alignment) {
    case RichTextBox::rtfLeft:
        return QStringLiteral("left");
    case RichTextBox::rtfCenter:
        return QStringLiteral("center");
    case RichTextBox::rtfRight:
        return QStringLiteral("right");
    default:
        return QStringLiteral("other(%1)").arg(*alignment);
    }
}

QString underlineName(QTextCharFormat::UnderlineStyle style)
{
    switch (style) {
    case QTextCharFormat::NoUnderline:
        return QStringLiteral("none");
    case QTextCharFormat::SingleUnderline:
        return QStringLiteral("single");
    case QTextCharFormat::DashUnderline:
        return QStringLiteral("dash");
    case QTextCharFormat::DotLine:
        return QStringLiteral("dotted");
    case QTextCharFormat::DashDotLine:
        return QStringLiteral("dash-dot");
    case QTextCharFormat::DashDotDotLine:
        return QStringLiteral("dash-dot-dot");
    case QTextCharFormat::WaveUnderline:
        return QStringLiteral("wave");
    case QTextCharFormat::SpellCheckUnderline:
        return QStringLiteral("spellcheck");
    }
    return QStringLiteral("other(%1)").arg(int(style));
}

// Everything the reader keeps of a character, comparable as one string.
QString describe(const QTextCharFormat &format, const QTextDocument &document)
{
    const QColor color
        = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor();
    const double size
        = format.fontPointSize() > 0 ? format.fontPointSize() : document.defaultFont().pointSizeF();
    return QStringLiteral("%1 %2pt b%3 i%4 underline %5 s%6 %7 o%8")
        .arg(family(format, document))
        .arg(size)
        .arg(format.fontWeight() >= QFont::DemiBold)
        .arg(format.fontItalic())
        .arg(underlineName(format.underlineStyle()))
        .arg(format.fontStrikeOut())
        .arg(color.isValid() ? color.name() : QStringLiteral("auto"))
        .arg(TextFormat::charOffsetTwips(format), 0, 'f', 2);
}

// Lengths in whole twips, the precision RTF keeps; the list label as the paragraph shows it.
QString describe(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    const auto twips
        = [](double mm) { return QString::number(qRound(mm * TextFormat::twipsPerMm)); };
    QStringList tabs;
    for (double mm : TextFormat::tabStopsMm(format))
        tabs.append(twips(mm));
    return QStringLiteral("align %1 in%2 h%3 r%4 t[%5] b%6/%7 s%8/%9/%10%11 %12")
        .arg(alignmentName(format.alignment()))
        .arg(twips(TextFormat::indentMm(format)), twips(TextFormat::hangingIndentMm(format)),
             twips(TextFormat::rightIndentMm(format)), tabs.join(QLatin1Char(',')))
        .arg(TextFormat::bullet(format))
        .arg(twips(TextFormat::bulletIndentMm(format)))
        .arg(TextFormat::spaceBeforeTwips(format))
        .arg(TextFormat::spaceAfterTwips(format))
        .arg(TextFormat::lineSpacingTwips(format))
        .arg(TextFormat::lineSpacingMultiple(format) ? QStringLiteral("m") : QString())
        .arg(block.textList() ? block.textList()->itemText(block) : QStringLiteral("-"));
}

template<typename T>
QString shown(const std::optional<T> &value)
{
    if (!value)
        return QStringLiteral("Null");
    if constexpr (std::is_same_v<T, QString>)
        return *value;
    else
        return QString::number(*value);
}

// The selection's properties as the program reads them (lengths in twips), and the paragraph's
// spacing and list label, which have no property of their own.
QString selection(const RichTextBox &box)
{
    const QTextBlock block = box.textCursor().block();
    const QTextBlockFormat format = block.blockFormat();
    return QStringLiteral(
               "%1 %2pt b%3 i%4 c%5 | align %6 in%7 h%8 r%9 bu%10/%11 | s%12/%13/%14%15 %16")
        .arg(shown(box.SelFontName()), shown(box.SelFontSize()), shown(box.SelBold()),
             shown(box.SelItalic()), shown(box.SelColor()), selAlignmentName(box.SelAlignment()),
             shown(box.SelIndent()), shown(box.SelHangingIndent()), shown(box.SelRightIndent()))
        .arg(shown(box.SelBullet()), shown(box.BulletIndent()))
        .arg(TextFormat::spaceBeforeTwips(format))
        .arg(TextFormat::spaceAfterTwips(format))
        .arg(TextFormat::lineSpacingTwips(format))
        .arg(TextFormat::lineSpacingMultiple(format) ? QStringLiteral("m") : QString())
        .arg(block.textList() ? block.textList()->itemText(block) : QStringLiteral("-"));
}

// Loads RTF into a box measuring in twips and selects the given word.
bool loadAndFind(RichTextBox &box, const QByteArray &rtf, const QString &word)
{
    box.setScale(RichTextBox::Scale::Twips);
    box.setSelRTF(QString::fromLatin1(rtf));
    return box.Find(word, 0, -1, RichTextBox::rtfMatchCase) >= 0;
}

// Paragraph by paragraph: its format, then runs of equal character formats with their text.
QStringList runs(const QTextDocument &document)
{
    QStringList result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        result.append(QStringLiteral("¶ ") + describe(block));
        QString last;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString format = describe(fragment.charFormat(), document);
            if (format == last) {
                result.last() += fragment.text();
                continue;
            }
            last = format;
            result.append(format + QStringLiteral(": ") + fragment.text());
        }
    }
    return result;
}

// The first character of the first occurrence of the text and its paragraph: font, size, bold,
// offset, underline shown and own, hidden, background, then the paragraph's list label ("*"
// for a bullet) and space before and after.
QString traitsAt(const QTextDocument &document, const QString &text)
{
    const QTextCursor at = RtfFiles::firstCharacterOf(document, text);
    if (at.isNull())
        return QStringLiteral("missing");
    const QTextCharFormat format = at.charFormat();
    const QTextBlock block = at.block();
    const QTextBlockFormat paragraph = block.blockFormat();
    const QString label = block.textList() ? block.textList()->itemText(block)
        : TextFormat::bullet(paragraph)    ? QStringLiteral("*")
                                           : QStringLiteral("-");
    const double size
        = format.fontPointSize() > 0 ? format.fontPointSize() : document.defaultFont().pointSizeF();
    return QStringLiteral("%1 %2pt b%3 o%4 underline %5/%6 v%7 bg%8 | %9 s%10/%11")
        .arg(family(format, document))
        .arg(size)
        .arg(format.fontWeight() >= QFont::DemiBold)
        .arg(TextFormat::charOffsetTwips(format))
        .arg(underlineName(format.underlineStyle()))
        .arg(underlineName(TextFormat::ownUnderline(format)))
        .arg(TextFormat::hidden(format))
        .arg(format.hasProperty(QTextFormat::BackgroundBrush) ? format.background().color().name()
                                                              : QStringLiteral("-"))
        .arg(label)
        .arg(TextFormat::spaceBeforeTwips(paragraph))
        .arg(TextFormat::spaceAfterTwips(paragraph));
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void corpusTextMatchesLibreOffice_data();
    void corpusTextMatchesLibreOffice();
    void corpusAttributes_data();
    void corpusAttributes();
    void readsText_data();
    void readsText();
    void readsFormatsIntoSelection_data();
    void readsFormatsIntoSelection();
    void styleGivesNoIndentsAndOwnTabsReplaceItsTabs();
    void readsListLabels_data();
    void readsListLabels();
    void keepsWhatOtherWordProcessorsWrite_data();
    void keepsWhatOtherWordProcessorsWrite();
    void insertsAtCursor_data();
    void insertsAtCursor();
    void decodesCodePages();
    void roundTripKeepsFormats();
    void emptyParagraphKeepsItsFormat();
    void writesStandardRtf();
    void writesRanges_data();
    void writesRanges();
    void survivesMalformedInput_data();
    void survivesMalformedInput();
    void rejectsNonRtf();
};

void TestRtf::corpusTextMatchesLibreOffice_data()
{
    QTest::addColumn<QString>("name");
    const QDir dir(QStringLiteral(VELMAR_FIXTURES_DIR "/corpus/rtf"));
    const QStringList files = dir.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << file.chopped(4);
}

void TestRtf::corpusTextMatchesLibreOffice()
{
    QFETCH(QString, name);
    QTextDocument document;
    QVERIFY(readInto(document, corpusFile(name + QStringLiteral(".rtf"))));
    QString expected = QString::fromUtf8(corpusFile(name + QStringLiteral(".txt")));
    if (expected.startsWith(QChar(0xFEFF)))
        expected.remove(0, 1);
    QCOMPARE(comparableLines(document.toPlainText()), comparableLines(expected));
}

void TestRtf::corpusAttributes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QVariant>("expected");

    const auto row = [](const char *name, const char *file, const char *text, const char *attribute,
                        const QVariant &expected) {
        QTest::newRow(name) << QString::fromLatin1(file) << QString::fromUtf8(text)
                            << QString::fromLatin1(attribute) << expected;
    };
    row("re bold", "re-brief", "dies ", "bold", true);
    row("re bold off", "re-brief", " ist ein", "bold", false);
    row("re italic", "re-brief", "Brief", "italic", true);
    row("re underline", "re-brief", "Unterstreichung", "underline", QStringLiteral("single"));
    row("re strike", "re-brief", "Streichung", "strike", true);
    row("re size", "re-brief", "Zentriert", "size", 16.0);
    row("re colour", "re-brief", "Zentriert", "color", QStringLiteral("#ff0000"));
    row("re centred", "re-brief", "Zentriert", "align", QStringLiteral("center"));
    row("re right", "re-brief", "Rechtsb", "align", QStringLiteral("right"));
    row("re font", "re-brief", "Rechtsb", "font", QStringLiteral("Arial"));
    row("re font size", "re-brief", "Rechtsb", "size", 10.0);
    row("re default font", "re-brief", "Sehr", "font", QStringLiteral("Times New Roman"));
    row("re raised", "re-brief", "2O", "offset", 60.0);
    row("re lowered", "re-brief", "2 als", "offset", -60.0);
    row("re indent", "re-brief", "Einzug:", "indent", 567 * 25.4 / 1440);
    row("re hanging", "re-brief", "Einzug:", "hanging", 567 * 25.4 / 1440);
    row("re right indent", "re-brief", "Rechter Einzug", "right", 1701 * 25.4 / 1440);
    row("re tabs", "re-brief", "Einzug:", "tabs",
        QVariant::fromValue(
            QList<double> {1134 * 25.4 / 1440, 2835 * 25.4 / 1440, 4535 * 25.4 / 1440}));
    row("re bullet", "re-brief", "punkt eins", "bullet", true);
    row("re bullet kept", "re-brief", "punkt zwei", "bullet", true);
    row("re no bullet", "re-brief", "Zentriert", "bullet", false);
    row("lo italic", "lo-features", "kursivem", "italic", true);
    row("lo small", "lo-features", "klein", "size", 7.0);
    row("lo large", "lo-features", "groß", "size", 18.0);
    row("lo colour", "lo-features", "grün", "color", QStringLiteral("#008000"));
    row("lo raised", "lo-features", "2, tief", "offset", 80.0);
    row("lo lowered", "lo-features", "2O", "offset", -20.0);
    row("lo hanging", "lo-features", "Hängender", "hanging", 567 * 25.4 / 1440);
    row("lo indent", "lo-features", "Hängender", "indent", 567 * 25.4 / 1440);
    row("lo right indent", "lo-features", "Linker und", "right", 1701 * 25.4 / 1440);
    row("lo bullet", "lo-features", "Erster Punkt", "bullet", true);
    row("lo mono", "lo-features", "Festbreiten", "font", QStringLiteral("Liberation Mono"));
    row("lo right", "lo-features", "Rechtsbündiger", "align", QStringLiteral("right"));
    row("abi bold", "abi-features", "fettem", "bold", true);
    row("abi strike", "abi-features", "durchgestrichenem", "strike", true);
    row("abi super", "abi-features", "2, tief", "offset", 80.0);
    row("abi sub", "abi-features", "2O", "offset", -80.0);
    row("abi bullet", "abi-features", "Dritter Punkt", "bullet", true);
    row("abi indent", "abi-features", "Linker und", "indent", 566 * 25.4 / 1440);
    row("pd heading", "pd-features", "Merkmale", "size", 18.0);
    row("pd centred", "pd-features", "Merkmale", "align", QStringLiteral("center"));
    row("pd underline", "pd-features", "unterstrichenem", "underline", QStringLiteral("single"));
    row("pd hanging", "pd-features", "Erster Punkt", "hanging", 360 * 25.4 / 1440);
    row("pd tab", "pd-features", "Erster Punkt", "tabs",
        QVariant::fromValue(QList<double> {360 * 25.4 / 1440}));
}

void TestRtf::corpusAttributes()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(QString, attribute);
    QFETCH(QVariant, expected);

    QTextDocument document;
    QVERIFY(readInto(document, corpusFile(file + QStringLiteral(".rtf"))));
    const QTextCursor found = document.find(text, 0, QTextDocument::FindCaseSensitively);
    QVERIFY2(!found.isNull(), qPrintable(text));
    QTextCursor at(&document);
    at.setPosition(found.selectionStart() + 1);
    const QTextCharFormat chars = at.charFormat();
    const QTextBlockFormat block = at.blockFormat();

    const auto near = [](double a, double b) { return qAbs(a - b) < 0.005; };
    if (attribute == QLatin1String("bold")) {
        QCOMPARE(chars.fontWeight() >= QFont::DemiBold, expected.toBool());
    } else if (attribute == QLatin1String("italic")) {
        QCOMPARE(chars.fontItalic(), expected.toBool());
    } else if (attribute == QLatin1String("underline")) {
        QCOMPARE(underlineName(chars.underlineStyle()), expected.toString());
    } else if (attribute == QLatin1String("strike")) {
        QCOMPARE(chars.fontStrikeOut(), expected.toBool());
    } else if (attribute == QLatin1String("size")) {
        QCOMPARE(chars.fontPointSize(), expected.toDouble());
    } else if (attribute == QLatin1String("font")) {
        QCOMPARE(family(chars, document), expected.toString());
    } else if (attribute == QLatin1String("color")) {
        QCOMPARE(chars.foreground().color().name(), expected.toString());
    } else if (attribute == QLatin1String("offset")) {
        QCOMPARE(TextFormat::charOffsetTwips(chars), expected.toDouble());
    } else if (attribute == QLatin1String("align")) {
        QCOMPARE(alignmentName(block.alignment()), expected.toString());
    } else if (attribute == QLatin1String("indent")) {
        QVERIFY(near(TextFormat::indentMm(block), expected.toDouble()));
    } else if (attribute == QLatin1String("hanging")) {
        QVERIFY(near(TextFormat::hangingIndentMm(block), expected.toDouble()));
    } else if (attribute == QLatin1String("right")) {
        QVERIFY(near(TextFormat::rightIndentMm(block), expected.toDouble()));
    } else if (attribute == QLatin1String("tabs")) {
        const QList<double> tabs = TextFormat::tabStopsMm(block);
        const QList<double> want = expected.value<QList<double>>();
        QCOMPARE(tabs.size(), want.size());
        for (qsizetype i = 0; i < tabs.size(); ++i)
            QVERIFY(near(tabs.at(i), want.at(i)));
    } else if (attribute == QLatin1String("bullet")) {
        QCOMPARE(TextFormat::bullet(block), expected.toBool());
    } else {
        QFAIL("unknown attribute");
    }
}

void TestRtf::readsText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("last par ends the document")
        << QByteArray("{\\rtf1 a\\par b\\par}") << QStringLiteral("a|b");
    QTest::newRow("empty last paragraph")
        << QByteArray("{\\rtf1 a\\par\\par}") << QStringLiteral("a|");
    QTest::newRow("no final par") << QByteArray("{\\rtf1 a\\par b}") << QStringLiteral("a|b");
    QTest::newRow("line and tab") << QByteArray("{\\rtf1 a\\line b\\tab c}")
                                  << QStringLiteral("a\u2028b\tc");
    QTest::newRow("escapes") << QByteArray("{\\rtf1 \\\\ \\{ \\} \\~x}")
                             << QStringLiteral("\\ { } \u00A0x");
    QTest::newRow("unicode skips fallback")
        << QByteArray("{\\rtf1 \\u8364\\'80 \\uc2\\u937 xyz \\uc0\\u960 q}")
        << QStringLiteral("\u20AC \u03A9z \u03C0q");
    QTest::newRow("negative unicode")
        << QByteArray("{\\rtf1 \\u-3913?}") << QStringLiteral("\uF0B7");
    QTest::newRow("fallback ends with the group")
        << QByteArray("{\\rtf1 {\\uc3\\u228 a}b}") << QStringLiteral("\u00E4b");
    QTest::newRow("cp1252 hex") << QByteArray("{\\rtf1\\ansi\\ansicpg1252 \\'84\\'e4\\'93}")
                                << QStringLiteral("\u201E\u00E4\u201C");
    QTest::newRow("symbol bullet")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}"
                      "{\\f2\\fcharset2 Wingdings;}}\\f1\\'b7\\'61\\f2\\'a7\\f0 x}")
        << QStringLiteral("\u2022\u03B1\uF0A7x");
    QTest::newRow("table as tabs")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\cellx2000\\cellx3000 a\\cell b\\cell c\\cell\\row"
                      "\\trowd d\\cell\\cell\\row}")
        << QStringLiteral("a\tb\tc|d\t");
    QTest::newRow("field result shown")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst PAGE }{\\fldrslt 7}} "
                      "{\\field{\\*\\fldinst MACROBUTTON  None Name here}}}")
        << QStringLiteral("7 Name here");
    QTest::newRow("skipped destinations")
        << QByteArray("{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\header H\\par}"
                      "{\\footnote F}{\\*\\unknown U}{\\pict\\bin3 {}}}x{\\*\\generator G;}y"
                      "{\\listtable{\\list x}}{\\pntext z\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb q}}w}"
                      "after the end")
        // The picture, its data taken by count, stays as one object character.
        << QStringLiteral("\uFFFCxyw|F");
    QTest::newRow("binary skipped by count")
        << QByteArray("{\\rtf1 a{\\*\\blipuid \\bin6 }{}\\}b}c}") << QStringLiteral("ac");
    QTest::newRow("old par spelling") << QByteArray("{\\rtf1 a\\\nb}") << QStringLiteral("a|b");
    QTest::newRow("hidden text kept")
        << QByteArray("{\\rtf1 a{\\v hidden}b\\v c\\v0 d}") << QStringLiteral("ahiddenbcd");
    QTest::newRow("note numbered where the note does not show it")
        << QByteArray("{\\rtf1 a\\chftn{\\footnote b} c\\par}") << QStringLiteral("a1 c|1 b");
    QTest::newRow("footnotes before endnotes")
        << QByteArray("{\\rtf1 a\\chftn{\\footnote\\chftn  F}b\\chftn{\\footnote\\ftnalt\\chftn  E}"
                      "c\\chftn{\\footnote\\ftnalt\\chftn  G}d\\chftn{\\footnote\\chftn  H}}")
        << QStringLiteral("a1biciid2|1 F|2 H|i E|ii G");
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}")
        << QStringLiteral("\u2014\u2013\u2018\u2019\u201C\u201D\u2022");
}

void TestRtf::readsText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(readInto(document, rtf));
    QCOMPARE(paragraphs(document), expected);
}

void TestRtf::readsFormatsIntoSelection_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");

    const QByteArray styles = "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}"
                              "{\\stylesheet{\\s0\\snext0\\f1\\fs22 Normal;}"
                              "{\\s1\\sbasedon0\\snext2\\qc\\sb240\\sa120\\fs32\\b Heading;}"
                              "{\\s2\\sbasedon1\\snext0\\i Sub;}}"
                              "\\pard\\plain\\s1 Titel\\par\\pard\\plain Text\\par"
                              "\\pard\\plain\\s2 Unter\\par\\pard\\plain\\s1\\fs20\\ql Klein\\par}";
    // As LibreOffice reads styles: size, bold, italic, underline, colour, font, indents and the
    // spacing before and after that the named style gives itself stay at the plain defaults;
    // what the styles it is based on give, and its alignment, apply.
    QTest::newRow("paragraph style")
        << styles << QStringLiteral("Titel")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align center in0 h0 r0 bu0/0 | s0/0/0 -");
    QTest::newRow("default style")
        << styles << QStringLiteral("Text")
        << QStringLiteral("Times New Roman 12pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s0/0/0 -");
    QTest::newRow("style based on a style")
        << styles << QStringLiteral("Unter")
        << QStringLiteral("Arial 16pt b1 i0 c0 | align center in0 h0 r0 bu0/0 | s240/120/0 -");
    QTest::newRow("direct formatting after the style wins")
        << styles << QStringLiteral("Klein")
        << QStringLiteral("Arial 10pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s0/0/0 -");
    QTest::newRow("text before any paragraph format")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}"
                      "{\\stylesheet{\\f1\\fs20\\sa100\\qc Normal;}}Anfang\\par}")
        << QStringLiteral("Anfang")
        << QStringLiteral(
               "Times New Roman 12pt b0 i0 c0 | align center in0 h0 r0 bu0/0 | s0/0/0 -");

    const QByteArray characterStyle
        = "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;}"
          "{\\stylesheet{\\s0 Normal;}{\\*\\cs10\\additive\\i\\cf1 Betont;}}"
          "\\pard\\plain Normal {\\*\\cs10 betont} und {\\cs10\\i0 gerade}\\par}";
    QTest::newRow("character style")
        << characterStyle << QStringLiteral("betont")
        << QStringLiteral("Times New Roman 12pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s0/0/0 -");
    QTest::newRow("after a character style")
        << characterStyle << QStringLiteral("und")
        << QStringLiteral("Times New Roman 12pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s0/0/0 -");
    QTest::newRow("character style, then direct")
        << characterStyle << QStringLiteral("gerade")
        << QStringLiteral("Times New Roman 12pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s0/0/0 -");

    QTest::newRow("justified reads as Null")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\qj Blocksatz\\par}")
        << QStringLiteral("Blocksatz")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align Null in0 h0 r0 bu0/0 | s0/0/0 -");

    const QByteArray spacing = "{\\rtf1{\\fonttbl{\\f0 Arial;}}"
                               "\\pard\\sb120\\sa240\\sl360\\slmult1 Anderthalb\\par"
                               "\\pard\\sl-300\\slmult0 Genau\\par\\pard\\sl300 Mindestens\\par}";
    QTest::newRow("spacing, multiple line spacing")
        << spacing << QStringLiteral("Anderthalb")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s120/240/360m -");
    QTest::newRow("exact line spacing")
        << spacing << QStringLiteral("Genau")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s0/0/-300 -");
    QTest::newRow("line spacing at least")
        << spacing << QStringLiteral("Mindestens")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align left in0 h0 r0 bu0/0 | s0/0/300 -");

    const QByteArray numbered
        = "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listtemplateid7"
          "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}"
          "\\fi-360\\li720}{\\listlevel\\levelnfc4{\\leveltext\\'03(\\'01);}"
          "{\\levelnumbers\\'02;}\\fi-360\\li1440}\\listid7}}"
          "{\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}"
          "\\pard{\\listtext 1.\\tab}\\ls1 Eins\\par\\pard{\\listtext 2.\\tab}\\ls1 Zwei\\par"
          "\\pard{\\listtext (a)\\tab}\\ls1\\ilvl1 Unterpunkt\\par"
          "\\pard{\\listtext 3.\\tab}\\ls1\\li1000\\fi-500 Drei\\par}";
    QTest::newRow("numbered list, indents of the level")
        << numbered << QStringLiteral("Eins")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align left in360 h360 r0 bu0/360 | s0/0/0 1.");
    QTest::newRow("numbered list, second level")
        << numbered << QStringLiteral("Unterpunkt")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align left in1080 h360 r0 bu0/360 | s0/0/0 (a)");
    QTest::newRow("numbered list goes on, direct indents win")
        << numbered << QStringLiteral("Drei")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align left in500 h500 r0 bu0/500 | s0/0/0 3.");
    QTest::newRow("bulleted list")
        << QByteArray(
               "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list{\\listlevel\\levelnfc23"
               "{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}\\fi-283\\li709}\\listid3}}"
               "{\\listoverridetable{\\listoverride\\listid3\\ls2}}"
               "\\pard{\\listtext\\u8226 ?\\tab}\\ls2 Punkt\\par}")
        << QStringLiteral("Punkt")
        << QStringLiteral("Arial 12pt b0 i0 c0 | align left in426 h283 r0 bu1/283 | s0/0/0 -");
}

// Read into the selection's properties, then written and read again to the same values.
void TestRtf::readsFormatsIntoSelection()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, word);
    QFETCH(QString, expected);

    RichTextBox box;
    QVERIFY(loadAndFind(box, rtf, word));
    QCOMPARE(selection(box), expected);
    QVERIFY(!box.Text().contains(QChar(0x2022)));

    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
    RichTextBox again;
    QVERIFY(loadAndFind(again, box.SelRTF().toLatin1(), word));
    QCOMPARE(selection(again), expected);
    QCOMPARE(again.Text(), box.Text());
}

void TestRtf::styleGivesNoIndentsAndOwnTabsReplaceItsTabs()
{
    QTextDocument document;
    QVERIFY(readInto(document,
                     "{\\rtf1{\\stylesheet{\\s0 Normal;}"
                     "{\\s5\\li1440\\fi-360\\tx720\\tx1440\\qc Styled;}}"
                     "\\pard\\plain\\s5 a\\par\\pard\\plain\\s5\\li720\\tx100 b\\par}"));
    QCOMPARE(describe(document.begin()),
             QStringLiteral("align center in0 h0 r0 t[720,1440] b0/0 s0/0/0 -"));
    QCOMPARE(describe(document.begin().next()),
             QStringLiteral("align center in720 h0 r0 t[100] b0/0 s0/0/0 -"));
}

void TestRtf::readsListLabels_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("bullets");

    QTest::newRow("bullet glyph dropped")
        << QByteArray("{\\rtf1{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}a\\par b\\par"
                      "\\pard c\\par}")
        << QStringLiteral("a|b|c") << QStringLiteral("110");
    QTest::newRow("legacy numbers shown by a list")
        << QByteArray("{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}a\\par"
                      "{\\pntext 2.\\tab}b\\par}")
        << QStringLiteral("a|b") << QStringLiteral("00");
    QTest::newRow("list style missing from the list table")
        << QByteArray("{\\rtf1\\pard{\\listtext\\pard a)\\tab}\\ls2 x\\par"
                      "\\pard{\\listtext o\\tab}\\ls1 y\\par\\pard\\ls1 z\\par}")
        << QStringLiteral("a)\tx|o\ty|z") << QStringLiteral("000");
}

void TestRtf::readsListLabels()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QFETCH(QString, bullets);
    QTextDocument document;
    QVERIFY(readInto(document, rtf));
    QCOMPARE(paragraphs(document), expected);
    QString found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        found += TextFormat::bullet(block.blockFormat()) ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(found, bullets);
}

// Small files as other word processors write them: text and formatting as LibreOffice reads
// them, kept through saving and reading again.
void TestRtf::keepsWhatOtherWordProcessorsWrite_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("traits"); // "text => traits of its first character"
    QTest::addColumn<QByteArray>("written"); // what the saved file holds

    const QString plain
        = QStringLiteral("Liberation Serif 12pt b0 o0 underline none/none v0 bg- | - s0/0");
    QTest::newRow("hidden text")
        << QStringLiteral("hidden.rtf") << QStringLiteral("Sichtbar versteckt Ende|Noch mehr Text")
        << QStringList {QStringLiteral("Sichtbar => ") + plain,
                        QStringLiteral("versteckt => Liberation Serif 12pt b0 o0 underline "
                                       "dotted/none v1 bg- | - s0/0"),
                        QStringLiteral("mehr => Liberation Serif 12pt b0 o0 underline "
                                       "single/single v1 bg- | - s0/0"),
                        QStringLiteral(" Ende => ") + plain}
        << QByteArray("\\v versteckt\\v0 ");
    const QString raised
        = QStringLiteral("Liberation Serif 12pt b0 o%1 underline none/none v0 bg- | - s0/0");
    QTest::newRow("footnotes")
        << QStringLiteral("footnote.rtf")
        << QStringLiteral("Text1 weiter|Zweiter2 Satz*|1 Fussnote.|2 Noch eine.|* Eigenes Zeichen.")
        << QStringList {QStringLiteral("1 weiter => ") + raised.arg(80),
                        QStringLiteral(" weiter => ") + plain,
                        QStringLiteral("2 Satz => ") + raised.arg(80),
                        QStringLiteral("1 Fussnote => ") + raised.arg(60),
                        QStringLiteral(" Fussnote => ") + plain,
                        QStringLiteral("2 Noch => ") + raised.arg(80),
                        QStringLiteral("* Eigenes => ") + raised.arg(80)}
        << QByteArray("Fussnote.");
    QTest::newRow("endnotes") << QStringLiteral("endnote.rtf")
                              << QStringLiteral("Anfangi Schluss|i Endnote.")
                              << QStringList {QStringLiteral("i Schluss => ") + raised.arg(80),
                                              QStringLiteral("i Endnote => ") + raised.arg(80)}
                              << QByteArray("Endnote.");
    QTest::newRow("nested table") << QStringLiteral("nested-table.rtf")
                                  << QStringLiteral("A\t|Danach")
                                  << QStringList {QStringLiteral("A => ") + plain}
                                  << QByteArray("A\\tab\\par");
    QTest::newRow("raised and lowered paragraph ends")
        << QStringLiteral("script-end.rtf") << QStringLiteral("xhoch|ytief|Weiter")
        << QStringList {QStringLiteral("hoch => ") + raised.arg(80),
                        QStringLiteral("tief => ") + raised.arg(-80),
                        QStringLiteral("Weiter => ") + plain}
        << QByteArray("tief\\nosupersub\\par");
    QTest::newRow("font table inside upr")
        << QStringLiteral("upr-fonts.rtf") << QStringLiteral("mono|proportional")
        << QStringList {QStringLiteral(
                            "mono => Courier New 12pt b0 o0 underline none/none v0 bg- | - s0/0"),
                        QStringLiteral(
                            "proportional => Arial 12pt b0 o0 underline none/none v0 bg- | - s0/0")}
        << QByteArray("Courier New;");
    QTest::newRow("styles reset by pard and plain")
        << QStringLiteral("style-reset.rtf") << QStringLiteral("Eins|Titel|Fett|Zwei")
        << QStringList {QStringLiteral("Eins => ") + plain,
                        QStringLiteral("Titel => Liberation Serif 14pt b0 o0 underline none/none "
                                       "v0 bg- | - s0/0"),
                        QStringLiteral("Fett => ") + plain, QStringLiteral("Zwei => ") + plain}
        << QByteArray("Titel");
    QTest::newRow("legacy numbering")
        << QStringLiteral("pn-lists.rtf") << QStringLiteral("One|Two|Drei|Punkt|Ende")
        << QStringList {QStringLiteral("One => Liberation Serif 12pt b0 o0 underline none/none v0 "
                                       "bg- | 1. s0/0"),
                        QStringLiteral("Two => Liberation Serif 12pt b0 o0 underline none/none v0 "
                                       "bg- | 2. s0/0"),
                        QStringLiteral("Drei => Liberation Serif 12pt b0 o0 underline none/none v0 "
                                       "bg- | a) s0/0"),
                        QStringLiteral("Punkt => Liberation Serif 12pt b0 o0 underline none/none "
                                       "v0 bg- | * s0/0"),
                        QStringLiteral("Ende => ") + plain}
        << QByteArray("\\levelnfc4");
    QTest::newRow("list styles missing from the list table")
        << QStringLiteral("ls-unknown.rtf") << QStringLiteral("1.\tEins|o\tZwei|Drei")
        << QStringList {QStringLiteral("1. => ") + plain, QStringLiteral("o => ") + plain,
                        QStringLiteral("Drei => ") + plain}
        << QByteArray("o\\tab Zwei");
    QTest::newRow("highlighting")
        << QStringLiteral("highlight.rtf") << QStringLiteral("Normal gelb und gruen wieder")
        << QStringList {QStringLiteral("Normal => ") + plain,
                        QStringLiteral("gelb => Liberation Serif 12pt b0 o0 underline none/none v0 "
                                       "bg#ffff00 | - s0/0"),
                        QStringLiteral("gruen => Liberation Serif 12pt b0 o0 underline none/none "
                                       "v0 bg#00ff00 | - s0/0"),
                        QStringLiteral(" wieder => ") + plain}
        << QByteArray("\\highlight1 gelb");
}

void TestRtf::keepsWhatOtherWordProcessorsWrite()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(QStringList, traits);
    QFETCH(QByteArray, written);
    TestEnvironment environment;
    const QString saved = environment.path(QStringLiteral("saved.rtf"));

    RichTextBox box;
    QCOMPARE(box.LoadFile(QStringLiteral(VELMAR_FIXTURES_DIR "/rtf/") + file, RichTextBox::rtfRTF),
             RichTextBox::LoadResult::Ok);
    QVERIFY(box.SaveFile(saved, RichTextBox::rtfRTF));
    RichTextBox again;
    QCOMPARE(again.LoadFile(saved, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QFile savedFile(saved);
    QVERIFY(savedFile.open(QIODevice::ReadOnly));
    QVERIFY2(savedFile.readAll().contains(written), written.constData());

    for (const RichTextBox *read : {&box, &again}) {
        QCOMPARE(paragraphs(*read->document()), text);
        for (const QString &expected : traits) {
            const QString word = expected.section(QStringLiteral(" => "), 0, 0);
            QCOMPARE(word + QStringLiteral(" => ") + traitsAt(*read->document(), word), expected);
        }
    }
}

void TestRtf::insertsAtCursor_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("words") << QByteArray("{\\rtf1 ab}") << QStringLiteral("xaby|z");
    QTest::newRow("paragraph end splits")
        << QByteArray("{\\rtf1 a\\par}") << QStringLiteral("xa|y|z");
    QTest::newRow("two paragraphs") << QByteArray("{\\rtf1 a\\par b}") << QStringLiteral("xa|by|z");
}

void TestRtf::insertsAtCursor()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    document.setPlainText(QStringLiteral("xy\nz"));
    QTextCursor cursor(&document);
    cursor.setPosition(1);
    QVERIFY(rtf::read(rtf, cursor).ok);
    QCOMPARE(paragraphs(document), expected);
}

void TestRtf::decodesCodePages()
{
    QTextDocument document;
    QVERIFY(readInto(document,
                     QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 A;}"
                                "{\\f1\\fcharset204 B;}{\\f2\\fcharset128 C;}"
                                "{\\f3\\fcharset1 D;}}"
                                "\\f1\\'cf\\'f0\\f0\\'e4\\f2\\'82\\'a0\\f3\\'c0}")));
    QCOMPARE(document.toPlainText(), QStringLiteral("\u041F\u0440\u00E4\u3042\u0410"));
}

void TestRtf::roundTripKeepsFormats()
{
    QTextDocument original;
    QTextCursor cursor(&original);

    QTextBlockFormat block;
    block.setAlignment(Qt::AlignHCenter);
    TextFormat::setIndents(block, 10, 5, 20);
    TextFormat::setTabStops(block, {12.5, 40});
    cursor.setBlockFormat(block);

    QTextCharFormat chars;
    chars.setFontFamilies({QStringLiteral("Arial")});
    chars.setFontPointSize(10.5);
    cursor.insertText(QStringLiteral("Plain {braces} \\ and ä€„Ω\U0001F600\t"), chars);
    chars.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), chars);
    chars.setFontItalic(true);
    chars.setForeground(QColor(0x12, 0x34, 0x56));
    cursor.insertText(QStringLiteral("bold italic blue"), chars);

    QTextBlockFormat bulleted;
    TextFormat::setIndents(bulleted, 0, 6.35, 0);
    TextFormat::setBullet(bulleted, true, 6.35);
    QTextCharFormat other;
    other.setFontFamilies({QStringLiteral("Courier New")});
    other.setFontPointSize(14);
    other.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    cursor.insertBlock(bulleted, other);
    cursor.insertText(QStringLiteral("wavy"), other);
    other.setUnderlineStyle(QTextCharFormat::DotLine);
    other.setFontStrikeOut(true);
    cursor.insertText(QStringLiteral("dotted struck\u2028next line"), other);

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    TextFormat::setIndents(right, -5, -5, 0);
    QTextCharFormat offsets;
    offsets.setFontPointSize(11);
    cursor.insertBlock(right, offsets);
    cursor.insertText(QStringLiteral("H"), offsets);
    TextFormat::setCharOffset(offsets, -60);
    cursor.insertText(QStringLiteral("2"), offsets);
    TextFormat::setCharOffset(offsets, 0);
    cursor.insertText(QStringLiteral("O x"), offsets);
    TextFormat::setCharOffset(offsets, 11 * 20 / 3.0);
    cursor.insertText(QStringLiteral("super"), offsets);
    TextFormat::setCharOffset(offsets, 70);
    cursor.insertText(QStringLiteral("up"), offsets);

    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    TextFormat::setSpacing(justified, 120, 240, -300, false);
    cursor.insertBlock(justified, offsets);
    cursor.insertText(QStringLiteral("justified"), offsets);
    QTextBlockFormat numbered;
    TextFormat::setIndents(numbered, 5, 5, 0);
    TextFormat::setBullet(numbered, false, 5);
    TextFormat::setSpacing(numbered, 0, 0, 360, true);
    QTextListFormat roman;
    roman.setStyle(QTextListFormat::ListUpperRoman);
    roman.setIndent(0);
    roman.setNumberPrefix(QStringLiteral("("));
    roman.setNumberSuffix(QStringLiteral(")"));
    cursor.insertBlock(numbered, offsets);
    cursor.createList(roman);
    cursor.insertText(QStringLiteral("first"), offsets);
    cursor.insertBlock(cursor.blockFormat(), offsets);
    cursor.insertText(QStringLiteral("second"), offsets);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());

    const QByteArray written = rtf::write(original);
    QTextDocument copy;
    QVERIFY(readInto(copy, written));
    QCOMPARE(runs(copy), runs(original));
    QCOMPARE(rtf::write(copy), written);
}

// The font and size of each paragraph as the font boxes show them with the caret in it.
QStringList shownFonts(RichTextBox &box)
{
    QStringList fonts;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        box.setSelStart(block.position() + (block.length() > 1 ? 1 : 0));
        fonts.append(box.SelFontName().value_or(QString()) + QLatin1Char(' ')
                     + QString::number(box.SelFontSize().value_or(0)));
    }
    return fonts;
}

// Typed as a user does: a line, two Enters, the text; then the line set to another font and
// size, which leaves the empty paragraph as it was.
void TestRtf::emptyParagraphKeepsItsFormat()
{
    TestEnvironment environment;
    const QString path = environment.path(QStringLiteral("leer.rtf"));
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClicks(&box, QStringLiteral("Titel"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("Text"));
    QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_End, Qt::ShiftModifier);
    box.setSelFontName(QStringLiteral("Courier New"));
    box.setSelFontSize(16);
    const QStringList shown = shownFonts(box);
    QCOMPARE(shown.first(), QStringLiteral("Courier New 16"));
    QCOMPARE(shown.at(1), shown.at(2));
    QVERIFY(!RtfFiles::saveAndRead(box, path).isEmpty());

    RichTextBox again;
    QCOMPARE(again.LoadFile(path, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(paragraphs(*again.document()), QStringLiteral("Titel||Text"));
    QCOMPARE(shownFonts(again), shown);
}

void TestRtf::writesStandardRtf()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextBlockFormat bulleted;
    TextFormat::setBullet(bulleted, true, 5);
    cursor.setBlockFormat(bulleted);
    cursor.insertText(
        QString(300, QLatin1Char('w')) + QStringLiteral(" Ärger über € ")
        + QString(20, QLatin1Char(' ')).replace(QLatin1Char(' '), QStringLiteral("wort ")));
    const QByteArray rtf = rtf::write(document);

    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QVERIFY(rtf.contains("\\'c4rger \\'fcber \\'80"));
    QVERIFY(rtf.contains(
        "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent283{\\pntxtb\\'B7}}"));
    QVERIFY(rtf.contains("{\\f1\\fnil\\fcharset2 Symbol;}"));
    QVERIFY(rtf.endsWith("\\par\r\n}\r\n"));
    QVERIFY(!rtf.contains('\t'));
    for (const QByteArray &line : rtf.split('\n')) {
        QVERIFY(line.size() < 300);
        QVERIFY(line.isEmpty() || line.endsWith('\r'));
    }
}

void TestRtf::writesRanges_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("pars");

    // "abc|def|" with the second paragraph centred
    QTest::newRow("inside a paragraph") << 1 << 3 << QStringLiteral("bc") << 0;
    QTest::newRow("up to the paragraph end") << 1 << 4 << QStringLiteral("bc") << 1;
    QTest::newRow("across paragraphs") << 2 << 6 << QStringLiteral("c|de") << 1;
    QTest::newRow("everything") << 0 << -1 << QStringLiteral("abc|def") << 2;
    QTest::newRow("empty") << 3 << 3 << QString() << 0;
}

void TestRtf::writesRanges()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, expected);
    QFETCH(int, pars);

    QTextDocument document;
    document.setPlainText(QStringLiteral("abc\ndef"));
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);

    const QByteArray rtf = rtf::write(document, from, to);
    QCOMPARE(rtf.count("\\par\r\n"), pars);
    QCOMPARE(rtf.count("\\qc"), expected.contains(QLatin1Char('d')) ? 1 : 0);
    QTextDocument copy;
    QVERIFY(readInto(copy, rtf));
    QCOMPARE(paragraphs(copy), expected);
}

void TestRtf::survivesMalformedInput_data()
{
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << QByteArray("{\\rtf");
    QTest::newRow("unbalanced close") << QByteArray("{\\rtf1 a}}}} b}");
    QTest::newRow("unbalanced open") << QByteArray("{\\rtf1 {{{{ a\\par");
    QTest::newRow("deep nesting") << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "x";
    QTest::newRow("deep nesting closed")
        << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "\\b x" + QByteArray(100000, '}');
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin99999999999 b}");
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}");
    QTest::newRow("huge unicode") << QByteArray("{\\rtf1 \\u99999999999 \\u-99999999 x}");
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 \\'zz\\'4");
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 \\'4");
    QTest::newRow("huge font size") << QByteArray("{\\rtf1 \\fs99999999999999 x\\fs-5 y}");
    QTest::newRow("huge indents") << QByteArray("{\\rtf1 \\li99999999999\\fi-99999999999 x\\par}");
    QTest::newRow("many tabs") << QByteArray("{\\rtf1 ") + QByteArray("\\tx100").repeated(1000)
            + "x\\par}";
    QTest::newRow("long word") << QByteArray("{\\rtf1 \\") + QByteArray(100000, 'a') + " x}";
    QTest::newRow("trailing backslash") << QByteArray("{\\rtf1 x\\");
    QTest::newRow("nested fonttbl") << QByteArray("{\\rtf1{\\fonttbl{\\f0{\\f1{\\f2 A;}}}}\\f2 x}");
    QTest::newRow("field without group") << QByteArray("{\\rtf1\\field\\field\\fldrslt x}");
    QTest::newRow("style cycles") << QByteArray(
        "{\\rtf1{\\stylesheet{\\s1\\sbasedon2\\b A;}{\\s2\\sbasedon1\\i B;}"
        "{\\s3\\sbasedon3 C;}{\\stylesheet{\\s4 D;}}\\s5}\\s1 x\\s3 y\\plain z}");
    QTest::newRow("unclosed footnote")
        << QByteArray("{\\rtf1 a\\chftn{\\footnote\\ftnalt\\chftn b");
    QTest::newRow("notes inside notes and tables")
        << QByteArray("{\\rtf1{\\footnote a{\\footnote b}\\ftnalt\\chftn}{\\fonttbl{\\footnote c}}"
                      "\\ftnalt\\chftn{\\upr{\\footnote d}{\\*\\ud x}}}");
    QTest::newRow("many notes") << QByteArray("{\\rtf1 ")
            + QByteArray("x\\chftn{\\footnote\\chftn y}{\\footnote\\ftnalt z\\par}").repeated(1000)
            + "}";
    QTest::newRow("many legacy numberings") << QByteArray("{\\rtf1 ")
            + QByteArray("{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxta x}{\\pntxtb y}}z\\par")
                  .repeated(1000)
            + "{\\*\\pn\\pnlvlbody{\\pntxta a}}b}";
    QTest::newRow("many references to a long style") << QByteArray("{\\rtf1{\\stylesheet{\\s1")
            + QByteArray("\\b\\i\\tx5\\qc").repeated(500) + " A;}}"
            + QByteArray("\\s1\\plain\\pard x").repeated(20000) + "}";
    QTest::newRow("list table out of order")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel{\\*\\listtable{\\list}}\\levelnfc0"
                      "{\\leveltext\\'05\\'00;}}}{\\listlevel}\\listid1}{\\leveltext x}\\listlevel"
                      "{\\listoverridetable\\ls3{\\listoverride\\listid1\\ls1}}\\levelnfc3"
                      "\\ls1\\ilvl99 a\\par\\ls-5 b\\par\\ls3 c}");
    QByteArray levels(
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0}{\\listlevel\\levelnfc2}"
        "\\listid1}}{\\listoverridetable{\\listoverride\\listid1\\ls1}}");
    for (int i = 0; i < 5000; ++i)
        levels += i % 2 ? "\\ls1\\ilvl1 x\\par" : "\\ls1\\ilvl0 y\\par";
    QTest::newRow("many list levels") << levels + "}";
    QByteArray random("{\\rtf1 ");
    QRandomGenerator generator(20261210);
    for (int i = 0; i < 200000; ++i)
        random.append(static_cast<char>(generator.bounded(256)));
    QTest::newRow("random bytes") << random;
    QByteArray tokens("{\\rtf1 ");
    static const char *pieces[] = {"{",
                                   "}",
                                   "\\par",
                                   "\\u-5",
                                   "\\uc9",
                                   "\\'e4",
                                   "\\b",
                                   "x",
                                   "\\*",
                                   "\\fonttbl",
                                   "\\f3",
                                   "\\bin3",
                                   "\\pn",
                                   "\\cell",
                                   "\\row",
                                   "\\field",
                                   "\\fldinst",
                                   ";",
                                   "\\colortbl",
                                   "\\stylesheet",
                                   "\\s1",
                                   "\\cs2",
                                   "\\sbasedon1",
                                   "\\plain",
                                   "\\pard",
                                   "\\listtable",
                                   "\\list",
                                   "\\listlevel",
                                   "\\leveltext",
                                   "\\'01",
                                   "\\levelnfc0",
                                   "\\listid1",
                                   "\\ls1",
                                   "\\ilvl1",
                                   "\\listoverridetable",
                                   "\\listoverride",
                                   "\\qj",
                                   "\\sl-20",
                                   "\\sb9"};
    for (int i = 0; i < 50000; ++i)
        tokens.append(pieces[generator.bounded(int(std::size(pieces)))]);
    QTest::newRow("random tokens") << tokens;
}

void TestRtf::survivesMalformedInput()
{
    QFETCH(QByteArray, data);
    QTextDocument document;
    QTextCursor cursor(&document);
    const rtf::ReadResult result = rtf::read(data, cursor);
    QCOMPARE(result.ok, data.startsWith("{\\rtf"));
    QCOMPARE(result.error.isEmpty(), result.ok);
    QVERIFY(readInto(document, rtf::write(document)));
}

void TestRtf::rejectsNonRtf()
{
    QVERIFY(!rtf::looksLikeRtf("Hallo"));
    QVERIFY(rtf::looksLikeRtf(" \r\n{\\rtf1}"));
    QTextDocument document;
    QTextCursor cursor(&document);
    const rtf::ReadResult result = rtf::read("{\\rtx1 x}", cursor);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QStringLiteral("Die Datei ist kein gültiges RTF-Dokument."));
    QVERIFY(document.isEmpty());
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
