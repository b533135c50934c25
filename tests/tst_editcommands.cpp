// The edit commands as the user runs them: each through its menu item, context-menu item, key
// and toolbar button with the same result, copy and paste that keep the formatting, and undo
// steps that end where the change ends and put the caret where it was.
#include "document/DocumentWindow.h"
#include "frame/frmMain.h"
#include "platform/Toolbar.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RealDesktop.h"
#include "tests/support/RunningProgram.h"
#include "text/ClipboardFormats.h"
#include "text/RichTextBox.h"
#include "tools/ActiveDocument.h"
#include "tools/frmSearch.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

namespace {

const QString plainFormat = QStringLiteral("text/plain");

// The text as the user sees it, bold runs between asterisks.
QString shown(const RichTextBox &box)
{
    const QString text = box.Text();
    QTextCursor cursor(box.document());
    QString out;
    bool bold = false;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\r') {
            cursor.setPosition(i + 1);
            if (const bool now = cursor.charFormat().fontWeight() >= QFont::Bold; now != bold) {
                out += u'*';
                bold = now;
            }
        }
        out += text.at(i);
    }
    return bold ? out + u'*' : out;
}

// The clipboard's formats of the two the program knows, and what pasting it gives.
QString clipboardShown()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return QStringLiteral("nothing");
    QStringList formats;
    for (const QString &format : {plainFormat, ClipboardFormats::rtf()}) {
        if (data->hasFormat(format))
            formats << format;
    }
    QString content = data->text();
    if (data->hasFormat(ClipboardFormats::rtf())) {
        RichTextBox scratch;
        scratch.setSelRTF(QString::fromLatin1(data->data(ClipboardFormats::rtf())));
        content = shown(scratch);
    }
    return formats.join(QStringLiteral(", ")) + QStringLiteral(": ") + content;
}

void fillClipboard(const QString &text, const QByteArray &rtf)
{
    auto *data = new QMimeData;
    if (!text.isNull())
        data->setText(text);
    if (!rtf.isNull())
        data->setData(ClipboardFormats::rtf(), rtf);
    QGuiApplication::clipboard()->setMimeData(data);
}

void openAndClose(QMenu *menu)
{
    menu->popup(QPoint(10, 10));
    menu->hide();
}

QString caretShown(const RichTextBox &box)
{
    return QStringLiteral("%1|%2").arg(shown(box)).arg(box.SelStart());
}

} // namespace

class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyTriggerRunsTheSameCommand_data();
    void everyTriggerRunsTheSameCommand();
    void keyCopyAndPasteKeepTheFormatting_data();
    void keyCopyAndPasteKeepTheFormatting();
    void copyAndCutKeysActOnTheSelectionNow_data();
    void copyAndCutKeysActOnTheSelectionNow();
    void copyAndCutWithNothingSelectedKeepTheClipboard_data();
    void copyAndCutWithNothingSelectedKeepTheClipboard();
    void altWithALetterChoosesInTheOpenMenu_data();
    void altWithALetterChoosesInTheOpenMenu();
    void typingAfterAnInsertionIsAStepOfItsOwn_data();
    void typingAfterAnInsertionIsAStepOfItsOwn();
    void undoOfReplaceAllLeavesTheCaretAtTheChange_data();
    void undoOfReplaceAllLeavesTheCaretAtTheChange();

private:
    // A window of the kind, shown with the keyboard focus in its text.
    DocumentWindow *focusedWindow(bool richText);

    std::unique_ptr<RunningProgram> program;
};

void TestEditCommands::init()
{
    program = std::make_unique<RunningProgram>();
    program->start();
    QGuiApplication::clipboard()->clear();
}

void TestEditCommands::cleanup()
{
    program->stop();
    QCOMPARE(program->env.modals.pending(), 0);
    program.reset();
}

