// The special-character list beside the documents: its 128 entries, insertion on every change
// of the chosen entry by mouse or keyboard, the font box, and the window's life.
#include "document/DocumentWindow.h"
#include "frame/frmMain.h"
#include "platform/Forms.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/Screen.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmSonder.h"
#include "tools/frmTastatur.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <memory>

namespace {

void clickEntry(QListWidget *list, int code, Qt::KeyboardModifiers modifiers = {})
{
    QListWidgetItem *item = list->item(code - 128);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

// Gives the control the keyboard, as a click on its window and then on it would.
bool giveFocus(QWidget *control)
{
    control->window()->activateWindow();
    if (!QTest::qWaitFor([control] { return control->window()->isActiveWindow(); }))
        return false;
    control->setFocus(Qt::MouseFocusReason);
    return QTest::qWaitFor([control] { return QApplication::focusWidget() == control; });
}

} // namespace

class TestSpecialCharacters : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void theWindow();
    void entries_data();
    void entries();
    void clickInsertsAtTheCaretOrForTheSelection_data();
    void clickInsertsAtTheCaretOrForTheSelection();
    void clickingTheChosenEntryInsertsAgain();
    void realClicksAndKeysInsertOnceEach();
    void keyboardChangesInsertToo();
    void focusingTheListInsertsNothing();
    void fontBoxStartsOnTheSelectionsFont();
    void fontBoxFallsBackToTheSubstitutedFamily_data();
    void fontBoxFallsBackToTheSubstitutedFamily();
    void fontBoxChangesOnlyTheList();
    void showingAgainKeepsTheWindow();
    void withoutADocumentNothingHappens();
    void f1OpensTheHelpTopic();
    void screenshot();

private:
    frmSonder &window();

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestSpecialCharacters::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
}

void TestSpecialCharacters::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!frmSonderForm().isLoaded());
}

frmSonder &TestSpecialCharacters::window()
{
    frmSonder::open();
    return frmSonderForm().get();
}

void TestSpecialCharacters::theWindow()
{
    program->document(QString(), 0);
    frmSonder &form = window();
    QVERIFY(form.isVisible());
    QCOMPARE(form.windowTitle(), QStringLiteral("Sonderzeichen einfügen"));
    QCOMPARE(form.objectName(), QStringLiteral("frmSonder"));
    QVERIFY(form.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(form.parentWidget(), static_cast<QWidget *>(&program->main()));
    QCOMPARE(form.Label1->text(), QStringLiteral("Wählen Sie das gewünschte Sonderzeichen aus!"));
    QCOMPARE(form.Label2->text(), QStringLiteral("Verfügbare &Schriftarten:"));
    QCOMPARE(form.lstZeichen->count(), 128);
    QCOMPARE(form.lstZeichen->currentItem(), nullptr);
}

void TestSpecialCharacters::entries_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("first") << 128 << QStringLiteral("128  --  €");
    QTest::newRow("undefined 129") << 129 << QStringLiteral("129  --  \u0081");
    QTest::newRow("undefined 157") << 157 << QStringLiteral("157  --  \u009D");
    QTest::newRow("Ä") << 196 << QStringLiteral("196  --  Ä");
    QTest::newRow("ß") << 223 << QStringLiteral("223  --  ß");
    QTest::newRow("last") << 255 << QStringLiteral("255  --  ÿ");
}

void TestSpecialCharacters::entries()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(window().lstZeichen->item(code - 128)->text(), text);
}

void TestSpecialCharacters::clickInsertsAtTheCaretOrForTheSelection_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("after");
    QTest::newRow("caret, rich text") << true << 0 << "Straße";
    QTest::newRow("selection, plain text") << false << 2 << "Straße";
    QTest::newRow("caret, plain text") << false << 0 << "Straße";
}

