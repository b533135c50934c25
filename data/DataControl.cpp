// The data control: its browse bar, its record set read whole, and adding and deleting a row.
#include "data/DataControl.h"

#include "data/Database.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <QToolButton>
#include <algorithm>

namespace {

QPixmap arrowPicture(bool pointsLeft, bool withBar, int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const double middle = size / 2.0;
    const double half = size * 0.28;
    const double tip = pointsLeft ? middle - half : middle + half;
    const double back = pointsLeft ? middle + half : middle - half;
    const QPointF triangle[3] = {{tip, middle}, {back, middle - half}, {back, middle + half}};
    painter.drawPolygon(triangle, 3);
    if (withBar) {
        const double x = pointsLeft ? tip - size * 0.12 : tip;
        painter.drawRect(QRectF(x, middle - half, size * 0.12, 2 * half));
    }
    return picture;
}

} // namespace

DataControl::DataControl(const QString &captionText, QWidget *parent) : QWidget(parent)
{
    const bool left[4] = {true, true, false, false};
    const bool bar[4] = {true, false, false, true};
    const char *tips[4] = {"Erste", "Vorherige", "Nächste", "Letzte"};
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QToolButton(this);
        buttons[i]->setIcon(arrowPicture(left[i], bar[i], 16));
        buttons[i]->setAccessibleName(QString::fromUtf8(tips[i]));
        // The bar is browsed from the keyboard too.
        buttons[i]->setFocusPolicy(Qt::StrongFocus);
    }
    caption = new QLabel(captionText, this);
    caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Base);
    connect(buttons[0], &QToolButton::clicked, this, [this] { MoveFirst(); });
    connect(buttons[1], &QToolButton::clicked, this, [this] { MovePrevious(); });
    connect(buttons[2], &QToolButton::clicked, this, [this] { MoveNext(); });
    connect(buttons[3], &QToolButton::clicked, this, [this] { MoveLast(); });
}

void DataControl::resizeEvent(QResizeEvent *)
{
    const int h = height();
    buttons[0]->setGeometry(0, 0, h, h);
    buttons[1]->setGeometry(h, 0, h, h);
    caption->setGeometry(2 * h, 0, width() - 4 * h, h);
    buttons[2]->setGeometry(width() - 2 * h, 0, h, h);
    buttons[3]->setGeometry(width() - h, 0, h, h);
}

bool DataControl::read(QString *error)
{
    open = false;
    rows.clear();
    QString reason;
    QSqlDatabase database = Database::open(DatabaseName, &reason);
    if (database.isValid()) {
        QSqlQuery query(database);
        query.setForwardOnly(true);
        if (query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(RecordSource))) {
            while (query.next())
                rows.append(query.record());
            open = true;
        } else {
            reason = Database::message(query.lastError());
        }
    }
    if (!open && error)
        *error = reason;
    return open;
}

bool DataControl::Refresh(QString *error)
{
    const bool ok = read(error);
    moveTo(rows.isEmpty() ? -1 : 0);
    return ok;
}

int DataControl::rowOf(const QString &key) const
{
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).value(0).toString() == key)
            return i;
    }
    return -1;
}

QVariant DataControl::field(const QString &name) const
{
    if (current < 0)
        return {};
    return rows.at(current).value(name);
}

void DataControl::moveTo(int row)
{
    current = row;
    if (Reposition)
        Reposition();
}

void DataControl::MoveFirst()
{
    moveTo(rows.isEmpty() ? -1 : 0);
}

void DataControl::MovePrevious()
{
    if (!rows.isEmpty())
        moveTo(std::max(current - 1, 0));
}

void DataControl::MoveNext()
{
    if (!rows.isEmpty())
        moveTo(std::min(current + 1, int(rows.size()) - 1));
}

void DataControl::MoveLast()
{
    moveTo(int(rows.size()) - 1);
}

bool DataControl::AddNew(const QList<std::pair<QString, QVariant>> &fields, QString *error)
{
    QSqlDatabase database = Database::open(DatabaseName, error);
    if (!database.isValid())
        return false;
    QStringList names;
    for (const auto &[name, value] : fields)
        names.append(QLatin1Char('"') + name + QLatin1Char('"'));
    QSqlQuery query(database);
    const bool ok = database.transaction()
        && query.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                             .arg(RecordSource, names.join(u", "),
                                  QStringList(fields.size(), QStringLiteral("?")).join(u", ")));
    if (ok) {
        for (const auto &[name, value] : fields)
            query.addBindValue(Database::valueForWrite(value));
    }
    if (!ok || !query.exec() || !database.commit()) {
        *error = Database::message(query.lastError().isValid() ? query.lastError()
                                                               : database.lastError());
        database.rollback();
        return false;
    }
    lastModified = fields.value(0).second.toString();
    // The record set takes in the new row; the current row stays where it was.
    const QString key = current >= 0 ? rows.at(current).value(0).toString() : QString();
    const bool hadCurrent = current >= 0;
    read(nullptr);
    current = hadCurrent ? rowOf(key) : -1;
    return true;
}

void DataControl::setBookmark(const QString &key)
{
    const int row = rowOf(key);
    if (row >= 0)
        moveTo(row);
}

bool DataControl::Delete(QString *error)
{
    if (current < 0) {
        *error = QStringLiteral("Es ist kein Datensatz ausgewählt.");
        return false;
    }
    QSqlDatabase database = Database::open(DatabaseName, error);
    if (!database.isValid())
        return false;
    const QSqlRecord &row = rows.at(current);
    QSqlQuery query(database);
    query.prepare(
        QStringLiteral("DELETE FROM \"%1\" WHERE \"%2\" = ?").arg(RecordSource, row.fieldName(0)));
    query.addBindValue(row.value(0));
    if (!query.exec()) {
        *error = Database::message(query.lastError());
        return false;
    }
    rows.removeAt(current);
    current = -1;
    return true;
}

bool DataControl::browseKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool control = modifiers == Qt::ControlModifier;
    const bool plain = modifiers == Qt::NoModifier;
    if (plain && event->key() == Qt::Key_PageUp)
        MovePrevious();
    else if (plain && event->key() == Qt::Key_PageDown)
        MoveNext();
    else if (control && event->key() == Qt::Key_Home)
        MoveFirst();
    else if (control && event->key() == Qt::Key_End)
        MoveLast();
    else
        return false;
    return true;
}
