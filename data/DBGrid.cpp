// The data control over one table and the grid bound to it.
#include "data/DBGrid.h"

#include "data/Database.h"
#include "platform/MsgBox.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace {

// The engine's numbers for its refusals.
constexpr int requiredFieldEmpty = 3314;
constexpr int duplicateKey = 3022;
constexpr int fieldTooSmall = 3163;
constexpr int otherFailure = 3146;

QString quoted(QString name)
{
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

} // namespace

DataSource::DataSource(QObject *parent) : QAbstractTableModel(parent) { }

void DataSource::addColumn(const QString &caption, const QString &field)
{
    beginResetModel();
    columns.append({caption, field, static_cast<int>(fields.indexOf(field))});
    endResetModel();
}

QString DataSource::quotedTable() const
{
    return quoted(RecordSource);
}

bool DataSource::Refresh(QString *error)
{
    beginResetModel();
    records.clear();
    fields.clear();
    pendingValues.clear();
    changed.clear();
    pending = -1;
    current = -1;
    loaded = false;
    QString reason;
    const QSqlDatabase database = Database::open(DatabaseName, &reason);
    if (database.isValid()) {
        QSqlQuery query(database);
        query.setForwardOnly(true);
        if (query.exec(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY 2").arg(quotedTable()))) {
            const QSqlRecord shape = query.record();
            for (int i = 1; i < shape.count(); ++i)
                fields.append(shape.fieldName(i));
            while (query.next()) {
                Record record;
                record.rowid = query.value(0).toLongLong();
                for (int i = 1; i < shape.count(); ++i)
                    record.values.append(query.value(i));
                records.append(record);
            }
            loaded = true;
        } else {
            reason = Database::message(query.lastError());
        }
    }
    for (Column &column : columns)
        column.position = static_cast<int>(fields.indexOf(column.field));
    endResetModel();
    if (!loaded && error)
        *error = reason;
    return loaded;
}

bool DataSource::MoveFirst()
{
    if (!loaded || records.isEmpty())
        return false;
    current = 0;
    emit currentMoved(0);
    return true;
}

std::optional<QVariant> DataSource::Field(int position) const
{
    if (current < 0 || current >= recordCount() || records.at(current).rowid < 0 || position < 0
        || position >= records.at(current).values.size())
        return std::nullopt;
    return records.at(current).values.at(position);
}

QVariant DataSource::valueAt(int row, int position) const
{
    if (position < 0)
        return {};
    if (row == pending && changed.value(position))
        return pendingValues.value(position);
    if (row >= 0 && row < recordCount())
        return records.at(row).values.value(position);
    return {};
}

bool DataSource::readRecord(qint64 rowid, Record *record)
{
    QSqlQuery query(Database::open(DatabaseName));
    query.prepare(QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid = ?").arg(quotedTable()));
    query.addBindValue(rowid);
    if (!query.exec() || !query.next())
        return false;
    record->rowid = rowid;
    record->values.clear();
    for (int i = 1; i < query.record().count(); ++i)
        record->values.append(query.value(i));
    return true;
}

bool DataSource::refuse(const QString &reason)
{
    errorNumber = otherFailure;
    errorText = reason;
    return false;
}

bool DataSource::refuse(const QSqlError &error)
{
    const QString engineMessage = error.databaseText();
    static const QRegularExpression notNull(QStringLiteral("^NOT NULL constraint failed: (.+)$"));
    const QRegularExpressionMatch field = notNull.match(engineMessage);
    if (field.hasMatch()) {
        errorNumber = requiredFieldEmpty;
        errorText = Database::emptyFieldMessage(field.captured(1));
    } else if (engineMessage.startsWith(QLatin1String("UNIQUE constraint failed"))) {
        errorNumber = duplicateKey;
        errorText = QStringLiteral(
            "Die von Ihnen vorgenommenen Änderungen an der Tabelle konnten nicht vorgenommen "
            "werden, da der Index, Primärschlüssel oder die Beziehung mehrfach vorkommende Werte "
            "enthalten würde.");
    } else if (engineMessage.startsWith(QLatin1String("CHECK constraint failed"))
               && engineMessage.contains(QLatin1String("length("))) {
        errorNumber = fieldTooSmall;
        errorText = Database::tooLongMessage();
    } else {
        return refuse(Database::message(error));
    }
    return false;
}

bool DataSource::UpdateRecord()
{
    if (pending < 0)
        return true;
    Record &record = records[pending];
    QString reason;
    const QSqlDatabase database = Database::open(DatabaseName, &reason);
    if (!database.isValid())
        return refuse(reason);
    QSqlQuery query(database);
    if (record.rowid < 0) {
        QStringList names;
        for (const QString &field : std::as_const(fields))
            names.append(quoted(field));
        query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(quotedTable(), names.join(u", "),
                               QStringList(names.size(), QStringLiteral("?")).join(u", ")));
        for (qsizetype i = 0; i < fields.size(); ++i)
            query.addBindValue(changed.at(i) ? Database::valueForWrite(pendingValues.at(i))
                                             : nullText());
    } else {
        QStringList assignments;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (changed.at(i))
                assignments.append(quoted(fields.at(i)) + QStringLiteral(" = ?"));
        }
        query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                          .arg(quotedTable(), assignments.join(u", ")));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (changed.at(i))
                query.addBindValue(Database::valueForWrite(pendingValues.at(i)));
        }
        query.addBindValue(record.rowid);
    }
    if (!query.exec())
        return refuse(query.lastError());
    const qint64 rowid = record.rowid < 0 ? query.lastInsertId().toLongLong() : record.rowid;
    query.finish();
    Record stored;
    if (readRecord(rowid, &stored)) {
        record = stored;
    } else {
        record.rowid = rowid;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (changed.at(i))
                record.values[i] = pendingValues.at(i);
        }
    }
    const int row = pending;
    pending = -1;
    pendingValues.clear();
    changed.clear();
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
    return true;
}

