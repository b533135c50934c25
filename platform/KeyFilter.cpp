// Key events are taken at the box and at the widget that holds the focus for it, because a
// combo box passes the keys it receives straight on to its field, past the field's filters.
#include "platform/KeyFilter.h"

#include "platform/KeyCodes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

KeyFilter::KeyFilter(QLineEdit *box, QWidget *keyOwner) : QObject(box), box(box), owner(keyOwner)
{
    box->installEventFilter(this);
    if (owner)
        owner->installEventFilter(this);
    // Dropped text and the field's own menu would insert text that no filter has seen.
    box->setAcceptDrops(false);
    box->setContextMenuPolicy(Qt::NoContextMenu);
}

int KeyFilter::asciiOf(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Backspace:
        return KeyCodes::vbKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCodes::vbKeyReturn;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return 0;
    default:
        break;
    }
    const Qt::KeyboardModifiers chord = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (chord == Qt::ControlModifier && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return KeyCodes::ctrlLetter(key.key());
    if (key.matches(QKeySequence::Paste))
        return KeyCodes::ctrlLetter('V');
    const QString text = key.text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return 0;
    return text.at(0).unicode();
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != box && watched != owner)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto &key = *static_cast<QKeyEvent *>(event);
        if (keyDown && keyDown(key))
            return true;
        int code = asciiOf(key);
        if (code == 0 || !keyPress)
            return false;
        keyPress(code);
        return code == 0;
    }
    case QEvent::InputMethod: {
        const auto &input = *static_cast<QInputMethodEvent *>(event);
        if (input.commitString().isEmpty() || !keyPress)
            return false;
        type(input.commitString());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto &mouse = *static_cast<QMouseEvent *>(event);
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (watched != box || mouse.button() != Qt::MiddleButton || !keyPress
            || !clipboard->supportsSelection() || box->isReadOnly())
            return false;
        type(clipboard->text(QClipboard::Selection));
        return true;
    }
    default:
        return false;
    }
}

void KeyFilter::type(const QString &text)
{
    for (const QChar character : text) {
        int code = character.unicode();
        keyPress(code);
        // The first refused character ends the text; its handler has beeped once.
        if (code == 0)
            return;
        box->insert(QString(QChar(code)));
    }
}
