// The dialogs used with the keyboard alone: the focus they open with, Tab through every
// control, the page keys of their tab strips and the colour page's sliders; Alt with a letter
// in their fields and in the edit control.
#include "data/Database.h"
#include "document/DocumentWindow.h"
#include "document/frmDocument.h"
#include "format/OptionsControls.h"
#include "format/frmOptions.h"
#include "format/frmTemplate.h"
#include "frame/frmAbout.h"
#include "frame/frmMain.h"
#include "frame/frmTip.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmBaustein.h"
#include "tools/frmDate.h"
#include "tools/frmSearch.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <memory>

namespace {

using Act = std::function<void(QDialog &)>;

// What the keyboard should reach: every visible, enabled control that takes input, standing
// for itself (a spinner's arrows stand for their box through the focus proxy).
bool isInput(const QWidget *widget, const QWidget *dialog)
{
    if (!widget->isVisible() || !widget->isEnabled() || widget->focusProxy())
        return false;
    // A group of option buttons is one stop, at its chosen button; arrows move within it.
    if (const auto *option = qobject_cast<const QRadioButton *>(widget);
        option && option->autoExclusive() && !option->isChecked()) {
        for (const QRadioButton *other :
             widget->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly)) {
            if (other->autoExclusive() && other->isChecked())
                return false;
        }
    }
    for (const QWidget *up = widget->parentWidget(); up && up != dialog; up = up->parentWidget()) {
        // The parts of a scroll area, a tab bar or a combo box are no controls of their own.
        if (qobject_cast<const QAbstractScrollArea *>(up) || qobject_cast<const QTabBar *>(up)
            || qobject_cast<const QComboBox *>(up))
            return false;
    }
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractButton *>(widget)
        || qobject_cast<const QAbstractItemView *>(widget)
        || qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSlider *>(widget)
        || qobject_cast<const QTabBar *>(widget) || qobject_cast<const QTextEdit *>(widget);
}

QString nameOf(const QWidget *widget)
{
    QString name = widget->objectName();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget);
        button && name.isEmpty())
        name = button->text();
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(widget->metaObject()->className()),
                                       name.isEmpty() ? widget->accessibleName() : name);
}

} // namespace

class TestDialogKeys : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tabReachesEveryControlOnce_data();
    void tabReachesEveryControlOnce();
    void dialogsOpenOnTheirFirstInput_data();
    void dialogsOpenOnTheirFirstInput();
    void pageKeysSwitchPages_data();
    void pageKeysSwitchPages();
    void colourSlidersMoveByKeys();
    void colourSliderShowsFocusMark_data();
    void colourSliderShowsFocusMark();
    void timeListHelpOnKeyboard_data();
    void timeListHelpOnKeyboard();
    void altWithALetterTypesNothing_data();
    void altWithALetterTypesNothing();
    void altGrTypesItsCharacter_data();
    void altGrTypesItsCharacter();
    void altWithALetterChoosesInAnOpenMenu_data();
    void altWithALetterChoosesInAnOpenMenu();

private:
    void open(const QString &dialog, const Act &act);

    std::unique_ptr<RunningProgram> program;
};

void TestDialogKeys::init()
{
    program = std::make_unique<RunningProgram>();
    program->start();
    program->document(QStringLiteral("Ein Satz zum Suchen"), 0);
}

void TestDialogKeys::cleanup()
{
    program->stop();
    QCOMPARE(program->env.modals.pending(), 0);
    program.reset();
    Database::closeAll();
}

void TestDialogKeys::open(const QString &dialog, const Act &act)
{
    bool acted = false;
    program->env.modals.answerForm([&](QWidget *form) {
        auto *shown = qobject_cast<QDialog *>(form);
        QVERIFY(shown);
        acted = true;
        shown->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(shown));
        act(*shown);
        if (shown->isVisible())
            shown->reject();
    });
    const QMap<QString, std::function<void()>> openers {
        {"Schrift", [] { frmOptions::open(1); }},
        {"Farbe", [] { frmOptions::open(2); }},
        {"Absatz", [] { frmOptions::open(3); }},
        {"Tabulatoren", [] { frmOptions::open(4); }},
        {"Seite", [] { frmOptions::open(5); }},
        {"Suchen", [] { frmSearch::open(1); }},
        {"Ersetzen", [] { frmSearch::open(2); }},
        {"Datum", [] { frmDate::open(1); }},
        {"Zeit", [] { frmDate::open(2); }},
        {"Formatvorlagen", [] { frmTemplate::ShowModal(); }},
        {"Textbausteine", [] { frmBaustein::ShowModal(); }},
        {"Info", [] { showAbout(); }},
        {"Tipp", [] { showTipOfTheDay(QStringLiteral("Keinstart")); }},
    };
    QVERIFY2(openers.contains(dialog), qPrintable(dialog));
    openers[dialog]();
    QVERIFY(acted);
}