void DataSource::CancelUpdate()
{
    if (pending < 0)
        return;
    const int row = pending;
    pending = -1;
    pendingValues.clear();
    changed.clear();
    if (records.at(row).rowid < 0) {
        // The record not yet stored turns back into the new-record line.
        beginRemoveRows(QModelIndex(), row + 1, row + 1);
        records.removeAt(row);
        endRemoveRows();
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

bool DataSource::deleteRecord(int row)
{
    if (!loaded || row < 0 || row >= recordCount())
        return true;
    if (row == pending) {
        CancelUpdate();
        if (row >= recordCount())
            return true;
    }
    QString reason;
    const QSqlDatabase database = Database::open(DatabaseName, &reason);
    if (!database.isValid())
        return refuse(reason);
    QSqlQuery query(database);
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quotedTable()));
    query.addBindValue(records.at(row).rowid);
    if (!query.exec())
        return refuse(query.lastError());
    beginRemoveRows(QModelIndex(), row, row);
    records.removeAt(row);
    if (pending > row)
        --pending;
    endRemoveRows();
    return true;
}

int DataSource::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !loaded ? 0 : recordCount() + 1;
}

int DataSource::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns.size());
}

QVariant DataSource::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return valueAt(index.row(), columns.at(index.column()).position).toString();
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns.size() ? columns.at(section).caption : QString();
    if (isNewRecordLine(section))
        return QStringLiteral("*");
    return section == pending ? QStringLiteral("\u270E") : QString();
}

Qt::ItemFlags DataSource::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !loaded)
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool DataSource::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!loaded || !index.isValid() || role != Qt::EditRole)
        return false;
    const int row = index.row();
    const int position = columns.at(index.column()).position;
    if (position < 0 || (pending >= 0 && pending != row))
        return false;
    const QString text = value.toString();
    if (text == valueAt(row, position).toString())
        return true;
    if (pending < 0) {
        pending = row;
        pendingValues = QList<QVariant>(fields.size());
        changed = QList<bool>(fields.size(), false);
        if (row == recordCount()) {
            // The new-record line becomes a record not yet stored, with a new line below it.
            beginInsertRows(QModelIndex(), row + 1, row + 1);
            records.append(Record {-1, QList<QVariant>(fields.size())});
            endInsertRows();
        }
    }
    pendingValues[position] = text;
    changed[position] = true;
    emit dataChanged(this->index(row, 0), this->index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
    return true;
}

