// The rich-text window's ruler: its boxes after load, the 2.5 mm grid, the markers that follow
// the selection's indents and tab stops, the kept scale, and a picture of it to look at.
#include "common/Grid.h"
#include "common/PageSettings.h"
#include "document/Ruler.h"
#include "document/StripLayout.h"
#include "document/frmDocument.h"
#include "frame/frmMain.h"
#include "platform/Screen.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "text/TextFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <memory>

namespace {

struct Paragraph
{
    double indent = 0;
    double hanging = 0;
    double right = 0;
    QList<double> tabs;
};

void format(RichTextBox *text, const Paragraph &paragraph)
{
    text->setSelIndent(paragraph.indent);
    text->setSelHangingIndent(paragraph.hanging);
    text->setSelRightIndent(paragraph.right);
    text->setSelTabCount(0);
    for (int i = 0; i < paragraph.tabs.size(); ++i)
        text->setSelTabs(i, paragraph.tabs.at(i));
}

// A marker's place in pixels can miss the millimetre value by half a pixel.
bool centredOn(const QWidget *marker, double mm)
{
    const double centre = Ruler::pixels(Ruler::leftMm(marker)) + marker->width() / 2.0;
    return std::abs(centre - mm * TextFormat::pixelsPerMm()) <= 0.5 + 1e-9;
}

QString where(const QWidget *marker)
{
    return QStringLiteral("centre at %1 mm")
        .arg(Ruler::leftMm(marker) + Ruler::widthMm(marker) / 2);
}

bool closeTo(int pixels, double mm)
{
    return std::abs(pixels - mm * TextFormat::pixelsPerMm()) <= 1.0;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

Paragraph read(const RichTextBox *text)
{
    const double mixed = std::nan("");
    Paragraph paragraph {text->SelIndent().value_or(mixed),
                         text->SelHangingIndent().value_or(mixed),
                         text->SelRightIndent().value_or(mixed),
                         {}};
    for (int i = 0; i < text->SelTabCount().value_or(0); ++i)
        paragraph.tabs.append(text->SelTabs(i).value_or(mixed));
    return paragraph;
}

QString describe(const Paragraph &p)
{
    QStringList tabs;
    for (double tab : p.tabs)
        tabs.append(QString::number(tab));
    return QStringLiteral("indent %1, hanging %2, right %3, tabs [%4]")
        .arg(p.indent)
        .arg(p.hanging)
        .arg(p.right)
        .arg(tabs.join(QLatin1Char(' ')));
}

// A point of the marker that shows on the scale box, in the marker's own coordinates.
QPoint grip(const QWidget *marker)
{
    return marker->mask().boundingRect().center();
}

// Through the window, as the window system reports a move, with the buttons the test holds.
void moveTo(QWidget *widget, QPoint point)
{
    QWidget *window = widget->window();
    QTest::mouseMove(window->windowHandle(), widget->mapTo(window, point));
}

void press(QWidget *widget, Qt::MouseButton button, QPoint point)
{
    QWidget *window = widget->window();
    QTest::mousePress(window->windowHandle(), button, {}, widget->mapTo(window, point));
}

void release(QWidget *widget, Qt::MouseButton button, QPoint point)
{
    QWidget *window = widget->window();
    QTest::mouseRelease(window->windowHandle(), button, {}, widget->mapTo(window, point));
}

// The pressed control keeps the mouse until the release, so a drag's moves and its release all
// go to it, wherever the pointer is.
void drag(QWidget *source, Qt::MouseButton button, QWidget *target, QPoint point, bool letGo = true)
{
    press(source, button, grip(source));
    const QPoint at = source->mapFromGlobal(target->mapToGlobal(point));
    moveTo(source, (grip(source) + at) / 2);
    moveTo(source, at);
    if (letGo)
        release(source, button, at);
}

} // namespace

Q_DECLARE_METATYPE(Paragraph)

class TestRuler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void boxesAndMarkersAfterLoad();
    void gridRounding_data();
    void gridRounding();
    void indentMarkers_data();
    void indentMarkers();
    void tabMarkers_data();
    void tabMarkers();
    void mixedSelectionHidesMarkers_data();
    void mixedSelectionHidesMarkers();
    void caretMoveLeavesOnlyTheNewTabMarkers();
    void scaleDrawnOnceShowsWhenWidened();
    void screenshot();
    void bulletedScreenshot();

    void markerDrops_data();
    void markerDrops();
    void clicksAddStops_data();
    void clicksAddStops();
    void textWidthDrag_data();
    void textWidthDrag();
    void pointerOverRulerControls();
    void markersAtTheEndsShowWhole();
    void numbersStandClearOfMarks();
    void stripLayout_data();
    void stripLayout();
    void stripScrollsTheRow();
    void stripInATinyWindow();
    void dragScreenshot();
    void dragEndsWithItsSource();
    void mixedParagraphs();

private:
    frmDocument *newDocument();
    // The document window on screen, its inner width set in millimetres.
    frmDocument *shownDocument(double widthMm);
    std::unique_ptr<RunningProgram> program;
};

void TestRuler::init()
{
    program = std::make_unique<RunningProgram>();
    program->start();
    Screen::setMousePointer(Screen::vbDefault);
}

void TestRuler::cleanup()
{
    program->stop();
    QCOMPARE(program->env.modals.pending(), 0);
    program.reset();
}

frmDocument *TestRuler::newDocument()
{
    program->main().LoadNewDoc();
    return qobject_cast<frmDocument *>(program->active());
}

frmDocument *TestRuler::shownDocument(double widthMm)
{
    frmDocument *doc = newDocument();
    program->main().resize(1200, 700);
    program->main().show();
    if (!QTest::qWaitForWindowExposed(&program->main()))
        return nullptr;
    QWidget *frame = doc->parentWidget();
    frame->resize(frame->width() - doc->width() + Ruler::pixels(widthMm), 400);
    QCoreApplication::processEvents();
    return doc;
}

