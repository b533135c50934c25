// The on-screen keyboard as the user works it beside the documents: clicks on the keys with
// the buttons and Shift, the grey faces that do nothing, the font box, and the window's life
// with the document windows.
#include "document/DocumentWindow.h"
#include "frame/frmMain.h"
#include "platform/Forms.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/Screen.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmImage.h"
#include "tools/frmSonder.h"
#include "tools/frmTastatur.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <memory>

namespace {

// The keys' three levels as a German keyboard prints them; "" is no third character.
struct Key
{
    int index;
    const char *plain;
    const char *shifted;
    const char *third;
};
const Key keys[] = {
    {1, "^", "°", ""},   {2, "1", "!", ""},   {3, "2", "\"", "²"}, {4, "3", "§", "³"},
    {5, "4", "$", ""},   {6, "5", "%", ""},   {7, "6", "&", ""},   {8, "7", "/", "{"},
    {9, "8", "(", "["},  {10, "9", ")", "]"}, {11, "0", "=", "}"}, {12, "ß", "?", "\\"},
    {13, "´", "`", ""},  {14, "q", "Q", "@"}, {15, "w", "W", ""},  {16, "e", "E", "€"},
    {17, "r", "R", ""},  {18, "t", "T", ""},  {19, "z", "Z", ""},  {20, "u", "U", ""},
    {21, "i", "I", ""},  {22, "o", "O", ""},  {23, "p", "P", ""},  {24, "ü", "Ü", ""},
    {25, "+", "*", "~"}, {26, "a", "A", ""},  {27, "s", "S", ""},  {28, "d", "D", ""},
    {29, "f", "F", ""},  {30, "g", "G", ""},  {31, "h", "H", ""},  {32, "j", "J", ""},
    {33, "k", "K", ""},  {34, "l", "L", ""},  {35, "ö", "Ö", ""},  {36, "ä", "Ä", ""},
    {37, "#", "'", ""},  {38, "<", ">", "|"}, {39, "y", "Y", ""},  {40, "x", "X", ""},
    {41, "c", "C", ""},  {42, "v", "V", ""},  {43, "b", "B", ""},  {44, "n", "N", ""},
    {45, "m", "M", "µ"}, {46, ",", ";", ""},  {47, ".", ":", ""},  {48, "-", "_", ""},
};

QRect twips(const QWidget *control)
{
    const QRect g = control->geometry();
    return QRect(qRound(Screen::twipsFromPixelsX(g.x())), qRound(Screen::twipsFromPixelsY(g.y())),
                 qRound(Screen::twipsFromPixelsX(g.width())),
                 qRound(Screen::twipsFromPixelsY(g.height())));
}

// Within the rounding of one pixel.
bool near(const QRect &got, const QRect &want)
{
    const int slack = qCeil(Screen::twipsPerPixelX());
    return std::abs(got.x() - want.x()) <= slack && std::abs(got.y() - want.y()) <= slack
        && std::abs(got.width() - want.width()) <= slack
        && std::abs(got.height() - want.height()) <= slack;
}

void press(QWidget *face, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mousePress(face, button, modifiers, face->rect().center());
    QTest::mouseRelease(face, button, modifiers, face->rect().center());
}

void settleDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAndKeyFaces();
    void everyKeyOnItsThreeLevels_data();
    void everyKeyOnItsThreeLevels();
    void buttonsAndShiftOnKey16_data();
    void buttonsAndShiftOnKey16();
    void rightClickIgnoresShiftAndKeysWithoutThird();
    void greyFacesDoNothingAndLatchNothing_data();
    void greyFacesDoNothingAndLatchNothing();
    void replacesTheSelectionOfTheActiveDocument();
    void fontBoxStartsOnTheSelectionsFont();
    void fontBoxWithoutTheSelectionsFont();
    void fontBoxChangesOnlyTheKeyFaces();
    void showingAgainKeepsTheWindow();
    void closingUnloads();
    void withoutADocumentNothingHappens();
    void lastDocumentWindowClosesBothTools_data();
    void lastDocumentWindowClosesBothTools();
    void openPictureBrowserKeepsBothTools();
    void f1OpensTheHelpTopic();
    void screenshot();

private:
    frmTastatur &keyboard();

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestKeyboard::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
}

void TestKeyboard::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
    settleDeletes();
    QVERIFY(!frmTastaturForm().isLoaded());
}

frmTastatur &TestKeyboard::keyboard()
{
    frmTastatur::open();
    return frmTastaturForm().get();
}