void TestSpecialCharacters::clickInsertsAtTheCaretOrForTheSelection()
{
    QFETCH(bool, richText);
    QFETCH(int, selLength);
    QFETCH(QString, after);
    DocumentWindow *doc
        = program->document(selLength ? "Strasse" : "Strae", 4, selLength, richText);
    frmSonder &form = window();
    clickEntry(form.lstZeichen, 223);
    QCOMPARE(doc->txtText->Text(), after);
    QCOMPARE(doc->txtText->SelStart(), 5);
    QCOMPARE(doc->txtText->SelLength(), 0);
    // The window stays open with its entry chosen.
    QVERIFY(form.isVisible());
    QCOMPARE(form.lstZeichen->currentRow(), 223 - 128);
}

void TestSpecialCharacters::clickingTheChosenEntryInsertsAgain()
{
    DocumentWindow *doc = program->document(QString(), 0);
    frmSonder &form = window();
    clickEntry(form.lstZeichen, 223);
    clickEntry(form.lstZeichen, 223);
    clickEntry(form.lstZeichen, 196);
    clickEntry(form.lstZeichen, 196);
    QCOMPARE(doc->txtText->Text(), QStringLiteral("ßßÄÄ"));
    // The keys go on inserting once per change after the clicks.
    QVERIFY(giveFocus(form.lstZeichen));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(doc->txtText->Text(), QStringLiteral("ßßÄÄÅ"));
    // A double click chooses once.
    QListWidgetItem *item = form.lstZeichen->item(228 - 128);
    QTest::mouseDClick(form.lstZeichen->viewport(), Qt::LeftButton, {},
                       form.lstZeichen->visualItemRect(item).center());
    QCOMPARE(doc->txtText->Text(), QStringLiteral("ßßÄÄÅä"));
}

void TestSpecialCharacters::realClicksAndKeysInsertOnceEach()
{
    if (const QString why = Keyboard::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    DocumentWindow *doc = program->document(QString(), 0);
    frmSonder &form = window();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QListWidgetItem *item = form.lstZeichen->item(223 - 128);
    form.lstZeichen->scrollToItem(item);
    const QPoint at
        = form.lstZeichen->viewport()->mapToGlobal(form.lstZeichen->visualItemRect(item).center());
    QVERIFY(Keyboard::click(at));
    QTRY_COMPARE(doc->txtText->Text(), QStringLiteral("ß"));
    // Two clicks, not a double click.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QVERIFY(Keyboard::click(at));
    QTRY_COMPARE(doc->txtText->Text(), QStringLiteral("ßß"));
    QTRY_COMPARE(QApplication::focusWidget(), form.lstZeichen);
    QVERIFY(Keyboard::pressKeys({"Down"}));
    QTRY_COMPARE(doc->txtText->Text(), QStringLiteral("ßßà"));
}

void TestSpecialCharacters::keyboardChangesInsertToo()
{
    DocumentWindow *doc = program->document(QString(), 0);
    frmSonder &form = window();
    clickEntry(form.lstZeichen, 196);
    QTest::keyClick(form.lstZeichen, Qt::Key_Down);
    QTest::keyClick(form.lstZeichen, Qt::Key_Down);
    QTest::keyClick(form.lstZeichen, Qt::Key_Up);
    QTest::keyClick(form.lstZeichen, Qt::Key_End);
    QCOMPARE(doc->txtText->Text(), QStringLiteral("ÄÅÆÅÿ"));
}

void TestSpecialCharacters::focusingTheListInsertsNothing()
{
    DocumentWindow *doc = program->document(QStringLiteral("x"), 1);
    frmSonder &form = window();
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form.lstZeichen, &focus);
    QCOMPARE(doc->txtText->Text(), QStringLiteral("x"));
    // Tabbing from the font box to the list and back, as the keys travel.
    QVERIFY(giveFocus(form.comboSchrift));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(doc->txtText->Text(), QStringLiteral("x"));
}

void TestSpecialCharacters::fontBoxStartsOnTheSelectionsFont()
{
    const QStringList fonts = Screen::Fonts();
    const QString font = fonts.value(1);
    DocumentWindow *doc = program->document(QStringLiteral("Arial"), 0, 5);
    doc->txtText->setSelFontName(font);
    frmSonder &form = window();
    QCOMPARE(form.comboSchrift->count(), fonts.size());
    QCOMPARE(form.comboSchrift->currentText(), font);
    QCOMPARE(form.lstZeichen->font().family(), font);
}