void TestRuler::boxesAndMarkersAfterLoad()
{
    frmDocument *doc = newDocument();
    QVERIFY(doc);
    // The left margin shows just enough for a marker at 0 mm; the text starts under 0 mm.
    const int left = Ruler::pixels(Ruler::leftMarginMm);
    QCOMPARE(doc->pboxLinealLinks->geometry(), QRect(0, 0, left, doc->pboxLineal->height()));
    QCOMPARE(doc->pboxLineal->pos(), QPoint(left, 0));
    QCOMPARE(doc->txtText->x(), left);
    QCOMPARE(doc->pboxLineal->width(), Ruler::pixels(160));
    QCOMPARE(
        doc->pboxLinealRechts->geometry(),
        QRect(left + doc->pboxLineal->width(), 0, Ruler::pixels(25), doc->pboxLineal->height()));
    QCOMPARE(doc->pboxLineal->parentWidget(), doc->Picture1);

    const double lineHeight = Ruler::millimetres(QFontMetricsF(doc->pboxLineal->font()).height());
    QVERIFY(closeTo(doc->pboxLineal->height(), lineHeight + 1));
    QCOMPARE(doc->HScroll->height(), Screen::pixelsFromTwipsY(252));
    QVERIFY(closeTo(doc->Picture1->height(),
                    1.5 * Ruler::heightMm(doc->HScroll) + Ruler::heightMm(doc->pboxLineal)));
    QCOMPARE(doc->txtText->y(), doc->Picture1->height());

    const double boxHeight = Ruler::heightMm(doc->pboxLineal);
    const struct
    {
        QLabel *marker;
        const char *tag;
        const char *toolTip;
        double centre;
        double top;
    } markers[] = {
        {doc->imgLO, "RandLO", "Erstzeileneinzug", 0, -0.75 * Ruler::heightMm(doc->imgLO)},
        {doc->imgLU, "RandLU", "Linker Einzug", 0, boxHeight - Ruler::heightMm(doc->imgLU) / 4 - 1},
        {doc->imgRU, "RandRU", "Rechter Einzug", 159,
         boxHeight - Ruler::heightMm(doc->imgRU) / 4 - 1},
    };
    for (const auto &m : markers) {
        QCOMPARE(Ruler::box(m.marker), doc->pboxLineal);
        QCOMPARE(m.marker->size(),
                 QSize(Screen::pixelsFromTwipsX(384), Screen::pixelsFromTwipsY(384)));
        QCOMPARE(Ruler::tag(m.marker), QString::fromLatin1(m.tag));
        QCOMPARE(m.marker->toolTip(), QString::fromUtf8(m.toolTip));
        QVERIFY2(centredOn(m.marker, m.centre), qPrintable(where(m.marker)));
        QVERIFY(closeTo(m.marker->y(), m.top));
        QVERIFY(!m.marker->isHidden());
    }

    QLabel *tabTemplate = doc->imgTab(0);
    QVERIFY(tabTemplate);
    QVERIFY(tabTemplate->isHidden());
    QVERIFY(!tabTemplate->property("Tag").isValid());
    QCOMPARE(tabTemplate->toolTip(), QStringLiteral("Linksbündiger Tabulator"));
    QCOMPARE(doc->imgTab.count(), 0);
    QCOMPARE(doc->Tabanzahl, qint16(0));
    QCOMPARE(doc->EinzugKomplett, false);
}

void TestRuler::gridRounding_data()
{
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("halfway goes up") << false << 1.25 << 2.5;
    QTest::newRow("below halfway goes down") << false << 13.7 << 12.5;
    QTest::newRow("halfway above a step") << false << 13.75 << 15.0;
    QTest::newRow("negative halfway goes up to 0") << false << -1.25 << 0.0;
    QTest::newRow("halfway to 5") << false << 3.75 << 5.0;
    QTest::newRow("on the grid") << false << 40.0 << 40.0;
    QTest::newRow("just below halfway") << false << 1.2499 << 0.0;
    QTest::newRow("negative below halfway") << false << -13.7 << -12.5;
    QTest::newRow("mirrored negative halfway away from 0") << true << -1.25 << -2.5;
    QTest::newRow("mirrored negative") << true << -3.7 << -2.5;
    QTest::newRow("mirrored positive as plain") << true << 1.25 << 2.5;
    QTest::newRow("mirrored negative halfway above a step") << true << -13.75 << -15.0;
}

void TestRuler::gridRounding()
{
    QFETCH(bool, mirrored);
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(mirrored ? AufRasterRundenGespiegelt(value) : AufRasterRunden(value), expected);
}

void TestRuler::indentMarkers_data()
{
    QTest::addColumn<Paragraph>("paragraph");
    QTest::addColumn<double>("firstLine");
    QTest::addColumn<double>("followingLines");
    QTest::addColumn<double>("rightIndent");
    QTest::newRow("no indents") << Paragraph {} << 0.0 << 0.0 << 159.0;
    QTest::newRow("hanging back") << Paragraph {10, -5, 0, {}} << 10.0 << 5.0 << 159.0;
    QTest::newRow("hanging halfway snaps away from 0")
        << Paragraph {10, -1.25, 0, {}} << 10.0 << 7.5 << 159.0;
    QTest::newRow("indent off the grid") << Paragraph {13.7, 0, 0, {}} << 12.5 << 12.5 << 159.0;
    QTest::newRow("hanging forward") << Paragraph {5, 20, 12.5, {}} << 5.0 << 25.0 << 147.5;
    QTest::newRow("right indent 5") << Paragraph {0, 0, 5, {}} << 0.0 << 0.0 << 155.0;
    QTest::newRow("right indent snapping to 0") << Paragraph {0, 0, 1.2, {}} << 0.0 << 0.0 << 159.0;
}

void TestRuler::indentMarkers()
{
    QFETCH(Paragraph, paragraph);
    QFETCH(double, firstLine);
    QFETCH(double, followingLines);
    QFETCH(double, rightIndent);
    frmDocument *doc = newDocument();
    doc->txtText->setText(QStringLiteral("Ein Absatz"));
    format(doc->txtText, paragraph);
    doc->Einzugaktualisierung();
    QVERIFY2(centredOn(doc->imgLO, firstLine), qPrintable(where(doc->imgLO)));
    QVERIFY2(centredOn(doc->imgLU, followingLines), qPrintable(where(doc->imgLU)));
    QVERIFY2(centredOn(doc->imgRU, rightIndent), qPrintable(where(doc->imgRU)));
    QVERIFY(!doc->imgLO->isHidden() && !doc->imgLU->isHidden() && !doc->imgRU->isHidden());
    // The markers show the grid; the paragraph keeps its exact values.
    QCOMPARE(doc->txtText->SelIndent(), std::optional<double>(paragraph.indent));
    QCOMPARE(doc->txtText->SelHangingIndent(), std::optional<double>(paragraph.hanging));
}

void TestRuler::tabMarkers_data()
{
    QTest::addColumn<QList<double>>("stops");
    QTest::addColumn<QList<double>>("shownAt");
    QTest::newRow("none") << QList<double>() << QList<double>();
    QTest::newRow("two on the grid") << QList<double> {12.5, 40} << QList<double> {12.5, 40};
    QTest::newRow("below halfway") << QList<double> {13.7} << QList<double> {12.5};
    QTest::newRow("halfway") << QList<double> {13.75} << QList<double> {15};
    QTest::newRow("list order kept")
        << QList<double> {40, 12.5, 100} << QList<double> {40, 12.5, 100};
}

