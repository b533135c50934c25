// The main window's toolbars, font boxes, clipboard watch and the selection feedback they show.
#include "document/SelectionFeedback.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "frame/frmMain.h"
#include "frame/frmStartup.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RunningProgram.h"
#include "text/ClipboardFormats.h"
#include "text/RichTextBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <memory>

class TestToolbars : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buttonsInOrder_data();
    void buttonsInOrder();
    void boldTogglesWholeSelection();
    void togglesShowThreeStates_data();
    void togglesShowThreeStates();
    void alignmentGroup();
    void copyCutPasteOnRichText();
    void cutThenUndoGivesTheTextBack_data();
    void cutThenUndoGivesTheTextBack();
    void pastePrefersPlainText();
    void plainTextToolbarUsesPlainText();
    void clipboardTextHasPlatformLineEnds_data();
    void clipboardTextHasPlatformLineEnds();
    void clipboardWatchEnablesPaste();
    void sizeBoxEntries_data();
    void sizeBoxEntries();
    void sizeBoxRefusesCharacters();
    void sizeBoxShowsSelection_data();
    void sizeBoxShowsSelection();
    void fontNameBoxFollowsSelection_data();
    void fontNameBoxFollowsSelection();
    void fontNameBoxSetsFont();
    void fontBoxesListPlainFamilies();
    void openedFileShowsItsSelection_data();
    void openedFileShowsItsSelection();
    void sizeBoxPassesTab();
    void sizeBoxTyped_data();
    void sizeBoxTyped();
    void openedListEnterChoosesOnlyTheHighlightedEntry_data();
    void openedListEnterChoosesOnlyTheHighlightedEntry();
    void positionPanel_data();
    void positionPanel();
    void positionPanelBeyondSixteenBits();
    void copyAndCutFollowSelection();
    void commandsWithoutDocumentDoNothing();

private:
    frmDocument *richWindow(const QString &text);
    // Toggles, font boxes, panel and ruler markers as the user sees them.
    QString feedback() const;
    QString panelText() const;
    void click(Toolbar *bar, const char *key);

    std::unique_ptr<RunningProgram> program;
};

void TestToolbars::init()
{
    program = std::make_unique<RunningProgram>();
    program->start();
    QGuiApplication::clipboard()->clear();
}

void TestToolbars::cleanup()
{
    program->stop();
    QCOMPARE(program->env.modals.pending(), 0);
    program.reset();
}

frmDocument *TestToolbars::richWindow(const QString &text)
{
    program->main().LoadNewDoc();
    auto *window = qobject_cast<frmDocument *>(program->active());
    window->txtText->setText(text);
    return window;
}

QString TestToolbars::panelText() const
{
    return program->main().sbStatusBar->Panels("Seite")->text();
}

void TestToolbars::click(Toolbar *bar, const char *key)
{
    ToolButton *button = bar->Buttons(key);
    QVERIFY2(button, key);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestToolbars::buttonsInOrder_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("tbNichts") << "tbNichts" << QStringList {"New", "Open", "Help"};
    QTest::newRow("tbText") << "tbText" << QStringList {"New", "Open", "Save",  "Print", "Undo",
                                                        "Cut", "Copy", "Paste", "Help"};
    QTest::newRow("tbRTF") << "tbRTF"
                           << QStringList {"New",  "Open",   "Save",      "Print",
                                           "Undo", "Cut",    "Copy",      "Paste",
                                           "Bold", "Italic", "Underline", "Strikethrough",
                                           "Left", "Center", "Right",     "Help"};
}

void TestToolbars::buttonsInOrder()
{
    QFETCH(QString, bar);
    QFETCH(QStringList, keys);
    auto *toolbar = program->main().findChild<Toolbar *>(bar);
    QStringList found;
    for (ToolButton *button : toolbar->findChildren<ToolButton *>())
        found << button->Key();
    QCOMPARE(found, keys);
    QCOMPARE(toolbar->Buttons("Open")->toolTip(), QStringLiteral("Öffnen"));
    QCOMPARE(toolbar->Buttons("Help")->statusTip(), QStringLiteral("Ruft den Hilfe-Index auf."));
}