void TestKeyboard::windowAndKeyFaces()
{
    program->document(QString(), 0);
    frmTastatur &form = keyboard();
    QVERIFY(form.isVisible());
    QCOMPARE(form.windowTitle(), QStringLiteral("Tastaturbelegung"));
    QCOMPARE(form.objectName(), QStringLiteral("frmTastatur"));
    // On top of the main window as its tool window.
    QVERIFY(form.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(form.parentWidget(), static_cast<QWidget *>(&program->main()));
    QCOMPARE(form.Taste[2]->text(), QStringLiteral("1 !"));
    QCOMPARE(form.Taste[9]->text(), QStringLiteral("8 ( ["));
    QCOMPARE(form.Taste[7]->text(), QStringLiteral("6 &"));
    QCOMPARE(form.Taste[1]->text(), QStringLiteral("^ °"));
    // Rows start at their given places and the keys stand 600 twips apart.
    const struct
    {
        int first, top, left;
    } rows[] = {{1, 720, 120}, {14, 1320, 960}, {26, 1920, 1080}, {38, 2520, 720}};
    for (const auto &row : rows) {
        QVERIFY(near(twips(form.Taste[row.first]), QRect(row.left, row.top, 492, 492)));
        QVERIFY(near(twips(form.Taste[row.first + 1]), QRect(row.left + 600, row.top, 492, 492)));
    }
    QVERIFY(near(twips(form.Taste[48]), QRect(720 + 10 * 600, 2520, 492, 492)));
    QVERIFY(near(twips(form.Leertaste), QRect(2280, 3120, 4212, 492)));
    QVERIFY(near(twips(form.Eingabetaste), QRect(8280, 1800, 492, 612)));
    QCOMPARE(form.Leertaste->text(), QStringLiteral("Leer"));
    QCOMPARE(form.Label2->text(), QStringLiteral("|<--  -->|"));
    QCOMPARE(form.Eingabetaste->text(), QStringLiteral("<--|"));
    QCOMPARE(form.Ruecktaste->text(), QStringLiteral("<---"));
    QCOMPARE(form.Feststelltaste->text(), QStringLiteral("Feststell"));
    QCOMPARE(form.lblSchrift->text(), QStringLiteral("Verfügbare &Schriftarten:"));
    QCOMPARE(form.Label1->text(),
             QStringLiteral("Klick links = Kleinbuchstabe; Shift + Klick links = Großbuchstabe; "
                            "Klick rechts = drittes Zeichen (ggf.)"));
    QVERIFY(form.Label1->font().bold());
    QCOMPARE(form.palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(form.Shift2->palette().color(QPalette::Window), QColor(192, 192, 192));
}

void TestKeyboard::everyKeyOnItsThreeLevels_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("shifted");
    QTest::addColumn<QString>("third");
    for (const Key &key : keys) {
        QTest::addRow("key %d", key.index)
            << key.index << QString::fromUtf8(key.plain) << QString::fromUtf8(key.shifted)
            << QString::fromUtf8(key.third);
    }
}

void TestKeyboard::everyKeyOnItsThreeLevels()
{
    QFETCH(int, index);
    QFETCH(QString, plain);
    QFETCH(QString, shifted);
    QFETCH(QString, third);
    DocumentWindow *window = program->document(QStringLiteral("<>"), 1);
    frmTastatur &form = keyboard();
    QCOMPARE(form.Taste[index]->text(), QStringList({plain, shifted, third}).join(u' ').trimmed());
    press(form.Taste[index], Qt::LeftButton);
    press(form.Taste[index], Qt::LeftButton, Qt::ShiftModifier);
    press(form.Taste[index], Qt::RightButton);
    QCOMPARE(window->txtText->Text(), QStringLiteral("<") + plain + shifted + third + ">");
    QCOMPARE(window->txtText->SelStart(), 1 + (plain + shifted + third).size());
}

void TestKeyboard::buttonsAndShiftOnKey16_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("left") << int(Qt::LeftButton) << 0 << "e";
    QTest::newRow("Shift + left") << int(Qt::LeftButton) << int(Qt::ShiftModifier) << "E";
    QTest::newRow("right") << int(Qt::RightButton) << 0 << "€";
    QTest::newRow("Ctrl + left") << int(Qt::LeftButton) << int(Qt::ControlModifier) << "";
    QTest::newRow("Alt + left") << int(Qt::LeftButton) << int(Qt::AltModifier) << "";
    QTest::newRow("Ctrl + Shift + left")
        << int(Qt::LeftButton) << int(Qt::ControlModifier | Qt::ShiftModifier) << "";
    QTest::newRow("Ctrl + right") << int(Qt::RightButton) << int(Qt::ControlModifier) << "€";
    QTest::newRow("middle") << int(Qt::MiddleButton) << 0 << "";
}