void TestRuler::tabMarkers()
{
    QFETCH(QList<double>, stops);
    QFETCH(QList<double>, shownAt);
    frmDocument *doc = newDocument();
    doc->txtText->setText(QStringLiteral("Spalte\tSpalte\tSpalte"));
    format(doc->txtText, Paragraph {0, 0, 0, stops});
    doc->Tabaktualisierung();
    QCOMPARE(doc->Tabanzahl, qint16(shownAt.size()));
    QCOMPARE(doc->imgTab.count(), shownAt.size());
    for (int k = 1; k <= shownAt.size(); ++k) {
        QLabel *marker = doc->imgTab(k);
        QVERIFY(marker);
        QVERIFY(!marker->isHidden());
        QCOMPARE(Ruler::box(marker), doc->pboxLineal);
        QCOMPARE(Ruler::tag(marker), QLatin1Char(' ') + QString::number(k));
        QCOMPARE(marker->toolTip(), QStringLiteral("Linksbündiger Tabulator"));
        QCOMPARE(marker->y(), doc->imgLU->y());
        QVERIFY2(centredOn(marker, shownAt.at(k - 1)), qPrintable(where(marker)));
        QCOMPARE(doc->txtText->SelTabs(k - 1), std::optional<double>(stops.at(k - 1)));
    }
    QVERIFY(!doc->imgTab(shownAt.size() + 1));
    QVERIFY(doc->imgTab(0)->isHidden());
}

void TestRuler::mixedSelectionHidesMarkers_data()
{
    QTest::addColumn<Paragraph>("first");
    QTest::addColumn<Paragraph>("second");
    QTest::addColumn<bool>("leftShown");
    QTest::addColumn<bool>("rightShown");
    QTest::addColumn<int>("tabMarkers");
    const Paragraph plain {10, -5, 5, {20}};
    QTest::newRow("alike") << plain << plain << true << true << 1;
    QTest::newRow("different left indents")
        << plain << Paragraph {20, -5, 5, {20}} << false << true << 1;
    QTest::newRow("different hanging indents")
        << plain << Paragraph {10, 0, 5, {20}} << false << true << 1;
    QTest::newRow("different right indents")
        << plain << Paragraph {10, -5, 10, {20}} << true << false << 1;
    QTest::newRow("different tab counts")
        << plain << Paragraph {10, -5, 5, {20, 40}} << true << true << 0;
    QTest::newRow("tab stops in different places")
        << plain << Paragraph {10, -5, 5, {40}} << true << true << 0;
}

void TestRuler::mixedSelectionHidesMarkers()
{
    QFETCH(Paragraph, first);
    QFETCH(Paragraph, second);
    QFETCH(bool, leftShown);
    QFETCH(bool, rightShown);
    QFETCH(int, tabMarkers);
    frmDocument *doc = newDocument();
    RichTextBox *text = doc->txtText;
    const QString firstText = QStringLiteral("Erster Absatz");
    text->setText(firstText + QStringLiteral("\rZweiter Absatz"));
    text->setSelStart(text->Text().size());
    format(text, second);
    text->setSelStart(0);
    format(text, first);
    doc->Tabaktualisierung();
    doc->Einzugaktualisierung();
    QCOMPARE(doc->Tabanzahl, qint16(first.tabs.size()));

    text->setSelLength(text->Text().size());
    doc->Tabaktualisierung();
    doc->Einzugaktualisierung();
    QCOMPARE(!doc->imgLO->isHidden(), leftShown);
    QCOMPARE(!doc->imgLU->isHidden(), leftShown);
    QCOMPARE(!doc->imgRU->isHidden(), rightShown);
    QCOMPARE(doc->Tabanzahl, qint16(tabMarkers));
    QCOMPARE(doc->imgTab.count(), tabMarkers);
    // A hidden marker keeps the place of the first paragraph.
    QVERIFY2(centredOn(doc->imgLO, first.indent), qPrintable(where(doc->imgLO)));
    QVERIFY2(centredOn(doc->imgRU, 160 - first.right), qPrintable(where(doc->imgRU)));
}

void TestRuler::caretMoveLeavesOnlyTheNewTabMarkers()
{
    frmDocument *doc = newDocument();
    RichTextBox *text = doc->txtText;
    text->setText(QStringLiteral("a\tb\tc\td\re\tf"));
    text->setSelStart(0);
    format(text, Paragraph {0, 0, 0, {20, 50, 80}});
    text->setSelStart(text->Text().size());
    format(text, Paragraph {0, 0, 0, {30}});

    text->setSelStart(0);
    doc->Tabaktualisierung();
    QCOMPARE(doc->Tabanzahl, qint16(3));
    text->setSelStart(text->Text().size());
    doc->Tabaktualisierung();
    QCOMPARE(doc->Tabanzahl, qint16(1));
    QVERIFY2(centredOn(doc->imgTab(1), 30), qPrintable(where(doc->imgTab(1))));
    QVERIFY(!doc->imgTab(2));
    QVERIFY(!doc->imgTab(3));
    int shownTabMarkers = 0;
    for (const QLabel *child : doc->Picture1->findChildren<QLabel *>())
        if (!child->isHidden() && Ruler::box(child) && !Ruler::isIndentTag(Ruler::tag(child)))
            ++shownTabMarkers;
    QCOMPARE(shownTabMarkers, 1);
}

void TestRuler::scaleDrawnOnceShowsWhenWidened()
{
    frmDocument *doc = newDocument();
    // Widened as a text-width drag would; the scale is not drawn again.
    Ruler::setWidthMm(doc->pboxLineal, 300);
    QImage box(doc->pboxLineal->size(), QImage::Format_RGB32);
    doc->pboxLineal->render(&box, QPoint(), QRegion(), QWidget::DrawWindowBackground);

    const double middle = (Ruler::heightMm(doc->pboxLineal) - 2) / 2;
    const int longOnly = Ruler::pixels(middle + 0.5);
    const int both = Ruler::pixels(middle + 1.5);
    for (int step = 1; step <= 120; ++step) {
        // From 10 cm on, the mark after a number gives way to its second digit.
        if (step >= 40 && step % 4 == 1)
            continue;
        const int column = Ruler::pixels(step * 2.5);
        QVERIFY2(isDark(box.pixel(column, both)), qPrintable(QString::number(step * 2.5)));
        QCOMPARE(isDark(box.pixel(column, longOnly)), step % 2 == 0);
    }
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < Ruler::pixels(2.5); ++x)
            QCOMPARE(box.pixel(x, y), qRgb(255, 255, 255));
    // The numbers 1 to 30 stand right of their marks, up to the next mark.
    const int textBottom = Ruler::pixels(Ruler::heightMm(doc->pboxLineal) - 1);
    for (int cm = 1; cm <= 29; ++cm) {
        bool printed = false;
        for (int x = Ruler::pixels(cm * 10 + 0.5); x < Ruler::pixels(cm * 10 + 2.5); ++x)
            for (int y = 0; y < textBottom; ++y)
                printed = printed || isDark(box.pixel(x, y));
        QVERIFY2(printed, qPrintable(QString::number(cm)));
    }
}

