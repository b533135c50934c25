// Printing through the print dialog, print set-up, and the document properties box.
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "frame/frmMain.h"
#include "platform/MsgBox.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/PictureFixtures.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

// One word of a printed page as pdftotext reads it back, in millimetres from the page's
// top left corner.
struct PrintedWord
{
    QString text;
    double left;
    double top;
    double right;
};

constexpr double mmPerPoint = 25.4 / 72.0;

QList<PrintedWord> printedWords(const QString &pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        qFatal("pdftotext (poppler-utils) is missing; scripts/setup.sh installs it");
    QProcess process;
    process.start(tool, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"[\\d.]+\">([^<]*)</word>"));
    QList<PrintedWord> words;
    for (const QRegularExpressionMatch &match : word.globalMatch(html))
        words.append({match.captured(4), match.captured(1).toDouble() * mmPerPoint,
                      match.captured(2).toDouble() * mmPerPoint,
                      match.captured(3).toDouble() * mmPerPoint});
    // In reading order: line by line, each from the left.
    std::sort(words.begin(), words.end(), [](const PrintedWord &a, const PrintedWord &b) {
        return qAbs(a.top - b.top) > 1.0 ? a.top < b.top : a.left < b.left;
    });
    return words;
}

// The images of a PDF as pdfimages lists them: one line each.
QStringList printedImages(const QString &pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (tool.isEmpty())
        qFatal("pdfimages (poppler-utils) is missing; scripts/setup.sh installs it");
    QProcess process;
    process.start(tool, {QStringLiteral("-list"), pdf});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    // Two lines of headings come first.
    return QString::fromUtf8(process.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .mid(2);
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void printAllThroughDialog();
    void printSelectionKeepsSelection();
    void printCancelledPrintsNothing();
    void printToFullDiskKeepsOldFile_data();
    void printToFullDiskKeepsOldFile();
    void printCopyBreaksWrappedLinesOnly();
    void plainTextPrintsChosenRange();
    void copyBreaksAsScreenAtEveryWidth();
    void printoutDrawsPicturesWhereShown();
    void printoutPlacesTextAsScreen_data();
    void printoutPlacesTextAsScreen();
    void printoutBreaksLinesAsScreen_data();
    void printoutBreaksLinesAsScreen();
    void propertiesOfUnsavedWindow();
    void propertiesOfSavedFile();
    void propertiesOfVanishedFile();
    void propertiesFormatsWhateverLocale_data();
    void propertiesFormatsWhateverLocale();

private:
    frmDocument *richWindow(const QString &text);
    Modal::Request lastModal() const { return program->env.modals.seen().constLast(); }

    std::unique_ptr<RunningProgram> program;
};

void TestPrinting::init()
{
    program = std::make_unique<RunningProgram>();
    program->start();
}

void TestPrinting::cleanup()
{
    QLocale::setDefault(QLocale::system());
    program->stop();
    QCOMPARE(program->env.modals.pending(), 0);
    program.reset();
}

frmDocument *TestPrinting::richWindow(const QString &text)
{
    program->main().LoadNewDoc();
    auto *window = qobject_cast<frmDocument *>(program->active());
    window->txtText->setText(text);
    return window;
}

void TestPrinting::printAllThroughDialog()
{
    frmDocument *window = richWindow("Erste Zeile\rZweite Zeile");
    window->txtText->setSelStart(5);
    const QString pdf = program->env.path("alles.pdf");
    program->env.modals.answerPrint(pdf, 0, 2);
    window->mnuFilePrint->trigger();
    QCOMPARE(lastModal().kind, Modal::Kind::Print);
    QCOMPARE(lastModal().style, 0x100100 | 4);
    QVERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY(program->readFile(pdf).startsWith("%PDF"));
    QCOMPARE(window->txtDruck->Text(), window->txtText->Text());
    QCOMPARE(window->txtText->SelStart(), 0);
    QCOMPARE(window->txtText->SelLength(), 0);
}

void TestPrinting::printToFullDiskKeepsOldFile_data()
{
    QTest::addColumn<bool>("richText");
    QTest::newRow("rich text") << true;
    QTest::newRow("plain text") << false;
}

void TestPrinting::printToFullDiskKeepsOldFile()
{
    QFETCH(bool, richText);
    const QByteArray old = "%PDF-1.4 alte Druckdatei\n" + QByteArray(500, 'a');
    const QString pdf = program->writeFile("alt.pdf", old);
    DocumentWindow *window = program->document("Erste Zeile\rZweite Zeile", 0, 0, richText);
    program->env.modals.answerPrint(pdf, 0);
    program->env.modals.answerMessage(vbOK);
    {
        const FileSizeLimit fullDisk(1024);
        window->mnuFilePrint->trigger();
    }
    QCOMPARE(program->readFile(pdf), old);
    QCOMPARE(lastModal().style, int(vbCritical));
    QCOMPARE(lastModal().title, QStringLiteral("Drucken"));
}

void TestPrinting::printSelectionKeepsSelection()
{
    frmDocument *window = richWindow("Erste Zeile\rZweite Zeile");
    window->txtText->setSelStart(6);
    window->txtText->setSelLength(5);
    window->txtText->setSelBold(true);
    const QString pdf = program->env.path("auswahl.pdf");
    program->env.modals.answerPrint(pdf, 1);
    window->mnuFilePrint->trigger();
    QCOMPARE(lastModal().style, 0x100100 | 1);
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(window->txtDruck->Text(), QStringLiteral("Zeile"));
    window->txtDruck->setSelStart(0);
    window->txtDruck->setSelLength(5);
    QCOMPARE(window->txtDruck->SelBold(), std::optional<bool>(true));
    QCOMPARE(window->txtText->SelStart(), 6);
    QCOMPARE(window->txtText->SelLength(), 5);
}

void TestPrinting::printCancelledPrintsNothing()
{
    frmDocument *window = richWindow("Text");
    window->txtText->setSelStart(2);
    program->env.modals.cancel();
    window->mnuFilePrint->trigger();
    QCOMPARE(window->txtDruck->Text(), QString());
    QCOMPARE(window->txtText->SelStart(), 2);
}

void TestPrinting::printCopyBreaksWrappedLinesOnly()
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("Absatz %1: ").arg(i) + QString(30, QLatin1Char('w'))
            + QStringLiteral(" und noch viele weitere Wörter, die umbrechen müssen, ")
            + QStringLiteral("damit der Absatz mehrere Zeilen belegt.\r");
    text.chop(1);
    frmDocument *window = richWindow(text);
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(static_cast<int>(text.size()));
    window->txtText->setSelIndent(10);
    window->txtText->setSelHangingIndent(-5);
    const int screenLines = window->txtText->GetLineFromChar(static_cast<int>(text.size()));
    program->env.modals.answerPrint(program->env.path("lang.pdf"), 0);
    window->mnuFilePrint->trigger();

    const QString printed = window->txtDruck->Text();
    QCOMPARE(window->txtText->Text(), text);
    QCOMPARE(printed.count(QLatin1Char('\r')), text.count(QLatin1Char('\r')));
    QVERIFY(printed.count(QLatin1Char('\v')) >= 200);
    // The copy breaks where the screen does: as many display lines, the same words.
    QCOMPARE(window->txtDruck->GetLineFromChar(static_cast<int>(printed.size())), screenLines);
    QString words = printed;
    words.remove(QLatin1Char('\v')).remove(QLatin1Char(' '));
    QCOMPARE(words, QString(text).remove(QLatin1Char(' ')));
    // Indents stay paragraph values: only each paragraph's first line is indented.
    window->txtDruck->setSelStart(0);
    window->txtDruck->setSelLength(static_cast<int>(printed.size()));
    QVERIFY(qAbs(window->txtDruck->SelIndent().value_or(0) - 10) < 0.02);
}

