// The text-block manager as the user works it: the database made when missing, rows added,
// changed and deleted with the keyboard, the messages for refused rows, the insertion of a
// block into the active document, and closing with a row still being edited.
#include "common/Databases.h"
#include "data/DBGrid.h"
#include "data/Database.h"
#include "document/DocumentWindow.h"
#include "frame/frmMain.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "tests/support/DatabaseStates.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmBaustein.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using Rows = QList<QPair<QString, QString>>;

const QString nameMessage = QStringLiteral(
    "Sie haben für den gerade bearbeiteten Textbaustein keinen Namen vergeben. Das ist nicht "
    "zulässig. Geben Sie bitte einen Namen ein!");
const QString textMessage = QStringLiteral(
    "Sie haben für den gerade bearbeiteten Textbaustein keinen Text eingegeben. Ein "
    "Textbaustein muß aber Text enthalten. Geben Sie bitte Text ein!");
const QString takenMessage = QStringLiteral(
    "Sie haben für den gerade bearbeiteten Textbaustein einen Namen vergeben, der bereits "
    "vorhanden ist. Das ist nicht zulässig. Geben Sie bitte einen anderen Namen ein!");
const QString dialogTitle = QStringLiteral("Textbaustein-Verwaltung");
const QString mappedTitle = QStringLiteral("Texbausteine verwalten");
const QString fallbackTitle = QStringLiteral("Textbausteine verwalten");

Rows storedRows()
{
    Rows rows;
    QSqlQuery query(Database::open(Databases::textbausteinPath()));
    query.exec(QStringLiteral("SELECT Name, Textbaustein FROM Textbausteine ORDER BY rowid"));
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString()});
    return rows;
}

void store(const Rows &rows)
{
    QVERIFY(Database::ensure(Databases::textbausteine()));
    QSqlQuery query(Database::open(Databases::textbausteinPath()));
    for (const auto &[name, text] : rows) {
        query.prepare(QStringLiteral("INSERT INTO Textbausteine VALUES (?, ?)"));
        query.addBindValue(name);
        query.addBindValue(text);
        QVERIFY(query.exec());
    }
}

// The widget that takes the keys: the open cell editor, else the grid.
QWidget *keyTarget(frmBaustein &form)
{
    QWidget *focus = form.focusWidget();
    return focus ? focus : form.DBGrid1;
}

// What the event loop does next: the delegate commits and closes a cell on Enter later.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void press(frmBaustein &form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(keyTarget(form), key, modifiers);
    settle();
}

void type(frmBaustein &form, const QString &text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, keyTarget(form), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, keyTarget(form), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
    }
}

QString cell(frmBaustein &form, int row, int column)
{
    return form.DBGrid1->model()->index(row, column).data().toString();
}

// Moves to a cell with the arrow keys, from the first cell.
void goTo(frmBaustein &form, int row, int column)
{
    form.DBGrid1->setFocus();
    press(form, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < row; ++i)
        press(form, Qt::Key_Down);
    for (int i = 0; i < column; ++i)
        press(form, Qt::Key_Right);
    QCOMPARE(form.DBGrid1->currentIndex().row(), row);
    QCOMPARE(form.DBGrid1->currentIndex().column(), column);
}

// Adds a row on the new-record line: name, Tab, text, Enter; the row stays current.
void addRow(frmBaustein &form, const QString &name, const QString &text)
{
    goTo(form, form.Data1->recordCount(), 0);
    if (!name.isEmpty())
        type(form, name);
    press(form, Qt::Key_Tab);
    if (!text.isEmpty())
        type(form, text);
    press(form, Qt::Key_Return);
}

void addRefusingTrigger(const QString &message)
{
    QSqlQuery query(Database::open(Databases::textbausteinPath()));
    QString literal = message;
    literal.replace(QLatin1Char('\''), QLatin1String("''"));
    QVERIFY(query.exec(QStringLiteral("CREATE TRIGGER Ablehnen BEFORE INSERT ON Textbausteine "
                                      "BEGIN SELECT RAISE(ABORT, '%1'); END")
                           .arg(literal)));
}

} // namespace