void TestRuler::screenshot()
{
    frmDocument *doc = newDocument();
    RichTextBox *text = doc->txtText;
    text->setText(QStringLiteral(
        "Sehr geehrte Damen und Herren,\tdieser Absatz beginnt 10 mm weit eingerückt, seine "
        "folgenden Zeilen hängen 5 mm davor, und rechts bleiben 20 mm frei.\tEr hat Tabulatoren "
        "bei 30, 60 und 95 mm.\rMenge\tArtikel\tPreis\r12\tSchrauben\t3,50 €"));
    text->setSelStart(0);
    format(text, Paragraph {10, -5, 20, {30, 60, 95}});
    text->setSelStart(text->Text().size() - 3);
    format(text, Paragraph {0, 0, 0, {30, 60, 95}});
    text->setSelStart(5);
    doc->Tabaktualisierung();
    doc->Einzugaktualisierung();
    program->main().resize(900, 520);
    program->main().show();
    doc->parentWidget()->resize(Ruler::pixels(200), Ruler::pixels(90));
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));

    const QImage shot = doc->grab().toImage();
    const QString folder = screenshotFolder();
    QVERIFY(shot.save(folder + QStringLiteral("/ruler.png")));

    const auto pixelAt = [&](QWidget *box, double xMm, int y) {
        return shot.pixel(box->mapTo(doc, QPoint(Ruler::pixels(xMm), y)));
    };
    const int lowest = doc->pboxLineal->height() - 1;
    QCOMPARE(pixelAt(doc->pboxLinealRechts, 1, lowest), qRgb(192, 192, 192));
    QCOMPARE(pixelAt(doc->pboxLineal, 1, lowest), qRgb(255, 255, 255));
    const int markRow = Ruler::pixels((Ruler::heightMm(doc->pboxLineal) - 2) / 2 + 1.5);
    QVERIFY(isDark(pixelAt(doc->pboxLineal, 50, markRow)));
    QVERIFY(isDark(pixelAt(doc->pboxLinealRechts, 5, markRow)));
    QVERIFY(!doc->imgTab(3)->isHidden());
}

void TestRuler::bulletedScreenshot()
{
    const QString path = program->writeFile(
        "liste.rtf",
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}{\\f1 Symbol;}}\\f0\\fs24 "
        "Einkaufsliste:\\par"
        "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
        "\\fi-360\\li720\\tx2835\\tx4536 Brot\\tab 1 Laib\\tab 2,50\\par"
        "{\\pntext\\f1\\'B7\\tab}Milch, die frische aus dem Laden an der Ecke, die bis zum "
        "Abend reicht\\tab 2 Liter\\tab 1,80\\par"
        "\\pard\\li1134 Ende der Liste.\\par}");
    program->env.modals.answerFile(path);
    program->main().OpenDoc();
    auto *doc = qobject_cast<frmDocument *>(program->active());
    QVERIFY(doc);
    doc->txtText->setSelStart(static_cast<int>(QStringLiteral("Einkaufsliste:\r").size()));
    QCOMPARE(doc->txtText->SelBullet(), std::optional<bool>(true));
    QCOMPARE(doc->Tabanzahl, 2);
    program->main().resize(900, 520);
    program->main().show();
    doc->parentWidget()->resize(Ruler::pixels(200), Ruler::pixels(90));
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));

    const QImage shot = doc->grab().toImage();
    const QString folder = screenshotFolder();
    QVERIFY(shot.save(folder + QStringLiteral("/bullets.png")));
}

void TestRuler::markerDrops_data()
{
    QTest::addColumn<Paragraph>("before");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("target");
    QTest::addColumn<double>("atMm");
    QTest::addColumn<Paragraph>("after");
    QTest::addColumn<int>("beeps");

    const int left = Qt::LeftButton;
    const int right = Qt::RightButton;
    const Paragraph hanging {10, -5, 0, {}};
    QTest::newRow("first line alone")
        << hanging << "LO" << left << "ruler" << 31.0 << Paragraph {30, -25, 0, {}} << 0;
    QTest::newRow("first line leaving exactly 40 mm")
        << Paragraph {0, 0, 20, {}} << "LO" << left << "ruler" << 100.0
        << Paragraph {100, -100, 20, {}} << 0;
    QTest::newRow("first line too near the right indent")
        << Paragraph {0, 0, 20, {}} << "LO" << left << "ruler" << 103.0 << Paragraph {0, 0, 20, {}}
        << 1;
    QTest::newRow("following lines")
        << hanging << "LU" << left << "ruler" << 20.0 << Paragraph {10, 10, 0, {}} << 0;
    QTest::newRow("whole indent after a right press")
        << hanging << "LU" << right << "ruler" << 20.0 << Paragraph {25, -5, 0, {}} << 0;
    QTest::newRow("whole indent before the text's left edge")
        << Paragraph {15, 5, 0, {}} << "LU" << right << "ruler" << 2.5 << Paragraph {15, 5, 0, {}}
        << 1;
    QTest::newRow("right indent at the text's right end")
        << Paragraph {0, 0, 20, {}} << "RU" << left << "ruler" << 159.9 << Paragraph {0, 0, 0, {}}
        << 0;
    QTest::newRow("right indent too near the left indents")
        << Paragraph {100, 0, 0, {}} << "RU" << left << "ruler" << 135.0
        << Paragraph {100, 0, 0, {}} << 1;
    QTest::newRow("right indent against the unsnapped first line")
        << Paragraph {61.2, -1.2, 0, {}} << "RU" << left << "ruler" << 100.0
        << Paragraph {61.2, -1.2, 0, {}} << 1;
    QTest::newRow("tab along the ruler, not sorted again")
        << Paragraph {0, 0, 0, {20, 40}} << "tab1" << left << "ruler" << 61.2
        << Paragraph {0, 0, 0, {60, 40}} << 0;
    QTest::newRow("tab onto another marker") << Paragraph {0, 0, 0, {20, 40}} << "tab1" << left
                                             << "tab2" << 0.0 << Paragraph {0, 0, 0, {40, 40}} << 0;
    QTest::newRow("short drag onto itself") << Paragraph {0, 0, 0, {13.7}} << "tab1" << left
                                            << "tab1" << 0.0 << Paragraph {0, 0, 0, {12.5}} << 0;
    const Paragraph three {0, 0, 0, {20, 40, 60}};
    const Paragraph withoutFirst {0, 0, 0, {40, 60}};
    QTest::newRow("tab off onto the text")
        << three << "tab1" << left << "text" << 0.0 << withoutFirst << 0;
    // At 0 mm the indent markers stand over the left grey box.
    QTest::newRow("tab off onto the left grey box")
        << Paragraph {10, 0, 0, {20, 40, 60}} << "tab1" << left << "links" << 0.0
        << Paragraph {10, 0, 0, {40, 60}} << 0;
    QTest::newRow("tab off onto the right grey box")
        << three << "tab1" << left << "rechts" << 0.0 << withoutFirst << 0;
    QTest::newRow("tab off onto the strip")
        << three << "tab1" << left << "strip" << 0.0 << withoutFirst << 0;
    QTest::newRow("tab off onto the window")
        << three << "tab1" << left << "window" << 0.0 << withoutFirst << 0;
    QTest::newRow("tab off onto the horizontal bar")
        << three << "tab1" << left << "HScroll" << 0.0 << withoutFirst << 0;
    QTest::newRow("last tab off") << three << "tab3" << left << "text" << 0.0
                                  << Paragraph {0, 0, 0, {20, 40}} << 0;
    QTest::newRow("tab kept on the vertical bar")
        << three << "tab2" << left << "VScroll" << 0.0 << three << 0;
    QTest::newRow("indent marker onto the text")
        << hanging << "LO" << left << "text" << 0.0 << hanging << 1;
    QTest::newRow("indent marker onto the strip")
        << hanging << "RU" << left << "strip" << 0.0 << hanging << 1;
}

