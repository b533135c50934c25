// The one seam every modal wait goes through: message boxes, input boxes, file and print
// dialogs and modal forms. Tests install a handler that answers from a script.
#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace Modal {

enum class Kind { MessageBox, InputBox, FileOpen, FileSave, Print, PrintSetup, Form };

struct Request
{
    Kind kind = Kind::MessageBox;
    QString text; // message or prompt; the filter of a file dialog
    QString title;
    int style = 0; // message box style
    QWidget *form = nullptr;
};

struct Answer
{
    bool cancelled = false;
    int result = 0; // message box result code; print dialog flags
    QString text; // input box text; file name; print target file
    int copies = 1; // print dialog
    // For a modal form: what the user does while it is open (it should close the form).
    std::function<void(QWidget *)> act;
};

using Handler = std::function<Answer(const Request &)>;

// An empty handler restores the real dialogs.
void setHandler(Handler handler);
bool isScripted();
Answer ask(const Request &request);

// Shows a form modally; returns when it has closed. Returns the dialog's result code.
int showModal(QDialog *form);

} // namespace Modal
