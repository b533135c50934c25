// Routing of modal waits: to the scripted handler when one is installed.
#include "platform/Modal.h"

#include <QDialog>

namespace {
Modal::Handler &handler()
{
    static Modal::Handler h;
    return h;
}
} // namespace

namespace Modal {

void setHandler(Handler h)
{
    handler() = std::move(h);
}

bool isScripted()
{
    return static_cast<bool>(handler());
}

Answer ask(const Request &request)
{
    return handler()(request);
}

int showModal(QDialog *form)
{
    if (!isScripted())
        return form->exec();
    Request request;
    request.kind = Kind::Form;
    request.title = form->windowTitle();
    request.form = form;
    // The form is open (visible, not blocking) while the script acts on it.
    form->setModal(false);
    form->show();
    const Answer answer = ask(request);
    if (answer.act && !answer.cancelled)
        answer.act(form);
    if (form->isVisible())
        form->reject();
    return form->result();
}

} // namespace Modal
