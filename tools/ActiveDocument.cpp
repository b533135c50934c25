// Reaching the active document through the main window.
#include "tools/ActiveDocument.h"

#include "document/DocumentHost.h"
#include "document/DocumentWindow.h"
#include "text/RichTextBox.h"

namespace {

RichTextBox *activeText()
{
    DocumentHost *host = MainForm();
    DocumentWindow *window = host ? host->ActiveForm() : nullptr;
    return window ? window->txtText : nullptr;
}

} // namespace

namespace ActiveDocument {

void insertText(const QString &text)
{
    if (RichTextBox *box = activeText())
        box->setSelText(text);
}

void setSelRTF(const QString &text)
{
    if (RichTextBox *box = activeText())
        box->setSelRTF(text);
}

std::optional<QString> selFontName()
{
    if (const RichTextBox *box = activeText())
        return box->SelFontName();
    return std::nullopt;
}

} // namespace ActiveDocument