DocumentWindow *TestEditCommands::focusedWindow(bool richText)
{
    frmMain &main = program->main();
    // Wide enough for every toolbar button outside the overflow menu.
    main.resize(1200, 700);
    if (richText)
        main.LoadNewDoc();
    else
        main.LoadNewText();
    DocumentWindow *window = program->active();
    if (!Keyboard::focus(window->txtText))
        return nullptr;
    return window;
}

void TestEditCommands::everyTriggerRunsTheSameCommand_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("text"); // after the command
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("undone"); // after one more Undo, and the caret

    struct Action
    {
        const char *name;
        const char *rich[3];
        const char *plain[3];
    };
    // The window holds "fett normal" ("fett" bold in rich text) with "fett" selected; the
    // clipboard holds "neu" as the window's own Copy leaves it. Undo takes back "!" typed at
    // the end.
    const Action actions[] = {
        {"cut",
         {" normal", "text/rtf: *fett*", "*fett* normal|4"},
         {" normal", "text/plain: fett", "fett normal|4"}},
        {"copy",
         {"*fett* normal", "text/rtf: *fett*", "*fett* normal|0"},
         {"fett normal", "text/plain: fett", "fett normal|0"}},
        {"paste",
         {"*neu* normal", "text/rtf: *neu*", "*fett* normal|4"},
         {"neu normal", "text/plain: neu", "fett normal|4"}},
        {"erase",
         {" normal", "text/rtf: *neu*", "*fett* normal|4"},
         {" normal", "text/plain: neu", "fett normal|4"}},
        {"undo",
         {"*fett* normal", "text/rtf: *neu*", "*fett* normal|11"},
         {"fett normal", "text/plain: neu", "fett normal|11"}},
    };
    for (const bool richText : {true, false}) {
        for (const Action &action : actions) {
            const char *const *expected = richText ? action.rich : action.plain;
            for (const char *trigger : {"menu", "context menu", "shortcut", "toolbar"}) {
                if (qstrcmp(action.name, "erase") == 0 && qstrcmp(trigger, "toolbar") == 0)
                    continue; // no button
                for (const Keyboard::Way way : Keyboard::ways) {
                    if (way == Keyboard::Way::XKeyboard && qstrcmp(trigger, "shortcut") != 0)
                        continue;
                    const QByteArray name = QByteArray(richText ? "frmDocument" : "frmText") + ", "
                        + action.name + ", " + trigger;
                    Keyboard::newRow(way, name.constData())
                        << richText << action.name << trigger << expected[0] << expected[1]
                        << expected[2];
                }
            }
        }
    }
}