void TestToolbars::boldTogglesWholeSelection()
{
    frmDocument *window = richWindow("halb fett");
    RichTextBox *text = window->txtText;
    text->setSelStart(0);
    text->setSelLength(4);
    text->setSelBold(true);
    text->setSelLength(9);
    ToolButton *bold = program->main().tbRTF->Buttons("Bold");
    QVERIFY(bold->MixedState());
    QCOMPARE(bold->Value(), 0);
    click(program->main().tbRTF, "Bold");
    QCOMPARE(text->SelBold(), std::optional<bool>(true));
    QVERIFY(!bold->MixedState());
    QCOMPARE(bold->Value(), 1);
    click(program->main().tbRTF, "Bold");
    QCOMPARE(text->SelBold(), std::optional<bool>(false));
    QCOMPARE(bold->Value(), 0);
}

void TestToolbars::togglesShowThreeStates_data()
{
    QTest::addColumn<int>("formattedLength");
    QTest::addColumn<bool>("mixed");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << 0 << false << 0;
    QTest::newRow("formatted") << 6 << false << 1;
    QTest::newRow("mixed") << 3 << true << 0;
}

void TestToolbars::togglesShowThreeStates()
{
    QFETCH(int, formattedLength);
    QFETCH(bool, mixed);
    QFETCH(int, value);
    frmDocument *window = richWindow("Absatz");
    RichTextBox *text = window->txtText;
    text->setSelStart(0);
    text->setSelLength(formattedLength);
    text->setSelItalic(true);
    text->setSelUnderline(true);
    text->setSelStrikeThru(true);
    text->setSelStart(0);
    text->setSelLength(6);
    for (const char *key : {"Italic", "Underline", "Strikethrough"}) {
        ToolButton *button = program->main().tbRTF->Buttons(key);
        QCOMPARE(button->MixedState(), mixed);
        QCOMPARE(button->Value(), value);
    }
}

void TestToolbars::alignmentGroup()
{
    frmDocument *window = richWindow("eins\rzwei");
    RichTextBox *text = window->txtText;
    text->setSelStart(5);
    text->setSelAlignment(RichTextBox::rtfCenter);
    text->setSelStart(0);
    text->setSelLength(9);
    Toolbar *bar = program->main().tbRTF;
    for (const char *key : {"Left", "Center", "Right"})
        QVERIFY(bar->Buttons(key)->MixedState());
    click(bar, "Right");
    QCOMPARE(text->SelAlignment(), std::optional<int>(RichTextBox::rtfRight));
    QCOMPARE(bar->Buttons("Right")->Value(), 1);
    QCOMPARE(bar->Buttons("Left")->Value(), 0);
    QVERIFY(!bar->Buttons("Left")->MixedState());
    text->setSelStart(0);
    QCOMPARE(bar->Buttons("Right")->Value(), 1);
}

void TestToolbars::copyCutPasteOnRichText()
{
    frmDocument *window = richWindow("Hallo Welt");
    RichTextBox *text = window->txtText;
    text->setSelStart(0);
    text->setSelLength(5);
    text->setSelBold(true);
    click(program->main().tbRTF, "Cut");
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasFormat(ClipboardFormats::rtf()));
    QVERIFY(!data->hasText());
    QCOMPARE(text->Text(), QStringLiteral(" Welt"));
    text->setSelStart(5);
    click(program->main().tbRTF, "Paste");
    QCOMPARE(text->Text(), QStringLiteral(" WeltHallo"));
    text->setSelStart(5);
    text->setSelLength(5);
    QCOMPARE(text->SelBold(), std::optional<bool>(true));
    QCOMPARE(window->Tag, QStringLiteral("Geaendert"));
}

void TestToolbars::cutThenUndoGivesTheTextBack_data()
{
    QTest::addColumn<bool>("richText");
    QTest::newRow("rich text") << true;
    QTest::newRow("plain text") << false;
}