class TestTextBlocks : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingCreatesAMissingDatabase();
    void openingLeavesAnExistingDatabaseAlone();
    void gridShowsTheRows();
    void rowsAreAddedChangedAndDeletedWithKeys();
    void rowIsDeletedThroughItsRowHeader();
    void tabMovesWithinTheRowOnly();
    void refusedRowsGetTheProgramsMessages_data();
    void refusedRowsGetTheProgramsMessages();
    void engineMessagesAreMappedByTheirBeginning_data();
    void engineMessagesAreMappedByTheirBeginning();
    void insertPutsTheBlockIntoTheDocumentExactly();
    void insertWithoutABlockOrDocumentDoesNothing();
    void insertStoresTheRowBeingEditedFirst_data();
    void insertStoresTheRowBeingEditedFirst();
    void pendingRowIsSavedOnClosing_data();
    void pendingRowIsSavedOnClosing();
    void escapeUndoesTheRowAndKeepsTheDialogOpen();
    void escapeFromARealKeyboard();
    void unusableDatabaseIsReportedInGerman_data();
    void unusableDatabaseIsReportedInGerman();
    void readOnlyDatabaseRefusesEditsInGerman();
    void lockedDatabaseRefusesARowAtOnce();
    void f1OpensTheHelpTopic();
    void screenshot();

private:
    // Opens the dialog and lets `act` work it while it is shown.
    void withDialog(std::function<void(frmBaustein &)> act);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestTextBlocks::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
}

void TestTextBlocks::cleanup()
{
    if (frmBausteinForm().isLoaded())
        frmBausteinForm().unload();
    program->stop();
    Database::closeAll();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
}

void TestTextBlocks::withDialog(std::function<void(frmBaustein &)> act)
{
    bool shown = false;
    env->modals.answerForm([&](QWidget *form) {
        shown = true;
        QCOMPARE(form->objectName(), QStringLiteral("frmBaustein"));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        act(*qobject_cast<frmBaustein *>(form));
    });
    frmBaustein::ShowModal();
    QVERIFY(shown);
    QVERIFY(!frmBausteinForm().isLoaded());
}

void TestTextBlocks::openingCreatesAMissingDatabase()
{
    const QString path = Databases::textbausteinPath();
    QVERIFY(!QFileInfo::exists(path));
    withDialog([](frmBaustein &form) {
        QCOMPARE(form.windowTitle(), QStringLiteral("Textbaustein-Verwaltung"));
        QCOMPARE(form.Label1->text(), QStringLiteral("Verfügbare Textbausteine:"));
        QCOMPARE(form.cmdEinfuegen->text(), QStringLiteral("Aktuellen Textbaustein &einfügen"));
        QCOMPARE(form.cmdAbbrechen->text(), QStringLiteral("&Schließen"));
        QCOMPARE(form.DBGrid1->model()->columnCount(), 2);
        QCOMPARE(form.DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), "Name");
        QCOMPARE(form.DBGrid1->model()->headerData(1, Qt::Horizontal).toString(), "Textbaustein");
        // Only the line for a new block.
        QCOMPARE(form.DBGrid1->model()->rowCount(), 1);
        form.cmdAbbrechen->click();
    });
    QVERIFY(QFileInfo::exists(path));
    QSqlQuery query(Database::open(path));
    QVERIFY(query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")));
    QStringList objects;
    while (query.next())
        objects.append(query.value(0).toString());
    QCOMPARE(objects, QStringList {QStringLiteral("Textbausteine")});
    QVERIFY(query.exec(QStringLiteral("SELECT * FROM Textbausteine")));
    QCOMPARE(query.record().count(), 2);
    QCOMPARE(query.record().fieldName(0), QStringLiteral("Name"));
    QCOMPARE(query.record().fieldName(1), QStringLiteral("Textbaustein"));
}