void TestRuler::markerDrops()
{
    QFETCH(Paragraph, before);
    QFETCH(QString, marker);
    QFETCH(int, button);
    QFETCH(QString, target);
    QFETCH(double, atMm);
    QFETCH(Paragraph, after);
    QFETCH(int, beeps);
    // Narrow enough for the horizontal bar where a row needs it.
    frmDocument *doc = shownDocument(target == QLatin1String("HScroll") ? 150 : 220);
    QVERIFY(doc);
    RichTextBox *text = doc->txtText;
    text->setText(QStringLiteral("Eins\tzwei\tdrei\tvier und noch mehr Text"));
    text->setSelStart(2);
    format(text, before);
    doc->txtText_SelChange();
    if (target == QLatin1String("VScroll")) {
        doc->VScroll->setGeometry(doc->Picture1->width() - 20, 0, 17, doc->Picture1->height());
        doc->VScroll->show();
    }
    QVERIFY(!doc->HScroll->isHidden() || target != QLatin1String("HScroll"));

    QWidget *source = marker == QLatin1String("LO") ? doc->imgLO
        : marker == QLatin1String("LU")             ? doc->imgLU
        : marker == QLatin1String("RU")             ? doc->imgRU
                                                    : doc->imgTab(marker.mid(3).toInt());
    QVERIFY(source);
    QWidget *to = nullptr;
    QPoint point;
    if (target == QLatin1String("ruler")) {
        to = doc->pboxLineal;
        point = QPoint(Ruler::pixels(atMm), doc->pboxLineal->height() / 2);
    } else if (target.startsWith(QLatin1String("tab"))) {
        to = doc->imgTab(target.mid(3).toInt());
        point = grip(to);
    } else if (target == QLatin1String("text")) {
        to = text->viewport();
        point = to->rect().center();
    } else if (target == QLatin1String("links")) {
        to = doc->pboxLinealLinks;
        point = QPoint(1, to->height() / 2);
    } else if (target == QLatin1String("rechts")) {
        to = doc->pboxLinealRechts;
        point = to->rect().center();
    } else if (target == QLatin1String("strip")) {
        to = doc->Picture1;
        point = QPoint(Ruler::pixels(50), doc->pboxLineal->height() + 2);
    } else if (target == QLatin1String("window")) {
        to = doc;
        point = QPoint(1, doc->Picture1->height() + 20);
    } else {
        to = target == QLatin1String("HScroll") ? doc->HScroll : doc->VScroll;
        point = to->rect().center();
    }
    const QPoint sourcePlace = source->pos();
    const int beepsBefore = beepCount();
    drag(source, Qt::MouseButton(button), to, point);

    QCOMPARE(beepCount() - beepsBefore, beeps);
    QVERIFY(!doc->rulerMouse->dragSource());
    QVERIFY(!doc->rulerMouse->dragPicture());
    const Paragraph now = read(text);
    QVERIFY2(describe(now) == describe(after), qPrintable(describe(now)));
    QCOMPARE(doc->EinzugKomplett, button == Qt::RightButton && marker == QLatin1String("LU"));

    // The markers stand where the drop put them, until the selection changes.
    if (beeps > 0 || target == QLatin1String("VScroll")) {
        QCOMPARE(source->pos(), sourcePlace);
    } else if (marker == QLatin1String("LO")) {
        QVERIFY2(centredOn(doc->imgLO, after.indent), qPrintable(where(doc->imgLO)));
    } else if (marker == QLatin1String("LU")) {
        QVERIFY2(centredOn(doc->imgLO, after.indent), qPrintable(where(doc->imgLO)));
        QVERIFY2(centredOn(doc->imgLU, after.indent + after.hanging),
                 qPrintable(where(doc->imgLU)));
    } else if (marker == QLatin1String("RU")) {
        QVERIFY2(centredOn(doc->imgRU, 160 - after.right - (after.right == 0 ? 1 : 0)),
                 qPrintable(where(doc->imgRU)));
    }
    if (marker.startsWith(QLatin1String("tab"))) {
        QCOMPARE(doc->Tabanzahl, qint16(after.tabs.size()));
        for (int k = 1; k <= after.tabs.size(); ++k) {
            QLabel *tab = doc->imgTab(k);
            QVERIFY(tab && !tab->isHidden());
            QCOMPARE(Ruler::tag(tab), Ruler::tabTag(k));
            QVERIFY2(centredOn(tab, AufRasterRunden(after.tabs.at(k - 1))), qPrintable(where(tab)));
        }
        QTest::qWait(0);
        QVERIFY(!doc->imgTab(after.tabs.size() + 1));
    }
    // The drop is one undo step, and Undo shows the paragraph as it was before it.
    if (describe(after) != describe(before)) {
        doc->mnuEditUndo->trigger();
        QVERIFY2(describe(read(text)) == describe(before), qPrintable(describe(read(text))));
        QCOMPARE(text->SelStart(), 2);
        if (marker == QLatin1String("LO"))
            QVERIFY2(centredOn(doc->imgLO, before.indent), qPrintable(where(doc->imgLO)));
    }
}

