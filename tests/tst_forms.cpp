// Every form of the program, opened once as a user opens it: on a real X server each window
// stands wholly on the screen of the main window and every caption fits its control by the
// control's own font metrics; everywhere, every button without a caption has a name.
#include "document/DocumentTools.h"
#include "document/DocumentWindow.h"
#include "format/frmTemplate.h"
#include "frame/frmMain.h"
#include "frame/frmSplash.h"
#include "frame/frmStartup.h"
#include "frame/frmTip.h"
#include "platform/Forms.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmImage.h"
#include "tools/frmSonder.h"
#include "tools/frmTastatur.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <functional>
#include <memory>

namespace {

using Inspect = std::function<void(QWidget *window)>;

// A long name a user may give a style template: the most the table holds.
const QString longTemplateName = QStringLiteral("Überschrift für die Angebote an Großkunden 2026");

// Where a window stands on the desktop, with its frame when it is a window of its own.
QRect placeOf(const QWidget *window)
{
    return window->isWindow() ? window->frameGeometry()
                              : QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
}

QString nameOf(const QWidget *widget)
{
    return QStringLiteral("%1/%2 (%3)")
        .arg(widget->window()->objectName(), widget->objectName(),
             QString::fromLatin1(widget->metaObject()->className()));
}

// The room a label's text has, and the room its text needs there.
std::pair<QSize, QSize> labelRoom(const QLabel *label)
{
    const int margin = label->margin();
    const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    const QString text = label->text();
    const bool rich = label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(text);
        if (label->wordWrap())
            document.setTextWidth(room.width());
        return {room.size(), document.size().toSize()};
    }
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0)
        | (label->buddy() ? Qt::TextShowMnemonic : 0);
    return {room.size(), QFontMetrics(label->font()).boundingRect(room, flags, text).size()};
}

// The room a button's caption has (beside its box or circle, inside its frame), and the room
// its caption and picture need there.
std::pair<QSize, QSize> buttonRoom(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(button))
        contents = QStyle::SE_RadioButtonContents;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    QSize needed = QFontMetrics(button->font())
                       .boundingRect(QRect(), Qt::TextShowMnemonic, button->text())
                       .size();
    if (!button->icon().isNull())
        needed.rwidth() += button->iconSize().width() + 4;
    return {room.size(), needed};
}

// Every caption on show in the window that its control cuts off, and the window itself when it
// does not stand wholly on the main window's screen.
QStringList clippedIn(QWidget *window, const QRect &screen)
{
    QStringList faults;
    if (!screen.contains(placeOf(window)))
        faults << QStringLiteral("%1 stands at %2,%3 %4x%5 beyond the screen")
                      .arg(nameOf(window))
                      .arg(placeOf(window).x())
                      .arg(placeOf(window).y())
                      .arg(placeOf(window).width())
                      .arg(placeOf(window).height());
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisible())
            continue;
        std::pair<QSize, QSize> room;
        QString caption;
        if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty()) {
            room = labelRoom(label);
            caption = label->text();
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget); button
                   && !button->text().isEmpty()
                   && (qobject_cast<QPushButton *>(button) || qobject_cast<QCheckBox *>(button)
                       || qobject_cast<QRadioButton *>(button))) {
            room = buttonRoom(button);
            caption = button->text();
        } else {
            continue;
        }
        const auto [has, needs] = room;
        if (needs.width() > has.width() || needs.height() > has.height())
            faults << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
                          .arg(nameOf(widget), caption)
                          .arg(needs.width())
                          .arg(needs.height())
                          .arg(has.width())
                          .arg(has.height());
    }
    return faults;
}