void TestTextBlocks::openingLeavesAnExistingDatabaseAlone()
{
    store({{"mfg", "Mit freundlichen Grüßen"}});
    Database::closeAll();
    const QString path = Databases::textbausteinPath();
    const QByteArray before = RunningProgram::readFile(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    withDialog([](frmBaustein &form) { form.cmdAbbrechen->click(); });
    QCOMPARE(RunningProgram::readFile(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QCOMPARE(storedRows(), Rows({{"mfg", "Mit freundlichen Grüßen"}}));
}

void TestTextBlocks::gridShowsTheRows()
{
    store({{"zz", "Zuletzt"}, {"abs", "Absender"}, {"Mfg", "Mit freundlichen Grüßen"}});
    withDialog([](frmBaustein &form) {
        QCOMPARE(form.DBGrid1->model()->rowCount(), 4);
        QCOMPARE(cell(form, 0, 0), QStringLiteral("abs"));
        QCOMPARE(cell(form, 1, 0), QStringLiteral("Mfg"));
        QCOMPARE(cell(form, 1, 1), QStringLiteral("Mit freundlichen Grüßen"));
        QCOMPARE(cell(form, 2, 0), QStringLiteral("zz"));
        QCOMPARE(form.DBGrid1->model()->headerData(3, Qt::Vertical).toString(), "*");
        QCOMPARE(form.DBGrid1->currentIndex().row(), 0);
        form.cmdAbbrechen->click();
    });
}

void TestTextBlocks::rowsAreAddedChangedAndDeletedWithKeys()
{
    store({{"abs", "Absender"}, {"mfg", "Mit freundlichen Grüßen"}});
    withDialog([this](frmBaustein &form) {
        // Added: typed on the new-record line, saved when the row is left.
        addRow(form, QStringLiteral("gruß"), QStringLiteral("Herzliche Grüße"));
        QCOMPARE(form.Data1->pendingRow(), 2);
        press(form, Qt::Key_Up);
        QCOMPARE(form.Data1->pendingRow(), -1);
        QCOMPARE(storedRows().size(), 3);
        QCOMPARE(storedRows().last(),
                 qMakePair(QStringLiteral("gruß"), QStringLiteral("Herzliche Grüße")));
        QCOMPARE(form.DBGrid1->model()->rowCount(), 4);

        // Changed: the text of "abs" typed over, saved on leaving the row.
        goTo(form, 0, 1);
        type(form, QStringLiteral("Velmar GmbH"));
        press(form, Qt::Key_Down);
        QCOMPARE(form.DBGrid1->currentIndex().row(), 1);
        QCOMPARE(storedRows().first(),
                 qMakePair(QStringLiteral("abs"), QStringLiteral("Velmar GmbH")));

        // Deleted: the row selected with Shift+Space, then Delete; the first row is current.
        goTo(form, 1, 0);
        press(form, Qt::Key_Space, Qt::ShiftModifier);
        press(form, Qt::Key_Delete);
        QCOMPARE(storedRows(), Rows({{"abs", "Velmar GmbH"}, {"gruß", "Herzliche Grüße"}}));
        QCOMPARE(form.DBGrid1->model()->rowCount(), 3);
        QCOMPARE(form.DBGrid1->currentIndex().row(), 0);
        QCOMPARE(cell(form, 1, 0), QStringLiteral("gruß"));
        form.cmdAbbrechen->click();
    });
    QCOMPARE(env->modals.seen().size(), 1);
}

void TestTextBlocks::rowIsDeletedThroughItsRowHeader()
{
    store({{"a", "Eins"}, {"b", "Zwei"}, {"c", "Drei"}});
    withDialog([](frmBaustein &form) {
        QHeaderView *header = form.DBGrid1->verticalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->width() / 2,
                                 header->sectionViewportPosition(2) + header->sectionSize(2) / 2));
        QCOMPARE(form.DBGrid1->currentIndex().row(), 2);
        QTest::keyClick(form.DBGrid1, Qt::Key_Delete);
        QCOMPARE(storedRows(), Rows({{"a", "Eins"}, {"b", "Zwei"}}));
        QCOMPARE(form.DBGrid1->currentIndex().row(), 0);
        form.cmdAbbrechen->click();
    });
}

void TestTextBlocks::tabMovesWithinTheRowOnly()
{
    store({{"a", "Eins"}, {"b", "Zwei"}});
    withDialog([](frmBaustein &form) {
        goTo(form, 0, 0);
        press(form, Qt::Key_Tab);
        QCOMPARE(form.DBGrid1->currentIndex(), form.DBGrid1->model()->index(0, 1));
        // At the row's end Tab leaves the grid instead of wrapping to the next row.
        press(form, Qt::Key_Tab);
        QCOMPARE(form.DBGrid1->currentIndex(), form.DBGrid1->model()->index(0, 1));
        QCOMPARE(form.focusWidget(), form.cmdEinfuegen);
        form.DBGrid1->setFocus();
        press(form, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(form.DBGrid1->currentIndex(), form.DBGrid1->model()->index(0, 0));
        // Arrow keys move between the cells.
        press(form, Qt::Key_Down);
        press(form, Qt::Key_Right);
        QCOMPARE(form.DBGrid1->currentIndex(), form.DBGrid1->model()->index(1, 1));
        form.cmdAbbrechen->click();
    });
}

void TestTextBlocks::refusedRowsGetTheProgramsMessages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << ""
                             << "Ohne Namen" << nameMessage;
    QTest::newRow("no text") << "ohne"
                             << "" << textMessage;
    QTest::newRow("name taken") << "mfg"
                                << "Doppelt" << takenMessage;
    QTest::newRow("name taken, other case") << "MFG"
                                            << "Doppelt" << takenMessage;
    QTest::newRow("name taken, umlaut in other case") << "ÜBUNG"
                                                      << "Doppelt" << takenMessage;
}

void TestTextBlocks::refusedRowsGetTheProgramsMessages()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, message);
    store({{"mfg", "Mit freundlichen Grüßen"}, {"übung", "Übung macht den Meister"}});
    withDialog([&](frmBaustein &form) {
        addRow(form, name, text);
        env->modals.answerMessage(vbOK);
        press(form, Qt::Key_Up);
        QCOMPARE(env->modals.seen().size(), 2);
        const Modal::Request shown = env->modals.seen().last();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, mappedTitle);
        QCOMPARE(shown.style, vbOKOnly | vbCritical);
        // The user stays on the row with what was typed.
        QCOMPARE(form.DBGrid1->currentIndex().row(), 2);
        QCOMPARE(form.Data1->pendingRow(), 2);
        QCOMPARE(cell(form, 2, 0), name);
        QCOMPARE(cell(form, 2, 1), text);
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedRows().size(), 2);
}