void TestRuler::clicksAddStops_data()
{
    QTest::addColumn<QList<double>>("stops");
    QTest::addColumn<double>("atMm");
    QTest::addColumn<QList<double>>("after");
    QTest::addColumn<int>("beeps");
    QTest::newRow("a click adds a stop at the end")
        << QList<double> {40} << 33.0 << QList<double> {40, 32.5} << 0;
    QTest::newRow("a click on a stop adds a second one")
        << QList<double> {20} << 20.0 << QList<double> {20, 20} << 0;
    QTest::newRow("no stop in the sizing zone")
        << QList<double> {} << 158.5 << QList<double> {} << 0;
    QTest::newRow("just outside the sizing zone")
        << QList<double> {} << 157.9 << QList<double> {157.5} << 0;
    QList<double> full;
    for (int i = 1; i <= RichTextBox::MaxTabStops; ++i)
        full.append(i * 2.5);
    QTest::newRow("a full list refuses one more") << full << 100.0 << full << 1;
}

void TestRuler::clicksAddStops()
{
    QFETCH(QList<double>, stops);
    QFETCH(double, atMm);
    QFETCH(QList<double>, after);
    QFETCH(int, beeps);
    frmDocument *doc = shownDocument(220);
    QVERIFY(doc);
    doc->txtText->setText(QStringLiteral("a\tb"));
    format(doc->txtText, Paragraph {0, 0, 0, stops});
    doc->txtText_SelChange();
    // The upper row, where no marker stands in the way.
    const QPoint point(Ruler::pixels(atMm), 1);
    const int beepsBefore = beepCount();
    moveTo(doc->pboxLineal, point);
    press(doc->pboxLineal, Qt::LeftButton, point);
    release(doc->pboxLineal, Qt::LeftButton, point);
    QCOMPARE(beepCount() - beepsBefore, beeps);
    QCOMPARE(read(doc->txtText).tabs, after);
    QCOMPARE(doc->Tabanzahl, qint16(after.size()));
    if (after.size() > stops.size()) {
        QLabel *added = doc->imgTab(after.size());
        QVERIFY(added && !added->isHidden());
        QCOMPARE(Ruler::tag(added), Ruler::tabTag(after.size()));
        QCOMPARE(added->y(), doc->imgLU->y());
        QVERIFY2(centredOn(added, after.last()), qPrintable(where(added)));
    }
}

void TestRuler::textWidthDrag_data()
{
    QTest::addColumn<Paragraph>("paragraph");
    QTest::addColumn<int>("button");
    QTest::addColumn<QList<double>>("moves");
    QTest::addColumn<double>("width");
    QTest::addColumn<QList<double>>("stops");
    const Paragraph plain;
    const int left = Qt::LeftButton;
    QList<double> down;
    for (double end = 160; end > 30; end -= 2.5)
        down.append(end - 1.5);
    QList<double> up;
    for (double end = 160; end < 200; end += 2.5)
        up.append(end + 1.5);
    // Past a limit the pointer runs out of the sizing zone; the release there adds a stop.
    QTest::newRow("narrower step by step")
        << plain << left << down.mid(0, 4) << 150.0 << QList<double> {};
    QTest::newRow("not below 40 mm") << plain << left << down << 40.0 << QList<double> {30};
    QTest::newRow("wider up to 180 mm") << plain << left << up << 180.0 << QList<double> {};
    QTest::newRow("40 mm between the indents")
        << Paragraph {30, 0, 20, {}} << left << down << 90.0 << QList<double> {30};
    QTest::newRow("too fast leaves the sizing zone")
        << plain << left << QList<double> {159.5, 120} << 160.0 << QList<double> {120};
    QTest::newRow("right button") << plain << int(Qt::RightButton) << QList<double> {158.5} << 160.0
                                  << QList<double> {};
}

void TestRuler::textWidthDrag()
{
    QFETCH(Paragraph, paragraph);
    QFETCH(int, button);
    QFETCH(QList<double>, moves);
    QFETCH(double, width);
    QFETCH(QList<double>, stops);
    frmDocument *doc = shownDocument(250);
    QVERIFY(doc);
    format(doc->txtText, paragraph);
    doc->txtText_SelChange();
    // The upper row: below, the right-indent marker covers the box's end.
    const int row = 1;
    const QPoint start(Ruler::pixels(159.5), row);
    // Moves the window system has pending for the new window may reset the pointer first.
    moveTo(doc->pboxLineal, start - QPoint(1, 0));
    moveTo(doc->pboxLineal, start);
    QCOMPARE(Screen::MousePointer(), int(Screen::vbSizeWE));
    press(doc->pboxLineal, Qt::MouseButton(button), start);
    for (double mm : moves)
        moveTo(doc->pboxLineal, QPoint(Ruler::pixels(mm), row));
    release(doc->pboxLineal, Qt::MouseButton(button), QPoint(Ruler::pixels(moves.last()), row));

    QCOMPARE(doc->txtText->RightMargin(), width);
    QCOMPARE(doc->pboxLineal->width(), Ruler::pixels(width));
    QCOMPARE(Page::RandRechts, float(185 - width));
    QCOMPARE(doc->pboxLinealRechts->width(), Ruler::pixels(185 - width));
    QCOMPARE(doc->pboxLinealRechts->x(), doc->pboxLineal->x() + doc->pboxLineal->width());
    const double rightIndent = paragraph.right;
    QVERIFY2(centredOn(doc->imgRU, width - rightIndent - (rightIndent == 0 ? 1 : 0)),
             qPrintable(where(doc->imgRU)));
    QCOMPARE(read(doc->txtText).tabs, stops);
}

void TestRuler::pointerOverRulerControls()
{
    frmDocument *doc = shownDocument(220);
    QVERIFY(doc);
    // Indents away from 0 mm, so the markers leave the left grey box free.
    format(doc->txtText, Paragraph {10, 0, 0, {}});
    doc->txtText_SelChange();
    const struct
    {
        QWidget *control;
        bool back;
    } controls[] = {
        {doc->imgLO, true},
        {doc->imgRU, true},
        {doc->pboxLinealRechts, true},
        {doc->Picture1, true},
        {doc->pboxLinealLinks, false},
        {doc->imgLU, true},
    };
    for (const auto &c : controls) {
        moveTo(doc->pboxLineal, QPoint(Ruler::pixels(159), 2));
        QCOMPARE(Screen::MousePointer(), int(Screen::vbSizeWE));
        const QPoint point
            = Ruler::box(c.control) ? grip(c.control) : QPoint(1, c.control->height() - 1);
        moveTo(c.control, point);
        QCOMPARE(Screen::MousePointer(), int(c.back ? Screen::vbDefault : Screen::vbSizeWE));
    }
    // Before the last 2 mm the pointer is the default again.
    moveTo(doc->pboxLineal, QPoint(doc->pboxLineal->width() - Ruler::pixels(2) - 1, 2));
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
}

