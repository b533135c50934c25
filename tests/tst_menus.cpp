// The document windows' menus as the user works them: the Edit menu and the context menu with
// the clipboard, File, Insert, Format, View, Window and Help, and F1 on a highlighted item.
#include "document/DocumentMenus.h"
#include "document/DocumentTools.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "frame/frmMain.h"
#include "frame/frmTip.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "tests/support/Fixtures.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/RunningProgram.h"
#include "text/ClipboardFormats.h"
#include "text/RichTextBox.h"
#include "tools/frmSearch.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

enum class Clip { Nothing, Text, Rtf, Both };

void fillClipboard(Clip clip, const QString &text = QStringLiteral("schlicht"),
                   const QByteArray &rtf = "{\\rtf1\\ansi {\\b fett}}")
{
    auto *data = new QMimeData;
    if (clip == Clip::Text || clip == Clip::Both)
        data->setText(text);
    if (clip == Clip::Rtf || clip == Clip::Both)
        data->setData(ClipboardFormats::rtf(), rtf);
    QGuiApplication::clipboard()->setMimeData(data);
}

// Opens a menu as the user does and closes it again.
void openAndClose(QMenu *menu)
{
    menu->popup(QPoint(10, 10));
    menu->hide();
}

QStringList captions(const QMenu *menu)
{
    QStringList list;
    for (const QAction *item : menu->actions())
        list << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return list;
}

QList<QMenu *> visibleMenus()
{
    QList<QMenu *> menus;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *menu = qobject_cast<QMenu *>(widget); menu && menu->isVisible())
            menus << menu;
    }
    return menus;
}

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuBarAndContextMenuOfEachKind_data();
    void menuBarAndContextMenuOfEachKind();
    void enabledStatesWhenMenusOpen_data();
    void enabledStatesWhenMenusOpen();
    void undoEnabledByHistory();
    void copyAndCutFormats_data();
    void copyAndCutFormats();
    void pasteTakesPlainTextFirst_data();
    void pasteTakesPlainTextFirst();
    void unreadableClipboardPastesNothing();
    void keyPasteAndUndoActOnceThenMenuActsAgain();
    void everyCopyGivesTheSamePlainText_data();
    void everyCopyGivesTheSamePlainText();
    void undoPutsTheCaretWhereTheChangeWas_data();
    void undoPutsTheCaretWhereTheChangeWas();
    void largePasteIsOneStepAndGivesWhatOpeningGives_data();
    void largePasteIsOneStepAndGivesWhatOpeningGives();
    void selectAll();
    void deleteKeyStillDeletesACharacter();
    void searchAndReplaceOpenTheirTab_data();
    void searchAndReplaceOpenTheirTab();
    void fileNewAsksForTheKind_data();
    void fileNewAsksForTheKind();
    void closeAndEnd();
    void windowArrangements();
    void windowListShowsAndActivates();
    void helpItems_data();
    void helpItems();
    void helpWithoutHelpFile_data();
    void helpWithoutHelpFile();
    void tipAndAboutFromTheHelpMenu();
    void toolItemsWaitForTheirForm_data();
    void toolItemsWaitForTheirForm();
    void viewSwitchesMirrored_data();
    void viewSwitchesMirrored();
    void startupSwitchesFromSettings();
    void rulerSwitchInOneOfTwoWindows();
    void wordWrap();
    void f1OnHighlightedItem_data();
    void f1OnHighlightedItem();
    void rightClickOpensOnlyTheWindowsMenu_data();
    void rightClickOpensOnlyTheWindowsMenu();
    void screenshots();

private:
    DocumentWindow *newWindow(bool richText);
    void useShippedHelpFile();
    void showMain();
    // Shows the main window active, with the keyboard focus in the window's edit control.
    void focusText(DocumentWindow *window);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestMenus::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
    QGuiApplication::clipboard()->clear();
}

void TestMenus::cleanup()
{
    for (QMenu *menu : visibleMenus())
        menu->hide();
    Help::closeViewer();
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

DocumentWindow *TestMenus::newWindow(bool richText)
{
    if (richText)
        program->main().LoadNewDoc();
    else
        program->main().LoadNewText();
    return program->active();
}

void TestMenus::useShippedHelpFile()
{
    const QString target = QDir(env->programFolder()).filePath("velmar.hlp");
    QFile::remove(target);
    QVERIFY(QFile::copy(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"), target));
    Help::setHelpFile(target);
}

void TestMenus::showMain()
{
    program->main().resize(900, 600);
    program->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));
}

void TestMenus::focusText(DocumentWindow *window)
{
    showMain();
    // Without a window manager nobody else gives the window the keyboard.
    program->main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&program->main()));
    window->txtText->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window->txtText);
}

void TestMenus::menuBarAndContextMenuOfEachKind_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QStringList>("bar");
    QTest::addColumn<QStringList>("popup");
    QTest::addColumn<QStringList>("popupView");
    QTest::addColumn<QStringList>("insert");
    QTest::newRow("frmDocument") << true
                                 << QStringList {"&Datei",   "&Bearbeiten", "&Einfügen", "F&ormat",
                                                 "&Ansicht", "&Fenster",    "&Hilfe"}
                                 << QStringList {"&Rückgängig", "-",         "&Ausschneiden",
                                                 "&Kopieren",   "&Einfügen", "&Löschen",
                                                 "-",           "An&sicht",  "-",
                                                 "&Format"}
                                 << QStringList {"S&ymbolleiste", "&Statuszeile", "&Lineal"}
                                 << QStringList {"Aktuelles &Datum...", "Aktuelle Uhr&zeit...",
                                                 "S&onderzeichen...", "&Grafik..."};
    QTest::newRow("frmText") << false << QStringList {"&Datei",   "&Bearbeiten", "&Einfügen",
                                                      "&Ansicht", "&Fenster",    "&Hilfe"}
                             << QStringList {"&Rückgängig", "-",         "&Ausschneiden",
                                             "&Kopieren",   "&Einfügen", "&Löschen",
                                             "-",           "An&sicht"}
                             << QStringList {"Symbo&lleiste", "&Statuszeile", "&Zeilenumbruch"}
                             << QStringList {"Aktuelles &Datum...", "Aktuelle Uhr&zeit...",
                                             "S&onderzeichen..."};
}

