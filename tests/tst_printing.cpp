// Printing through the print dialog, print set-up, and the document properties box.
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "frame/frmMain.h"
#include "platform/MsgBox.h"
#include "platform/RichTextBox.h"
#include "tests/support/RunningProgram.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>
#include <memory>

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void printAllThroughDialog();
    void printSelectionKeepsSelection();
    void printCancelledPrintsNothing();
    void printCopyBreaksWrappedLinesOnly();
    void plainTextPrintsChosenRange();
    void propertiesOfUnsavedWindow();
    void propertiesOfSavedFile();
    void propertiesOfVanishedFile();

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
                 + QLocale().toString(QFileInfo(path).lastModified(), QLocale::ShortFormat));
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

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