// Every button on show that has no caption and no name a screen reader could read: its tip,
// when it has one. Qt's own helper buttons (a toolbar's overflow, a table's corner) speak for
// themselves by their role.
QStringList unnamedIn(QWidget *window)
{
    QStringList faults;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        const QString kind = QString::fromLatin1(button->metaObject()->className());
        if (!button->isVisible() || !button->text().isEmpty()
            || kind == QLatin1String("QToolBarExtension")
            || kind == QLatin1String("QTableCornerButton"))
            continue;
        if (button->accessibleName().isEmpty()
            || (!button->toolTip().isEmpty() && button->accessibleName() != button->toolTip()))
            faults << QStringLiteral("%1 tip \"%2\" name \"%3\"")
                          .arg(nameOf(button), button->toolTip(), button->accessibleName());
    }
    return faults;
}

} // namespace

class TestForms : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyFormFitsTheScreenAndItsCaptions_data();
    void everyFormFitsTheScreenAndItsCaptions();
    void everyButtonWithoutCaptionHasAName_data();
    void everyButtonWithoutCaptionHasAName();

private:
    void addForms();
    // Opens the form as a user does, hands each of its windows to inspect, and closes it.
    void open(const QString &form, const Inspect &inspect);
    // A modal form: inspected while it is open, then cancelled.
    void inspectModal(const std::function<void()> &opener, const Inspect &inspect);
    void inspectShown(QWidget *window, const Inspect &inspect);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
};

void TestForms::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    for (const char *file : {"velmar.hlp", "TIPOFDAY.TXT"})
        QFile::copy(QStringLiteral(VELMAR_RESOURCES_DIR "/") + QLatin1String(file),
                    QDir(env->programFolder()).filePath(QLatin1String(file)));
    Help::setHelpFile(QDir(env->programFolder()).filePath(QStringLiteral("velmar.hlp")));
    program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&program->main()));
}

