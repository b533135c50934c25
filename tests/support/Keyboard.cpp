// xdotool's events travel from the X server through the program's event loop, which runs while
// xdotool types; once it has ended, one round trip to the X server brings in the rest.
#include "tests/support/Keyboard.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHash>
#include <QKeySequence>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace Keyboard {

namespace {

bool run(const QStringList &arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    const bool ended
        = QTest::qWaitFor([&xdotool] { return xdotool.state() == QProcess::NotRunning; }, 30000);
    // xdotool's last request reached the server before it ended (closing its display waits for
    // the server), so every event it made arrives before the answer to this round trip.
    QGuiApplication::sync();
    if (ended && xdotool.error() == QProcess::UnknownError
        && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0)
        return true;
    qWarning("xdotool %s failed: %s", qPrintable(arguments.join(u' ')),
             xdotool.readAllStandardError().constData());
    return false;
}

// The X key name as Qt writes it: "ctrl+Next" is "Ctrl+PgDown".
QString qtName(const QString &xName)
{
    static const QHash<QString, QString> names {
        {QStringLiteral("ctrl"), QStringLiteral("Ctrl")},
        {QStringLiteral("alt"), QStringLiteral("Alt")},
        {QStringLiteral("shift"), QStringLiteral("Shift")},
        {QStringLiteral("Escape"), QStringLiteral("Esc")},
        {QStringLiteral("BackSpace"), QStringLiteral("Backspace")},
        {QStringLiteral("Insert"), QStringLiteral("Ins")},
        {QStringLiteral("Next"), QStringLiteral("PgDown")},
        {QStringLiteral("Prior"), QStringLiteral("PgUp")},
    };
    QStringList parts = xName.split(u'+');
    for (QString &part : parts)
        part = names.value(part, part);
    return parts.join(u'+');
}

// Where the window system delivers keys: an open menu or other popup takes them.
QWidget *keyTarget()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
}

bool typeTestKeys(const QString &text, const QStringList &keys)
{
    if (!text.isEmpty())
        QTest::keyClicks(keyTarget(), text);
    for (const QString &key : keys) {
        QWidget *target = keyTarget();
        if (!target) {
            qWarning("no widget has the focus for %s", qPrintable(key));
            return false;
        }
        // A modifier pressed alone has no key sequence.
        if (key == QLatin1String("Alt_L"))
            QTest::keyClick(target, Qt::Key_Alt);
        else
            QTest::keySequence(target, QKeySequence::fromString(qtName(key)));
    }
    return true;
}

} // namespace

QString unavailable(Way way)
{
    if (way == Way::TestKeys)
        return {};
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QStringLiteral("keys are typed through a real X server only (xcb)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed");
    return {};
}

bool focus(QWidget *widget)
{
    QWidget *window = widget->window();
    window->show();
    window->raise();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)
        || !QTest::qWaitFor([widget] { return widget->isVisible(); }))
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    return QTest::qWaitFor([widget] { return widget->hasFocus(); });
}

bool typeText(const QString &text)
{
    return run({QStringLiteral("type"), QStringLiteral("--clearmodifiers"),
                QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("--"), text});
}

bool pressKeys(const QStringList &names)
{
    return run(QStringList {QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                            QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("--")}
               + names);
}

bool click(const QPoint &global)
{
    return run({QStringLiteral("mousemove"), QString::number(global.x()),
                QString::number(global.y()), QStringLiteral("click"), QStringLiteral("1")});
}

void addWayColumn()
{
    QTest::addColumn<Way>("way");
}

QTestData &newRow(Way way, const char *name)
{
    return QTest::addRow("%s%s", name, way == Way::XKeyboard ? ", keyboard" : "") << way;
}

bool type(Way way, const QString &text, const QStringList &keys)
{
    if (way == Way::TestKeys)
        return typeTestKeys(text, keys);
    return (text.isEmpty() || typeText(text)) && (keys.isEmpty() || pressKeys(keys));
}

} // namespace Keyboard
