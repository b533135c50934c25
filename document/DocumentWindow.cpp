// Shared behaviour of the rich-text and the plain-text window.
#include "document/DocumentWindow.h"

#include "document/DocumentHost.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/RichTextBox.h"
#include "platform/Screen.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

DocumentWindow::DocumentWindow(const QString &formName, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(formName);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    txtText = new RichTextBox(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtDruck = new RichTextBox(this);
    txtDruck->setObjectName(QStringLiteral("txtDruck"));
    txtDruck->hide();
    buildMenus();
    Forms::add(this);
}

DocumentWindow::~DocumentWindow()
{
    qDeleteAll(ownMenus);
}

void DocumentWindow::buildMenus()
{
    DocumentHost *host = MainForm();

    mnuFile = new QMenu(QStringLiteral("&Datei"));
    mnuFileNew = mnuFile->addAction(QStringLiteral("&Neu..."));
    mnuFileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = mnuFile->addAction(QStringLiteral("Ö&ffnen..."));
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileClose = mnuFile->addAction(QStringLiteral("S&chließen"));
    mnuFile->addSeparator();
    for (int i = 0; i < RecentFiles::Count; ++i) {
        mnuFileMRU[i] = mnuFile->addAction(QString());
        mnuFileMRU[i]->setVisible(false);
        connect(mnuFileMRU[i], &QAction::triggered, this, [this, i] { mnuFileMRU_Click(i); });
    }
    mnuFileBar5 = mnuFile->addSeparator();
    mnuFileBar5->setVisible(false);
    mnuFileEnd = mnuFile->addAction(QStringLiteral("&Beenden"));
    connect(mnuFileNew, &QAction::triggered, this, [host] { host->mnuFileNew_Click(); });
    connect(mnuFileOpen, &QAction::triggered, this, [host] { host->OpenDoc(); });
    connect(mnuFileClose, &QAction::triggered, this, &DocumentWindow::closeWindow);
    connect(mnuFileEnd, &QAction::triggered, this, [host] { host->mnuFileExit_Click(); });

    mnuView = new QMenu(QStringLiteral("&Ansicht"));
    mnuViewToolbar = mnuView->addAction(QStringLiteral("S&ymbolleiste"));
    mnuViewStatusBar = mnuView->addAction(QStringLiteral("&Statuszeile"));

    mnuPopup = new QMenu();
    QMenu *popupView = mnuPopup->addMenu(QStringLiteral("An&sicht"));
    mnuPopupViewToolbar = popupView->addAction(QStringLiteral("S&ymbolleiste"));
    mnuPopupViewStatusBar = popupView->addAction(QStringLiteral("&Statuszeile"));

    for (QAction *item :
         {mnuViewToolbar, mnuViewStatusBar, mnuPopupViewToolbar, mnuPopupViewStatusBar}) {
        item->setCheckable(true);
        item->setChecked(true);
        // The handlers decide the mark themselves.
        connect(item, &QAction::triggered, this, [item](bool) { item->toggle(); });
    }
    connect(mnuViewToolbar, &QAction::triggered, this,
            [this] { mnuViewToolbar_Click(mnuViewToolbar); });
    connect(mnuPopupViewToolbar, &QAction::triggered, this,
            [this] { mnuViewToolbar_Click(mnuPopupViewToolbar); });
    connect(mnuViewStatusBar, &QAction::triggered, this,
            [this] { mnuViewStatusBar_Click(mnuViewStatusBar); });
    connect(mnuPopupViewStatusBar, &QAction::triggered, this,
            [this] { mnuViewStatusBar_Click(mnuPopupViewStatusBar); });

    ownMenus = {mnuFile, mnuView, mnuPopup};
}

QList<QMenu *> DocumentWindow::menus() const
{
    return {mnuFile, mnuView};
}

QString DocumentWindow::Caption() const
{
    return windowTitle();
}

void DocumentWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void DocumentWindow::Dateinamenuebertrag()
{
    Dateiname = Tag;
    Tag.clear();
}

void DocumentWindow::mnuFileSave_Click() { }

bool DocumentWindow::isModified() const
{
    return Tag == QLatin1String("T") || Tag == QLatin1String("Geaendert");
}

void DocumentWindow::loadCommon()
{
    const int side = Screen::pixelsFromTwipsX(5000);
    resize(side, Screen::pixelsFromTwipsY(5000));
    if (parentWidget())
        parentWidget()->resize(side, Screen::pixelsFromTwipsY(5000));
    // A database that cannot be made does not keep the window from opening; F3 then only beeps.
    if (Database::ensure(Databases::textbausteine()))
        textBlockDatabase = Databases::textbausteinPath();
}

void DocumentWindow::Form_Activate()
{
    DocumentHost *host = MainForm();
    host->tbNichts->setVisible(false);
    const bool toolbarOn = host->mnuViewToolbar->isChecked();
    mnuViewToolbar->setChecked(toolbarOn);
    mnuPopupViewToolbar->setChecked(toolbarOn);
    for (QToolBar *bar : {host->tbRTF, host->tbText})
        bar->setVisible(bar == ownToolbar() && toolbarOn);
    const bool statusOn = host->mnuViewStatusBar->isChecked();
    mnuViewStatusBar->setChecked(statusOn);
    mnuPopupViewStatusBar->setChecked(statusOn);
    host->showRecentFiles(this);
}

void DocumentWindow::mnuViewToolbar_Click(QAction *item)
{
    const bool show = !item->isChecked();
    DocumentHost *host = MainForm();
    ownToolbar()->setVisible(show);
    mnuViewToolbar->setChecked(show);
    mnuPopupViewToolbar->setChecked(show);
    host->mnuViewToolbar->setChecked(show);
}

void DocumentWindow::mnuViewStatusBar_Click(QAction *item)
{
    const bool show = !item->isChecked();
    DocumentHost *host = MainForm();
    host->sbStatusBar->setVisible(show);
    mnuViewStatusBar->setChecked(show);
    mnuPopupViewStatusBar->setChecked(show);
    host->mnuViewStatusBar->setChecked(show);
}

void DocumentWindow::mnuFileMRU_Click(int index)
{
    MainForm()->mnuFileMRU_Click(index);
}

void DocumentWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void DocumentWindow::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    Form_MouseMove();
}

