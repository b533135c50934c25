// The rich-text window's ruler: its boxes after load, the 2.5 mm grid, the markers that follow
// the selection's indents and tab stops, the kept scale, and a picture of it to look at.
#include "common/Grid.h"
#include "document/Ruler.h"
#include "document/frmDocument.h"
#include "frame/frmMain.h"
#include "platform/RichTextBox.h"
#include "platform/Screen.h"
#include "platform/TextFormat.h"
#include "tests/support/RunningProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
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
    const double centre = marker->x() + marker->width() / 2.0;
    return std::abs(centre - mm * TextFormat::pixelsPerMm()) <= 0.5 + 1e-9;
}

QString where(const QWidget *marker)
{
    return QStringLiteral("centre at %1 mm")
        .arg(Ruler::millimetres(marker->x() + marker->width() / 2.0));
}

bool closeTo(int pixels, double mm)
{
    return std::abs(pixels - mm * TextFormat::pixelsPerMm()) <= 1.0;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 128;
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

private:
    frmDocument *newDocument();
    std::unique_ptr<RunningProgram> program;
};

void TestRuler::init()
{
    program = std::make_unique<RunningProgram>();
    program->start();
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

void TestRuler::boxesAndMarkersAfterLoad()
{
    frmDocument *doc = newDocument();
    QVERIFY(doc);
    QCOMPARE(doc->pboxLinealLinks->geometry(), QRect(0, 0, 0, doc->pboxLineal->height()));
    QCOMPARE(doc->pboxLineal->pos(), QPoint(0, 0));
    QCOMPARE(doc->pboxLineal->width(), Ruler::pixels(160));
    QCOMPARE(doc->pboxLinealRechts->geometry(),
             QRect(doc->pboxLineal->width(), 0, Ruler::pixels(25), doc->pboxLineal->height()));
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
        QCOMPARE(m.marker->parentWidget(), doc->pboxLineal);
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
        QCOMPARE(marker->parentWidget(), doc->pboxLineal);
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
    for (const QLabel *child : doc->pboxLineal->findChildren<QLabel *>())
        if (!child->isHidden() && !Ruler::isIndentTag(Ruler::tag(child)))
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
        const int column = Ruler::pixels(step * 2.5);
        QVERIFY2(isDark(box.pixel(column, both)), qPrintable(QString::number(step * 2.5)));
        // From 10 cm on, two-digit numbers reach over the next mark.
        if (step < 40)
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
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
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
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(shot.save(folder + QStringLiteral("/bullets.png")));
}

QTEST_MAIN(TestRuler)
#include "tst_ruler.moc"