QWidget *DBGrid::Delegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    editor = QStyledItemDelegate::createEditor(parent, option, index);
    return editor;
}

DBGrid::DBGrid(QWidget *parent) : QTableView(parent)
{
    delegate = new Delegate(this);
    setItemDelegate(delegate);
    setEditTriggers(DoubleClicked | SelectedClicked | EditKeyPressed | AnyKeyPressed);
    setSelectionMode(ExtendedSelection);
    setTabKeyNavigation(true);
    setWordWrap(false);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 2);
}

void DBGrid::setDataSource(DataSource *dataSource)
{
    source = dataSource;
    setModel(source);
    connect(source, &DataSource::currentMoved, this, &DBGrid::followSource);
    // A freshly read table stands on its first row.
    connect(source, &QAbstractItemModel::modelReset, this,
            [this] { setCurrentIndex(model()->index(0, 0)); });
}

QString DBGrid::ErrorText() const
{
    return source ? source->ErrorText() : QString();
}

void DBGrid::commitEditor()
{
    if (state() != EditingState || !delegate->editor)
        return;
    QWidget *editor = delegate->editor;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool DBGrid::updateRow()
{
    commitEditor();
    if (!source || source->UpdateRecord())
        return true;
    raiseError();
    return false;
}

void DBGrid::followSource(int row)
{
    setCurrentIndex(model()->index(row, std::max(currentIndex().column(), 0)));
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // The base hands an open editor's text to the model before the row is left.
    QTableView::currentChanged(current, previous);
    if (!source || returning)
        return;
    const int pendingRow = source->pendingRow();
    if (pendingRow >= 0 && current.row() != pendingRow && !source->UpdateRecord()) {
        // A refused row keeps the grid on it, with its edits, until it is put right.
        returning = true;
        setCurrentIndex(source->index(pendingRow, previous.isValid() ? previous.column() : 0));
        returning = false;
        source->setCurrentRow(pendingRow);
        raiseError();
        return;
    }
    source->setCurrentRow(current.isValid() ? current.row() : -1);
}

QModelIndex DBGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    if (cursorAction != MoveNext && cursorAction != MovePrevious)
        return QTableView::moveCursor(cursorAction, modifiers);
    // Tab stays in its row: at either end it hands the focus on instead of wrapping.
    const QModelIndex here = currentIndex();
    const int column = here.column() + (cursorAction == MoveNext ? 1 : -1);
    if (!here.isValid() || column < 0 || column >= model()->columnCount())
        return {};
    return model()->index(here.row(), column);
}

bool DBGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Only the current row takes edits, so a refused row cannot be left by editing another.
    if (index.isValid() && index.row() != currentIndex().row())
        return false;
    return QTableView::edit(index, trigger, event);
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex here = currentIndex();
    if (source && here.isValid() && state() != EditingState) {
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::ShiftModifier) {
            selectRow(here.row());
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier
            && selectionModel()->isRowSelected(here.row(), QModelIndex())) {
            deleteSelectedRecords();
            return;
        }
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier
            && source->pendingRow() >= 0) {
            source->CancelUpdate();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::deleteSelectedRecords()
{
    QList<int> rows;
    for (const QModelIndex &selected : selectionModel()->selectedRows())
        rows.append(selected.row());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    bool deleted = false;
    for (int row : std::as_const(rows)) {
        if (source->isNewRecordLine(row))
            continue;
        if (!source->deleteRecord(row)) {
            raiseError();
            break;
        }
        deleted = true;
    }
    if (deleted)
        emit AfterDelete();
}

void DBGrid::raiseError()
{
    int response = 1;
    emit Error(source->ErrorNumber(), response);
    if (response != 0)
        MsgBox(source->ErrorText(), vbExclamation);
}
