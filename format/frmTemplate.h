// The style-template manager "Formatvorlagen-Verwaltung": named sets of thirteen character and
// paragraph attributes in formatvorlage.mdb, browsed, made from the selection, deleted, applied.
#pragma once

#include "platform/Forms.h"

#include <QDialog>
#include <QList>
#include <QSqlRecord>
#include <QVariant>
#include <array>
#include <functional>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QToolButton;
class SwatchLabel;

class frmTemplate : public QDialog
{
    Q_OBJECT
public:
    // A browse bar over one table of a database file: its record set is read whole, in the
    // table's own order. A move past either end stays on the end row.
    class DataControl : public QWidget
    {
    public:
        DataControl(const QString &caption, QWidget *parent);

        QString DatabaseName;
        QString RecordSource;

        // Opens the record source afresh; the first row becomes current. False + reason when
        // the file or the table cannot be read.
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

    frmTemplate();
    ~frmTemplate() override;

    // What the Format menu's "&Formatvorlagen-Verwaltung..." does: load the dialog and show it
    // modally. A database that cannot be made or opened is reported and the dialog stays closed.
    static void ShowModal();

    // False when loading found the database unusable; the dialog is then not shown.
    bool loadedWell() const { return loadSucceeded; }

    DataControl *Data1 = nullptr;
    DataControl *Data2 = nullptr;
    QLabel *lblFormatname = nullptr;
    QLabel *lblName = nullptr;
    QLabel *Label2 = nullptr;
    QWidget *pboxMuster = nullptr;
    QLabel *lblMuster = nullptr;
    QPushButton *cmdNeu = nullptr;
    QPushButton *cmdLoeschen = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbrechen = nullptr;

    QCheckBox *chkFontname = nullptr;
    QCheckBox *chkFontsize = nullptr;
    QCheckBox *chkBold = nullptr;
    QCheckBox *chkItalic = nullptr;
    QCheckBox *chkUnderline = nullptr;
    QCheckBox *chkStrikethru = nullptr;
    QCheckBox *chkCharoffset = nullptr;
    QCheckBox *chkColor = nullptr;
    QCheckBox *chkAlignment = nullptr;
    QCheckBox *chkIndent = nullptr;
    QCheckBox *chkHangingindent = nullptr;
    QCheckBox *chkRightindent = nullptr;
    QCheckBox *chkBullet = nullptr;

    QLabel *lblFontname = nullptr;
    QLabel *lblFontsize = nullptr;
    QCheckBox *optBold = nullptr;
    QCheckBox *optItalic = nullptr;
    QCheckBox *optUnderline = nullptr;
    QCheckBox *optStrikethru = nullptr;
    QLabel *lblCharoffset = nullptr;
    SwatchLabel *lblColor2 = nullptr;
    QLabel *lblAlignment2 = nullptr;
    QLabel *lblIndent2 = nullptr;
    QLabel *lblHangingindent2 = nullptr;
    QLabel *lblRightindent = nullptr;
    QCheckBox *optBullet = nullptr;

    // Bound but never shown: the raw values under the computed displays.
    QLabel *lblColor1 = nullptr;
    QLabel *lblAlignment1 = nullptr;
    QLabel *lblIndent1 = nullptr;
    QLabel *lblHangingindent1 = nullptr;

    // The thirteen check boxes in row order.
    std::array<QCheckBox *, 13> checkBoxes() const;

    void lblName_Change();
    void cmdNeu_Click();
    void cmdLoeschen_Click();
    void cmdOK_Click();
    void cmdAbbrechen_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWindow();
    void buildRows();
    void buildButtons();

    void Form_Load();
    void Form_Activate();
    // The binding: every bound control shows the current row, the name label last.
    void showCurrentRecord();
    void showName(const QString &name);
    bool nameTaken(const QString &name, bool *checked);

    bool loadSucceeded = false;
    bool activated = false;
};

FormInstance<frmTemplate> &frmTemplateForm();
