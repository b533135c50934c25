// The program-wide registry of loaded forms by name (the object name), and the accessor for
// forms that exist once: created on first use, destroyed when unloaded.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace Forms {

// Registers a form as loaded; it leaves the registry when it is destroyed.
void add(QWidget *form);
// Takes a form out of the registry when it is unloaded but not yet destroyed.
void remove(QWidget *form);
QList<QWidget *> loaded();
int count();
QWidget *find(const QString &name);
bool isLoaded(const QString &name);
// Closes and destroys the form; nothing happens when it is not loaded.
void unload(const QString &name);
void unload(QWidget *form);

} // namespace Forms

template<class T>
class FormInstance
{
public:
    T &get()
    {
        if (!form) {
            form = new T();
            Forms::add(form);
        }
        return *form;
    }
    T *operator->() { return &get(); }
    bool isLoaded() const { return !form.isNull(); }
    T *ifLoaded() const { return form.data(); }
    void unload() { Forms::unload(form.data()); }

private:
    QPointer<T> form;
};