void TestEditCommands::everyTriggerRunsTheSameCommand()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, richText);
    QFETCH(QString, action);
    QFETCH(QString, trigger);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    QFETCH(QString, undone);
    DocumentWindow *window = focusedWindow(richText);
    QVERIFY(window);
    RichTextBox *box = window->txtText;
    box->setText(QStringLiteral("fett normal"));
    box->setSelStart(0);
    box->setSelLength(4);
    if (richText) {
        box->setSelBold(true);
        fillClipboard(QString(), "{\\rtf1\\ansi {\\b neu}}");
    } else {
        fillClipboard(QStringLiteral("neu"), QByteArray());
    }
    box->document()->clearUndoRedoStacks();
    if (action == QLatin1String("undo")) {
        box->setSelStart(11);
        QVERIFY(Keyboard::type(Keyboard::Way::TestKeys, QStringLiteral("!")));
        QCOMPARE(box->Text(), QStringLiteral("fett normal!"));
    }

    struct Trigger
    {
        QAction *DocumentMenuItems::*menuItem;
        QAction *DocumentMenuItems::*popupItem;
        const char *keys;
        const char *button;
    };
    const QHash<QString, Trigger> triggers {
        {"cut", {&DocumentMenuItems::mnuEditCut, &DocumentMenuItems::mnuPopupCut, "ctrl+x", "Cut"}},
        {"copy",
         {&DocumentMenuItems::mnuEditCopy, &DocumentMenuItems::mnuPopupCopy, "ctrl+c", "Copy"}},
        {"paste",
         {&DocumentMenuItems::mnuEditPaste, &DocumentMenuItems::mnuPopupPaste, "ctrl+v", "Paste"}},
        {"erase",
         {&DocumentMenuItems::mnuEditErase, &DocumentMenuItems::mnuPopupErase, "Delete", nullptr}},
        {"undo",
         {&DocumentMenuItems::mnuEditUndo, &DocumentMenuItems::mnuPopupUndo, "ctrl+z", "Undo"}},
    };
    const Trigger run = triggers.value(action);
    if (trigger == QLatin1String("menu")) {
        openAndClose(window->mnuEdit);
        QVERIFY((window->*run.menuItem)->isEnabled());
        (window->*run.menuItem)->trigger();
    } else if (trigger == QLatin1String("context menu")) {
        openAndClose(window->mnuPopup);
        QVERIFY((window->*run.popupItem)->isEnabled());
        (window->*run.popupItem)->trigger();
    } else if (trigger == QLatin1String("shortcut")) {
        QVERIFY(Keyboard::type(way, QString(), {QString::fromLatin1(run.keys)}));
    } else {
        frmMain &main = program->main();
        ToolButton *button = (richText ? main.tbRTF : main.tbText)->Buttons(run.button);
        QVERIFY(button->isVisible());
        // Paste and Undo follow the clipboard watch.
        QTRY_VERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(shown(*box), text);
    QCOMPARE(clipboardShown(), clipboard);
    QTRY_COMPARE(QApplication::focusWidget(), box);
    openAndClose(window->mnuEdit);
    window->mnuEditUndo->trigger();
    QCOMPARE(caretShown(*box), undone);
}

void TestEditCommands::keyCopyAndPasteKeepTheFormatting_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("foreign"); // plain text beside RTF on the clipboard beforehand
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    const QStringList copyKeys {"ctrl+a", "ctrl+c", "ctrl+End", "Return", "ctrl+v"};
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "frmDocument, Ctrl+C and Ctrl+V")
            << true << QString() << copyKeys << "*fett* normal\r*fett* normal"
            << "text/rtf: *fett* normal";
        Keyboard::newRow(way, "frmDocument, Ctrl+X and Ctrl+V")
            << true << QString() << QStringList {"ctrl+a", "ctrl+x", "ctrl+v"} << "*fett* normal"
            << "text/rtf: *fett* normal";
        Keyboard::newRow(way, "frmDocument, Ctrl+Insert and Shift+Insert")
            << true << QString()
            << QStringList {"ctrl+a", "ctrl+Insert", "ctrl+End", "Return", "shift+Insert"}
            << "*fett* normal\r*fett* normal"
            << "text/rtf: *fett* normal";
        Keyboard::newRow(way, "frmDocument, another program's text and RTF")
            << true << "fremd" << QStringList {"ctrl+End", "ctrl+v"} << "*fett* normal*fremd*"
            << "text/plain, text/rtf: *fremd*";
        Keyboard::newRow(way, "frmText, Ctrl+C and Ctrl+V")
            << false << QString() << copyKeys << "fett normal\rfett normal"
            << "text/plain: fett normal";
        Keyboard::newRow(way, "frmText, another program's text and RTF")
            << false << "fremd" << QStringList {"ctrl+End", "ctrl+v"} << "fett normalfremd"
            << "text/plain, text/rtf: *fremd*";
    }
}

// "fett normal" typed, "fett" made bold, then copied and pasted with the keys.
void TestEditCommands::keyCopyAndPasteKeepTheFormatting()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, richText);
    QFETCH(QString, foreign);
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    DocumentWindow *window = focusedWindow(richText);
    QVERIFY(window);
    RichTextBox *box = window->txtText;
    QVERIFY(Keyboard::type(way, QStringLiteral("fett normal")));
    if (richText) {
        box->setSelStart(0);
        box->setSelLength(4);
        box->setSelBold(true);
        box->setSelStart(11);
    }
    if (!foreign.isEmpty())
        fillClipboard(foreign, "{\\rtf1\\ansi {\\b " + foreign.toLatin1() + "}}");
    QVERIFY(Keyboard::type(way, QString(), keys));
    QCOMPARE(shown(*box), text);
    QCOMPARE(clipboardShown(), clipboard);
}

