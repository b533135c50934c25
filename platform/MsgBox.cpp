// Message and input boxes on QMessageBox and QInputDialog, with German button texts.
#include "platform/MsgBox.h"

#include "common/ProgramInfo.h"
#include "platform/Modal.h"
#include "platform/Screen.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr double inputBoxWidth = 5400; // twips

QString titleOrProgram(const QString &title)
{
    return title.isEmpty() ? ProgramInfo::title() : title;
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int runMessageBox(const QString &prompt, int style, const QString &title)
{
    QMessageBox box(iconOf(style), title, prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    struct Choice
    {
        const char *text;
        int result;
        QMessageBox::ButtonRole role;
    };
    QList<Choice> choices;
    switch (style & 0x7) {
    case vbOKCancel:
        choices = {{"&OK", vbOK, QMessageBox::AcceptRole},
                   {"&Abbrechen", vbCancel, QMessageBox::RejectRole}};
        break;
    case vbYesNoCancel:
        choices = {{"&Ja", vbYes, QMessageBox::YesRole},
                   {"&Nein", vbNo, QMessageBox::NoRole},
                   {"&Abbrechen", vbCancel, QMessageBox::RejectRole}};
        break;
    case vbYesNo:
        choices = {{"&Ja", vbYes, QMessageBox::YesRole}, {"&Nein", vbNo, QMessageBox::NoRole}};
        break;
    default:
        choices = {{"&OK", vbOK, QMessageBox::AcceptRole}};
        break;
    }
    QHash<QAbstractButton *, int> results;
    for (const Choice &choice : choices)
        results.insert(box.addButton(QString::fromUtf8(choice.text), choice.role), choice.result);
    // Esc and the close box answer as the original did: Cancel where there is one, else the
    // last button (No or OK).
    box.setEscapeButton(results.key(choices.last().result));
    box.exec();
    return results.value(box.clickedButton(), choices.last().result);
}

} // namespace

int MsgBox(const QString &prompt, int style, const QString &title)
{
    const QString shownTitle = titleOrProgram(title);
    if (Modal::isScripted()) {
        Modal::Request request;
        request.kind = Modal::Kind::MessageBox;
        request.text = prompt;
        request.title = shownTitle;
        request.style = style;
        const Modal::Answer answer = Modal::ask(request);
        return answer.cancelled ? vbCancel : answer.result;
    }
    return runMessageBox(prompt, style, shownTitle);
}

QString InputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    const QString shownTitle = titleOrProgram(title);
    if (Modal::isScripted()) {
        Modal::Request request;
        request.kind = Modal::Kind::InputBox;
        request.text = prompt;
        request.title = shownTitle;
        const Modal::Answer answer = Modal::ask(request);
        return answer.cancelled ? QString() : answer.text;
    }
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(shownTitle);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    // As wide as the platform's input box was, whatever the prompt: a long prompt wraps. The
    // dialog builds its layout when first measured; its own constraint would fit the width to
    // the prompt.
    for (QLabel *label : dialog.findChildren<QLabel *>())
        label->setWordWrap(true);
    static_cast<void>(dialog.sizeHint());
    if (QLayout *layout = dialog.layout())
        layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    dialog.setFixedWidth(Screen::pixelsFromTwipsX(inputBoxWidth));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}