void TestMenus::menuBarAndContextMenuOfEachKind()
{
    QFETCH(bool, richText);
    QFETCH(QStringList, bar);
    QFETCH(QStringList, popup);
    QFETCH(QStringList, popupView);
    QFETCH(QStringList, insert);
    DocumentWindow *window = newWindow(richText);
    QStringList shown;
    for (const QAction *menu : program->main().menuBar()->actions())
        shown << menu->text();
    QCOMPARE(shown, bar);
    QCOMPARE(captions(window->mnuPopup), popup);
    QCOMPARE(captions(window->mnuPopupView), popupView);
    QCOMPARE(captions(window->mnuEinfuegen), insert);
    QCOMPARE(
        captions(window->mnuEdit),
        (QStringList {"&Rückgängig", "-", "&Ausschneiden", "&Kopieren", "&Einfügen", "&Löschen",
                      "-", "&Suchen...", "Erse&tzen...", "-", "Alles &markieren"}));
    QCOMPARE(window->mnuEditUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(window->mnuEditErase->shortcut(), QKeySequence(Qt::Key_Delete));
    QCOMPARE(window->mnuEditHighlight->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QCOMPARE(window->mnuFilePrint->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    QCOMPARE(window->mnuHelpAbout->text(), QStringLiteral("In&fo über Velmar³²"));
    QCOMPARE(window->mnuPopupFormat != nullptr, richText);
    QCOMPARE(window->mnuEinfuegenImage != nullptr, richText);
    QCOMPARE(window->mnuViewLineal != nullptr, richText);
    QCOMPARE(window->mnuViewUmbruch != nullptr, !richText);
    for (QAction *item : window->mnuPopup->actions())
        QVERIFY(item->shortcut().isEmpty());
}

void TestMenus::enabledStatesWhenMenusOpen_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("clip");
    QTest::addColumn<bool>("cutCopyErase");
    QTest::addColumn<bool>("highlightSearchChange");
    QTest::addColumn<bool>("paste");
    const struct
    {
        const char *name;
        const char *text;
        int selected;
    } documents[] = {{"empty", "", 0}, {"text", "Hallo Welt", 0}, {"selection", "Hallo Welt", 5}};
    const struct
    {
        const char *name;
        Clip clip;
        bool rich;
        bool plain;
    } clipboards[] = {{"nothing", Clip::Nothing, false, false},
                      {"plain text", Clip::Text, true, true},
                      {"RTF only", Clip::Rtf, true, false},
                      {"both", Clip::Both, true, true}};
    for (bool richText : {true, false}) {
        for (const auto &document : documents) {
            for (const auto &clipboard : clipboards) {
                QTest::addRow("%s, %s, %s", richText ? "frmDocument" : "frmText", document.name,
                              clipboard.name)
                    << richText << QString::fromLatin1(document.text) << document.selected
                    << int(clipboard.clip) << (document.selected > 0) << (*document.text != 0)
                    << (richText ? clipboard.rich : clipboard.plain);
            }
        }
    }
}

void TestMenus::enabledStatesWhenMenusOpen()
{
    QFETCH(bool, richText);
    QFETCH(QString, text);
    QFETCH(int, selected);
    QFETCH(int, clip);
    QFETCH(bool, cutCopyErase);
    QFETCH(bool, highlightSearchChange);
    QFETCH(bool, paste);
    DocumentWindow *window = newWindow(richText);
    window->txtText->setText(text);
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(selected);
    fillClipboard(Clip(clip));

    // Before the menus ever open, every item is enabled.
    QVERIFY(window->mnuEditPaste->isEnabled());
    QVERIFY(window->mnuPopupCut->isEnabled());
    openAndClose(window->mnuEdit);
    openAndClose(window->mnuPopup);
    for (QAction *item : {window->mnuEditCut, window->mnuEditCopy, window->mnuEditErase,
                          window->mnuPopupCut, window->mnuPopupCopy, window->mnuPopupErase})
        QCOMPARE(item->isEnabled(), cutCopyErase);
    for (QAction *item : {window->mnuEditHighlight, window->mnuEditSearch, window->mnuEditChange})
        QCOMPARE(item->isEnabled(), highlightSearchChange);
    QCOMPARE(window->mnuEditPaste->isEnabled(), paste);
    QCOMPARE(window->mnuPopupPaste->isEnabled(), paste);
}

void TestMenus::undoEnabledByHistory()
{
    DocumentWindow *window = newWindow(true);
    openAndClose(window->mnuEdit);
    QVERIFY(!window->mnuEditUndo->isEnabled());
    QTest::keyClicks(window->txtText, "abc");
    QVERIFY(!window->mnuEditUndo->isEnabled());
    openAndClose(window->mnuPopup);
    QVERIFY(window->mnuPopupUndo->isEnabled());
    openAndClose(window->mnuEdit);
    QVERIFY(window->mnuEditUndo->isEnabled());
}

void TestMenus::copyAndCutFormats_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<bool>("cut");
    QTest::newRow("frmDocument, copy") << true << false;
    QTest::newRow("frmDocument, cut") << true << true;
    QTest::newRow("frmText, copy") << false << false;
    QTest::newRow("frmText, cut") << false << true;
}

void TestMenus::copyAndCutFormats()
{
    QFETCH(bool, richText);
    QFETCH(bool, cut);
    DocumentWindow *window = newWindow(richText);
    window->txtText->setText("eins\rzwei\rdrei");
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(9);
    if (richText)
        window->txtText->setSelBold(true);
    (cut ? window->mnuEditCut : window->mnuEditCopy)->trigger();

    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->hasText(), !richText);
    QCOMPARE(data->hasFormat(ClipboardFormats::rtf()), richText);
    if (richText) {
        const QByteArray rtf = data->data(ClipboardFormats::rtf());
        QVERIFY(rtf.startsWith("{\\rtf"));
        QVERIFY(rtf.contains("\\b"));
    } else {
        QCOMPARE(data->text(), QStringLiteral("eins\nzwei"));
    }
    QCOMPARE(window->txtText->Text(), cut ? QStringLiteral("\rdrei") : "eins\rzwei\rdrei");
    // A clipboard of RTF alone is not offered to the plain-text window.
    if (richText) {
        DocumentWindow *plain = newWindow(false);
        openAndClose(plain->mnuEdit);
        QVERIFY(!plain->mnuEditPaste->isEnabled());
    }
}