// Undo on the toolbar takes back the toolbar's Cut: the text and its formatting come back, the
// clipboard keeps what was cut.
void TestToolbars::cutThenUndoGivesTheTextBack()
{
    QFETCH(bool, richText);
    frmMain &main = program->main();
    if (richText)
        main.LoadNewDoc();
    else
        main.LoadNewText();
    Toolbar *bar = richText ? main.tbRTF : main.tbText;
    RichTextBox *text = program->active()->txtText;
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("Hallo Welt"));
    text->setSelStart(0);
    text->setSelLength(5);
    if (richText)
        click(bar, "Bold");
    click(bar, "Cut");
    QCOMPARE(text->Text(), QStringLiteral(" Welt"));
    QTRY_VERIFY(bar->Buttons("Undo")->isEnabled());
    click(bar, "Undo");
    QCOMPARE(text->Text(), QStringLiteral("Hallo Welt"));
    QCOMPARE(QGuiApplication::clipboard()->text(), richText ? QString() : QStringLiteral("Hallo"));
    text->setSelStart(0);
    text->setSelLength(5);
    QCOMPARE(text->SelBold(), std::optional<bool>(richText));
    text->setSelStart(6);
    text->setSelLength(4);
    QCOMPARE(text->SelBold(), std::optional<bool>(false));
}

void TestToolbars::pastePrefersPlainText()
{
    frmDocument *window = richWindow(QString());
    auto *data = new QMimeData;
    data->setText("schlicht");
    data->setData(ClipboardFormats::rtf(), "{\\rtf1\\ansi \\b fett\\b0}");
    QGuiApplication::clipboard()->setMimeData(data);
    click(program->main().tbRTF, "Paste");
    QCOMPARE(window->txtText->Text(), QStringLiteral("schlicht"));
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(8);
    QCOMPARE(window->txtText->SelBold(), std::optional<bool>(false));
}

void TestToolbars::plainTextToolbarUsesPlainText()
{
    program->main().LoadNewText();
    RichTextBox *text = program->active()->txtText;
    text->setText("Hallo");
    text->setSelStart(0);
    text->setSelLength(5);
    click(program->main().tbText, "Copy");
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), QStringLiteral("Hallo"));
    QVERIFY(!data->hasFormat(ClipboardFormats::rtf()));

    auto *rtfOnly = new QMimeData;
    rtfOnly->setData(ClipboardFormats::rtf(), "{\\rtf1\\ansi fett}");
    QGuiApplication::clipboard()->setMimeData(rtfOnly);
    text->setSelStart(5);
    click(program->main().tbText, "Paste");
    QCOMPARE(text->Text(), QStringLiteral("Hallo"));
}

void TestToolbars::clipboardTextHasPlatformLineEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::newRow("toolbar Copy, paragraph end") << "Copy"
                                                 << "eins\rdrei";
    QTest::newRow("toolbar Cut, paragraph end") << "Cut"
                                                << "eins\rdrei";
    QTest::newRow("toolbar Copy, soft line break") << "Copy"
                                                   << "eins\vdrei";
    QTest::newRow("Ctrl+C, paragraph end") << "Ctrl+C"
                                           << "eins\rdrei";
    QTest::newRow("Ctrl+C, soft line break") << "Ctrl+C"
                                             << "eins\vdrei";
}

void TestToolbars::clipboardTextHasPlatformLineEnds()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    program->main().LoadNewText();
    RichTextBox *box = program->active()->txtText;
    box->setText(text);
    box->setSelStart(0);
    box->setSelLength(static_cast<int>(text.size()));
    if (how == QLatin1String("Ctrl+C"))
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    else
        click(program->main().tbText, qPrintable(how));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("eins\ndrei"));
}

void TestToolbars::clipboardWatchEnablesPaste()
{
    frmMain &main = program->main();
    richWindow("Hallo");
    auto *rtfOnly = new QMimeData;
    rtfOnly->setData(ClipboardFormats::rtf(), "{\\rtf1\\ansi fett}");
    QGuiApplication::clipboard()->setMimeData(rtfOnly);
    main.timeClipboard_Timer();
    QVERIFY(main.tbRTF->Buttons("Paste")->isEnabled());
    QVERIFY(!main.tbText->Buttons("Paste")->isEnabled());
    QGuiApplication::clipboard()->clear();
    main.timeClipboard_Timer();
    QVERIFY(!main.tbRTF->Buttons("Paste")->isEnabled());
    QVERIFY(!main.tbRTF->Buttons("Undo")->isEnabled());
    QTest::keyClicks(main.ActiveForm()->txtText, "x");
    main.timeClipboard_Timer();
    QVERIFY(main.tbRTF->Buttons("Undo")->isEnabled());
    // The watch runs by itself: text another program puts on the clipboard shows on the
    // buttons within a moment, with nothing else happening.
    QGuiApplication::clipboard()->setText(QStringLiteral("neu"));
    QVERIFY(!main.tbText->Buttons("Paste")->isEnabled());
    QTRY_VERIFY(main.tbText->Buttons("Paste")->isEnabled());
}