void TestEditCommands::copyAndCutKeysActOnTheSelectionNow_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    QTest::addColumn<bool>("selectAll"); // "Alles markieren" from the menu, else "zwei" by keys
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text"); // after the key, Ctrl+End, Enter and Ctrl+V
    QTest::addColumn<QString>("clipboard");
    struct Key
    {
        const char *name;
        bool cut;
    };
    const Key keys[]
        = {{"ctrl+c", false}, {"ctrl+Insert", false}, {"ctrl+x", true}, {"shift+Delete", true}};
    for (const Keyboard::Way way : Keyboard::ways) {
        for (const bool richText : {true, false}) {
            const QString format
                = richText ? QStringLiteral("text/rtf: ") : QStringLiteral("text/plain: ");
            for (const bool selectAll : {false, true}) {
                for (const Key &key : keys) {
                    const QString selected = selectAll ? "eins zwei" : "zwei";
                    const QString kept = key.cut ? (selectAll ? "" : "eins ") : "eins zwei";
                    const QByteArray name = QByteArray(richText ? "frmDocument, " : "frmText, ")
                        + (selectAll ? "Alles markieren, " : "menu closed, ") + key.name;
                    Keyboard::newRow(way, name.constData())
                        << richText << selectAll << key.name << kept + u'\r' + selected
                        << format + selected;
                }
            }
        }
    }
}

// "eins zwei" typed, the Edit menu opened with nothing selected, then a selection made: the
// copy and cut keys act on it, although the menu last showed their items disabled.
void TestEditCommands::copyAndCutKeysActOnTheSelectionNow()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, richText);
    QFETCH(bool, selectAll);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    DocumentWindow *window = focusedWindow(richText);
    QVERIFY(window);
    RichTextBox *box = window->txtText;
    QVERIFY(Keyboard::type(way, QStringLiteral("eins zwei")));
    fillClipboard(QStringLiteral("alt"), QByteArray());
    openAndClose(window->mnuEdit);
    QVERIFY(!window->mnuEditCopy->isEnabled());
    if (selectAll)
        window->mnuEditHighlight->trigger();
    else
        QVERIFY(Keyboard::type(way, QString(), {"ctrl+shift+Left"}));
    QVERIFY(Keyboard::type(way, QString(), {key, "ctrl+End", "Return", "ctrl+v"}));
    QCOMPARE(shown(*box), text);
    QCOMPARE(clipboardShown(), clipboard);
}

void TestEditCommands::copyAndCutWithNothingSelectedKeepTheClipboard_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("trigger");
    for (const Keyboard::Way way : Keyboard::ways) {
        for (const bool richText : {true, false}) {
            for (const bool cut : {false, true}) {
                for (const char *trigger : {"key", "menu", "context menu", "toolbar"}) {
                    if (way == Keyboard::Way::XKeyboard && qstrcmp(trigger, "key") != 0)
                        continue;
                    const QByteArray name = QByteArray(richText ? "frmDocument, " : "frmText, ")
                        + (cut ? "cut, " : "copy, ") + trigger;
                    Keyboard::newRow(way, name.constData()) << richText << cut << trigger;
                }
            }
        }
    }
}

