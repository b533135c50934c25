// Windows as the user arranges them: where new document windows open, cascading, the
// platform's window keys, and, on a real X server with a framing window manager, the main
// window's outer frame over several starts, the new-document question answered by typed keys and
// a modal dialog minimised through the window manager and a tool window's whole caption.
#include "document/DocumentWindow.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "format/frmOptions.h"
#include "frame/frmMain.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RealDesktop.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"
#include "tools/frmSearch.h"
#include "tools/frmSonder.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Calls back on every change of a window's state.
class StateWatch : public QObject
{
public:
    StateWatch(QWidget *window, std::function<void(const QWidget *)> changed)
        : window(window), changed(std::move(changed))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window && event->type() == QEvent::WindowStateChange)
            changed(window);
        return false;
    }

private:
    QWidget *window;
    std::function<void(const QWidget *)> changed;
};

// The strip of the screen above a framed window: its title bar.
QImage titleBar(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    return window->screen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), window->geometry().y() - frame.y())
        .toImage();
}

// The caption in the middle half of a title bar much wider than it: the columns that differ
// from the bar's own at a quarter of its width. Null without any.
QImage captionPixels(const QImage &bar)
{
    const auto column = [&bar](int x) {
        QList<QRgb> pixels;
        for (int y = 0; y < bar.height(); ++y)
            pixels.append(bar.pixel(x, y));
        return pixels;
    };
    const QList<QRgb> background = column(bar.width() / 4);
    int first = -1;
    int last = -1;
    for (int x = bar.width() / 4; x < bar.width() * 3 / 4; ++x) {
        if (column(x) != background) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return first < 0 ? QImage() : bar.copy(first, 0, last - first + 1, bar.height());
}

// Whether the bar shows the pixels somewhere along it.
bool holds(const QImage &bar, const QImage &pixels)
{
    if (bar.height() != pixels.height())
        return false;
    for (int x = 0; x + pixels.width() <= bar.width(); ++x) {
        if (bar.copy(x, 0, pixels.width(), pixels.height()) == pixels)
            return true;
    }
    return false;
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newWindowsStayReachable_data();
    void newWindowsStayReachable();
    void cascadeKeepsSizesAndShowsText_data();
    void cascadeKeepsSizesAndShowsText();
    void windowKeysSwitchAndClose();
    void newDocumentQuestionTakesTypedKeys_data();
    void newDocumentQuestionTakesTypedKeys();
    void outerFrameSurvivesStarts();
    void endingMaximisedStartsWithinScreen();
    void minimisedModalComesBack_data();
    void minimisedModalComesBack();
    void specialCharactersCaptionShowsWhole();

private:
    frmMain &startActive();
    void openWindows(int count);
    static int titleBarHeight(const QMdiSubWindow *frame);
    static void checkTitleBarsReachable(QMdiArea *area);
    QRect storedFrame() const;

    std::unique_ptr<RunningProgram> program;
};

void TestWindows::init()
{
    program = std::make_unique<RunningProgram>();
}

void TestWindows::cleanup()
{
    program->stop();
    QCOMPARE(program->env.modals.pending(), 0);
    program.reset();
}

frmMain &TestWindows::startActive()
{
    frmMain &main = program->start();
    main.activateWindow();
    if (!QTest::qWaitForWindowActive(&main))
        qWarning("the main window did not become active");
    return main;
}

void TestWindows::openWindows(int count)
{
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0)
            program->main().LoadNewDoc();
        else
            program->main().LoadNewText();
    }
    QApplication::processEvents();
}

int TestWindows::titleBarHeight(const QMdiSubWindow *frame)
{
    return frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
}