void TestToolbars::sizeBoxEntries_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("size");
    QTest::newRow("2160 accepted") << "2160" << 2160.0;
    QTest::newRow("2161 refused") << "2161" << 12.0;
    QTest::newRow("empty refused") << "" << 12.0;
    QTest::newRow("0 refused") << "0" << 12.0;
    QTest::newRow("list value") << "36" << 36.0;
}

void TestToolbars::sizeBoxEntries()
{
    QFETCH(QString, typed);
    QFETCH(double, size);
    frmDocument *window = richWindow("Text");
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(4);
    window->txtText->setSelFontSize(12);
    QComboBox *box = program->main().ComboGroesse;
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), typed);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(window->txtText->SelFontSize(), std::optional<double>(size));
    QCOMPARE(box->currentText(), SelectionFeedback::sizeText(size));
}

void TestToolbars::sizeBoxRefusesCharacters()
{
    richWindow("Text");
    QComboBox *box = program->main().ComboGroesse;
    box->lineEdit()->setText("1");
    const int beeps = beepCount();
    QTest::keyClicks(box->lineEdit(), "a,-");
    QCOMPARE(box->lineEdit()->text(), QStringLiteral("1"));
    QCOMPARE(beepCount(), beeps + 3);
}

void TestToolbars::sizeBoxShowsSelection_data()
{
    QTest::addColumn<double>("second");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("index");
    QTest::newRow("mixed") << 14.0 << "" << -1;
    QTest::newRow("twelve") << 12.0 << "12" << 4;
    QTest::newRow("thirteen") << 13.0 << "" << -1;
    QTest::newRow("ten and a half") << 10.5 << "" << -1;
}

void TestToolbars::sizeBoxShowsSelection()
{
    QFETCH(double, second);
    QFETCH(QString, shown);
    QFETCH(int, index);
    frmDocument *window = richWindow("ab");
    RichTextBox *text = window->txtText;
    text->setSelStart(0);
    text->setSelLength(1);
    text->setSelFontSize(second == 14.0 ? 12.0 : second);
    text->setSelStart(1);
    text->setSelLength(1);
    text->setSelFontSize(second);
    text->setSelStart(0);
    text->setSelLength(2);
    QComboBox *box = program->main().ComboGroesse;
    QCOMPARE(box->currentIndex(), index);
    const QString expected = index >= 0 || second == 14.0 ? shown : QString::number(second);
    QCOMPARE(box->currentText(), expected);
    QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
    QCOMPARE(box->currentText(), expected);
}

// The name the font box shows: its entry, else the name it stands for without one.
static QString shownFontName(const QComboBox *box)
{
    return box->currentIndex() >= 0 ? box->currentText() : box->placeholderText();
}

void TestToolbars::fontNameBoxFollowsSelection_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");
    QTest::newRow("entry in other case") << "courier new" << 1 << 1 << "Courier New";
    QTest::newRow("mixed") << "courier new" << 2 << -1 << "";
    QTest::newRow("not installed") << "Gibt Es Nicht" << 1 << -1 << "Gibt Es Nicht";
    QTest::newRow("new document") << QString() << 1 << -1 << "Times New Roman";
}

void TestToolbars::fontNameBoxFollowsSelection()
{
    QFETCH(QString, first);
    QFETCH(int, length);
    QFETCH(int, index);
    QFETCH(QString, shown);
    frmMain &main = program->main();
    QComboBox *box = main.comboSchrift;
    box->clear();
    box->addItems({"Arial", "Courier New", "Liberation Serif"});
    frmDocument *window = richWindow("ab");
    RichTextBox *text = window->txtText;
    if (!first.isNull()) {
        text->setSelStart(0);
        text->setSelLength(1);
        text->setSelFontName(first);
    }
    text->setSelStart(0);
    text->setSelLength(length);
    QCOMPARE(box->currentIndex(), index);
    QCOMPARE(shownFontName(box), shown);
    // A name without an entry looks like any other name.
    QCOMPARE(box->palette().color(QPalette::PlaceholderText),
             box->palette().color(QPalette::ButtonText));
}