void TestMenus::pasteTakesPlainTextFirst_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<int>("clip");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<bool>("bold");
    QTest::newRow("frmDocument, both") << true << int(Clip::Both) << "schlicht" << false;
    QTest::newRow("frmDocument, RTF only") << true << int(Clip::Rtf) << "fett" << true;
    QTest::newRow("frmDocument, text") << true << int(Clip::Text) << "schlicht" << false;
    QTest::newRow("frmText, both") << false << int(Clip::Both) << "schlicht" << false;
    QTest::newRow("frmText, RTF only") << false << int(Clip::Rtf) << "" << false;
    QTest::newRow("frmDocument, nothing") << true << int(Clip::Nothing) << "" << false;
}

void TestMenus::pasteTakesPlainTextFirst()
{
    QFETCH(bool, richText);
    QFETCH(int, clip);
    QFETCH(QString, pasted);
    QFETCH(bool, bold);
    DocumentWindow *window = newWindow(richText);
    fillClipboard(Clip(clip));
    window->mnuPopupPaste->trigger();
    QCOMPARE(window->txtText->Text(), pasted);
    if (!pasted.isEmpty()) {
        window->txtText->setSelStart(0);
        window->txtText->setSelLength(static_cast<int>(pasted.size()));
        QCOMPARE(window->txtText->SelBold().value_or(!bold), bold);
    }
}

void TestMenus::unreadableClipboardPastesNothing()
{
    DocumentWindow *window = newWindow(true);
    window->txtText->setText("bleibt");
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(6);
    fillClipboard(Clip::Rtf, QString(), "kein RTF");
    window->mnuEditPaste->trigger();
    QCOMPARE(window->txtText->Text(), QStringLiteral("bleibt"));
    QCOMPARE(window->txtText->SelLength(), 6);
}

void TestMenus::keyPasteAndUndoActOnceThenMenuActsAgain()
{
    DocumentWindow *window = newWindow(false);
    fillClipboard(Clip::Text, "ab");
    QTest::keyClick(window->txtText, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(window->txtText->Text(), QStringLiteral("ab"));
    window->mnuEditPaste->trigger();
    QCOMPARE(window->txtText->Text(), QStringLiteral("abab"));

    QTest::keyClick(window->txtText, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->txtText->Text(), QStringLiteral("ab"));
    window->mnuPopupUndo->trigger();
    QCOMPARE(window->txtText->Text(), QString());
    QVERIFY(!window->TastenkuerzelGedrueckt);

    // Each paste is a step of its own, apart from the typing before it.
    QTest::keyClicks(window->txtText, "xy");
    QTest::keyClick(window->txtText, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(window->txtText, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(window->txtText->Text(), QStringLiteral("xyabab"));
    window->mnuEditUndo->trigger();
    QCOMPARE(window->txtText->Text(), QStringLiteral("xyab"));
    QTest::keyClick(window->txtText, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->txtText->Text(), QStringLiteral("xy"));
}

void TestMenus::everyCopyGivesTheSamePlainText_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("cut");
    for (const char *path : {"menu", "context menu", "toolbar", "keys"}) {
        QTest::addRow("%s, copy", path) << path << false;
        QTest::addRow("%s, cut", path) << path << true;
    }
}

// A soft line break (Shift+Enter) and a paragraph end both reach the clipboard as a line end.
void TestMenus::everyCopyGivesTheSamePlainText()
{
    QFETCH(QString, path);
    QFETCH(bool, cut);
    DocumentWindow *window = newWindow(false);
    RichTextBox *text = window->txtText;
    focusText(window);
    QTest::keyClicks(QApplication::focusWidget(), "eins");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(QApplication::focusWidget(), "zwei");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "drei");
    QCOMPARE(text->Text(), QStringLiteral("eins\vzwei\rdrei"));
    text->setSelStart(0);
    text->setSelLength(14);
    if (path == QLatin1String("menu")) {
        (cut ? window->mnuEditCut : window->mnuEditCopy)->trigger();
    } else if (path == QLatin1String("context menu")) {
        (cut ? window->mnuPopupCut : window->mnuPopupCopy)->trigger();
    } else if (path == QLatin1String("toolbar")) {
        frmMain &main = program->main();
        main.tbText_ButtonClick(main.tbText->Buttons(cut ? "Cut" : "Copy"));
    } else {
        QTest::keyClick(QApplication::focusWidget(), cut ? Qt::Key_X : Qt::Key_C,
                        Qt::ControlModifier);
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("eins\nzwei\ndrei"));
    QCOMPARE(text->Text(), cut ? QString() : QStringLiteral("eins\vzwei\rdrei"));
}

void TestMenus::undoPutsTheCaretWhereTheChangeWas_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("change");
    for (const bool richText : {true, false}) {
        const char *kind = richText ? "frmDocument" : "frmText";
        for (const char *change : {"Ctrl+V", "menu paste", "menu erase", "typing"})
            QTest::addRow("%s, %s", kind, change) << richText << change;
    }
}