void TestTextBlocks::engineMessagesAreMappedByTheirBeginning_data()
{
    QTest::addColumn<QString>("engineText");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::newRow("name, with article")
        << "Das Feld 'Textbausteine.Name' darf nicht leer sein." << nameMessage << mappedTitle;
    QTest::newRow("name, without article")
        << "Feld 'Textbausteine.Name' fehlt." << nameMessage << mappedTitle;
    QTest::newRow("text, with article")
        << "Das Feld 'Textbausteine.Textbaustein' darf nicht leer sein." << textMessage
        << mappedTitle;
    QTest::newRow("text, without article")
        << "Feld 'Textbausteine.Textbaustein' fehlt." << textMessage << mappedTitle;
    QTest::newRow("duplicate") << "Die von Ihnen vorgenommenen Änderungen sind doppelt."
                               << takenMessage << mappedTitle;
    const QString lowerArticle
        = QStringLiteral("das Feld 'Textbausteine.Name' darf nicht leer sein.");
    QTest::newRow("article in other case") << lowerArticle << lowerArticle << fallbackTitle;
    const QString lowerTable = QStringLiteral("Feld 'textbausteine.Name' fehlt.");
    QTest::newRow("table in other case") << lowerTable << lowerTable << fallbackTitle;
    const QString upperDuplicate = QStringLiteral("DIE VON IHNEN VORGENOMMENEN Änderungen");
    QTest::newRow("duplicate in other case") << upperDuplicate << upperDuplicate << fallbackTitle;
    const QString other = QStringLiteral("Die Datenbank ist gesperrt.");
    QTest::newRow("anything else") << other << other << fallbackTitle;
}