void TestToolbars::fontNameBoxSetsFont()
{
    frmMain &main = program->main();
    main.comboSchrift->clear();
    main.comboSchrift->addItems({"Arial", "Courier New"});
    frmDocument *window = richWindow("Text");
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(4);
    main.comboSchrift->setCurrentIndex(0);
    emit main.comboSchrift->activated(0);
    QCOMPARE(window->txtText->SelFontName(), std::optional<QString>("Arial"));
}

void TestToolbars::fontBoxesListPlainFamilies()
{
    const QStringList entries = [this] {
        QStringList list;
        for (int i = 0; i < program->main().comboSchrift->count(); ++i)
            list << program->main().comboSchrift->itemText(i);
        return list;
    }();
    QString severalFoundries;
    for (const QString &family : QFontDatabase::families()) {
        // Qt names a family that several foundries make "Family [Foundry]".
        const qsizetype bracket = family.indexOf(" [");
        const QString plain = bracket > 0 && family.endsWith(']') ? family.left(bracket) : family;
        QVERIFY2(entries.count(plain) == 1, qPrintable(plain));
        if (plain != family)
            severalFoundries = plain;
    }
    for (const QString &entry : entries)
        QVERIFY2(!entry.endsWith(']'), qPrintable(entry));
    if (severalFoundries.isEmpty())
        QSKIP("no font family here is made by several foundries");

    // A text in that family opens with it chosen, and saves under the plain name.
    const QString path = program->writeFile(
        "schrift.rtf",
        "{\\rtf1\\ansi{\\fonttbl{\\f0 " + severalFoundries.toLatin1() + ";}}\\f0 Text\\par}");
    program->env.modals.answerFile(path);
    program->main().OpenDoc();
    QComboBox *box = program->main().comboSchrift;
    QCOMPARE(box->currentText(), severalFoundries);
    RichTextBox *text = program->active()->txtText;
    text->setSelStart(0);
    text->setSelLength(4);
    text->setSelFontName(severalFoundries + " [Gießerei]");
    QCOMPARE(text->SelFontName(), std::optional<QString>(severalFoundries));
    QVERIFY(!text->SelRTF().contains("Gie"));
}

void TestToolbars::openedFileShowsItsSelection_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Datei > Öffnen") << "menu";
    QTest::newRow("start dialog") << "start dialog";
    QTest::newRow("recent file") << "recent file";
}

void TestToolbars::openedFileShowsItsSelection()
{
    QFETCH(QString, way);
    const QString path = program->writeFile(
        "format.rtf",
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Gibt Es Nicht;}}\\pard\\qc\\li567\\tx1134\\f0\\fs40\\b "
        "Fett\\par}");
    program->stop();
    SaveSetting("MRU0", path);
    SaveSetting("Tip", "False");
    SaveSetting("Startup", way == "start dialog" ? "True" : "False");
    if (way == "start dialog") {
        program->env.modals.answerForm(
            [](QWidget *form) { qobject_cast<frmStartup *>(form)->cmdDateiOeffnen->click(); });
        program->env.modals.answerFile(path);
    }
    program->start(RunningProgram::StartDialogs::AsStored);
    frmMain &main = program->main();
    if (way == "menu") {
        program->env.modals.answerFile(path);
        main.mnuFileOpen->trigger();
    } else if (way == "recent file") {
        main.mnuFileMRU[0]->trigger();
    }
    auto *window = qobject_cast<frmDocument *>(program->active());
    QVERIFY(window);
    QCOMPARE(window->Caption(), QStringLiteral("format.rtf"));
    const QString opened = feedback();
    QVERIFY2(opened.startsWith("Bold=1/0 Center=1 font=Gibt Es Nicht size=20"), qPrintable(opened));
    // Moving the caret away and back shows the selection anew: nothing may change.
    window->txtText->setSelStart(1);
    window->txtText->setSelStart(0);
    QCOMPARE(feedback(), opened);
}