// Ctrl+End, a change, Ctrl+Z: the caret stands where the change was, not at the start.
void TestMenus::undoPutsTheCaretWhereTheChangeWas()
{
    QFETCH(bool, richText);
    QFETCH(QString, change);
    DocumentWindow *window = newWindow(richText);
    RichTextBox *text = window->txtText;
    text->setText(QStringLiteral("Eins\rZwei"));
    focusText(window);
    fillClipboard(Clip::Text, QStringLiteral("neu"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    if (change == QLatin1String("Ctrl+V")) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    } else if (change == QLatin1String("menu paste")) {
        window->mnuEditPaste->trigger();
    } else if (change == QLatin1String("menu erase")) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::ShiftModifier);
        window->mnuEditErase->trigger();
    } else {
        QTest::keyClicks(QApplication::focusWidget(), "neu");
    }
    QVERIFY(text->Text() != QStringLiteral("Eins\rZwei"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(text->Text(), QStringLiteral("Eins\rZwei"));
    QCOMPARE(text->SelStart(), 9);
    QCOMPARE(text->SelLength(), 0);
    QTest::keyClicks(QApplication::focusWidget(), "!");
    QCOMPARE(text->Text(), QStringLiteral("Eins\rZwei!"));
}

void TestMenus::largePasteIsOneStepAndGivesWhatOpeningGives_data()
{
    QTest::addColumn<bool>("richText");
    QTest::newRow("plain text, 3 MB") << false;
    QTest::newRow("RTF") << true;
}

// A paste of megabytes gives the text that opening the same file gives, is one undo step, shows
// the hourglass while it runs, and ends with the caret behind it, shown once laid out.
void TestMenus::largePasteIsOneStepAndGivesWhatOpeningGives()
{
    QFETCH(bool, richText);
    QByteArray bytes;
    if (richText) {
        bytes = Fixtures::bytes(QStringLiteral("corpus/rtf/lo-large.rtf"));
    } else {
        for (int line = 0; bytes.size() < 3'000'000; ++line)
            bytes += QByteArray::number(line).rightJustified(8, '0') + QByteArray(71, 'x') + '\n';
    }
    const QString path = program->writeFile(richText ? "gross.rtf" : "gross.txt", bytes);
    RichTextBox opened;
    QCOMPARE(opened.LoadFile(path, richText ? RichTextBox::rtfRTF : RichTextBox::rtfText),
             RichTextBox::LoadResult::Ok);

    showMain();
    DocumentWindow *window = newWindow(richText);
    RichTextBox *text = window->txtText;
    text->setText(QStringLiteral("davor"));
    text->setSelStart(5);
    if (richText)
        fillClipboard(Clip::Rtf, QString(), bytes);
    else
        fillClipboard(Clip::Text, QString::fromUtf8(bytes));
    QList<int> pointers;
    connect(text, &RichTextBox::Change, this, [&] { pointers << Screen::MousePointer(); });
    window->mnuEditPaste->trigger();
    QCOMPARE(pointers, QList<int> {Screen::vbHourglass});
    QCOMPARE(Screen::MousePointer(), int(Screen::vbDefault));
    QCOMPARE(text->Text(), QStringLiteral("davor") + opened.Text());
    QCOMPARE(text->SelStart(), text->Text().size());
    QTRY_VERIFY(text->verticalScrollBar()->value() > 0);
    QTRY_VERIFY(text->viewport()->rect().contains(text->cursorRect().center()));
    // Once the layout has reached it, the status bar shows the caret's place behind the paste.
    QTRY_VERIFY(
        program->main()
            .sbStatusBar->Panels(QStringLiteral("Seite"))
            ->text()
            .startsWith(QStringLiteral("1-%1-").arg(text->GetLineFromChar(text->SelStart()) + 1)));

    window->mnuEditUndo->trigger();
    QCOMPARE(text->Text(), QStringLiteral("davor"));
    QCOMPARE(text->SelStart(), 5);
}

void TestMenus::selectAll()
{
    DocumentWindow *window = newWindow(true);
    window->txtText->setText("Eins\rZwei");
    window->txtText->setSelStart(3);
    window->mnuEditHighlight->trigger();
    QCOMPARE(window->txtText->SelStart(), 0);
    QCOMPARE(window->txtText->SelText(), QStringLiteral("Eins\rZwei"));
}

void TestMenus::deleteKeyStillDeletesACharacter()
{
    showMain();
    DocumentWindow *window = newWindow(true);
    window->txtText->setText("abc");
    window->txtText->setSelStart(0);
    window->txtText->setFocus();
    QTest::keyClick(window->txtText, Qt::Key_Delete);
    QCOMPARE(window->txtText->Text(), QStringLiteral("bc"));
}

void TestMenus::searchAndReplaceOpenTheirTab_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("Suchen") << false;
    QTest::newRow("Ersetzen") << true;
}