// Every title bar lies within the area's visible part, or the scroll bars reach it.
void TestWindows::checkTitleBarsReachable(QMdiArea *area)
{
    const QRect visible = area->viewport()->rect();
    const QScrollBar *across = area->horizontalScrollBar();
    const QScrollBar *down = area->verticalScrollBar();
    for (const QMdiSubWindow *frame : area->subWindowList()) {
        const QRect bar(frame->pos(), QSize(frame->width(), titleBarHeight(frame)));
        const int right = bar.right() - visible.right();
        const int bottom = bar.bottom() - visible.bottom();
        if (right > 0) {
            QVERIFY2(across->isVisible(), qPrintable(frame->windowTitle()));
            QVERIFY(across->maximum() - across->value() >= right);
        }
        if (bottom > 0) {
            QVERIFY2(down->isVisible(), qPrintable(frame->windowTitle()));
            QVERIFY(down->maximum() - down->value() >= bottom);
        }
        QVERIFY(bar.left() >= 0 || across->value() - across->minimum() >= -bar.left());
        QVERIFY(bar.top() >= 0 || down->value() - down->minimum() >= -bar.top());
    }
}

void TestWindows::newWindowsStayReachable_data()
{
    QTest::addColumn<bool>("maximised");
    QTest::newRow("first-start main window") << false;
    QTest::newRow("maximised main window") << true;
}

void TestWindows::newWindowsStayReachable()
{
    QFETCH(bool, maximised);
    frmMain &main = startActive();
    if (maximised) {
        main.showMaximized();
        QVERIFY(QTest::qWaitFor([&main] { return main.isMaximized(); }));
    }
    openWindows(8);
    QMdiArea *area = main.mdiArea();
    const QList<QMdiSubWindow *> frames = area->subWindowList(QMdiArea::CreationOrder);
    QCOMPARE(frames.size(), 8);
    QCOMPARE(frames.first()->pos(), QPoint(0, 0));
    QCOMPARE(frames.at(1)->pos(), QPoint(1, 1) * titleBarHeight(frames.at(1)));
    for (int i = 1; i < frames.size(); ++i) {
        const QPoint stagger
            = frames.at(i - 1)->pos() + QPoint(1, 1) * titleBarHeight(frames.at(i));
        QVERIFY2(frames.at(i)->pos() == stagger || frames.at(i)->pos() == QPoint(0, 0),
                 qPrintable(QStringLiteral("window %1").arg(i + 1)));
        QVERIFY(frames.at(i)->pos().y() <= area->viewport()->height() / 3);
    }
    checkTitleBarsReachable(area);
    // A window moved partly out of the area brings the scroll bar that reaches it.
    frames.last()->move(area->viewport()->width() - 50, 0);
    QApplication::processEvents();
    QVERIFY(area->horizontalScrollBar()->isVisible());
    checkTitleBarsReachable(area);
}

void TestWindows::cascadeKeepsSizesAndShowsText_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("maximised");
    QTest::newRow("one window") << 1 << false;
    QTest::newRow("six windows") << 6 << false;
    QTest::newRow("six windows, maximised main window") << 6 << true;
}

void TestWindows::cascadeKeepsSizesAndShowsText()
{
    QFETCH(int, count);
    QFETCH(bool, maximised);
    frmMain &main = startActive();
    if (maximised) {
        main.showMaximized();
        QVERIFY(QTest::qWaitFor([&main] { return main.isMaximized(); }));
    }
    openWindows(count);
    QMdiArea *area = main.mdiArea();
    QList<QSize> sizes;
    for (QMdiSubWindow *frame : area->subWindowList(QMdiArea::CreationOrder)) {
        frame->move(40, 30);
        sizes.append(frame->size());
    }
    program->active()->mnuWindowCascade->trigger();
    QApplication::processEvents();
    const QSize space = area->viewport()->size();
    const QList<QMdiSubWindow *> frames = area->subWindowList(QMdiArea::CreationOrder);
    for (int i = 0; i < frames.size(); ++i) {
        const QRect placed = frames.at(i)->geometry();
        if (QRect(QPoint(0, 0), space).contains(QRect(placed.topLeft(), sizes.at(i))))
            QCOMPARE(placed.size(), sizes.at(i));
        else
            QVERIFY(placed.width() >= space.width() * 2 / 3
                    && placed.height() >= space.height() * 2 / 3);
        QVERIFY(frames.at(i)->widget()->height() > 3 * titleBarHeight(frames.at(i)));
    }
    // The active window stands last, in front.
    QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).constLast(), area->activeSubWindow());
    checkTitleBarsReachable(area);
}