void TestTextBlocks::engineMessagesAreMappedByTheirBeginning()
{
    QFETCH(QString, engineText);
    QFETCH(QString, message);
    QFETCH(QString, title);
    store({{"abs", "Absender"}});
    addRefusingTrigger(engineText);
    withDialog([&](frmBaustein &form) {
        addRow(form, QStringLiteral("neu"), QStringLiteral("Neuer Text"));
        env->modals.answerMessage(vbOK);
        press(form, Qt::Key_Up);
        QCOMPARE(form.DBGrid1->ErrorText(), engineText);
        form.cmdAbbrechen->click();
    });
    // Only the handler's own message: the grid shows none of its own.
    QCOMPARE(env->modals.seen().size(), 2);
    const Modal::Request shown = env->modals.seen().last();
    QCOMPARE(shown.kind, Modal::Kind::MessageBox);
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.style, vbOKOnly | vbCritical);
}

void TestTextBlocks::insertPutsTheBlockIntoTheDocumentExactly()
{
    const QString block = QStringLiteral("Mit freundlichen Grüßen\r\n\r\nIhr Velmar-Team\nBerlin");
    store({{"abs", "Absender"}, {"mfg", block}});
    frmMain &main = program->start();
    main.LoadNewDoc();
    DocumentWindow *window = program->active();
    window->txtText->setText(QStringLiteral("Anfang XXX Ende"));
    window->txtText->setSelStart(7);
    window->txtText->setSelLength(3);
    withDialog([&](frmBaustein &form) {
        // Opening and closing the block's cell changes nothing, line breaks included.
        goTo(form, 1, 1);
        press(form, Qt::Key_F2);
        QVERIFY(qobject_cast<QLineEdit *>(form.focusWidget()));
        press(form, Qt::Key_Return);
        QCOMPARE(form.Data1->pendingRow(), -1);
        form.cmdEinfuegen->click();
        QVERIFY(form.isVisible());
        QCOMPARE(window->txtText->Text(),
                 QStringLiteral("Anfang Mit freundlichen Grüßen\r\rIhr Velmar-Team\rBerlin Ende"));
        QCOMPARE(window->txtText->SelLength(), 0);
        // A second click inserts again at the caret.
        goTo(form, 0, 1);
        form.cmdEinfuegen->click();
        QVERIFY(window->txtText->Text().endsWith(QStringLiteral("BerlinAbsender Ende")));
        form.cmdAbbrechen->click();
    });
}

void TestTextBlocks::insertWithoutABlockOrDocumentDoesNothing()
{
    store({{"abs", "Absender"}});
    withDialog([&](frmBaustein &form) {
        // No document window open.
        goTo(form, 0, 0);
        form.cmdEinfuegen->click();
        QVERIFY(form.isVisible());
        form.cmdAbbrechen->click();
    });
    frmMain &main = program->start();
    main.LoadNewText();
    DocumentWindow *window = program->active();
    window->txtText->setText(QStringLiteral("Text"));
    withDialog([&](frmBaustein &form) {
        // The empty new-record line.
        goTo(form, 1, 0);
        form.cmdEinfuegen->click();
        QCOMPARE(window->txtText->Text(), QStringLiteral("Text"));
        form.cmdAbbrechen->click();
    });
    QCOMPARE(env->modals.seen().size(), 2);
}

void TestTextBlocks::insertStoresTheRowBeingEditedFirst_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cellOpen");
    QTest::newRow("cell closed") << "Neuer Block" << false;
    QTest::newRow("cell still open") << "Neuer Block" << true;
    QTest::newRow("refused row") << "" << false;
}