void TestDialogKeys::tabReachesEveryControlOnce_data()
{
    QTest::addColumn<QString>("dialog");
    for (const char *dialog :
         {"Schrift", "Farbe", "Absatz", "Tabulatoren", "Seite", "Suchen", "Ersetzen", "Datum",
          "Zeit", "Formatvorlagen", "Textbausteine", "Info", "Tipp"})
        QTest::newRow(dialog) << QString::fromLatin1(dialog);
}

void TestDialogKeys::tabReachesEveryControlOnce()
{
    QFETCH(QString, dialog);
    open(dialog, [](QDialog &form) {
        QList<QWidget *> inputs;
        for (QWidget *widget : form.findChildren<QWidget *>()) {
            if (isInput(widget, &form))
                inputs << widget;
        }
        QVERIFY(!inputs.isEmpty());
        QWidget *start = QApplication::focusWidget();
        QVERIFY(start);
        QList<QWidget *> reached {start};
        for (int step = 0; step < 3 * inputs.size() + 8; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            // Tab may first move within a control, as from cell to cell of a grid.
            QWidget *now = QApplication::focusWidget();
            if (now == reached.last())
                continue;
            if (now == start)
                break;
            reached << now;
        }
        QStringList missed;
        QStringList twice;
        for (QWidget *input : std::as_const(inputs)) {
            if (!reached.contains(input))
                missed << nameOf(input);
        }
        for (QWidget *widget : std::as_const(reached)) {
            if (reached.count(widget) > 1)
                twice << nameOf(widget);
        }
        QVERIFY2(missed.isEmpty(), qPrintable(QStringLiteral("missed: ") + missed.join(", ")));
        QVERIFY2(twice.isEmpty(), qPrintable(QStringLiteral("twice: ") + twice.join(", ")));
    });
}

void TestDialogKeys::dialogsOpenOnTheirFirstInput_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("result"); // the focused control's text or current row
    QTest::newRow("search word typed at once") << "Suchen"
                                               << "QLineEdit" << QStringList() << "Satz";
    QTest::newRow("date list takes the arrows") << "Datum"
                                                << "lstDate" << QStringList {"Down"} << "1";
    QTest::newRow("time list takes the arrows") << "Zeit"
                                                << "lstTime" << QStringList {"Down", "Down"} << "2";
}

void TestDialogKeys::dialogsOpenOnTheirFirstInput()
{
    QFETCH(QString, dialog);
    QFETCH(QString, focused);
    QFETCH(QStringList, keys);
    QFETCH(QString, result);
    open(dialog, [&](QDialog &form) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY2(focus->objectName() == focused
                     || QString::fromLatin1(focus->metaObject()->className()) == focused,
                 qPrintable(nameOf(focus)));
        if (auto *field = qobject_cast<QLineEdit *>(focus)) {
            field->clear();
            QTest::keyClicks(focus, result);
            QCOMPARE(qobject_cast<frmSearch *>(&form)->txtSuchen->text(), result);
            return;
        }
        QVERIFY(Keyboard::type(Keyboard::Way::TestKeys, QString(), keys));
        QCOMPARE(QString::number(qobject_cast<QListWidget *>(focus)->currentRow()), result);
    });
}

void TestDialogKeys::pageKeysSwitchPages_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("page"); // from 1
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "options, Ctrl+Tab") << "Schrift" << QStringList {"ctrl+Tab"} << 2;
        Keyboard::newRow(way, "options, Ctrl+PgDn twice")
            << "Absatz" << QStringList {"ctrl+Next", "ctrl+Next"} << 5;
        Keyboard::newRow(way, "options, Ctrl+Shift+Tab goes round")
            << "Schrift" << QStringList {"ctrl+shift+Tab"} << 5;
        Keyboard::newRow(way, "options, Ctrl+PgUp") << "Seite" << QStringList {"ctrl+Prior"} << 4;
        Keyboard::newRow(way, "date, Ctrl+Tab") << "Datum" << QStringList {"ctrl+Tab"} << 2;
        Keyboard::newRow(way, "date, Ctrl+PgUp goes round")
            << "Datum" << QStringList {"ctrl+Prior"} << 2;
        Keyboard::newRow(way, "search, Ctrl+PgDn") << "Suchen" << QStringList {"ctrl+Next"} << 2;
        Keyboard::newRow(way, "search, Ctrl+Shift+Tab")
            << "Ersetzen" << QStringList {"ctrl+shift+Tab"} << 1;
    }
}