void TestMenus::searchAndReplaceOpenTheirTab()
{
    QFETCH(bool, replace);
    DocumentWindow *window = newWindow(false);
    window->txtText->setText("Hallo");
    bool shown = false;
    env->modals.answerForm([&](QWidget *form) {
        auto *search = qobject_cast<frmSearch *>(form);
        QVERIFY(search);
        shown = true;
        QCOMPARE(search->TabStrip1->currentIndex(), replace ? 1 : 0);
        const QList<QWidget *> controls = {search->lblErsetzen, search->txtErsetzen,
                                           search->cmdErsetzen, search->cmdAlleErsetzen};
        for (QWidget *control : controls)
            QCOMPARE(control->isVisible(), replace);
    });
    (replace ? window->mnuEditChange : window->mnuEditSearch)->trigger();
    QVERIFY(shown);
    QCOMPARE(env->modals.seen().constFirst().kind, Modal::Kind::Form);
}

void TestMenus::fileNewAsksForTheKind_data()
{
    QTest::addColumn<bool>("fromRichText");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("made");
    for (bool rich : {true, false}) {
        const char *from = rich ? "from frmDocument" : "from frmText";
        QTest::addRow("Ja %s", from) << rich << int(vbYes) << "frmDocument";
        QTest::addRow("Nein %s", from) << rich << int(vbNo) << "frmText";
        QTest::addRow("Abbrechen %s", from) << rich << int(vbCancel) << "";
    }
}

void TestMenus::fileNewAsksForTheKind()
{
    QFETCH(bool, fromRichText);
    QFETCH(int, answer);
    QFETCH(QString, made);
    DocumentWindow *window = newWindow(fromRichText);
    env->modals.answerMessage(answer);
    window->mnuFileNew->trigger();
    const Modal::Request question = env->modals.seen().constLast();
    QCOMPARE(question.text,
             QStringLiteral("Wollen Sie ein neues RTF-Dokument erstellen? Bei Auswahl von "
                            "\"Nein\" wird ein neues Text-Dokument erstellt."));
    QCOMPARE(question.style, int(vbYesNoCancel | vbQuestion));
    QCOMPARE(question.title, QStringLiteral("Neues Dokument erstellen"));
    QCOMPARE(program->documentCount(), made.isEmpty() ? 1 : 2);
    if (!made.isEmpty())
        QCOMPARE(program->active()->objectName(), made);
}

void TestMenus::closeAndEnd()
{
    DocumentWindow *window = newWindow(true);
    newWindow(false);
    window->mnuFileClose->trigger();
    QCOMPARE(program->documentCount(), 1);
    program->active()->txtText->setText("x");
    QTest::keyClicks(program->active()->txtText, "y");
    env->modals.answerMessage(vbCancel);
    program->active()->mnuFileEnd->trigger();
    QCOMPARE(program->documentCount(), 1);
    env->modals.answerMessage(vbNo);
    program->active()->mnuFileEnd->trigger();
    QCOMPARE(program->documentCount(), 0);
}

void TestMenus::windowArrangements()
{
    showMain();
    QList<DocumentWindow *> windows = {newWindow(true), newWindow(false), newWindow(true)};
    QMdiArea *area = program->main().mdiArea();
    const QRect space = area->viewport()->rect();
    auto frames = [&] { return area->subWindowList(QMdiArea::CreationOrder); };

    windows.at(0)->mnuWindowTileVertical->trigger();
    for (int i = 0; i < 3; ++i) {
        const QRect place = frames().at(i)->geometry();
        QCOMPARE(place.top(), 0);
        QCOMPARE(place.height(), space.height());
        QCOMPARE(place.left(), space.width() * i / 3);
    }
    windows.at(1)->mnuWindowTileHorizontal->trigger();
    for (int i = 0; i < 3; ++i) {
        const QRect place = frames().at(i)->geometry();
        QCOMPARE(place.left(), 0);
        QCOMPARE(place.width(), space.width());
        QCOMPARE(place.top(), space.height() * i / 3);
    }
    windows.at(2)->mnuWindowCascade->trigger();
    QList<QPoint> corners;
    for (QMdiSubWindow *frame : area->subWindowList(QMdiArea::StackingOrder))
        corners << frame->pos();
    QVERIFY(corners.at(0).x() < corners.at(1).x() && corners.at(1).x() < corners.at(2).x());
    QVERIFY(corners.at(0).y() < corners.at(1).y() && corners.at(1).y() < corners.at(2).y());

    // Minimised windows are lined up along the bottom, left to right.
    frames().at(0)->showMinimized();
    frames().at(1)->showMinimized();
    frames().at(0)->move(200, 50);
    frames().at(1)->move(30, 100);
    frames().at(2)->widget()->findChild<RichTextBox *>()->setFocus();
    static_cast<DocumentWindow *>(frames().at(2)->widget())->mnuWindowArrangeIcons->trigger();
    QCOMPARE(frames().at(0)->geometry().bottom(), space.bottom());
    QCOMPARE(frames().at(0)->x(), 0);
    QCOMPARE(frames().at(1)->geometry().bottom(), space.bottom());
    QCOMPARE(frames().at(1)->x(), frames().at(0)->width());
}

