// xdotool runs to its end before the test goes on; the events it made then still travel from
// the X server through the event loop, which the test lets run for a moment.
#include "tests/support/Keyboard.h"

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace Keyboard {

namespace {

void run(const QStringList &arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForFinished(30000) || xdotool.exitCode() != 0)
        qWarning("xdotool %s failed: %s", qPrintable(arguments.join(u' ')),
                 xdotool.readAllStandardError().constData());
    QTest::qWait(200);
}

} // namespace

QString unavailable()
{
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

void type(const QString &text)
{
    run({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
         QStringLiteral("--"), text});
}

void keys(const QStringList &names)
{
    run(QStringList {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30"),
                     QStringLiteral("--")}
        + names);
}

} // namespace Keyboard
