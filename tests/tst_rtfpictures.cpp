// Pictures in RTF documents: read at their place and size, shown, written back byte for byte,
// one character of the text for editing and none for plain text.
#include "document/DocumentWindow.h"
#include "tests/support/PictureFixtures.h"
#include "tests/support/RunningProgram.h"
#include "tests/support/TestEnvironment.h"
#include "text/ClipboardFormats.h"
#include "text/PictureObjects.h"
#include "text/RichTextBox.h"
#include "text/TextPicture.h"
#include "text/rtf/RtfReader.h"
#include "text/rtf/RtfWriter.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace PictureFixtures;

namespace {

const QString picture(1, QChar::ObjectReplacementCharacter);

QByteArray png()
{
    return bitmap(QSize(40, 20), Qt::red, "PNG");
}

const QByteArray pngWords = "\\pngblip\\picw40\\pich20\\picwgoal600\\pichgoal300";
const QByteArray notAPicture = "kein Bild, nur Text";

// By name, so that a failed comparison reads as the pictures it compares.
QString kindName(TextPicture::Kind kind)
{
    switch (kind) {
    case TextPicture::Kind::Other:
        return QStringLiteral("other");
    case TextPicture::Kind::Bitmap:
        return QStringLiteral("bitmap");
    case TextPicture::Kind::Dib:
        return QStringLiteral("dib");
    case TextPicture::Kind::Wmf:
        return QStringLiteral("wmf");
    case TextPicture::Kind::Emf:
        return QStringLiteral("emf");
    }
    return QStringLiteral("kind(%1)").arg(static_cast<int>(kind));
}

QString describe(const TextPicture::Picture &picture)
{
    return QStringLiteral("%1 bytes %2, kind %3, %4 x %5 twips, %6")
        .arg(picture.data.size())
        .arg(QString::fromLatin1(picture.data.toHex().left(16)))
        .arg(kindName(picture.kind))
        .arg(picture.widthTwips)
        .arg(picture.heightTwips)
        .arg(QString::fromLatin1(picture.rtfWords));
}

QStringList described(const QTextDocument &document)
{
    QStringList all;
    for (const TextPicture::Picture &one : pictures(document))
        all.append(describe(one));
    return all;
}

// The pixels of a column of the widget's image, top to bottom.
QList<QRgb> column(const QImage &image, int x)
{
    QList<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        pixels.append(image.pixel(x, y) & 0xFFFFFF);
    return pixels;
}

bool near(QRgb a, QColor b)
{
    return std::abs(qRed(a) - b.red()) < 40 && std::abs(qGreen(a) - b.green()) < 40
        && std::abs(qBlue(a) - b.blue()) < 40;
}

} // namespace

class TestRtfPictures : public QObject
{
    Q_OBJECT

private slots:
    void readsPicturesAtTheirPlace_data();
    void readsPicturesAtTheirPlace();
    void savingKeepsPicturesByteForByte();
    void copyAndPasteKeepPictures();
    void plainTextHasNoPictures();
    void pictureIsOneCharacter();
    void showsPicturesAndGreyFrames_data();
    void showsPicturesAndGreyFrames();
    void decodesOnlyWhatIsShown();
    void staysGreyBeyondTheDecodingBudget();
    void survivesMalformedPictures_data();
    void survivesMalformedPictures();
};

void TestRtfPictures::readsPicturesAtTheirPlace_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<double>("widthTwips");
    QTest::addColumn<double>("heightTwips");

    const QByteArray jpeg = bitmap(QSize(40, 20), Qt::blue, "JPEG");
    const QByteArray metafile = wmf(QSize(100, 50), Qt::green);
    const QByteArray enhanced = emf(QSize(100, 50), Qt::green);
    QTest::newRow("png in hex") << pict(pngWords, png()) << png() << 600.0 << 300.0;
    QTest::newRow("jpeg") << pict("\\jpegblip\\picwgoal1200\\pichgoal600", jpeg) << jpeg << 1200.0
                          << 600.0;
    QTest::newRow("wmf") << pict("\\wmetafile8\\picw2646\\pich1323\\picwgoal1500\\pichgoal750",
                                 metafile)
                         << metafile << 1500.0 << 750.0;
    QTest::newRow("emf") << pict("\\emfblip\\picwgoal1500\\pichgoal750", enhanced) << enhanced
                         << 1500.0 << 750.0;
    QTest::newRow("dib, size in pixels")
        << pict("\\dibitmap0\\picw40\\pich20", dib(QSize(40, 20), Qt::red))
        << dib(QSize(40, 20), Qt::red) << 600.0 << 300.0;
    QTest::newRow("metafile, size in hundredths of a millimetre")
        << pict("\\emfblip\\picw2540\\pich1270", enhanced) << enhanced << 1440.0 << 720.0;
    QTest::newRow("png after bin")
        << "{\\pict" + pngWords + "\\bin" + QByteArray::number(png().size()) + " " + png() + "}"
        << png() << 600.0 << 300.0;
    QTest::newRow("shppict beside nonshppict") << "{\\*\\shppict" + pict(pngWords, png())
            + "}{\\nonshppict" + pict("\\wmetafile8\\picwgoal600\\pichgoal300", metafile)
            + "}" << png() << 600.0 << 300.0;
    QTest::newRow("object result")
        << "{\\object\\objemb{\\*\\objclass Paint.Picture}{\\*\\objdata 0102}\\objw600\\objh300"
           "{\\result"
            + pict(pngWords, png()) + "}}"
        << png() << 600.0 << 300.0;
    QTest::newRow("scaled") << pict(pngWords + "\\picscalex50\\picscaley200", png()) << png()
                            << 300.0 << 600.0;
    QTest::newRow("undecodable") << pict("\\pngblip\\picwgoal900\\pichgoal450", notAPicture)
                                 << notAPicture << 900.0 << 450.0;
}