// Both menus last opened on a selection, which the user then took away: Copy and Cut find
// nothing selected and leave another program's text and RTF on the clipboard.
void TestEditCommands::copyAndCutWithNothingSelectedKeepTheClipboard()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, richText);
    QFETCH(bool, cut);
    QFETCH(QString, trigger);
    DocumentWindow *window = focusedWindow(richText);
    QVERIFY(window);
    RichTextBox *box = window->txtText;
    QVERIFY(Keyboard::type(way, QStringLiteral("eins zwei"), {"shift+Home"}));
    openAndClose(window->mnuEdit);
    openAndClose(window->mnuPopup);
    QVERIFY(window->mnuEditCopy->isEnabled());
    QVERIFY(Keyboard::type(way, QString(), {"End"}));
    fillClipboard(QStringLiteral("fremd"), "{\\rtf1\\ansi {\\b fremd}}");
    if (trigger == QLatin1String("key")) {
        QVERIFY(Keyboard::type(way, QString(), {cut ? "ctrl+x" : "ctrl+c"}));
    } else if (trigger == QLatin1String("menu")) {
        (cut ? window->mnuEditCut : window->mnuEditCopy)->trigger();
    } else if (trigger == QLatin1String("context menu")) {
        (cut ? window->mnuPopupCut : window->mnuPopupCopy)->trigger();
    } else {
        // The button follows the selection; its command is run as a click on it runs it.
        frmMain &main = program->main();
        Toolbar *bar = richText ? main.tbRTF : main.tbText;
        ToolButton *button = bar->Buttons(cut ? "Cut" : "Copy");
        if (richText)
            main.tbRTF_ButtonClick(button);
        else
            main.tbText_ButtonClick(button);
    }
    QCOMPARE(shown(*box), QStringLiteral("eins zwei"));
    QCOMPARE(clipboardShown(), QStringLiteral("text/plain, text/rtf: *fremd*"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("fremd"));
    QTRY_COMPARE(QApplication::focusWidget(), box);
}

void TestEditCommands::altWithALetterChoosesInTheOpenMenu_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    QTest::addColumn<bool>("contextMenu");
    for (const Keyboard::Way way : Keyboard::ways) {
        for (const bool richText : {true, false}) {
            for (const bool contextMenu : {false, true}) {
                const QByteArray name = QByteArray(richText ? "frmDocument, " : "frmText, ")
                    + (contextMenu ? "context menu" : "Alt+B");
                Keyboard::newRow(way, name.constData()) << richText << contextMenu;
            }
        }
    }
}

// "zwei" selected, the Edit menu opened with Alt+B or the context menu with the right button,
// then Alt+K, typed as a keyboard types it: Alt down, K, Alt up. "&Kopieren" copies.
void TestEditCommands::altWithALetterChoosesInTheOpenMenu()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, richText);
    QFETCH(bool, contextMenu);
    DocumentWindow *window = focusedWindow(richText);
    QVERIFY(window);
    RichTextBox *box = window->txtText;
    QVERIFY(Keyboard::type(way, QStringLiteral("eins zwei"), {"ctrl+shift+Left"}));
    fillClipboard(QStringLiteral("alt"), QByteArray());
    QMenu *menu = contextMenu ? window->mnuPopup : window->mnuEdit;
    if (contextMenu)
        QTest::mouseClick(box->viewport(), Qt::RightButton, {}, QPoint(20, 10));
    else
        QVERIFY(Keyboard::type(way, QString(), {"alt+b"}));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(Keyboard::type(way, QString(), {"alt+k"}));
    QTRY_VERIFY(!menu->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), box);
    QVERIFY(Keyboard::type(way, QString(), {"ctrl+End", "Return", "ctrl+v"}));
    QCOMPARE(shown(*box), QStringLiteral("eins zwei\rzwei"));
}

void TestEditCommands::typingAfterAnInsertionIsAStepOfItsOwn_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("insertion");
    for (const Keyboard::Way way : Keyboard::ways) {
        for (const bool richText : {true, false}) {
            for (const char *insertion : {"Ctrl+V", "Einfügen", "text block", "date"}) {
                const QByteArray name
                    = QByteArray(richText ? "frmDocument, " : "frmText, ") + insertion;
                Keyboard::newRow(way, name.constData()) << richText << insertion;
            }
        }
    }
}

