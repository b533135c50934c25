// The data control of a form: a browse bar over one table of a database file, whose record set
// is read whole, in the table's own order, with adding and deleting a row.
#pragma once

#include <QList>
#include <QSqlRecord>
#include <QVariant>
#include <QWidget>
#include <array>
#include <functional>
#include <utility>

class QKeyEvent;
class QLabel;
class QToolButton;

// A move past either end stays on the end row.
class DataControl : public QWidget
{
public:
    DataControl(const QString &caption, QWidget *parent);

    QString DatabaseName;
    QString RecordSource;

    // Opens the record source afresh; the first row becomes current. False + reason when the
    // file or the table cannot be read.
    bool Refresh(QString *error = nullptr);
    bool isOpen() const { return open; }

    int RecordCount() const { return int(rows.size()); }
    bool hasCurrent() const { return current >= 0; }
    // A field of the current row by name, compared without regard to case.
    QVariant field(const QString &name) const;
    const QList<QSqlRecord> &records() const { return rows; }

    void MoveFirst();
    void MovePrevious();
    void MoveNext();
    void MoveLast();
    // The data control's keys, wherever the focus is in its window: PgUp and PgDn step,
    // Ctrl+Home and Ctrl+End jump to either end. False for any other key.
    bool browseKey(const QKeyEvent *event);

    // AddNew with the given fields and Update, in one transaction: either the whole row is
    // stored or nothing. The new row is then what LastModified names.
    bool AddNew(const QList<std::pair<QString, QVariant>> &fields, QString *error);
    // The key of the row last added.
    QString LastModified() const { return lastModified; }
    // Makes the row with this key current.
    void setBookmark(const QString &key);
    // Deletes the current row; no row is current afterwards.
    bool Delete(QString *error);

    QToolButton *firstButton() const { return buttons[0]; }
    QToolButton *previousButton() const { return buttons[1]; }
    QToolButton *nextButton() const { return buttons[2]; }
    QToolButton *lastButton() const { return buttons[3]; }
    QLabel *captionLabel() const { return caption; }

    // Runs whenever the current row changes, also to none.
    std::function<void()> Reposition;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool read(QString *error);
    int rowOf(const QString &key) const;
    void moveTo(int row);

    QList<QSqlRecord> rows;
    int current = -1;
    bool open = false;
    QString lastModified;
    std::array<QToolButton *, 4> buttons {};
    QLabel *caption = nullptr;
};