void TestRtfPictures::readsPicturesAtTheirPlace()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, data);
    QFETCH(double, widthTwips);
    QFETCH(double, heightTwips);

    QTextDocument text;
    QTextCursor cursor(&text);
    QVERIFY(rtf::read(document("Vor" + body + "Nach"), cursor).ok);
    QCOMPARE(text.toPlainText(), QStringLiteral("Vor") + picture + QStringLiteral("Nach"));
    const QList<TextPicture::Picture> found = pictures(text);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().data, data);
    QCOMPARE(found.first().widthTwips, widthTwips);
    QCOMPARE(found.first().heightTwips, heightTwips);
    cursor.setPosition(4);
    QVERIFY(cursor.charFormat().isImageFormat());
}

void TestRtfPictures::savingKeepsPicturesByteForByte()
{
    TestEnvironment env;
    const QByteArray file = document(
        "Logo " + pict(pngWords, png()) + " und "
        + pict("\\wmetafile8\\picw2646\\pich1323\\picwgoal1500\\pichgoal750\\piccropl20",
               wmf(QSize(100, 50), Qt::green))
        + "\\par " + pict("\\emfblip\\picwgoal1500\\pichgoal750", emf(QSize(100, 50), Qt::red))
        + pict("\\jpegblip\\picwgoal1200\\pichgoal600", bitmap(QSize(40, 20), Qt::blue, "JPEG"))
        + pict("\\pngblip\\picwgoal900\\pichgoal450", notAPicture) + " Ende");
    const QString original = env.path("original.rtf");
    const QString saved = env.path("gespeichert.rtf");
    QFile out(original);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();

    RichTextBox first;
    QCOMPARE(first.LoadFile(original, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(pictures(*first.document()).size(), 5);
    QVERIFY(first.SaveFile(saved, RichTextBox::rtfRTF));
    RichTextBox second;
    QCOMPARE(second.LoadFile(saved, RichTextBox::rtfRTF), RichTextBox::LoadResult::Ok);
    QCOMPARE(second.Text(), first.Text());
    QCOMPARE(described(*second.document()), described(*first.document()));
    QCOMPARE(pictures(*second.document()).at(1).data, wmf(QSize(100, 50), Qt::green));
    // Other programs read the same kind and size words.
    QFile written(saved);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QVERIFY(bytes.contains("{\\pict" + pngWords + "\r\n" + png().toHex().left(128)));
    QVERIFY(
        bytes.contains("\\wmetafile8\\picw2646\\pich1323\\picwgoal1500\\pichgoal750\\piccropl20"));
}

void TestRtfPictures::copyAndPasteKeepPictures()
{
    RunningProgram program;
    program.start();
    DocumentWindow *window = program.document(QString(), 0);
    RichTextBox *text = window->txtText;
    text->setSelRTF(QString::fromLatin1(document("Vor" + pict(pngWords, png()) + "Nach")));
    // Through SelRTF directly, and through the window's clipboard commands.
    text->setSelStart(3);
    text->setSelLength(1);
    const QString copied = text->SelRTF();
    text->setSelStart(static_cast<int>(text->Text().size()));
    text->setSelRTF(copied);
    text->setSelStart(3);
    text->setSelLength(1);
    window->mnuEditCopy->trigger();
    text->setSelStart(0);
    window->mnuEditPaste->trigger();

    QCOMPARE(text->Text(),
             picture + QStringLiteral("Vor") + picture + QStringLiteral("Nach") + picture);
    const QList<TextPicture::Picture> found = pictures(*text->document());
    QCOMPARE(found.size(), 3);
    for (const TextPicture::Picture &one : found)
        QCOMPARE(describe(one), describe(found.first()));
    QCOMPARE(found.first().data, png());
    program.stop();
}

void TestRtfPictures::plainTextHasNoPictures()
{
    TestEnvironment env;
    RichTextBox box;
    box.setSelRTF(QString::fromLatin1(document("Vor" + pict(pngWords, png()) + "Nach")));
    const QString path = env.path("text.txt");
    QVERIFY(box.SaveFile(path, RichTextBox::rtfText));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("VorNach"));
    box.selectAll();
    box.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("VorNach"));
    QCOMPARE(ClipboardFormats::plainText(box.Text()), QStringLiteral("VorNach"));
}