QString TestToolbars::feedback() const
{
    frmMain &main = program->main();
    auto *window = qobject_cast<frmDocument *>(program->active());
    const ToolButton *bold = main.tbRTF->Buttons("Bold");
    QStringList tabs;
    for (int i = 1; i <= window->Tabanzahl; ++i)
        tabs << QString::number(window->imgTab(i)->x());
    return QStringLiteral("Bold=%1/%2 Center=%3 font=%4 size=%5 panel=%6 markers=%7,%8,%9 tabs=%10")
        .arg(bold->Value())
        .arg(bold->MixedState())
        .arg(main.tbRTF->Buttons("Center")->Value())
        .arg(shownFontName(main.comboSchrift), main.ComboGroesse->currentText(), panelText())
        .arg(window->imgLO->x())
        .arg(window->imgLU->x())
        .arg(window->imgRU->x())
        .arg(tabs.join(u','));
}

void TestToolbars::sizeBoxPassesTab()
{
    richWindow("Text");
    QComboBox *box = program->main().ComboGroesse;
    box->setFocus();
    box->lineEdit()->setText("1");
    const int beeps = beepCount();
    QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
    QCOMPARE(beepCount(), beeps);
    QCOMPARE(box->lineEdit()->text(), QStringLiteral("1"));
    QVERIFY(!box->hasFocus());
}

void TestToolbars::sizeBoxTyped_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("key"); // after the characters, X name
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("focusBack");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "letters beep and drop") << "1abc2"
                                                       << ""
                                                       << "12" << 12.0 << 3 << false;
        Keyboard::newRow(way, "Enter applies") << "14"
                                               << "Return"
                                               << "14" << 14.0 << 0 << true;
        Keyboard::newRow(way, "comma and minus dropped") << "1,-5"
                                                         << "Return"
                                                         << "15" << 15.0 << 2 << true;
        Keyboard::newRow(way, "too large restored") << "2161"
                                                    << "Return"
                                                    << "12" << 12.0 << 0 << true;
        Keyboard::newRow(way, "Escape restores") << "3"
                                                 << "Escape"
                                                 << "12" << 12.0 << 0 << true;
    }
}

// Types into the size box and checks what the box and the text show.
void TestToolbars::sizeBoxTyped()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(QString, typed);
    QFETCH(QString, key);
    QFETCH(QString, shown);
    QFETCH(double, size);
    QFETCH(int, beeps);
    QFETCH(bool, focusBack);
    frmDocument *window = richWindow("Text");
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(4);
    window->txtText->setSelFontSize(12);
    QComboBox *box = program->main().ComboGroesse;
    // Wide enough for the whole toolbar, the size box not in its overflow menu.
    program->main().resize(1200, 700);
    QVERIFY(Keyboard::focus(box));
    box->lineEdit()->selectAll();
    const int before = beepCount();
    QVERIFY(Keyboard::type(way, typed, key.isEmpty() ? QStringList() : QStringList {key}));
    QCOMPARE(box->currentText(), shown);
    QCOMPARE(window->txtText->SelFontSize(), std::optional<double>(size));
    QCOMPARE(beepCount() - before, beeps);
    QCOMPARE(window->txtText->hasFocus(), focusBack);
}

void TestToolbars::openedListEnterChoosesOnlyTheHighlightedEntry_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("font"); // of the selection's first letter; empty: unchanged
    QTest::addColumn<QStringList>("keys"); // once the list is open
    QTest::addColumn<QString>("result"); // the selection's font or size; empty: mixed
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "font list, no entry, Enter")
            << "comboSchrift" << QString() << QStringList {"Return"} << "Times New Roman";
        Keyboard::newRow(way, "font list, own entry, Enter")
            << "comboSchrift"
            << "Arial" << QStringList {"Return"} << "Arial";
        Keyboard::newRow(way, "font list, Escape") << "comboSchrift"
                                                   << "Courier New" << QStringList {"Escape"} << "";
        Keyboard::newRow(way, "font list, Down and Enter")
            << "comboSchrift"
            << "Courier New" << QStringList {"Down", "Return"} << "Liberation Serif";
        Keyboard::newRow(way, "size list, mixed sizes, Enter")
            << "ComboGroesse" << QString() << QStringList {"Return"} << "";
    }
}