void TestPrinting::copyBreaksAsScreenAtEveryWidth()
{
    QString paragraph;
    for (int i = 1; i <= 40; ++i)
        paragraph += QStringLiteral("Wort%1 ").arg(i * 7);
    paragraph.chop(1);
    frmDocument *window = richWindow(paragraph);
    RichTextBox *text = window->txtText;
    text->setSelIndent(10);
    text->setSelHangingIndent(-5);
    text->setSelRightIndent(7.5);
    text->setSelBullet(true);
    text->setBulletIndent(5);
    // Widths where a line just fits or just misses catch a copy laid out even slightly
    // otherwise: another margin or font, indents rounded on the way.
    for (double width = 60; width <= 160; width += 0.5) {
        text->setRightMargin(width);
        QStringList screenLines;
        for (int i = 0; i < paragraph.size(); ++i) {
            if (i == 0 || text->GetLineFromChar(i) != text->GetLineFromChar(i - 1))
                screenLines.append(QString());
            screenLines.last() += paragraph.at(i);
        }
        program->env.modals.answerPrint(program->env.path("breite.pdf"), 0);
        window->mnuFilePrint->trigger();
        QStringList printedLines = window->txtDruck->Text().split(QLatin1Char('\v'));
        for (QStringList *lines : {&screenLines, &printedLines}) {
            for (QString &line : *lines)
                line = line.trimmed();
        }
        QVERIFY2(printedLines == screenLines, qPrintable(QStringLiteral("%1 mm").arg(width)));
    }
}