void TestSpecialCharacters::fontBoxFallsBackToTheSubstitutedFamily_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("special characters") << "frmSonder";
    QTest::newRow("keyboard") << "frmTastatur";
}

void TestSpecialCharacters::fontBoxFallsBackToTheSubstitutedFamily()
{
    QFETCH(QString, window);
    // A new document asks for "Times New Roman", no family name here.
    program->document(QString(), 0);
    const QString asked = QStringLiteral("Times New Roman");
    QVERIFY(!Screen::Fonts().contains(asked));
    const QString substitute = Screen::plainFontName(QFontInfo(QFont(asked)).family());
    QVERIFY(Screen::Fonts().contains(substitute));
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Serif")))
        QCOMPARE(substitute, QStringLiteral("Liberation Serif"));
    if (window == QLatin1String("frmSonder"))
        frmSonder::open();
    else
        frmTastatur::open();
    auto *box = Forms::find(window)->findChild<QComboBox *>(QStringLiteral("comboSchrift"));
    QCOMPARE(box->currentText(), substitute);
    Forms::unload(window);
}

void TestSpecialCharacters::fontBoxChangesOnlyTheList()
{
    const QStringList fonts = Screen::Fonts();
    DocumentWindow *doc = program->document(QStringLiteral("Text"), 0, 4);
    doc->txtText->setSelFontName(fonts.value(0));
    frmSonder &form = window();
    const QFont label = form.Label1->font();
    QTest::keyClick(form.comboSchrift, Qt::Key_Down);
    QCOMPARE(form.lstZeichen->font().family(), fonts.value(1));
    QCOMPARE(form.Label1->font(), label);
    QCOMPARE(doc->txtText->SelFontName().value_or(QString()), fonts.value(0));
    QCOMPARE(doc->txtText->Text(), QStringLiteral("Text"));
}

void TestSpecialCharacters::showingAgainKeepsTheWindow()
{
    DocumentWindow *doc = program->document(QString(), 0);
    frmSonder &form = window();
    clickEntry(form.lstZeichen, 200);
    form.comboSchrift->setCurrentIndex(2);
    doc->txtText->setSelFontName(Screen::Fonts().value(0));
    frmSonder::open();
    QCOMPARE(&frmSonderForm().get(), &form);
    QCOMPARE(form.comboSchrift->currentIndex(), 2);
    QCOMPARE(form.lstZeichen->currentRow(), 200 - 128);
    form.close();
    QVERIFY(!Forms::isLoaded(QStringLiteral("frmSonder")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!frmSonderForm().isLoaded());
    QCOMPARE(window().comboSchrift->currentIndex(), 0);
}

void TestSpecialCharacters::withoutADocumentNothingHappens()
{
    frmSonder &form = window();
    QCOMPARE(form.comboSchrift->currentIndex(), 0);
    clickEntry(form.lstZeichen, 223);
    QTest::keyClick(form.lstZeichen, Qt::Key_Down);
    QVERIFY(form.isVisible());
    QCOMPARE(form.lstZeichen->currentRow(), 224 - 128);
}

void TestSpecialCharacters::f1OpensTheHelpTopic()
{
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    program->document(QString(), 0);
    QTest::keyClick(window().lstZeichen, Qt::Key_F1);
    QVERIFY(Help::viewer());
    QCOMPARE(Help::viewer()->currentContext(), 33);
    Help::closeViewer();
}

void TestSpecialCharacters::screenshot()
{
    program->document(QString(), 0);
    const QString folder = screenshotFolder();
    const QString file = QDir(folder).filePath(QStringLiteral("frmSonder.png"));
    QFile::remove(file);
    frmSonder &form = window();
    clickEntry(form.lstZeichen, 196);
    QVERIFY(form.grab().save(file));
    QCOMPARE(GrabChecks::cutCaptions(&form).join(QStringLiteral("; ")), QString());
}

QTEST_MAIN(TestSpecialCharacters)
#include "tst_specialcharacters.moc"