void TestWindows::windowKeysSwitchAndClose()
{
    startActive();
    openWindows(3);
    QMdiArea *area = program->main().mdiArea();
    const QList<QMdiSubWindow *> frames = area->subWindowList(QMdiArea::CreationOrder);
    QCOMPARE(area->activeSubWindow(), frames.at(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(area->activeSubWindow(), frames.at(0));
    QCOMPARE(QApplication::focusWidget(), program->active()->txtText);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(area->activeSubWindow(), frames.at(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(area->activeSubWindow(), frames.at(0));
    QTest::keyClicks(QApplication::focusWidget(), "neu");
    // Ctrl+F4 asks before closing a changed window; Cancel keeps it.
    program->env.modals.answerMessage(vbCancel);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
    QCOMPARE(program->env.modals.seen().size(), 1);
    QCOMPARE(program->env.modals.seen().constLast().style, int(vbYesNoCancel | vbQuestion));
    QCOMPARE(program->documentCount(), 3);
    program->env.modals.answerMessage(vbNo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
    QCOMPARE(program->documentCount(), 2);
    QVERIFY(QApplication::focusWidget() == program->active()->txtText);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
    QCOMPARE(program->documentCount(), 1);
    QCOMPARE(program->env.modals.seen().size(), 2);
}

void TestWindows::newDocumentQuestionTakesTypedKeys_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("richText");
    QTest::newRow("J") << "j" << true;
    QTest::newRow("N") << "n" << false;
    QTest::newRow("Alt+N") << "alt+n" << false;
}

// The question after Ctrl+N takes its answer from a letter typed through the window system.
void TestWindows::newDocumentQuestionTakesTypedKeys()
{
    QFETCH(QString, answer);
    QFETCH(bool, richText);
    if (const QString why = RealDesktop::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    startActive();
    Modal::setHandler({});
    // A box the keys did not answer is closed, so that the test cannot hang.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    watchdog.start(10000);
    // The answer is typed once the question has the focus, and again while it stays open: on a
    // loaded machine the window manager may hand the focus over after Qt reports it.
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, [answer] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || !box->isActiveWindow())
            return;
        QVERIFY(Keyboard::pressKeys({answer}));
    });
    answerer.start(500);
    QVERIFY(Keyboard::pressKeys({"ctrl+n"}));
    QTRY_COMPARE(program->documentCount(), 1);
    QCOMPARE(qobject_cast<frmDocument *>(program->active()) != nullptr, richText);
}

QRect TestWindows::storedFrame() const
{
    return QRect(GetSetting("MainLeft").toInt(), GetSetting("MainTop").toInt(),
                 GetSetting("MainWidth").toInt(), GetSetting("MainHeight").toInt());
}

void TestWindows::outerFrameSurvivesStarts()
{
    if (const QString why = RealDesktop::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    SaveSetting("MainLeft", "1500");
    SaveSetting("MainTop", "1200");
    SaveSetting("MainWidth", "12000");
    SaveSetting("MainHeight", "9000");
    for (int start = 1; start <= 3; ++start) {
        frmMain &main = startActive();
        // The frame the window manager drew is the stored one.
        QTRY_VERIFY(main.frameGeometry().size() != main.size());
        QTRY_COMPARE(main.frameGeometry().size(),
                     QSize(Screen::pixelsFromTwipsX(12000), Screen::pixelsFromTwipsY(9000)));
        program->stop();
        QCOMPARE(storedFrame(), QRect(1500, 1200, 12000, 9000));
    }
}

void TestWindows::endingMaximisedStartsWithinScreen()
{
    if (const QString why = RealDesktop::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    frmMain &first = startActive();
    first.showMaximized();
    QTRY_VERIFY(first.isMaximized());
    // The window manager has given the maximised window the whole work area.
    QTRY_COMPARE(first.frameGeometry(), first.screen()->availableGeometry());
    program->stop();
    frmMain &next = startActive();
    const QRect workArea = next.screen()->availableGeometry();
    QTRY_VERIFY(next.frameGeometry().size() != next.size());
    QTRY_VERIFY2(workArea.contains(next.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(next.frameGeometry().x())
                                .arg(next.frameGeometry().y())
                                .arg(next.frameGeometry().width())
                                .arg(next.frameGeometry().height())));
}

void TestWindows::minimisedModalComesBack_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("search and replace") << "Ersetzen";
    QTest::newRow("formatting") << "Format";
    QTest::newRow("message box") << "Meldung";
}

// The window manager's minimise button on a modal dialog: the dialog comes back at once and
// takes the keys, so the program never looks frozen.
void TestWindows::minimisedModalComesBack()
{
    QFETCH(QString, dialog);
    if (const QString why = RealDesktop::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    startActive();
    program->document(QStringLiteral("Der Hund schläft."), 0);
    const ModalScript::RealDialogs real(program->env.modals);
    bool minimised = false;
    bool closedByKey = false;
    ModalScript::RealDialogs::inspectNext([&](QWidget *box) {
        QVERIFY(QTest::qWaitForWindowActive(box));
        StateWatch watch(box, [&minimised](const QWidget *window) {
            minimised = minimised || window->isMinimized();
        });
        QCOMPARE(
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("windowminimize"), QString::number(box->winId())}),
            0);
        QTRY_VERIFY(minimised);
        QTRY_VERIFY(!box->isMinimized() && box->isActiveWindow());
        QVERIFY(Keyboard::pressKeys({"Escape"}));
        QTRY_VERIFY(!box->isVisible());
        closedByKey = true;
    });
    if (dialog == QLatin1String("Ersetzen"))
        frmSearch::open(2);
    else if (dialog == QLatin1String("Format"))
        frmOptions::open(1);
    else
        MsgBox(QStringLiteral("Eine Meldung"), vbOKOnly, QStringLiteral("Velmar"));
    QVERIFY(closedByKey);
    QVERIFY(QTest::qWaitForWindowActive(&program->main()));
}

// A tool window's caption stands whole in the window manager's title bar: its pixels are those
// of the same caption in a title bar far wider than it, both drawn as the bars of windows
// without the focus.
void TestWindows::specialCharactersCaptionShowsWhole()
{
    if (const QString why = RealDesktop::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    frmMain &main = startActive();
    program->document(QString(), 0);
    frmSonder::open();
    frmSonder *form = &frmSonderForm().get();
    QWidget wide(&main, Qt::Tool);
    wide.setWindowTitle(form->windowTitle());
    wide.setGeometry(0, 40, 900, 100);
    wide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wide));
    // The main window itself, not one of the tool windows it owns, has the focus. The window
    // manager may still be giving the focus to a tool window just mapped, so ask until it holds.
    const auto mainHasTheFocus = [&main] {
        if (QGuiApplication::focusWindow() != main.windowHandle())
            main.activateWindow();
        return QGuiApplication::focusWindow() == main.windowHandle();
    };
    QTRY_VERIFY(mainHasTheFocus());
    QTRY_VERIFY(holds(titleBar(form), captionPixels(titleBar(&wide))));
}

int main(int argc, char **argv)
{
    const RealDesktop desktop;
    QApplication application(argc, argv);
    TestWindows test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_windows.moc"