void TestMenus::windowListShowsAndActivates()
{
    DocumentWindow *first = newWindow(true);
    newWindow(false);
    DocumentWindow *active = program->active();
    openAndClose(active->mnuWindow);
    QStringList list = captions(active->mnuWindow).mid(4);
    QCOMPARE(list,
             (QStringList {"-", "&1 Dokument 1 (ungespeichert!)", "&2 Text 1 (ungespeichert!)"}));
    const QList<QAction *> entries = active->mnuWindow->actions().mid(5);
    QVERIFY(!entries.at(0)->isChecked());
    QVERIFY(entries.at(1)->isChecked());
    entries.at(0)->trigger();
    QCOMPARE(program->active(), first);
    // Opening the menu again lists the windows once, the newly active one checked.
    openAndClose(first->mnuWindow);
    QCOMPARE(first->mnuWindow->actions().size(), 7);
    QVERIFY(first->mnuWindow->actions().at(5)->isChecked());
}

void TestMenus::helpItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("topic");
    QTest::addColumn<int>("tab");
    // Contents and help on help show their topics; the search opens the index.
    QTest::newRow("Inhalt") << "mnuHelpContents" << 1 << 0;
    QTest::newRow("Hilfe zur Hilfe") << "mnuHelpHelp" << 2 << 0;
    QTest::newRow("Suchen in der Hilfe") << "mnuHelpSearch" << -1 << 1;
}

void TestMenus::helpItems()
{
    QFETCH(QString, item);
    QFETCH(int, topic);
    QFETCH(int, tab);
    useShippedHelpFile();
    DocumentWindow *window = newWindow(false);
    QAction *action = item == "mnuHelpContents" ? window->mnuHelpContents
        : item == "mnuHelpHelp"                 ? window->mnuHelpHelp
                                                : window->mnuHelpSearch;
    action->trigger();
    HelpViewer *viewer = Help::viewer();
    QVERIFY(viewer && viewer->isVisible());
    if (topic >= 0)
        QCOMPARE(viewer->currentContext(), topic);
    QCOMPARE(viewer->tabs->currentIndex(), tab);
    QVERIFY(env->modals.seen().isEmpty());
}

void TestMenus::helpWithoutHelpFile_data()
{
    QTest::addColumn<bool>("pathSet");
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("titledByWindow");
    QTest::newRow("no path, Inhalt") << false << "mnuHelpContents" << true;
    QTest::newRow("no path, Suchen") << false << "mnuHelpSearch" << true;
    QTest::newRow("no path, Hilfe zur Hilfe calls the engine") << false << "mnuHelpHelp" << false;
    QTest::newRow("missing file, Inhalt") << true << "mnuHelpContents" << false;
}

void TestMenus::helpWithoutHelpFile()
{
    QFETCH(bool, pathSet);
    QFETCH(QString, item);
    QFETCH(bool, titledByWindow);
    Help::setHelpFile(pathSet ? env->path("fehlt.hlp") : QString());
    DocumentWindow *window = newWindow(true);
    env->modals.answerMessage(vbOK);
    QAction *action = item == "mnuHelpContents" ? window->mnuHelpContents
        : item == "mnuHelpHelp"                 ? window->mnuHelpHelp
                                                : window->mnuHelpSearch;
    action->trigger();
    QCOMPARE(env->modals.seen().size(), 1);
    const Modal::Request message = env->modals.seen().constFirst();
    QCOMPARE(message.text, Help::noHelpFileText());
    QCOMPARE(message.style, int(vbInformation));
    QCOMPARE(message.title, titledByWindow ? window->Caption() : program->main().windowTitle());
    QVERIFY(!Help::viewer());
}

void TestMenus::tipAndAboutFromTheHelpMenu()
{
    DocumentWindow *window = newWindow(false);
    SaveSetting("Tip", "False");
    QString opened;
    QString marker;
    env->modals.answerForm([&](QWidget *form) {
        opened = form->objectName();
        marker = qobject_cast<frmTip *>(form)->Tag;
    });
    window->mnuHelpTip->trigger();
    QCOMPARE(opened, QStringLiteral("frmTip"));
    QCOMPARE(marker, QStringLiteral("Keinstart"));
    env->modals.answerForm([&](QWidget *form) { opened = form->objectName(); });
    window->mnuHelpAbout->trigger();
    QCOMPARE(opened, QStringLiteral("frmAbout"));
    QCOMPARE(env->modals.seen().size(), 2);
}

void TestMenus::toolItemsWaitForTheirForm_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("call");
    QTest::newRow("Datum") << "mnuEinfuegenDate"
                           << "frmDate 1";
    QTest::newRow("Uhrzeit") << "mnuEinfuegenTime"
                             << "frmDate 2";
    QTest::newRow("Sonderzeichen") << "mnuEinfuegenSonder"
                                   << "frmSonder";
    QTest::newRow("Grafik") << "mnuEinfuegenImage"
                            << "frmImage";
    QTest::newRow("Tastaturbelegung") << "mnuViewKeyboard"
                                      << "frmTastatur";
    QTest::newRow("Textbaustein-Verwaltung") << "mnuViewBaustein"
                                             << "frmBaustein";
    QTest::newRow("Formatvorlagen-Verwaltung") << "mnuFormatFormatvorlage"
                                               << "frmTemplate";
    QTest::newRow("Kontextmenü Formatvorlage") << "mnuPopupFormatVorlage"
                                               << "frmTemplate";
}