// "aaa ", an insertion of "neu", "bbb", then Ctrl+Z twice: each takes back one of them.
void TestEditCommands::typingAfterAnInsertionIsAStepOfItsOwn()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, richText);
    QFETCH(QString, insertion);
    DocumentWindow *window = focusedWindow(richText);
    QVERIFY(window);
    RichTextBox *box = window->txtText;
    fillClipboard(QStringLiteral("neu"), QByteArray());
    QVERIFY(Keyboard::type(way, QStringLiteral("aaa ")));
    if (insertion == QLatin1String("Ctrl+V"))
        QVERIFY(Keyboard::type(way, QString(), {"ctrl+v"}));
    else if (insertion == QLatin1String("Einfügen"))
        window->mnuEditPaste->trigger();
    else if (insertion == QLatin1String("text block"))
        ActiveDocument::insertText(QStringLiteral("neu"));
    else
        ActiveDocument::setSelRTF(QStringLiteral("neu"));
    QVERIFY(Keyboard::type(way, QStringLiteral("bbb")));
    QCOMPARE(box->Text(), QStringLiteral("aaa neubbb"));
    QVERIFY(Keyboard::type(way, QString(), {"ctrl+z"}));
    QCOMPARE(caretShown(*box), QStringLiteral("aaa neu|7"));
    QVERIFY(Keyboard::type(way, QString(), {"ctrl+z"}));
    QCOMPARE(caretShown(*box), QStringLiteral("aaa |4"));
    QVERIFY(Keyboard::type(way, QStringLiteral("x")));
    QCOMPARE(box->Text(), QStringLiteral("aaa x"));
}

void TestEditCommands::undoOfReplaceAllLeavesTheCaretAtTheChange_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<bool>("richText");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("caret"); // after Undo: behind the last hit
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "frmDocument, one hit") << true << "Katze"
                                                      << "Maus" << 27;
        Keyboard::newRow(way, "frmText, one hit") << false << "Katze"
                                                  << "Maus" << 27;
        Keyboard::newRow(way, "frmDocument, two hits") << true << "ie"
                                                       << "IE!" << 32;
        Keyboard::newRow(way, "frmText, two hits") << false << "ie"
                                                   << "IE!" << 32;
    }
}

// Caret at the end, Ersetzen, Alle ersetzen, close, Ctrl+Z, then typing.
void TestEditCommands::undoOfReplaceAllLeavesTheCaretAtTheChange()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, richText);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(int, caret);
    const QString text = QStringLiteral("Der Hund schläft. Die Katze spielt. Das Ende.");
    DocumentWindow *window = focusedWindow(richText);
    QVERIFY(window);
    RichTextBox *box = window->txtText;
    box->setText(text);
    box->setSelStart(static_cast<int>(text.size()));
    program->env.modals.answerForm([&](QWidget *form) {
        auto *search = qobject_cast<frmSearch *>(form);
        QVERIFY(search);
        search->txtSuchen->setText(find);
        search->txtErsetzen->setText(replacement);
        search->cmdAlleErsetzen->click();
        search->cmdAbbrechen->click();
    });
    window->mnuEditChange->trigger();
    QVERIFY(box->Text() != text);
    QVERIFY(Keyboard::focus(box));
    QVERIFY(Keyboard::type(way, QString(), {"ctrl+z"}));
    QCOMPARE(box->Text(), text);
    QCOMPARE(box->SelStart(), caret);
    QCOMPARE(box->SelLength(), 0);
    QVERIFY(Keyboard::type(way, QStringLiteral("!")));
    QCOMPARE(box->Text(), QString(text).insert(caret, u'!'));
    // The typing is a step of its own.
    QVERIFY(Keyboard::type(way, QString(), {"ctrl+z"}));
    QCOMPARE(box->Text(), text);
}

// On the X server the keys go through a window manager, as on a desktop.
int main(int argc, char **argv)
{
    const RealDesktop desktop;
    QApplication application(argc, argv);
    TestEditCommands test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_editcommands.moc"