void TestTextBlocks::insertStoresTheRowBeingEditedFirst()
{
    QFETCH(QString, text);
    QFETCH(bool, cellOpen);
    store({{"abs", "Absender"}});
    program->start().LoadNewText();
    DocumentWindow *window = program->active();
    window->txtText->setText(QStringLiteral("Text "));
    window->txtText->setSelStart(5);
    withDialog([&](frmBaustein &form) {
        goTo(form, 1, 0);
        type(form, QStringLiteral("neu"));
        press(form, Qt::Key_Tab);
        type(form, text);
        if (!cellOpen)
            press(form, Qt::Key_Return);
        QCOMPARE(qobject_cast<QLineEdit *>(form.focusWidget()) != nullptr, cellOpen);
        if (text.isEmpty())
            env->modals.answerMessage(vbOK);
        QTest::mouseClick(form.cmdEinfuegen, Qt::LeftButton);
        QVERIFY(form.isVisible());
        if (text.isEmpty()) {
            // The grid's own refusal; the row stays pending and nothing goes into the text.
            QCOMPARE(env->modals.seen().last().text, textMessage);
            QCOMPARE(form.Data1->pendingRow(), 1);
            QCOMPARE(window->txtText->Text(), QStringLiteral("Text "));
        } else {
            QCOMPARE(form.Data1->pendingRow(), -1);
            QCOMPARE(storedRows(), Rows({{"abs", "Absender"}, {"neu", text}}));
            QCOMPARE(window->txtText->Text(), QStringLiteral("Text Neuer Block"));
        }
        form.cmdAbbrechen->click();
    });
}

void TestTextBlocks::pendingRowIsSavedOnClosing_data()
{
    QTest::addColumn<QString>("closing");
    QTest::addColumn<bool>("editorOpen");
    QTest::addColumn<bool>("valid");
    for (const char *closing : {"Schließen", "close box"}) {
        for (bool editorOpen : {false, true}) {
            for (bool valid : {true, false}) {
                QTest::addRow("%s, %s, %s", closing, editorOpen ? "cell open" : "cell closed",
                              valid ? "valid" : "refused")
                    << QString::fromUtf8(closing) << editorOpen << valid;
            }
        }
    }
}

void TestTextBlocks::pendingRowIsSavedOnClosing()
{
    QFETCH(QString, closing);
    QFETCH(bool, editorOpen);
    QFETCH(bool, valid);
    store({{"abs", "Absender"}});
    withDialog([&](frmBaustein &form) {
        goTo(form, 1, 0);
        type(form, QStringLiteral("neu"));
        press(form, Qt::Key_Tab);
        if (valid)
            type(form, QStringLiteral("Neuer Block"));
        if (!editorOpen)
            press(form, Qt::Key_Return);
        QCOMPARE(qobject_cast<QLineEdit *>(form.focusWidget()) != nullptr, editorOpen);
        if (closing == u"Schließen")
            form.cmdAbbrechen->click();
        else
            form.close();
        QVERIFY(!form.isVisible());
    });
    // A refused row is dropped quietly: no message keeps the dialog open.
    QCOMPARE(env->modals.seen().size(), 1);
    Rows expected {{"abs", "Absender"}};
    if (valid)
        expected.append(qMakePair(QStringLiteral("neu"), QStringLiteral("Neuer Block")));
    QCOMPARE(storedRows(), expected);
}