void TestKeyboard::buttonsAndShiftOnKey16()
{
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QString, inserted);
    DocumentWindow *window = program->document(QStringLiteral("[]"), 1);
    press(keyboard().Taste[16], Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window->txtText->Text(), QStringLiteral("[%1]").arg(inserted));
    // The character goes in as code page 1252 code 128.
    if (button == Qt::RightButton)
        QCOMPARE(window->txtText->Text().at(1), QChar(0x20AC));
}

void TestKeyboard::rightClickIgnoresShiftAndKeysWithoutThird()
{
    DocumentWindow *window = program->document(QString(), 0);
    frmTastatur &form = keyboard();
    press(form.Taste[14], Qt::RightButton, Qt::ShiftModifier);
    press(form.Taste[1], Qt::RightButton);
    press(form.Taste[15], Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(window->txtText->Text(), QStringLiteral("@"));
    // The circumflex stands at once as a character of its own, no dead key.
    press(form.Taste[1], Qt::LeftButton);
    press(form.Taste[16], Qt::LeftButton);
    QCOMPARE(window->txtText->Text(), QStringLiteral("@^e"));
}

void TestKeyboard::greyFacesDoNothingAndLatchNothing_data()
{
    QTest::addColumn<QString>("face");
    for (const char *name : {"Leertaste", "Shift1", "Shift2", "Feststelltaste", "Strg1", "Alt",
                             "AltGr", "Strg2", "Ruecktaste", "Eingabetaste", "Label2"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestKeyboard::greyFacesDoNothingAndLatchNothing()
{
    QFETCH(QString, face);
    DocumentWindow *window = program->document(QStringLiteral("ab"), 1);
    frmTastatur &form = keyboard();
    auto *grey = form.findChild<QLabel *>(face);
    QVERIFY(grey);
    press(grey, Qt::LeftButton);
    press(grey, Qt::RightButton);
    QCOMPARE(window->txtText->Text(), QStringLiteral("ab"));
    press(form.Taste[26], Qt::LeftButton);
    QCOMPARE(window->txtText->Text(), QStringLiteral("aab"));
}

void TestKeyboard::replacesTheSelectionOfTheActiveDocument()
{
    DocumentWindow *first = program->document(QStringLiteral("eins"), 0, 4, false);
    DocumentWindow *second = program->document(QStringLiteral("zwei"), 4);
    frmTastatur &form = keyboard();
    // The keyboard window has the focus while it is clicked; the document stays the active one.
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(program->active(), second);
    press(form.Taste[2], Qt::LeftButton);
    QCOMPARE(second->txtText->Text(), QStringLiteral("zwei1"));
    program->main().mdiArea()->setActiveSubWindow(
        qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    QCOMPARE(program->active(), first);
    press(form.Taste[3], Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(first->txtText->Text(), QStringLiteral("\""));
    QCOMPARE(second->txtText->Text(), QStringLiteral("zwei1"));
}

void TestKeyboard::fontBoxStartsOnTheSelectionsFont()
{
    const QStringList fonts = Screen::Fonts();
    QVERIFY(fonts.size() > 1);
    const QString font = fonts.at(1);
    DocumentWindow *window = program->document(QStringLiteral("Schrift"), 0, 7);
    window->txtText->setSelFontName(font);
    frmTastatur &form = keyboard();
    QCOMPARE(form.comboSchrift->count(), fonts.size());
    QCOMPARE(form.comboSchrift->currentText(), font);
    for (int index = 1; index <= frmTastatur::keyCount; ++index)
        QCOMPARE(form.Taste[index]->font().family(), font);
}

void TestKeyboard::fontBoxWithoutTheSelectionsFont()
{
    const QStringList fonts = Screen::Fonts();
    DocumentWindow *window = program->document(QStringLiteral("ab"), 0, 1);
    window->txtText->setSelFontName(fonts.value(1));
    window->txtText->setSelLength(2);
    QVERIFY(!window->txtText->SelFontName());
    frmTastatur &form = keyboard();
    QVERIFY(form.isVisible());
    QCOMPARE(form.comboSchrift->currentIndex(), 0);
    QCOMPARE(form.Taste[16]->font().family(), fonts.value(0));
}

void TestKeyboard::fontBoxChangesOnlyTheKeyFaces()
{
    const QStringList fonts = Screen::Fonts();
    DocumentWindow *window = program->document(QStringLiteral("Text"), 0, 4);
    window->txtText->setSelFontName(fonts.value(0));
    frmTastatur &form = keyboard();
    const QFont leer = form.Leertaste->font();
    const QFont label = form.Label1->font();
    form.comboSchrift->setFocus();
    QTest::keyClick(form.comboSchrift, Qt::Key_Down);
    QCOMPARE(form.comboSchrift->currentText(), fonts.value(1));
    for (int index = 1; index <= frmTastatur::keyCount; ++index)
        QCOMPARE(form.Taste[index]->font().family(), fonts.value(1));
    QCOMPARE(form.Leertaste->font(), leer);
    QCOMPARE(form.Label1->font(), label);
    QCOMPARE(window->txtText->SelFontName().value_or(QString()), fonts.value(0));
    QCOMPARE(window->txtText->Text(), QStringLiteral("Text"));
}

void TestKeyboard::showingAgainKeepsTheWindow()
{
    DocumentWindow *window = program->document(QString(), 0);
    frmTastatur &form = keyboard();
    form.comboSchrift->setCurrentIndex(2);
    form.hide();
    window->txtText->setSelFontName(Screen::Fonts().value(0));
    frmTastatur::open();
    QCOMPARE(&frmTastaturForm().get(), &form);
    QVERIFY(form.isVisible());
    QCOMPARE(form.comboSchrift->currentIndex(), 2);
    QCOMPARE(Forms::count(), 3);
}

void TestKeyboard::closingUnloads()
{
    DocumentWindow *window = program->document(QString(), 0);
    const QString font = Screen::Fonts().value(1);
    keyboard().comboSchrift->setCurrentIndex(3);
    keyboard().close();
    QVERIFY(!Forms::isLoaded(QStringLiteral("frmTastatur")));
    settleDeletes();
    QVERIFY(!frmTastaturForm().isLoaded());
    // Shown again, it loads afresh from the selection.
    window->txtText->setSelFontName(font);
    QCOMPARE(keyboard().comboSchrift->currentText(), font);
}

void TestKeyboard::withoutADocumentNothingHappens()
{
    frmTastatur &form = keyboard();
    QVERIFY(form.isVisible());
    QCOMPARE(form.comboSchrift->currentIndex(), 0);
    press(form.Taste[16], Qt::LeftButton);
    press(form.Taste[16], Qt::RightButton);
    QVERIFY(form.isVisible());
    QCOMPARE(program->documentCount(), 0);
}

void TestKeyboard::lastDocumentWindowClosesBothTools_data()
{
    QTest::addColumn<bool>("keyboardOpen");
    QTest::addColumn<bool>("specialOpen");
    QTest::newRow("both") << true << true;
    QTest::newRow("keyboard") << true << false;
    QTest::newRow("special characters") << false << true;
}

void TestKeyboard::lastDocumentWindowClosesBothTools()
{
    QFETCH(bool, keyboardOpen);
    QFETCH(bool, specialOpen);
    DocumentWindow *text = program->document(QString(), 0, 0, false);
    DocumentWindow *rich = program->document(QString(), 0);
    if (keyboardOpen)
        frmTastatur::open();
    if (specialOpen)
        frmSonder::open();
    text->Tag.clear();
    rich->Tag.clear();
    rich->mnuFileClose->trigger();
    QCOMPARE(frmTastaturForm().isLoaded(), keyboardOpen);
    QCOMPARE(frmSonderForm().isLoaded(), specialOpen);
    text->mnuFileClose->trigger();
    QCOMPARE(program->documentCount(), 0);
    QVERIFY(!frmTastaturForm().isLoaded());
    QVERIFY(!frmSonderForm().isLoaded());
}

void TestKeyboard::openPictureBrowserKeepsBothTools()
{
    DocumentWindow *rich = program->document(QString(), 0);
    frmTastatur::open();
    frmSonder::open();
    frmImage::Show();
    rich->Tag.clear();
    rich->mnuFileClose->trigger();
    QCOMPARE(program->documentCount(), 0);
    QVERIFY(frmTastaturForm().isLoaded());
    QVERIFY(frmSonderForm().isLoaded());
    frmImageForm().unload();
    frmTastaturForm().unload();
    frmSonderForm().unload();
}

void TestKeyboard::f1OpensTheHelpTopic()
{
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    program->document(QString(), 0);
    frmTastatur &form = keyboard();
    QTest::keyClick(form.comboSchrift, Qt::Key_F1);
    QVERIFY(Help::viewer());
    QCOMPARE(Help::viewer()->currentContext(), 47);
    Help::closeViewer();
}

void TestKeyboard::screenshot()
{
    program->document(QStringLiteral("Arial"), 0, 5);
    const QString folder = screenshotFolder();
    const QString file = QDir(folder).filePath(QStringLiteral("frmTastatur.png"));
    QFile::remove(file);
    QVERIFY(keyboard().grab().save(file));
    QCOMPARE(GrabChecks::cutCaptions(&keyboard()).join(QStringLiteral("; ")), QString());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