void TestDialogKeys::pageKeysSwitchPages()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(QString, dialog);
    QFETCH(QStringList, keys);
    QFETCH(int, page);
    open(dialog, [&](QDialog &form) {
        QVERIFY(Keyboard::type(way, QString(), keys));
        QTabBar *bar = form.findChild<QTabBar *>();
        QVERIFY(bar);
        QCOMPARE(bar->currentIndex() + 1, page);
        if (auto *options = qobject_cast<frmOptions *>(&form)) {
            for (int k = 1; k <= 5; ++k)
                QCOMPARE(options->Rahmen[k]->isVisible(), k == page);
        }
    });
}

void TestDialogKeys::colourSlidersMoveByKeys()
{
    open("Farbe", [](QDialog &form) {
        auto &options = static_cast<frmOptions &>(form);
        options.HScrollR->setFocus();
        for (QScrollBar *slider : {options.HScrollR, options.HScrollG, options.HScrollB}) {
            QCOMPARE(QApplication::focusWidget(), slider);
            QVERIFY(Keyboard::type(Keyboard::Way::TestKeys, QString(), {"Right", "Right", "Tab"}));
        }
        QCOMPARE(options.lblFarbbeispiel->BackColor(), 2 + 2 * 256 + 2 * 65536);
    });
}

void TestDialogKeys::colourSliderShowsFocusMark_data()
{
    Keyboard::addWayColumn();
    for (const Keyboard::Way way : Keyboard::ways)
        Keyboard::newRow(way, "Tab to the green slider");
}

// Reached by Tab, a slider looks otherwise than without the focus, and the same again once
// the focus has gone on.
void TestDialogKeys::colourSliderShowsFocusMark()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    open("Farbe", [way](QDialog &form) {
        auto &options = static_cast<frmOptions &>(form);
        QScrollBar *slider = options.HScrollG;
        options.HScrollR->setFocus();
        QTRY_VERIFY(options.HScrollR->hasFocus());
        const QImage unfocused = slider->grab().toImage();
        QVERIFY(Keyboard::type(way, QString(), {"Tab"}));
        QTRY_VERIFY(slider->hasFocus());
        QVERIFY(slider->grab().toImage() != unfocused);
        QVERIFY(Keyboard::type(way, QString(), {"Tab"}));
        QTRY_VERIFY(!slider->hasFocus());
        QCOMPARE(slider->grab().toImage(), unfocused);
    });
}

void TestDialogKeys::timeListHelpOnKeyboard_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<int>("context");
    QTest::newRow("date list") << "Datum" << 31;
    QTest::newRow("time list, its own topic") << "Zeit" << 32;
}

void TestDialogKeys::timeListHelpOnKeyboard()
{
    QFETCH(QString, dialog);
    QFETCH(int, context);
    if (const QString why = Keyboard::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    open(dialog, [&](QDialog &) {
        QVERIFY(Keyboard::type(Keyboard::Way::XKeyboard, QString(), {"F1"}));
        QVERIFY(Help::viewer());
        QCOMPARE(Help::viewer()->currentContext(), context);
    });
    Help::closeViewer();
}

void TestDialogKeys::altWithALetterTypesNothing_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QString>("where"); // a document window or a dialog's field
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "rich text, Alt+Q, Alt+J")
            << "frmDocument" << QStringList {"End", "alt+q", "alt+j", "x"}
            << "Ein Satz zum Suchenx";
        Keyboard::newRow(way, "plain text, selected line, Alt+O")
            << "frmText" << QStringList {"End", "shift+Home", "alt+o"} << "Ein Satz zum Suchen";
        Keyboard::newRow(way, "plain text, Alt+digit")
            << "frmText" << QStringList {"alt+1"} << "Ein Satz zum Suchen";
        Keyboard::newRow(way, "search field, Alt+L")
            << "Ersetzen" << QStringList {"a", "alt+l", "b"} << "ab";
        Keyboard::newRow(way, "size box, Alt+digit")
            << "ComboGroesse" << QStringList {"End", "alt+4"} << "12";
    }
}

