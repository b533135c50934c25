// Loaded forms in the order they were loaded.
#include "platform/Forms.h"

namespace {
QList<QPointer<QWidget>> &registry()
{
    static QList<QPointer<QWidget>> forms;
    return forms;
}

void prune()
{
    registry().removeIf([](const QPointer<QWidget> &form) { return form.isNull(); });
}
} // namespace

namespace Forms {

void add(QWidget *form)
{
    prune();
    if (!form || registry().contains(form))
        return;
    registry().append(form);
}

void remove(QWidget *form)
{
    registry().removeIf([form](const QPointer<QWidget> &p) { return p.data() == form; });
}

QList<QWidget *> loaded()
{
    prune();
    QList<QWidget *> forms;
    for (const QPointer<QWidget> &form : std::as_const(registry()))
        forms.append(form.data());
    return forms;
}

int count()
{
    return static_cast<int>(loaded().size());
}

QWidget *find(const QString &name)
{
    for (QWidget *form : loaded()) {
        if (form->objectName() == name)
            return form;
    }
    return nullptr;
}

bool isLoaded(const QString &name)
{
    return find(name) != nullptr;
}

void unload(const QString &name)
{
    unload(find(name));
}

void unload(QWidget *form)
{
    if (!form)
        return;
    remove(form);
    form->close();
    delete form;
}

} // namespace Forms