void TestMenus::toolItemsWaitForTheirForm()
{
    QFETCH(QString, item);
    QFETCH(QString, call);
    const DocumentTools saved = documentTools();
    QStringList calls;
    DocumentTools &tools = documentTools();
    const auto plug = [&](bool on) {
        tools.frmDate = on ? std::function<void(int)>(
                            [&](int tab) { calls << QStringLiteral("frmDate %1").arg(tab); })
                           : nullptr;
        const auto opener = [&](const char *name) {
            return on ? std::function<void()>([&calls, name] { calls << name; }) : nullptr;
        };
        tools.frmSonder = opener("frmSonder");
        tools.frmImage = opener("frmImage");
        tools.frmTastatur = opener("frmTastatur");
        tools.frmBaustein = opener("frmBaustein");
        tools.frmTemplate = opener("frmTemplate");
    };
    plug(false);
    auto *window = qobject_cast<frmDocument *>(newWindow(true));
    const QHash<QString, QAction *> items = {
        {"mnuEinfuegenDate", window->mnuEinfuegenDate},
        {"mnuEinfuegenTime", window->mnuEinfuegenTime},
        {"mnuEinfuegenSonder", window->mnuEinfuegenSonder},
        {"mnuEinfuegenImage", window->mnuEinfuegenImage},
        {"mnuViewKeyboard", window->mnuViewKeyboard},
        {"mnuViewBaustein", window->mnuViewBaustein},
        {"mnuFormatFormatvorlage", window->mnuFormatFormatvorlage},
        {"mnuPopupFormatVorlage", window->mnuPopupFormatVorlage},
    };
    QAction *action = items.value(item);
    QVERIFY(!action->isEnabled());
    action->trigger();
    QVERIFY(calls.isEmpty());

    // Plugged in, the item is enabled when its menu next opens and calls its form.
    plug(true);
    for (QObject *holder : action->associatedObjects()) {
        if (auto *menu = qobject_cast<QMenu *>(holder))
            openAndClose(menu);
    }
    QVERIFY(action->isEnabled());
    action->trigger();
    QCOMPARE(calls, QStringList {call});
    documentTools() = saved;
}

void TestMenus::viewSwitchesMirrored_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<bool>("fromPopup");
    QTest::newRow("frmDocument, menu") << true << false;
    QTest::newRow("frmDocument, context menu") << true << true;
    QTest::newRow("frmText, menu") << false << false;
    QTest::newRow("frmText, context menu") << false << true;
}

void TestMenus::viewSwitchesMirrored()
{
    QFETCH(bool, richText);
    QFETCH(bool, fromPopup);
    showMain();
    frmMain &main = program->main();
    DocumentWindow *window = newWindow(richText);
    Toolbar *own = richText ? main.tbRTF : main.tbText;
    QVERIFY(own->isVisible());
    for (bool show : {false, true}) {
        (fromPopup ? window->mnuPopupViewToolbar : window->mnuViewToolbar)->trigger();
        (fromPopup ? window->mnuPopupViewStatusBar : window->mnuViewStatusBar)->trigger();
        QCOMPARE(own->isVisible(), show);
        QCOMPARE(main.sbStatusBar->isVisible(), show);
        for (QAction *mark :
             {window->mnuViewToolbar, window->mnuPopupViewToolbar, main.mnuViewToolbar,
              window->mnuViewStatusBar, window->mnuPopupViewStatusBar, main.mnuViewStatusBar})
            QCOMPARE(mark->isChecked(), show);
    }
}

void TestMenus::startupSwitchesFromSettings()
{
    DocumentWindow *window = newWindow(false);
    SaveSetting("Startup", "true");
    SaveSetting("Tip", "True");
    openAndClose(window->mnuView);
    QVERIFY(!window->mnuViewWillkommen->isChecked());
    QVERIFY(window->mnuViewTip->isChecked());
    window->mnuViewTip->trigger();
    QCOMPARE(GetSetting("Tip"), QStringLiteral("False"));
    window->mnuViewTip->trigger();
    QCOMPARE(GetSetting("Tip"), QStringLiteral("True"));
    window->mnuViewWillkommen->trigger();
    QCOMPARE(GetSetting("Startup"), QStringLiteral("True"));
}

void TestMenus::rulerSwitchInOneOfTwoWindows()
{
    showMain();
    auto *first = qobject_cast<frmDocument *>(newWindow(true));
    auto *second = qobject_cast<frmDocument *>(newWindow(true));
    const QRect textPlace = second->txtText->geometry();
    second->mnuPopupViewLineal->trigger();
    QVERIFY(!second->Picture1->isVisible());
    QVERIFY(!second->mnuViewLineal->isChecked());
    QVERIFY(!second->mnuPopupViewLineal->isChecked());
    QCOMPARE(second->txtText->geometry(), textPlace);
    QVERIFY(textPlace.top() > 0);
    QVERIFY(first->Picture1->isVisibleTo(first));
    QVERIFY(first->mnuViewLineal->isChecked());
    second->mnuViewLineal->trigger();
    QVERIFY(second->Picture1->isVisible());
    QVERIFY(second->mnuPopupViewLineal->isChecked());
    QCOMPARE(second->txtText->geometry(), textPlace);
}

void TestMenus::wordWrap()
{
    showMain();
    auto *window = qobject_cast<frmText *>(newWindow(false));
    window->parentWidget()->resize(400, 300);
    const QString line = QString("Wort ").repeated(60);
    window->txtText->setText(line);
    const int end = static_cast<int>(line.size());
    QVERIFY(window->mnuViewUmbruch->isChecked());
    QVERIFY(window->txtText->GetLineFromChar(end) > 0);
    window->mnuViewUmbruch->trigger();
    QVERIFY(!window->mnuPopupViewUmbruch->isChecked());
    QCOMPARE(window->txtText->GetLineFromChar(end), 0);
    window->mnuPopupViewUmbruch->trigger();
    QVERIFY(window->mnuViewUmbruch->isChecked());
    QCOMPARE(window->txtText->RightMargin(), 0.0);
    QVERIFY(window->txtText->GetLineFromChar(end) > 0);
}