void DocumentWindow::Form_MouseMove()
{
    Screen::setMousePointer(Screen::vbDefault);
}

void DocumentWindow::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    if (unloaded) {
        event->accept();
        return;
    }
    if (Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    unloaded = true;
    event->accept();
}

bool DocumentWindow::Form_QueryUnload()
{
    if (!isModified())
        return false;
    const QString question = QStringLiteral("Der Text im Fenster \"%1\" wurde geändert. Möchten Sie "
                                            "die Datei speichern?")
                                 .arg(Caption());
    const int answer = MsgBox(question, vbYesNoCancel | vbQuestion,
                              QStringLiteral("Dokument %1 schließen?").arg(Caption()));
    if (answer == vbCancel)
        return true;
    if (answer == vbYes) {
        mnuFileSave_Click();
        // Only a save that went through may discard the window.
        return isModified();
    }
    return false;
}

void DocumentWindow::Form_Unload()
{
    const bool keyboard = Forms::isLoaded(QStringLiteral("frmTastatur"));
    const bool specialCharacters = Forms::isLoaded(QStringLiteral("frmSonder"));
    const int limit = 2 + (keyboard ? 1 : 0) + (specialCharacters ? 1 : 0);
    if (Forms::count() <= limit) {
        Forms::unload(QStringLiteral("frmTastatur"));
        Forms::unload(QStringLiteral("frmSonder"));
    }
    // The toolbars follow the document windows alone: another tool window open does not
    // keep a document toolbar on show without a document.
    bool otherDocument = false;
    for (QWidget *form : Forms::loaded()) {
        if (form != this && qobject_cast<DocumentWindow *>(form))
            otherDocument = true;
    }
    if (!otherDocument) {
        DocumentHost *host = MainForm();
        host->tbNichts->setVisible(host->mnuViewToolbar->isChecked());
        host->tbRTF->setVisible(false);
        host->tbText->setVisible(false);
    }
}