// On the platform Alt with a key chooses a menu or a control by its underlined letter; where it
// chooses nothing, nothing is typed.
void TestDialogKeys::altWithALetterTypesNothing()
{
    QFETCH(Keyboard::Way, way);
    QFETCH(QString, where);
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    if (where == QLatin1String("Ersetzen")) {
        open(where, [&](QDialog &form) {
            auto &search = static_cast<frmSearch &>(form);
            QVERIFY(Keyboard::focus(search.txtErsetzen));
            QVERIFY(Keyboard::type(way, QString(), keys));
            QTRY_COMPARE(search.txtErsetzen->text(), text);
        });
        return;
    }
    if (where == QLatin1String("ComboGroesse")) {
        QComboBox *box = program->main().ComboGroesse;
        program->main().resize(1200, 700);
        QVERIFY(Keyboard::focus(box));
        QVERIFY(Keyboard::type(way, QString(), keys));
        QTRY_COMPARE(box->currentText(), text);
        return;
    }
    DocumentWindow *window = where == QLatin1String("frmText")
        ? program->document(QStringLiteral("Ein Satz zum Suchen"), 0, 0, false)
        : program->active();
    QVERIFY(Keyboard::focus(window->txtText));
    QVERIFY(Keyboard::type(way, QString(), keys));
    QTRY_COMPARE(window->txtText->Text(), text);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestDialogKeys::altGrTypesItsCharacter_data()
{
    Keyboard::addWayColumn();
    for (const Keyboard::Way way : Keyboard::ways)
        Keyboard::newRow(way, "AltGr+Q");
}

// AltGr reaches a program as Ctrl+Alt on some systems and as a level of its own on X; either way
// it types the character of its third level ("@" on a German keyboard).
void TestDialogKeys::altGrTypesItsCharacter()
{
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    RichTextBox *text = program->active()->txtText;
    QVERIFY(Keyboard::focus(text));
    if (way == Keyboard::Way::TestKeys) {
        QTest::sendKeyEvent(QTest::Click, text, Qt::Key_At, QStringLiteral("@"),
                            Qt::ControlModifier | Qt::AltModifier);
        QTest::sendKeyEvent(QTest::Click, text, Qt::Key_At, QStringLiteral("@"), Qt::NoModifier);
    } else {
        // The X server of the run starts with a US layout, which has no third level.
        QCOMPARE(QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("de")}), 0);
        const bool typed = Keyboard::pressKeys({"ISO_Level3_Shift+q", "ISO_Level3_Shift+q"});
        QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("us")});
        QVERIFY(typed);
    }
    QTRY_COMPARE(text->Text(), QStringLiteral("@@Ein Satz zum Suchen"));
}

void TestDialogKeys::altWithALetterChoosesInAnOpenMenu_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QString>("menu"); // the key that opens it from the menu bar
    QTest::addColumn<QStringList>("keys"); // typed in the open menu
    QTest::addColumn<QString>("item");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "Bearbeiten, Alt+K")
            << "alt+b" << QStringList {"alt+k"} << "&Kopieren";
        Keyboard::newRow(way, "Bearbeiten, Alt alone, then Alt+K")
            << "alt+b" << QStringList {"Alt_L", "alt+k"} << "&Kopieren";
        Keyboard::newRow(way, "Einfügen, Alt+D")
            << "alt+e" << QStringList {"alt+d"} << "Aktuelles &Datum...";
        Keyboard::newRow(way, "Einfügen, Alt+Z")
            << "alt+e" << QStringList {"alt+z"} << "Aktuelle Uhr&zeit...";
    }
}

// With Alt held, an open menu chooses an item by its underlined letter, as a keyboard types it:
// Alt down, the letter, Alt up. Alt alone leaves the menu open.
void TestDialogKeys::altWithALetterChoosesInAnOpenMenu()
{
    QFETCH(Keyboard::Way, way);
    QFETCH(QString, menu);
    QFETCH(QStringList, keys);
    QFETCH(QString, item);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    DocumentWindow *window = program->active();
    QVERIFY(Keyboard::focus(window->txtText));
    window->txtText->setSelStart(0);
    window->txtText->setSelLength(3);
    QAction *chosen = nullptr;
    for (QMenu *bar : window->menus()) {
        for (QAction *action : bar->actions()) {
            if (action->text() == item)
                chosen = action;
        }
    }
    QVERIFY2(chosen, qPrintable(item));
    bool triggered = false;
    connect(chosen, &QAction::triggered, this, [&triggered] { triggered = true; });
    // Date and time open their dialog.
    if (item != QLatin1String("&Kopieren"))
        program->env.modals.answerForm([](QWidget *form) { form->close(); });
    QVERIFY(Keyboard::type(way, QString(), {menu}));
    QTRY_VERIFY(QApplication::activePopupWidget());
    QVERIFY(Keyboard::type(way, QString(), keys));
    QTRY_VERIFY(triggered);
    QTRY_COMPARE(QApplication::activePopupWidget(), nullptr);
}

QTEST_MAIN(TestDialogKeys)
#include "tst_dialogkeys.moc"
