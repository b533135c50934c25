// What the user sees, rendered to PNG files under the build folder (bin/screenshots/) for a
// look by eye: a rich-text window with its ruler, a bulleted paragraph, indents and tab stops;
// one with a picture in a line of text.
#include "document/frmDocument.h"
#include "frame/frmMain.h"
#include "tests/support/PictureFixtures.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTextDocument>
#include <algorithm>
#include <memory>

class TestScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void richTextWindowWithRuler();
    void richTextWindowWithPicture();

private:
    std::unique_ptr<RunningProgram> program;
};

void TestScreenshots::init()
{
    program = std::make_unique<RunningProgram>();
    program->start();
}

void TestScreenshots::cleanup()
{
    program->stop();
    program.reset();
}

void TestScreenshots::richTextWindowWithRuler()
{
    program->main().LoadNewDoc();
    auto *window = qobject_cast<frmDocument *>(program->active());
    QVERIFY(window);
    RichTextBox *text = window->txtText;
    text->setText(QStringLiteral(
        "Aufzählung mit Punkt, 10 mm eingerückt, der Text 5 mm hinter dem Punkt\r"
        "Ein Absatz, der 20 mm weit eingerückt beginnt und dessen folgende Zeilen 10 mm davor "
        "hängen, damit man beide Einzüge und den rechten Einzug von 15 mm sieht.\r"
        "Menge\tArtikel\tPreis\r12\tSchrauben\t3,50 €"));
    const int second = static_cast<int>(text->Text().indexOf(QLatin1Char('\r'))) + 1;
    text->setSelStart(0);
    text->setSelIndent(10);
    text->setSelBullet(true);
    text->setBulletIndent(5);
    text->setSelStart(second + 5);
    text->setSelIndent(20);
    text->setSelHangingIndent(-10);
    text->setSelRightIndent(15);
    text->setSelStart(static_cast<int>(text->Text().lastIndexOf(QStringLiteral("Menge"))));
    text->setSelLength(static_cast<int>(text->Text().size()) - text->SelStart());
    text->setSelTabCount(2);
    text->setSelTabs(0, 30);
    text->setSelTabs(1, 60);
    text->setSelStart(second + 5);
    program->main().resize(1000, 560);
    program->main().show();
    window->parentWidget()->resize(900, 420);
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));

    const QImage shot = window->grab().toImage();
    const QString folder = screenshotFolder();
    const QString file = folder + QStringLiteral("/rich-text-window.png");
    QVERIFY(shot.save(file));
    QVERIFY(QImage(file).size() == window->size());
    // The ruler and the text both stand in the shot.
    QVERIFY(window->pboxLineal->isVisible());
    QVERIFY(window->rect().contains(
        QRect(window->pboxLineal->mapTo(window, QPoint(0, 0)), window->pboxLineal->size())));
    QVERIFY(text->isVisible());
}

void TestScreenshots::richTextWindowWithPicture()
{
    using namespace PictureFixtures;
    program->main().LoadNewDoc();
    auto *window = qobject_cast<frmDocument *>(program->active());
    QVERIFY(window);
    RichTextBox *text = window->txtText;
    text->setSelRTF(QString::fromLatin1(
        document("Ein Brief mit dem Logo "
                 + pict("\\pngblip\\picwgoal1440\\pichgoal720",
                        bitmap(QSize(40, 20), QColor(0, 102, 204), "PNG"))
                 + " mitten in der Zeile, und der Text geht dahinter weiter.")));
    text->setSelStart(0);
    program->main().resize(1000, 560);
    program->main().show();
    window->parentWidget()->resize(900, 420);
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));
    QTextCursor cursor(text->document());
    cursor.setPosition(24);
    const QUrl name(cursor.charFormat().toImageFormat().name());
    QTRY_VERIFY(text->document()->resource(QTextDocument::ImageResource, name).isValid());

    const QImage shot = window->grab().toImage();
    QVERIFY(shot.save(screenshotFolder() + QStringLiteral("/rich-text-picture.png")));
    // The picture stands in the shot, on the line of the text before it.
    cursor.setPosition(23);
    const QRect caret = text->cursorRect(cursor);
    const QPoint inside = text->viewport()->mapTo(window, caret.topLeft() + QPoint(48, 0));
    int blue = 0;
    for (int y = std::max(0, inside.y() - 60); y < std::min(shot.height(), inside.y() + 60); ++y)
        blue += shot.pixelColor(inside.x(), y) == QColor(0, 102, 204) ? 1 : 0;
    QVERIFY2(blue >= 40, qPrintable(QString::number(blue)));
}

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