// Opened with F4, a list whose box shows no entry has none highlighted: Enter chooses nothing
// then, as closing the list otherwise does; a highlighted entry is chosen.
void TestToolbars::openedListEnterChoosesOnlyTheHighlightedEntry()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(QString, box);
    QFETCH(QString, font);
    QFETCH(QStringList, keys);
    QFETCH(QString, result);
    frmMain &main = program->main();
    main.comboSchrift->clear();
    main.comboSchrift->addItems({"Arial", "Courier New", "Liberation Serif"});
    main.resize(1200, 700);
    frmDocument *window = richWindow("ab");
    RichTextBox *text = window->txtText;
    text->setSelStart(0);
    text->setSelLength(1);
    if (!font.isEmpty())
        text->setSelFontName(font);
    text->setSelFontSize(14);
    text->setSelStart(0);
    text->setSelLength(font.isEmpty() ? 2 : 1);
    QComboBox *list = box == QLatin1String("comboSchrift") ? main.comboSchrift : main.ComboGroesse;
    QVERIFY(Keyboard::focus(list));
    QVERIFY(Keyboard::type(way, QString(), {"F4"}));
    QTRY_VERIFY(list->view()->isVisible());
    QVERIFY(Keyboard::type(way, QString(), keys));
    QTRY_VERIFY(!list->view()->isVisible());
    if (list == main.ComboGroesse) {
        QCOMPARE(text->SelFontSize(), std::optional<double>());
        QCOMPARE(list->currentText(), QString());
    } else if (result.isEmpty()) {
        QCOMPARE(text->SelFontName(), std::optional<QString>(font));
    } else {
        QCOMPARE(text->SelFontName(), std::optional<QString>(result));
    }
}

void TestToolbars::positionPanel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("panel");
    QTest::newRow("start") << "" << 0 << 0 << "1-1-0";
    QTest::newRow("after three") << "abc" << 3 << 0 << "1-1-3";
    QTest::newRow("second line") << "abc\rdef" << 4 << 0 << "1-2-0";
    QTest::newRow("inside second line") << "abc\rdef" << 6 << 0 << "1-2-2";
    QTest::newRow("selection") << "Hallo Welt" << 0 << 5 << "A5";
}

void TestToolbars::positionPanel()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, panel);
    frmDocument *window = richWindow(text);
    window->txtText->setSelStart(start);
    window->txtText->setSelLength(length);
    QCOMPARE(panelText(), panel);
}

void TestToolbars::positionPanelBeyondSixteenBits()
{
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("Zeile %1 mit etwas Text\r").arg(i, 4, 10, QLatin1Char('0'));
    frmDocument *window = richWindow(text);
    const int lineLength = 26;
    const int caret = 41 * 1000 + 7;
    const int line = caret / lineLength;
    window->txtText->setSelStart(caret);
    const int column = caret - line * lineLength;
    QCOMPARE(window->txtText->GetLineFromChar(caret), line);
    QCOMPARE(panelText(), QStringLiteral("1-%1-%2").arg(line + 1).arg(column));
}

void TestToolbars::copyAndCutFollowSelection()
{
    program->main().LoadNewText();
    RichTextBox *text = program->active()->txtText;
    text->setText("Hallo");
    Toolbar *bar = program->main().tbText;
    text->setSelStart(0);
    text->setSelLength(3);
    QVERIFY(bar->Buttons("Copy")->isEnabled());
    QVERIFY(bar->Buttons("Cut")->isEnabled());
    QCOMPARE(panelText(), QStringLiteral("A3"));
    text->setSelLength(0);
    QVERIFY(!bar->Buttons("Copy")->isEnabled());
    QCOMPARE(panelText(), QStringLiteral("1-1-0"));
}

void TestToolbars::commandsWithoutDocumentDoNothing()
{
    frmMain &main = program->main();
    for (const char *key : {"Bold", "Center", "Paste", "Cut", "Save"})
        main.tbRTF_ButtonClick(main.tbRTF->Buttons(key));
    main.ComboGroesse->lineEdit()->setText("14");
    main.ComboGroesse_KeyDown(13);
    main.timeClipboard_Timer();
    QCOMPARE(program->documentCount(), 0);
}

QTEST_MAIN(TestToolbars)
#include "tst_toolbars.moc"