void TestRtfPictures::pictureIsOneCharacter()
{
    RichTextBox box;
    box.setSelRTF(QString::fromLatin1(document("Vor" + pict(pngWords, png()) + "Nach")));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    box.setSelStart(3);
    QWidget *keys = &box; // the window, as the keyboard sends them
    QTest::keyClick(keys, Qt::Key_Right);
    QCOMPARE(box.SelStart(), 4);
    QTest::keyClick(keys, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(box.SelStart(), 3);
    QCOMPARE(box.SelLength(), 1);
    QCOMPARE(box.SelText(), picture);
    QCOMPARE(box.Find(QStringLiteral("Nach")), 4);
    box.setSelStart(4);
    QTest::keyClick(keys, Qt::Key_Backspace);
    QCOMPARE(box.Text(), QStringLiteral("VorNach"));
    QVERIFY(pictures(*box.document()).isEmpty());
    QTest::keyClick(keys, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.Text(), QStringLiteral("Vor") + picture + QStringLiteral("Nach"));
    QCOMPARE(pictures(*box.document()).size(), 1);
    QCOMPARE(pictures(*box.document()).first().data, png());
}

void TestRtfPictures::showsPicturesAndGreyFrames_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QColor>("color"); // invalid: a grey frame

    QTest::newRow("png") << pict(pngWords, png()) << QColor(Qt::red);
    QTest::newRow("jpeg") << pict("\\jpegblip\\picwgoal600\\pichgoal300",
                                  bitmap(QSize(40, 20), Qt::blue, "JPEG"))
                          << QColor(Qt::blue);
    QTest::newRow("dib") << pict("\\dibitmap0\\picw40\\pich20", dib(QSize(40, 20), Qt::red))
                         << QColor(Qt::red);
    QTest::newRow("wmf") << pict("\\wmetafile8\\picwgoal600\\pichgoal300",
                                 wmf(QSize(100, 50), Qt::green))
                         << QColor(Qt::green);
    QTest::newRow("emf") << pict("\\emfblip\\picwgoal600\\pichgoal300",
                                 emf(QSize(100, 50), Qt::green))
                         << QColor(Qt::green);
    QTest::newRow("undecodable") << pict("\\pngblip\\picwgoal600\\pichgoal300", notAPicture)
                                 << QColor();
    QTest::newRow("kind without decoder")
        << pict("\\macpict\\picwgoal600\\pichgoal300", png()) << QColor();
}

void TestRtfPictures::showsPicturesAndGreyFrames()
{
    QFETCH(QByteArray, body);
    QFETCH(QColor, color);

    RichTextBox box;
    box.resize(400, 200);
    box.setSelRTF(QString::fromLatin1(document("Vor" + body + "Nach")));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTextCursor cursor(box.document());
    cursor.setPosition(4);
    const QUrl name(cursor.charFormat().toImageFormat().name());
    QTRY_VERIFY(box.document()->resource(QTextDocument::ImageResource, name).isValid());
    QTest::qWait(0);
    const QImage shot = box.viewport()->grab().toImage();
    cursor.setPosition(3);
    const int x = box.cursorRect(cursor).x() + 20;
    const QList<QRgb> pixels = column(shot, x);
    const auto count = [&pixels](QColor wanted) {
        return std::count_if(pixels.begin(), pixels.end(),
                             [wanted](QRgb pixel) { return near(pixel, wanted); });
    };
    if (color.isValid()) {
        QVERIFY2(count(color) >= 18, qPrintable(QString::number(count(color))));
    } else {
        QCOMPARE(count(QColor(0xC0, 0xC0, 0xC0)), 2);
        QCOMPARE(count(QColor(Qt::red)), 0);
    }
}

