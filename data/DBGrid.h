// The data control and the bound grid: one table of a database, shown and edited row by row.
// Edits of a row stay pending until the grid leaves the row or the row is updated; a row the
// engine refuses raises the grid's Error event with the engine's message.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QSqlError>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVariant>
#include <optional>

// The data control: the records of the table RecordSource in the database DatabaseName, in the
// order of the table's first field, followed by the line for a new record.
class DataSource : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);

    QString DatabaseName;
    QString RecordSource;

    // The grid's columns: each a caption and the field it shows.
    void addColumn(const QString &caption, const QString &field);

    // Reads the table again; drops a pending edit. False with the engine's reason when the
    // table cannot be read; the grid then shows nothing and takes no edits.
    bool Refresh(QString *error = nullptr);

    // The current record as the grid sets it: a row of the table, or the new-record line.
    int currentRow() const { return current; }
    void setCurrentRow(int row) { current = row; }
    // Makes the first record the current one; false when there is none.
    bool MoveFirst();
    // The stored value of the current record's field at a position of the table; none on the
    // new-record line, on a record not yet stored, or without records.
    std::optional<QVariant> Field(int position) const;

    int recordCount() const { return static_cast<int>(records.size()); }
    bool isNewRecordLine(int row) const { return loaded && row == recordCount(); }
    // The row whose edits are pending, or -1.
    int pendingRow() const { return pending; }
    // Writes the pending edits; true when nothing is pending. A refusal keeps the edits and
    // leaves the engine's message in ErrorText.
    bool UpdateRecord();
    // Drops the pending edits; a record not yet stored goes away.
    void CancelUpdate();
    // Deletes the record of a row; a refusal leaves its message in ErrorText.
    bool deleteRecord(int row);

    // The engine's message for the last refusal, in its German wording, and its number.
    QString ErrorText() const { return errorText; }
    int ErrorNumber() const { return errorNumber; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The current record was moved by the data control itself (MoveFirst).
    void currentMoved(int row);

private:
    struct Record
    {
        qint64 rowid = -1; // -1: not yet stored
        QList<QVariant> values;
    };
    struct Column
    {
        QString caption;
        QString field;
        int position = -1;
    };

    QVariant valueAt(int row, int position) const;
    bool readRecord(qint64 rowid, Record *record);
    bool refuse(const QString &reason);
    bool refuse(const QSqlError &error);
    QString quotedTable() const;

    QList<Column> columns;
    QStringList fields;
    QList<Record> records;
    QList<QVariant> pendingValues;
    QList<bool> changed;
    bool loaded = false;
    int pending = -1;
    int current = -1;
    QString errorText;
    int errorNumber = 0;
};

// The bound grid over a DataSource: arrow keys between cells, Tab between the columns of a row
// without wrapping to the next, Delete on a selected row (row header, or Shift+Space) deletes it,
// Esc drops the pending edits of the row (in an open cell, first that cell's).
class DBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return source; }

    // The message of the edit the data source refused last, as the Error event reads it.
    QString ErrorText() const;
    // Hands an open cell editor's text to the row's pending edit and closes the editor.
    void commitEditor();
    // commitEditor, then writes the row's pending edits; a refusal raises Error, keeps the
    // edits and gives false.
    bool updateRow();

signals:
    // Response starts at 1: the grid then shows ErrorText itself; 0 keeps it quiet.
    void Error(int DataError, int &Response);
    void AfterDelete();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class Delegate : public QStyledItemDelegate
    {
    public:
        using QStyledItemDelegate::QStyledItemDelegate;
        QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
        mutable QPointer<QWidget> editor;
    };

    void raiseError();
    void deleteSelectedRecords();
    void followSource(int row);

    DataSource *source = nullptr;
    Delegate *delegate = nullptr;
    bool returning = false;
};