void TestRuler::markersAtTheEndsShowWhole()
{
    frmDocument *doc = shownDocument(220);
    QVERIFY(doc);
    for (QLabel *marker : {doc->imgLO, doc->imgLU, doc->imgRU}) {
        const QImage picture = marker->pixmap().toImage();
        QRect painted;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qAlpha(picture.pixel(x, y)) > 0)
                    painted |= QRect(x, y, 1, 1);
        QVERIFY(!painted.isEmpty());
        QVERIFY(marker->mask().boundingRect().contains(painted));
        QVERIFY2(doc->Picture1->rect().contains(painted.translated(marker->pos())),
                 qPrintable(Ruler::tag(marker) + QStringLiteral(" shows only in part")));
    }
    const QImage strip = doc->Picture1->grab().toImage();
    const QString folder = screenshotFolder();
    QVERIFY(strip.scaled(strip.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(folder + QStringLiteral("/ruler-ends.png")));
}

void TestRuler::numbersStandClearOfMarks()
{
    frmDocument *doc = newDocument();
    auto *box = static_cast<RulerBox *>(doc->pboxLineal);
    Ruler::setWidthMm(box, 300);
    QImage shown(box->size(), QImage::Format_RGB32);
    box->render(&shown, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const QFontMetricsF metrics(box->font());
    for (int cm = 1; cm <= 29; ++cm) {
        const QString number = QString::number(cm);
        const QPointF origin(Ruler::pixels(cm * 10 + 0.5), metrics.ascent());
        // The number as it looks on the white box with nothing else around it.
        QImage alone(box->size(), QImage::Format_ARGB32_Premultiplied);
        alone.fill(Qt::transparent);
        {
            QPainter painter(&alone);
            painter.setFont(box->font());
            painter.setPen(Qt::black);
            painter.drawText(origin, number);
        }
        QImage expected(box->size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(0, 0, alone);
        const QRect area = box->numberArea(number, origin);
        if (cm >= 10)
            QVERIFY(area.contains(Ruler::pixels(cm * 10 + 2.5), area.center().y()));
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                QVERIFY2(shown.pixel(x, y) == expected.pixel(x, y),
                         qPrintable(QStringLiteral("%1 at %2,%3").arg(cm).arg(x).arg(y)));
    }
}

void TestRuler::stripLayout_data()
{
    QTest::addColumn<float>("stripWidth");
    QTest::addColumn<float>("stripHeight");
    QTest::addColumn<float>("rowWidth");
    QTest::addColumn<bool>("barsShownBefore");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("largeChange");
    QTest::addColumn<int>("smallChange");
    QTest::addColumn<float>("length");

    const float bar = 4.445f;
    const float row = 4.2f;
    const float loadHeight = row + 1.5f * bar;
    QTest::newRow("row of the load in 150 mm")
        << 150.f << loadHeight << 185.f << false << false << true << 35 << 150 << 30 << 150.f;
    QTest::newRow("exactly as wide")
        << 150.f << loadHeight << 150.f << false << false << false << 0 << 0 << 0 << 0.f;
    QTest::newRow("0.4 mm over") << 150.f << loadHeight << 150.4f << false << false << true << 0
                                 << 150 << 30 << 150.f;
    QTest::newRow("20.5 mm over, half to even")
        << 150.f << loadHeight << 170.5f << false << false << true << 20 << 150 << 30 << 150.f;
    QTest::newRow("21.5 mm over, half to even")
        << 150.f << loadHeight << 171.5f << false << false << true << 22 << 150 << 30 << 150.f;
    QTest::newRow("14 mm to see") << 14.f << loadHeight << 185.f << false << false << true << 171
                                  << 14 << 2 << 14.f;
    QTest::newRow("load height with both bars shown before")
        << 150.f << loadHeight << 185.f << true << false << true << 35 << 150 << 30 << 150.f;
    QTest::newRow("second pass makes room for both")
        << 150.f << row + 1.f << 185.f << false << true << true << 39 << 146 << 29 << 150.f - bar;
    QTest::newRow("second pass hides the bar again")
        << 150.f << row + bar + 1.f << 148.f << true << false << false << 0 << 0 << 0 << 0.f;
}

void TestRuler::stripLayout()
{
    QFETCH(float, stripWidth);
    QFETCH(float, stripHeight);
    QFETCH(float, rowWidth);
    QFETCH(bool, barsShownBefore);
    QFETCH(bool, vertical);
    QFETCH(bool, horizontal);
    QFETCH(int, max);
    QFETCH(int, largeChange);
    QFETCH(int, smallChange);
    QFETCH(float, length);
    const float bar = 4.445f;
    const float row = 4.2f;
    const StripLayout::Strip strip {stripWidth, stripHeight, rowWidth, row};
    StripLayout::Bar vBar;
    vBar.Width = bar;
    vBar.Visible = barsShownBefore;
    StripLayout::Bar hBar;
    hBar.Height = bar;
    hBar.Visible = barsShownBefore;
    StripLayout::layout(strip, vBar, hBar);

    QCOMPARE(vBar.Visible, vertical);
    QCOMPARE(hBar.Visible, horizontal);
    if (horizontal) {
        QCOMPARE(int(hBar.Max), max);
        QCOMPARE(int(hBar.Min), 0);
        QCOMPARE(int(hBar.LargeChange), largeChange);
        QCOMPARE(int(hBar.SmallChange), smallChange);
        QCOMPARE(hBar.Width, length);
        QCOMPARE(hBar.Left, 0.f);
        QCOMPARE(hBar.Top, stripHeight - bar);
    }
    if (vertical) {
        QCOMPARE(vBar.Height, stripHeight - bar);
        QCOMPARE(int(vBar.Max), int(StripLayout::nearest(row - (stripHeight - bar))));
        QCOMPARE(vBar.Left, stripWidth - bar);
        QCOMPARE(vBar.Top, 0.f);
    }
    // At the bar's end the row's right end meets the strip's right edge.
    if (horizontal && !vertical && max > 0)
        QVERIFY(std::abs(-max + rowWidth - stripWidth) <= 0.5f);
}

void TestRuler::stripScrollsTheRow()
{
    frmDocument *doc = shownDocument(150);
    QVERIFY(doc);
    QScrollBar *bar = doc->HScroll;
    QVERIFY(doc->VScroll->isHidden());
    QVERIFY(!bar->isHidden());
    const double row = Ruler::widthMm(doc->pboxLinealLinks) + Ruler::widthMm(doc->pboxLineal)
        + Ruler::widthMm(doc->pboxLinealRechts);
    const double strip = Ruler::widthMm(doc->Picture1);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), int(StripLayout::nearest(float(row - strip))));
    QCOMPARE(bar->pageStep(), int(StripLayout::nearest(float(strip))));
    QCOMPARE(bar->singleStep(), bar->pageStep() / 5);
    QCOMPARE(
        bar->geometry(),
        QRect(0, doc->Picture1->height() - bar->height(), doc->Picture1->width(), bar->height()));
    QVERIFY(bar->y() >= doc->pboxLineal->height());

    bar->setValue(bar->maximum());
    QCOMPARE(doc->pboxLinealLinks->x(), -Ruler::pixels(bar->maximum()));
    QCOMPARE(doc->pboxLineal->x(), doc->pboxLinealLinks->x() + doc->pboxLinealLinks->width());
    const int rowEnd = doc->pboxLinealRechts->x() + doc->pboxLinealRechts->width();
    QVERIFY2(std::abs(rowEnd - doc->Picture1->width()) <= Ruler::pixels(0.5) + 1,
             qPrintable(QString::number(rowEnd)));

    // A wider window has room for part of the scrolled-off row: bar and row agree again.
    QWidget *frame = doc->parentWidget();
    frame->resize(frame->width() + Ruler::pixels(10), frame->height());
    QCoreApplication::processEvents();
    QVERIFY(!bar->isHidden());
    QVERIFY(bar->value() <= bar->maximum());
    QCOMPARE(doc->pboxLinealLinks->x(), -Ruler::pixels(bar->value()));

    // Once the row fits, the bar goes and the row is back at its place.
    frame->resize(frame->width() + Ruler::pixels(60), frame->height());
    QCoreApplication::processEvents();
    QVERIFY(bar->isHidden());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(doc->pboxLinealLinks->x(), 0);

    frame->resize(frame->width() - Ruler::pixels(60), frame->height());
    QCoreApplication::processEvents();
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->maximum(), int(StripLayout::nearest(float(row - Ruler::widthMm(doc->Picture1)))));

    // The ruler's own changes of width wait for the next change of the window's size.
    const int maxBefore = bar->maximum();
    Ruler::setWidthMm(doc->pboxLineal, 180);
    QCOMPARE(bar->maximum(), maxBefore);
}