void TestRtfPictures::decodesOnlyWhatIsShown()
{
    QByteArray body;
    for (int i = 0; i < 300; ++i)
        body += "Bild " + QByteArray::number(i) + " "
            + pict(pngWords, bitmap(QSize(40, 20), QColor(i % 256, 0, 0), "PNG")) + "\\par ";
    RichTextBox box;
    box.resize(400, 200);
    box.setSelRTF(QString::fromLatin1(document(body)));
    box.setSelStart(0);
    QCOMPARE(pictures(*box.document()).size(), 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const auto decoded = [&box](int paragraph) {
        const QTextBlock block = box.document()->findBlockByNumber(paragraph);
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        const QUrl name(cursor.charFormat().toImageFormat().name());
        return box.document()->resource(QTextDocument::ImageResource, name).isValid();
    };
    QTRY_VERIFY(decoded(0));
    QVERIFY(!decoded(299));
}

void TestRtfPictures::staysGreyBeyondTheDecodingBudget()
{
    // 22 inches square is the largest size a picture is shown at: 4.5 million pixels each at
    // 96 pixels to the inch.
    QByteArray body;
    for (int i = 0; i < 40; ++i)
        body += pict("\\pngblip\\picwgoal31680\\pichgoal31680",
                     bitmap(QSize(4, 4), QColor(i, 0, 0), "PNG"));
    QTextDocument text;
    QTextCursor cursor(&text);
    QVERIFY(rtf::read(document(body), cursor).ok);
    PictureObjects::decodeAll(text, 1.0);
    int decoded = 0;
    int grey = 0;
    for (int position = 1; position <= 40; ++position) {
        cursor.setPosition(position);
        const QVariant image = text.resource(QTextDocument::ImageResource,
                                             QUrl(cursor.charFormat().toImageFormat().name()));
        QVERIFY(image.isValid());
        ++(image.value<QImage>().isNull() ? grey : decoded);
    }
    QVERIFY2(decoded > 0 && grey > 0, qPrintable(QStringLiteral("%1 %2").arg(decoded).arg(grey)));
    QCOMPARE(pictures(text).size(), 40);
}

void TestRtfPictures::survivesMalformedPictures_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("count");

    const QByteArray hex = png().toHex();
    QTest::newRow("no data") << document("a{\\pict\\pngblip\\picwgoal600}b") << 0;
    QTest::newRow("odd digit") << document("a{\\pict\\pngblip 414}b") << 1;
    QTest::newRow("cut off") << "{\\rtf1 a{\\pict\\pngblip " + hex.left(50) << 1;
    QTest::newRow("bin beyond the end")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip\\bin999999 xy") << 1;
    QTest::newRow("negative bin") << document("a{\\pict\\pngblip\\bin-5 41}b") << 1;
    QTest::newRow("nested pict") << document("a{\\pict\\pngblip 41{\\pict 42}43}b") << 1;
    QTest::newRow("huge and negative sizes")
        << document("a{\\pict\\pngblip\\picwgoal2147483647\\pichgoal-7\\picscalex-3 41}b") << 1;
    QTest::newRow("pict in font table")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0{\\pict\\pngblip 41} A;}}a}") << 0;
    QTest::newRow("result outside object") << document("a{\\result{\\pict\\pngblip 41}}b") << 0;
    QTest::newRow("shapes in a shape") << document(
        "a{\\shp{\\shp{\\pict\\pngblip 41}}{\\shprslt{\\pict\\pngblip 42}}{\\object{\\pict 43}}}b")
                                       << 1;
    QTest::newRow("shape cut off") << QByteArray("{\\rtf1 a{\\shp{\\sv{\\pict\\pngblip 41}}b") << 0;
    QTest::newRow("picture in a header") << document("a{\\header{\\pict\\pngblip 41}}b") << 0;
    // Hidden text is kept, and so is a picture in it.
    QTest::newRow("hidden") << document("a{\\v{\\pict\\pngblip 41}}b") << 1;
}

void TestRtfPictures::survivesMalformedPictures()
{
    QFETCH(QByteArray, data);
    QFETCH(int, count);

    QTextDocument text;
    QTextCursor cursor(&text);
    rtf::read(data, cursor);
    const QList<TextPicture::Picture> found = pictures(text);
    QCOMPARE(found.size(), count);
    for (const TextPicture::Picture &one : found) {
        QVERIFY(one.widthTwips >= 15 && one.widthTwips <= 22 * 1440);
        QVERIFY(one.heightTwips >= 15 && one.heightTwips <= 22 * 1440);
    }
    // Written and read again, the same pictures.
    QTextDocument again;
    QTextCursor into(&again);
    QVERIFY(rtf::read(rtf::write(text), into).ok);
    QCOMPARE(described(again), described(text));
}

QTEST_MAIN(TestRtfPictures)
#include "tst_rtfpictures.moc"