void TestForms::cleanup()
{
    Help::closeViewer();
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestForms::addForms()
{
    QTest::addColumn<QString>("form");
    for (const char *form :
         {"frmMain",      "frmDocument",  "frmText",      "frmOptions 1", "frmOptions 2",
          "frmOptions 3", "frmOptions 4", "frmOptions 5", "frmTemplate",  "frmSearch 1",
          "frmSearch 2",  "frmDate 1",    "frmDate 2",    "frmTastatur",  "frmSonder",
          "frmBaustein",  "frmImage",     "frmTip",       "frmStartup",   "frmAbout",
          "frmSplash",    "HelpViewer",   "InputBox",     "MsgBox"})
        QTest::newRow(form) << QString::fromLatin1(form);
}

void TestForms::inspectShown(QWidget *window, const Inspect &inspect)
{
    QVERIFY(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    inspect(window);
}

void TestForms::inspectModal(const std::function<void()> &opener, const Inspect &inspect)
{
    bool shown = false;
    env->modals.answerForm([this, &shown, inspect](QWidget *form) {
        shown = true;
        inspectShown(form, inspect);
    });
    opener();
    QVERIFY(shown);
}

void TestForms::open(const QString &form, const Inspect &inspect)
{
    const QStringList words = form.split(u' ');
    const int tab = words.value(1).toInt();
    const QString name = words.first();
    DocumentWindow *document
        = program->document(QStringLiteral("Ein Satz."), 0, 4, name != QLatin1String("frmText"));
    if (name == QLatin1String("frmMain")) {
        inspect(&program->main());
    } else if (name == QLatin1String("frmDocument") || name == QLatin1String("frmText")) {
        inspect(document);
    } else if (name == QLatin1String("frmOptions")) {
        inspectModal([tab] { documentTools().frmOptions(tab); }, inspect);
    } else if (name == QLatin1String("frmSearch")) {
        inspectModal([tab] { documentTools().frmSearch(tab); }, inspect);
    } else if (name == QLatin1String("frmDate")) {
        inspectModal([tab] { documentTools().frmDate(tab); }, inspect);
    } else if (name == QLatin1String("frmTemplate")) {
        // A template of a long name, chosen, then the manager opened again on it.
        env->modals.answerForm([this](QWidget *opened) {
            env->modals.answerInput(longTemplateName);
            qobject_cast<frmTemplate *>(opened)->cmdNeu->click();
        });
        documentTools().frmTemplate();
        inspectModal([] { documentTools().frmTemplate(); },
                     [inspect](QWidget *opened) {
                         QCOMPARE(qobject_cast<frmTemplate *>(opened)->lblName->text(),
                                  longTemplateName);
                         inspect(opened);
                     });
    } else if (name == QLatin1String("frmBaustein")) {
        inspectModal([] { documentTools().frmBaustein(); }, inspect);
    } else if (name == QLatin1String("frmTip")) {
        // Every tip in turn.
        inspectModal([] { documentTools().frmTip(); },
                     [inspect](QWidget *opened) {
                         auto *tip = qobject_cast<frmTip *>(opened);
                         const QString first = tip->lblTipText->text();
                         do {
                             inspect(tip);
                             tip->cmdNextTip->click();
                         } while (tip->lblTipText->text() != first);
                     });
    } else if (name == QLatin1String("frmStartup")) {
        inspectModal([] { showStartDialog(); }, inspect);
    } else if (name == QLatin1String("frmAbout")) {
        inspectModal([] { documentTools().frmAbout(); }, inspect);
    } else if (name == QLatin1String("frmTastatur") || name == QLatin1String("frmSonder")
               || name == QLatin1String("frmImage")) {
        if (name == QLatin1String("frmTastatur"))
            documentTools().frmTastatur();
        else if (name == QLatin1String("frmSonder"))
            documentTools().frmSonder();
        else
            documentTools().frmImage();
        QWidget *window = Forms::find(name);
        inspectShown(window, inspect);
        // The key faces in every font the box offers.
        if (name == QLatin1String("frmTastatur")) {
            auto *fonts = qobject_cast<frmTastatur *>(window)->comboSchrift;
            for (int font = 0; font < fonts->count(); ++font) {
                fonts->setCurrentIndex(font);
                inspect(window);
            }
        }
        Forms::unload(name);
    } else if (name == QLatin1String("frmSplash")) {
        frmSplash splash;
        inspectShown(&splash, inspect);
    } else if (name == QLatin1String("HelpViewer")) {
        showHelpTopic(&program->main(), 33);
        inspectShown(Help::viewer(), inspect);
    } else if (name == QLatin1String("InputBox")) {
        const ModalScript::RealDialogs real(env->modals);
        ModalScript::RealDialogs::inspectNext(inspect);
        InputBox(QStringLiteral("Geben Sie den Namen der neuen Formatvorlage ein:"),
                 QStringLiteral("Neue Formatvorlage"));
    } else if (name == QLatin1String("MsgBox")) {
        const ModalScript::RealDialogs real(env->modals);
        ModalScript::RealDialogs::inspectNext(inspect);
        MsgBox(QStringLiteral("Die Datei \"%1\" wurde geändert. Sollen die Änderungen "
                              "gespeichert werden?")
                   .arg(QDir(env->programFolder()).filePath(QStringLiteral("Brief.rtf"))),
               vbYesNoCancel | vbQuestion);
    } else {
        QFAIL("a form the test does not know");
    }
}

void TestForms::everyFormFitsTheScreenAndItsCaptions_data()
{
    addForms();
}

void TestForms::everyFormFitsTheScreenAndItsCaptions()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("font metrics and window places hold on a real X server only");
    QFETCH(QString, form);
    const QRect screen = program->main().screen()->availableGeometry();
    QStringList faults;
    open(form, [&faults, screen](QWidget *window) {
        // Pending layouts are done, as the event loop does them before a user looks.
        QCoreApplication::processEvents();
        faults << clippedIn(window, screen);
    });
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
}

void TestForms::everyButtonWithoutCaptionHasAName_data()
{
    addForms();
}

void TestForms::everyButtonWithoutCaptionHasAName()
{
    QFETCH(QString, form);
    QStringList faults;
    open(form, [&faults](QWidget *window) { faults << unnamedIn(window); });
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