void TestRuler::stripInATinyWindow()
{
    frmDocument *doc = shownDocument(150);
    QVERIFY(doc);
    for (int width : {Ruler::pixels(10), Ruler::pixels(3), 1, 0}) {
        doc->Picture1->resize(width, doc->Picture1->height());
        QScrollBar *bar = doc->HScroll;
        QVERIFY(!bar->isHidden());
        QVERIFY(bar->pageStep() >= 1);
        QVERIFY(bar->singleStep() >= 1);
        QVERIFY(bar->maximum() >= bar->minimum());
        QVERIFY(bar->value() >= bar->minimum() && bar->value() <= bar->maximum());
        QVERIFY(bar->width() >= 0);
        QCOMPARE(doc->pboxLinealLinks->x(), -Ruler::pixels(bar->value()));
    }
}

void TestRuler::dragScreenshot()
{
    frmDocument *doc = shownDocument(150);
    QVERIFY(doc);
    RichTextBox *text = doc->txtText;
    text->setText(QStringLiteral("Ein Absatz mit Einzügen und Tabulatoren,\tder beim Ziehen "
                                 "des Markers zusieht.\tEnde"));
    format(text, Paragraph {10, -5, 20, {30, 60, 95}});
    doc->txtText_SelChange();
    drag(doc->imgTab(2), Qt::LeftButton, doc->pboxLineal,
         QPoint(Ruler::pixels(80), doc->pboxLineal->height() / 2), false);
    QLabel *picture = doc->rulerMouse->dragPicture();
    QVERIFY(picture && !picture->isHidden());
    QCOMPARE(doc->rulerMouse->dragSource(), doc->imgTab(2));
    const QPoint pointer
        = doc->pboxLineal->mapTo(doc, QPoint(Ruler::pixels(80), doc->pboxLineal->height() / 2));
    QVERIFY(picture->geometry().contains(pointer));

    const QImage shot = doc->grab().toImage();
    const QString folder = screenshotFolder();
    QVERIFY(shot.save(folder + QStringLiteral("/ruler-drag.png")));
    const QRect strip(QPoint(0, 0), doc->Picture1->size());
    QVERIFY(shot.copy(strip)
                .scaled(strip.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(folder + QStringLiteral("/ruler-drag-strip.png")));
    QVERIFY(!doc->HScroll->isHidden());

    release(doc->imgTab(2), Qt::LeftButton, doc->imgTab(2)->mapFrom(doc, pointer));
    QCOMPARE(text->SelTabs(1), std::optional<double>(80));
    QVERIFY(!doc->rulerMouse->dragPicture());
}

void TestRuler::dragEndsWithItsSource()
{
    frmDocument *doc = shownDocument(220);
    QVERIFY(doc);
    format(doc->txtText, Paragraph {0, 0, 0, {30}});
    doc->txtText_SelChange();
    drag(doc->imgTab(1), Qt::LeftButton, doc->pboxLineal, QPoint(Ruler::pixels(50), 5), false);
    QVERIFY(doc->rulerMouse->dragPicture());
    // The caret moves on while the marker is held: the markers are made anew.
    doc->Tabaktualisierung();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!doc->rulerMouse->dragSource());
    QVERIFY(!doc->rulerMouse->dragPicture());
    release(doc->pboxLineal, Qt::LeftButton, QPoint(Ruler::pixels(50), 5));
    QCOMPARE(read(doc->txtText).tabs, QList<double> {30});
}

void TestRuler::mixedParagraphs()
{
    frmDocument *doc = shownDocument(220);
    QVERIFY(doc);
    RichTextBox *text = doc->txtText;
    text->setText(QStringLiteral("Erster\tAbsatz\rZweiter\tAbsatz"));
    text->setSelStart(0);
    format(text, Paragraph {10, 0, 0, {20}});
    text->setSelStart(text->Text().size());
    format(text, Paragraph {20, 0, 0, {40}});
    text->setSelStart(0);
    text->setSelLength(text->Text().size());
    doc->txtText_SelChange();
    QVERIFY(doc->imgLO->isHidden());
    QCOMPARE(doc->Tabanzahl, qint16(0));

    // The right indent cannot be checked against a first line that differs.
    const int beeps = beepCount();
    drag(doc->imgRU, Qt::LeftButton, doc->pboxLineal, QPoint(Ruler::pixels(120), 5));
    QCOMPARE(beepCount() - beeps, 1);
    QCOMPARE(text->SelRightIndent(), std::optional<double>(0));

    // A click gives every paragraph the one stop.
    const QPoint point(Ruler::pixels(50), 1);
    moveTo(doc->pboxLineal, point);
    press(doc->pboxLineal, Qt::LeftButton, point);
    release(doc->pboxLineal, Qt::LeftButton, point);
    QCOMPARE(doc->Tabanzahl, qint16(1));
    for (int start : {0, int(text->Text().size())}) {
        text->setSelStart(start);
        QCOMPARE(read(text).tabs, QList<double> {50});
    }
}

QTEST_MAIN(TestRuler)
#include "tst_ruler.moc"
