// xdotool runs to its end before the test goes on; the events it made then still travel from
// the X server through the event loop, which the test lets run for a moment.
#include "tests/support/Keyboard.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHash>
#include <QKeySequence>
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

// The X key name as Qt writes it: "ctrl+Next" is "Ctrl+PgDown".
QString qtName(const QString &xName)
{
    static const QHash<QString, QString> names {
        {QStringLiteral("ctrl"), QStringLiteral("Ctrl")},
        {QStringLiteral("alt"), QStringLiteral("Alt")},
        {QStringLiteral("shift"), QStringLiteral("Shift")},
        {QStringLiteral("Escape"), QStringLiteral("Esc")},
        {QStringLiteral("BackSpace"), QStringLiteral("Backspace")},
        {QStringLiteral("Next"), QStringLiteral("PgDown")},
        {QStringLiteral("Prior"), QStringLiteral("PgUp")},
    };
    QStringList parts = xName.split(u'+');
    for (QString &part : parts)
        part = names.value(part, part);
    return parts.join(u'+');
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

void type(Way way, const QString &text, const QStringList &keys)
{
    if (way == Way::XKeyboard) {
        if (!text.isEmpty())
            run({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                 QStringLiteral("--"), text});
        if (!keys.isEmpty())
            run(QStringList {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30"),
                             QStringLiteral("--")}
                + keys);
        return;
    }
    if (!text.isEmpty())
        QTest::keyClicks(QApplication::focusWidget(), text);
    for (const QString &key : keys) {
        QWidget *target = QApplication::focusWidget();
        if (!target) {
            qWarning("no widget has the focus for %s", qPrintable(key));
            return;
        }
        QTest::keySequence(target, QKeySequence::fromString(qtName(key)));
    }
}

} // namespace Keyboard
