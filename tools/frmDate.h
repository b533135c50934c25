// The dialog "Datums- und Zeitformate": inserts the date or the time, as it was when the dialog
// opened, in one of the listed formats into the active document.
#pragma once

#include "platform/Forms.h"

#include <QDateTime>
#include <QDialog>
#include <functional>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabBar;

class frmDate : public QDialog
{
    Q_OBJECT
public:
    frmDate();
    ~frmDate() override;

    // Insert > date (tab 1) and Insert > time (tab 2) of the document windows: loads the
    // dialog, shows the page of that tab and shows the dialog modally until it is closed.
    static void open(int tab);

    // Where the dialog reads the current date and time; an empty clock is the system's.
    using Clock = std::function<QDateTime()>;
    static void setClock(Clock clock);

    // The formats in list order, and the texts they give at a moment.
    static QStringList datePatterns();
    static QStringList timePatterns();
    static QString dateEntry(int index, const QDateTime &when);
    static QString timeEntry(int index, const QDateTime &when);
    static constexpr int dateCount = 52;
    static constexpr int timeCount = 72;

    QTabBar *TabStrip1 = nullptr;
    QGroupBox *Rahmen1 = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *lstDate = nullptr;
    QGroupBox *Rahmen2 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *lstTime = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbrechen = nullptr;

    // Shows the tab's page on the tab strip's client area and hides the other.
    void showPage(int tab);

    void cmdOK_Click();
    void cmdAbbrechen_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
    void Form_Load();
    void TabStrip1_Click();
    void lstDate_DblClick();
    void lstTime_DblClick();

    QFrame *tabPage = nullptr;
};

// The dialog's one instance.
FormInstance<frmDate> &frmDateForm();