void TestTextBlocks::escapeUndoesTheRowAndKeepsTheDialogOpen()
{
    store({{"abs", "Absender"}});
    withDialog([&](frmBaustein &form) {
        // A changed row: the first Esc undoes the open cell, the second the whole row.
        goTo(form, 0, 0);
        type(form, QStringLiteral("geändert"));
        press(form, Qt::Key_Tab);
        type(form, QStringLiteral("Neuer Text"));
        press(form, Qt::Key_Escape);
        QCOMPARE(cell(form, 0, 1), QStringLiteral("Absender"));
        QCOMPARE(cell(form, 0, 0), QStringLiteral("geändert"));
        QCOMPARE(form.Data1->pendingRow(), 0);
        press(form, Qt::Key_Escape);
        QCOMPARE(form.Data1->pendingRow(), -1);
        QCOMPARE(cell(form, 0, 0), QStringLiteral("abs"));

        // A new row typed and closed: Esc drops it, the new-record line stays below.
        addRow(form, QStringLiteral("neu"), QStringLiteral("Neuer Block"));
        QCOMPARE(form.DBGrid1->model()->rowCount(), 3);
        press(form, Qt::Key_Escape);
        QCOMPARE(form.Data1->pendingRow(), -1);
        QCOMPARE(form.DBGrid1->model()->rowCount(), 2);
        QCOMPARE(cell(form, 1, 0), QString());

        // Nothing pending: Esc still leaves the dialog open.
        press(form, Qt::Key_Escape);
        QVERIFY(form.isVisible());
        QCOMPARE(storedRows(), Rows({{"abs", "Absender"}}));
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedRows(), Rows({{"abs", "Absender"}}));
    QCOMPARE(env->modals.seen().size(), 1);
}

void TestTextBlocks::escapeFromARealKeyboard()
{
    if (const QString why = Keyboard::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    store({{"abs", "Absender"}});
    withDialog([&](frmBaustein &form) {
        goTo(form, 1, 0);
        QVERIFY(Keyboard::typeText("neu"));
        QVERIFY(Keyboard::pressKeys({"Tab"}));
        QVERIFY(Keyboard::typeText("Block"));
        QTRY_COMPARE(cell(form, 1, 0), QStringLiteral("neu"));
        QVERIFY(Keyboard::pressKeys({"Escape"}));
        QVERIFY(Keyboard::pressKeys({"Escape"}));
        QTRY_COMPARE(form.Data1->pendingRow(), -1);
        QCOMPARE(form.DBGrid1->model()->rowCount(), 2);
        QVERIFY(Keyboard::pressKeys({"Escape"}));
        QVERIFY(form.isVisible());
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedRows(), Rows({{"abs", "Absender"}}));
}

void TestTextBlocks::unusableDatabaseIsReportedInGerman_data()
{
    const QString unreadable = QStringLiteral("Die Datenbank \"%1\" kann nicht gelesen werden. ");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("message");
    QTest::newRow("locked by a second connection") << "locked"
                                                   << unreadable
            + "Die Datenbank ist gesperrt, weil ein anderes Programm sie gerade verwendet. "
              "Versuchen Sie es später noch einmal.";
    QTest::newRow("truncated") << "truncated"
                               << unreadable
            + "Die Datenbank ist beschädigt. Reparieren Sie sie im Menü \"Extras\".";
    QTest::newRow("not a database")
        << "text" << unreadable + "Die Datei ist keine Datenbank oder hat ein unbekanntes Format.";
    QTest::newRow("empty file") << "empty"
                                << unreadable
            + "Die Datei ist keine Datenbank oder hat ein unbekanntes Format.";
    QTest::newRow("a folder") << "folder"
                              << QStringLiteral("Die Datenbank \"%1\" konnte nicht angelegt "
                                                "werden. An ihrer Stelle steht ein Ordner "
                                                "dieses Namens.");
}

void TestTextBlocks::unusableDatabaseIsReportedInGerman()
{
    QFETCH(QString, state);
    QFETCH(QString, message);
    // The path is known only inside the test's own environment.
    const QString path = Databases::textbausteinPath();
    message = message.arg(QDir::toNativeSeparators(path));
    std::unique_ptr<DatabaseStates::Lock> lock;
    if (state == u"locked" || state == u"truncated") {
        Rows rows;
        for (int i = 0; i < 300; ++i)
            rows.append({QStringLiteral("b%1").arg(i), QString(200, u'x')});
        store(rows);
        Database::closeAll();
    }
    if (state == u"locked") {
        lock = std::make_unique<DatabaseStates::Lock>(path);
        QVERIFY(lock->held());
    } else if (state == u"truncated") {
        QVERIFY(DatabaseStates::truncate(path, QFileInfo(path).size() / 2));
    } else if (state == u"folder") {
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(state == u"text" ? "Kein Datenbankinhalt, nur Text.\n" : "");
    }
    const QByteArray before = RunningProgram::readFile(path);
    env->modals.answerMessage(vbOK);
    withDialog([&](frmBaustein &form) {
        QCOMPARE(form.DBGrid1->model()->rowCount(), 0);
        form.cmdAbbrechen->click();
    });
    QCOMPARE(env->modals.seen().size(), 2);
    const Modal::Request shown = env->modals.seen().first();
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.title, dialogTitle);
    QCOMPARE(shown.style, int(vbCritical));
    lock.reset();
    // The file is reported, never replaced.
    QCOMPARE(QFileInfo(path).isDir(), state == u"folder");
    QCOMPARE(RunningProgram::readFile(path), before);
}

void TestTextBlocks::readOnlyDatabaseRefusesEditsInGerman()
{
    store({{"abs", "Absender"}});
    Database::closeAll();
    const DatabaseStates::ReadOnly readOnly(Databases::textbausteinPath());
    if (!readOnly.held())
        QSKIP(qPrintable(
            needsUserWithoutRoot("This file system cannot make a file read-only for this user")));
    withDialog([&](frmBaustein &form) {
        QCOMPARE(cell(form, 0, 1), QStringLiteral("Absender"));
        addRow(form, QStringLiteral("neu"), QStringLiteral("Neuer Block"));
        env->modals.answerMessage(vbOK);
        press(form, Qt::Key_Up);
        const Modal::Request shown = env->modals.seen().last();
        QCOMPARE(shown.text,
                 QStringLiteral("Die Datenbank ist schreibgeschützt. Änderungen "
                                "können nicht gespeichert werden."));
        QCOMPARE(shown.title, fallbackTitle);
        QCOMPARE(shown.style, vbOKOnly | vbCritical);
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedRows(), Rows({{"abs", "Absender"}}));
}

void TestTextBlocks::lockedDatabaseRefusesARowAtOnce()
{
    store({{"abs", "Absender"}});
    withDialog([&](frmBaustein &form) {
        addRow(form, QStringLiteral("neu"), QStringLiteral("Neuer Block"));
        DatabaseStates::PassingLock lock(Databases::textbausteinPath());
        QVERIFY(lock.held());
        env->modals.answerMessage(vbOK);
        press(form, Qt::Key_Up);
        // A window that waited out the other program would have stored the row instead.
        const Modal::Request shown = env->modals.seen().last();
        QCOMPARE(shown.text,
                 QStringLiteral("Die Datenbank ist gesperrt, weil ein anderes Programm sie "
                                "gerade verwendet. Versuchen Sie es später noch einmal."));
        QCOMPARE(shown.style, vbOKOnly | vbCritical);
        QVERIFY(form.Data1->pendingRow() != -1);
        lock.release();
        press(form, Qt::Key_Up);
        QTRY_COMPARE(form.Data1->pendingRow(), -1);
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedRows(), Rows({{"abs", "Absender"}, {"neu", "Neuer Block"}}));
}

void TestTextBlocks::f1OpensTheHelpTopic()
{
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    withDialog([](frmBaustein &form) {
        QTest::keyClick(form.DBGrid1, Qt::Key_F1);
        QVERIFY(Help::viewer());
        QCOMPARE(Help::viewer()->currentContext(), 48);
        form.cmdAbbrechen->click();
    });
    Help::closeViewer();
}

void TestTextBlocks::screenshot()
{
    store({{"abs", "Velmar GmbH, Musterstraße 1, 12345 Musterstadt"},
           {"mfg", "Mit freundlichen Grüßen"},
           {"sgdh", "Sehr geehrte Damen und Herren,"},
           {"tel", "Telefon: 030 1234567"}});
    const QString folder = screenshotFolder();
    const QString file = QDir(folder).filePath(QStringLiteral("frmBaustein.png"));
    QFile::remove(file);
    withDialog([&](frmBaustein &form) {
        goTo(form, 1, 1);
        QVERIFY(form.grab().save(file));
        QCOMPARE(GrabChecks::cutCaptions(&form).join(QStringLiteral("; ")), QString());
        form.cmdAbbrechen->click();
    });
}

QTEST_MAIN(TestTextBlocks)
#include "tst_textblocks.moc"