void TestPrinting::plainTextPrintsChosenRange()
{
    program->main().LoadNewText();
    DocumentWindow *window = program->active();
    window->txtText->setText("Hallo Welt");
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(5);
    const QString pdf = program->env.path("text.pdf");
    program->env.modals.answerPrint(pdf, 0);
    window->mnuFilePrint->trigger();
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(window->txtText->SelLength(), 5);
    QCOMPARE(window->txtDruck->Text(), QString());
}

void TestPrinting::printoutPlacesTextAsScreen_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<double>("leftMm");
    QTest::newRow("text at the left edge") << "Anfang" << 0.0;
    QTest::newRow("indent of 20 mm") << "Eingerückt" << 20.0;
    QTest::newRow("tab stop at 60 mm") << "Tabulator" << 60.0;
    QTest::newRow("first line at its indent") << "Hängend" << 15.0;
    QTest::newRow("later line at indent and hanging indent") << "Folgezeile" << 30.0;
}

void TestPrinting::printoutPlacesTextAsScreen()
{
    QFETCH(QString, word);
    QFETCH(double, leftMm);
    frmDocument *window = richWindow("Anfang\tTabulator\rEingerückt\rHängend\vFolgezeile\rEnde");
    RichTextBox *text = window->txtText;
    text->setSelStart(0);
    text->setSelTabCount(1);
    text->setSelTabs(0, 60);
    text->setSelStart(17);
    text->setSelIndent(20);
    text->setSelStart(28);
    text->setSelIndent(15);
    text->setSelHangingIndent(15);
    const QString pdf = program->env.path("lage.pdf");
    program->env.modals.answerPrint(pdf, 0);
    window->mnuFilePrint->trigger();

    const QList<PrintedWord> words = printedWords(pdf);
    QStringList texts;
    for (const PrintedWord &printed : words)
        texts.append(printed.text);
    // Nothing of the printout's own: no page number, no header or footer.
    QCOMPARE(texts,
             QStringList({"Anfang", "Tabulator", "Eingerückt", "Hängend", "Folgezeile", "Ende"}));
    const PrintedWord &printed = words.at(texts.indexOf(word));
    QVERIFY2(qAbs(printed.left - leftMm) < 0.3,
             qPrintable(QStringLiteral("%1 printed at %2 mm").arg(word).arg(printed.left)));
    // The first line stands at the top of the printable area; the lines follow each other as
    // on screen, a soft line break included.
    QVERIFY2(words.first().top < 3.0, qPrintable(QString::number(words.first().top)));
    const double pitch = words.at(2).top - words.at(0).top;
    QVERIFY2(qAbs(words.at(4).top - words.at(3).top - pitch) < 0.3,
             qPrintable(QString::number(words.at(4).top - words.at(3).top)));
}

void TestPrinting::printoutDrawsPicturesWhereShown()
{
    using namespace PictureFixtures;
    frmDocument *window = richWindow(QString());
    window->txtText->setSelRTF(QString::fromLatin1(document(
        "Vor" + pict("\\pngblip\\picwgoal600\\pichgoal300", bitmap(QSize(40, 20), Qt::red, "PNG"))
        + "Nach " + pict("\\emfblip\\picwgoal1500\\pichgoal750", emf(QSize(100, 50), Qt::green))
        + " Mitte " + pict("\\pngblip\\picwgoal900\\pichgoal450", "kein Bild") + " Ende")));
    const QString pdf = program->env.path("bilder.pdf");
    program->env.modals.answerPrint(pdf, 0);
    window->mnuFilePrint->trigger();

    // The two pictures that decode; the third is a grey frame of its size.
    const QStringList images = printedImages(pdf);
    QCOMPARE(images.size(), 2);
    const QList<PrintedWord> words = printedWords(pdf);
    QStringList texts;
    for (const PrintedWord &printed : words)
        texts.append(printed.text);
    QCOMPARE(texts, QStringList({"Vor", "Nach", "Mitte", "Ende"}));
    const double pictureMm = 600 / 1440.0 * 25.4;
    QVERIFY2(qAbs(words.at(1).left - words.at(0).right - pictureMm) < 0.5,
             qPrintable(QString::number(words.at(1).left - words.at(0).right)));
    QVERIFY(words.at(3).left - words.at(2).right > 900 / 1440.0 * 25.4);
}

void TestPrinting::printoutBreaksLinesAsScreen_data()
{
    QTest::addColumn<bool>("richText");
    QTest::newRow("rich text, 160 mm wide") << true;
    QTest::newRow("plain text, wrapped at the window") << false;
}