void TestMenus::f1OnHighlightedItem_data()
{
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("topic");
    QTest::newRow("Bearbeiten > Einfügen") << true << "mnuEdit" << 4 << 25;
    QTest::newRow("Bearbeiten > Alles markieren") << false << "mnuEdit" << 10 << 29;
    QTest::newRow("Datei > Neu") << false << "mnuFile" << 0 << 12;
    QTest::newRow("Format > Absatz") << true << "mnuFormat" << 2 << 38;
    QTest::newRow("Ansicht > Zeilenumbruch") << false << "mnuView" << 2 << 59;
    QTest::newRow("Fenster > Nebeneinander") << true << "mnuWindow" << 1 << 51;
    QTest::newRow("Kontextmenü > Kopieren") << true << "mnuPopup" << 3 << 24;
    QTest::newRow("Kontextmenü > Format") << true << "mnuPopup" << 9 << 35;
    QTest::newRow("Kontextmenü Format > Absatz") << true << "mnuPopupFormat" << 2 << 38;
    QTest::newRow("open menu, nothing highlighted") << false << "mnuHelp" << -1 << 53;
}

void TestMenus::f1OnHighlightedItem()
{
    QFETCH(bool, richText);
    QFETCH(QString, menu);
    QFETCH(int, row);
    QFETCH(int, topic);
    useShippedHelpFile();
    DocumentWindow *window = newWindow(richText);
    // Qt highlights no disabled item: these are enabled.
    window->txtText->setText("Hallo");
    window->txtText->setSelLength(2);
    fillClipboard(Clip::Text);
    auto *open = window->findChild<QMenu *>(menu);
    QVERIFY(open);
    open->popup(QPoint(20, 20));
    if (row >= 0)
        open->setActiveAction(open->actions().at(row));
    QTest::keyClick(open, Qt::Key_F1);
    QVERIFY(Help::viewer());
    QCOMPARE(Help::viewer()->currentContext(), topic);
    QVERIFY(!open->isVisible());
}

void TestMenus::rightClickOpensOnlyTheWindowsMenu_data()
{
    QTest::addColumn<bool>("richText");
    QTest::newRow("frmDocument") << true;
    QTest::newRow("frmText") << false;
}

void TestMenus::rightClickOpensOnlyTheWindowsMenu()
{
    QFETCH(bool, richText);
    showMain();
    DocumentWindow *window = newWindow(richText);
    window->txtText->setText("Hallo Welt");
    QWidget *viewport = window->txtText->viewport();
    QVERIFY(QTest::qWaitForWindowExposed(viewport->window()));
    // A foreign menu that opens would block in its own loop: close it and note it.
    QStringList foreign;
    QTimer guard;
    guard.setInterval(20);
    connect(&guard, &QTimer::timeout, this, [&] {
        for (QMenu *menu : visibleMenus()) {
            if (menu != window->mnuPopup && menu->parent() != window) {
                foreign << menu->objectName() + QLatin1Char('|') + captions(menu).join(',');
                menu->close();
            }
        }
    });
    guard.start();
    // Through the window system, as a real click arrives, so that the platform's context-menu
    // event is made too.
    QWindow *handle = viewport->window()->windowHandle();
    const QPoint at = viewport->mapTo(viewport->window(), QPoint(30, 10));
    QTest::mousePress(handle, Qt::RightButton, {}, at);
    QTest::mouseRelease(handle, Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
    guard.stop();
    QCOMPARE(foreign, QStringList());
    QTRY_VERIFY(window->mnuPopup->isVisible());
    QCOMPARE(visibleMenus(), QList<QMenu *> {window->mnuPopup});
    // The keyboard's menu key opens no menu of the control's either.
    window->mnuPopup->hide();
    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            viewport->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(viewport, &byKey);
    QCOMPARE(visibleMenus(), QList<QMenu *> {});
}

void TestMenus::screenshots()
{
    showMain();
    const QString folder = screenshotFolder();
    auto save = [&](QWidget *widget, const QString &name) {
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        QFile::remove(file);
        QVERIFY(widget->grab().save(file));
    };
    for (bool richText : {true, false}) {
        DocumentWindow *window = newWindow(richText);
        window->txtText->setText("Hallo Welt");
        window->txtText->setSelLength(5);
        fillClipboard(Clip::Text);
        const QString kind = window->objectName();
        save(program->main().menuBar(), "menubar-" + kind);
        QCOMPARE(
            GrabChecks::itemsWithoutCaption(program->main().menuBar()).join(QStringLiteral("; ")),
            QString());
        for (QMenu *menu : window->menus()) {
            menu->popup(QPoint(40, 40));
            save(menu, "menu-" + kind + "-" + menu->objectName());
            QCOMPARE(GrabChecks::itemsWithoutCaption(menu).join(QStringLiteral("; ")), QString());
            menu->hide();
        }
        for (QMenu *menu : {window->mnuPopup, window->mnuPopupView, window->mnuPopupFormat}) {
            if (!menu)
                continue;
            menu->popup(QPoint(60, 60));
            save(menu, "popup-" + kind + "-" + menu->objectName());
            QCOMPARE(GrabChecks::itemsWithoutCaption(menu).join(QStringLiteral("; ")), QString());
            menu->hide();
        }
    }
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