void TestPrinting::printoutBreaksLinesAsScreen()
{
    QFETCH(bool, richText);
    QString paragraph;
    for (int i = 1; i <= 60; ++i)
        paragraph += QStringLiteral("Wort%1 ").arg(i);
    paragraph.chop(1);
    DocumentWindow *window = richText ? richWindow(paragraph) : nullptr;
    if (!richText) {
        program->main().LoadNewText();
        window = program->active();
        window->txtText->setText(paragraph);
    }
    RichTextBox *text = window->txtText;
    // The first word of every display line on screen.
    QStringList screenStarts;
    int line = -1;
    qsizetype position = 0;
    for (const QString &word : paragraph.split(QLatin1Char(' '))) {
        const int wordLine = text->GetLineFromChar(static_cast<int>(position));
        if (wordLine != line)
            screenStarts.append(word);
        line = wordLine;
        position += word.size() + 1;
    }
    QVERIFY(screenStarts.size() > 2);
    const QString pdf = program->env.path("zeilen.pdf");
    program->env.modals.answerPrint(pdf, 0);
    window->mnuFilePrint->trigger();

    QStringList printedStarts;
    double lineTop = -1;
    double widest = 0;
    for (const PrintedWord &printed : printedWords(pdf)) {
        if (qAbs(printed.top - lineTop) > 1.0)
            printedStarts.append(printed.text);
        lineTop = printed.top;
        widest = std::max(widest, printed.right);
    }
    QCOMPARE(printedStarts, screenStarts);
    // The text width is the window's 160 mm, not a page width less margins.
    if (richText)
        QVERIFY2(widest > 140.0 && widest <= 160.0, qPrintable(QString::number(widest)));
}

void TestPrinting::propertiesOfUnsavedWindow()
{
    frmDocument *window = richWindow("abc");
    program->env.modals.answerMessage(vbOK);
    window->mnuFileProperties->trigger();
    QCOMPARE(lastModal().title, QStringLiteral("Dokumenteigenschaften"));
    QCOMPARE(lastModal().style, int(vbInformation));
    QCOMPARE(lastModal().text,
             QStringLiteral("Dateiname: Dokument 1 (ungespeichert!)\r\n"
                            "Speicherort: Noch nicht gespeichert.\r\n"
                            "Größe auf Datenträger: 0 Bytes\r\n"
                            "Letzter Speicherzugriff: --\r\n"
                            "Dateiattribute: \r\n"
                            "Dateityp: RTF-Datei\r\n"
                            "Anzahl der Zeichen: 3\r\n"
                            "Anzahl der Zeilen: 1"));
}

void TestPrinting::propertiesOfSavedFile()
{
    const QString path = program->writeFile("x.txt", "A");
    program->env.modals.answerFile(path);
    program->main().OpenDoc();
    DocumentWindow *window = program->active();
    program->env.modals.answerMessage(vbOK);
    window->mnuFileProperties->trigger();
    const QStringList lines = lastModal().text.split("\r\n");
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.at(0), QStringLiteral("Dateiname: x.txt"));
    QCOMPARE(lines.at(1), "Speicherort: " + QFileInfo(path).absolutePath());
    QCOMPARE(lines.at(2), QStringLiteral("Größe auf Datenträger: 1 Byte"));
    QCOMPARE(lines.at(3),
             "Letzter Speicherzugriff: "
                 + QFileInfo(path).lastModified().toString("dd.MM.yyyy hh:mm:ss"));
    QCOMPARE(lines.at(5), QStringLiteral("Dateityp: Text-Datei"));
}

void TestPrinting::propertiesOfVanishedFile()
{
    const QString path = program->writeFile("weg.rtf", "{\\rtf1\\ansi Text\\par}");
    program->env.modals.answerFile(path);
    program->main().OpenDoc();
    QFile::remove(path);
    program->env.modals.answerMessage(vbOK);
    program->active()->mnuFileProperties->trigger();
    QVERIFY(lastModal().text.contains(path));
    QCOMPARE(lastModal().style, int(vbExclamation));
}

void TestPrinting::propertiesFormatsWhateverLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << "C";
    QTest::newRow("German") << "de_DE";
    QTest::newRow("US English") << "en_US";
    QTest::newRow("French") << "fr_FR";
}

void TestPrinting::propertiesFormatsWhateverLocale()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    // 1234567 bytes in short lines, which the window lays out quickly.
    const QString path = program->writeFile(
        "gross.txt", (QByteArray(99, 'x') + '\n').repeated(12345) + QByteArray(67, 'x'));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 10), QTime(11, 46, 5)),
                             QFileDevice::FileModificationTime));
    file.close();
    program->env.modals.answerFile(path);
    program->main().OpenDoc();
    program->env.modals.answerMessage(vbOK);
    program->active()->mnuFileProperties->trigger();
    const QStringList lines = lastModal().text.split("\r\n");
    QCOMPARE(lines.at(2), QStringLiteral("Größe auf Datenträger: 1.234.567 Bytes"));
    QCOMPARE(lines.at(3), QStringLiteral("Letzter Speicherzugriff: 10.12.2026 11:46:05"));
    QCOMPARE(lines.at(6), QStringLiteral("Anzahl der Zeichen: 1.234.567"));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
