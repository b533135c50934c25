// The start dialog.
#include "frame/frmStartup.h"

#include "common/RecentFiles.h"
#include "document/DocumentHost.h"
#include "frame/FormSupport.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/Settings.h"
#include "platform/Toolbar.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include <QVBoxLayout>

namespace {

const QString ready = QStringLiteral("Bereit.");
// Room for the last file's path in the hint, the bare name included.
constexpr qsizetype hintRoom = 25;

} // namespace

frmStartup::frmStartup()
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(QStringLiteral("Willkommen!"));
    timeStatus.setInterval(5000);
    timeStatus.setSingleShot(true);
    connect(&timeStatus, &QTimer::timeout, this, &frmStartup::timeStatus_Timer);
    buildLayout();
}

void frmStartup::buildLayout()
{
    auto *picture = new QLabel(this);
    picture->setPixmap(programPicture(96));
    picture->setAlignment(Qt::AlignTop);
    cmdRTF = new QPushButton(QStringLiteral("Neu: &RTF"), this);
    cmdText = new QPushButton(QStringLiteral("Neu: &Text"), this);
    cmdDateiOeffnen = new QPushButton(QStringLiteral("&Datei öffnen..."), this);
    cmdDateiLetzte = new QPushButton(QStringLiteral("&Letzte Datei öffnen"), this);
    cmdAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    chkEnable = new QCheckBox(QStringLiteral("&Beim nächsten Start anzeigen"), this);
    chkEnable->setChecked(true);
    cmdRTF->setDefault(true);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    Panel1 = new QLabel(ready, StatusBar1);
    StatusBar1->addWidget(Panel1, 1);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {cmdRTF, cmdText, cmdDateiOeffnen, cmdDateiLetzte, cmdAbbrechen}) {
        button->setMinimumWidth(180);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *grid = new QGridLayout;
    grid->addWidget(picture, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(chkEnable, 1, 0, 1, 2);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addWidget(StatusBar1);
    setTabOrder(cmdRTF, cmdText);
    setTabOrder(cmdText, cmdDateiOeffnen);
    setTabOrder(cmdDateiOeffnen, cmdDateiLetzte);
    setTabOrder(cmdDateiLetzte, cmdAbbrechen);
    setTabOrder(cmdAbbrechen, chkEnable);

    connect(cmdText, &QPushButton::clicked, this, &frmStartup::cmdText_Click);
    connect(cmdRTF, &QPushButton::clicked, this, &frmStartup::cmdRTF_Click);
    connect(cmdDateiOeffnen, &QPushButton::clicked, this, &frmStartup::cmdDateiOeffnen_Click);
    connect(cmdDateiLetzte, &QPushButton::clicked, this, &frmStartup::cmdDateiLetzte_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmStartup::cmdAbbrechen_Click);
}

void frmStartup::Form_Load()
{
    adjustSize();
    centreOnScreen(this);
    cmdDateiLetzte->setEnabled(!GetSetting(RecentFiles::settingsKey(0)).isEmpty());
    cmdRTF->setFocus();
    timeStatus.start();
}

void frmStartup::done(int result)
{
    if (!unloaded) {
        unloaded = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void frmStartup::Form_Unload()
{
    SaveSwitch(QStringLiteral("Startup"), chkEnable->isChecked());
    timeStatus.stop();
}

void frmStartup::choose(Command command)
{
    chosen = command;
    accept();
}

void frmStartup::cmdText_Click()
{
    choose(Command::NewText);
}

void frmStartup::cmdRTF_Click()
{
    choose(Command::NewRichText);
}

void frmStartup::cmdDateiOeffnen_Click()
{
    choose(Command::Open);
}

void frmStartup::cmdDateiLetzte_Click()
{
    choose(Command::LastFile);
}

void frmStartup::cmdAbbrechen_Click()
{
    if (DocumentHost *main = MainForm(); main && main->tbNichts)
        main->tbNichts->setVisible(true);
    reject();
}

void frmStartup::showHint(const QString &text)
{
    timeStatus.stop();
    Panel1->setText(text);
    timeStatus.start();
}

void frmStartup::cmdText_MouseMove()
{
    showHint(QStringLiteral("Erstellt ein neues Nur-Text-Dokument."));
}

void frmStartup::cmdRTF_MouseMove()
{
    showHint(QStringLiteral("Erstellt ein neues RTF-Dokument."));
}

void frmStartup::cmdDateiOeffnen_MouseMove()
{
    showHint(QStringLiteral("Öffnet eine bestehende Datei."));
}

void frmStartup::cmdAbbrechen_MouseMove()
{
    showHint(QStringLiteral("Bricht das Dialogfeld ab."));
}

void frmStartup::cmdDateiLetzte_MouseMove()
{
    const DocumentHost *main = MainForm();
    showHint(
        lastFileHint(main ? main->recentFiles.path(0) : QString(), cmdDateiLetzte->isEnabled()));
}

QString frmStartup::lastFileHint(const QString &path, bool available)
{
    if (!available)
        return QStringLiteral("Zur Zeit nicht verfügbar.");
    const QChar quote = QLatin1Char('"');
    const QString opens = QStringLiteral("Öffnet Datei ");
    if (path.size() <= hintRoom)
        return opens + quote + path + quote + QLatin1Char('.');
    // A long path shows its beginning and the bare name; a bare name too long for the room
    // keeps its own beginning and end instead.
    const QString name = QFileInfo(path).fileName();
    const QString gap = QStringLiteral(" ... ");
    if (name.size() > hintRoom) {
        const qsizetype head = hintRoom / 2;
        return opens + quote + name.left(head) + gap + name.right(hintRoom - head) + quote
            + QLatin1Char('.');
    }
    return opens + quote + path.left(hintRoom - name.size()) + gap + QDir::separator() + name
        + quote + QLatin1Char('.');
}

void frmStartup::timeStatus_Timer()
{
    Panel1->setText(ready);
    timeStatus.stop();
}

bool frmStartup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == cmdText)
            cmdText_MouseMove();
        else if (watched == cmdRTF)
            cmdRTF_MouseMove();
        else if (watched == cmdDateiOeffnen)
            cmdDateiOeffnen_MouseMove();
        else if (watched == cmdDateiLetzte)
            cmdDateiLetzte_MouseMove();
        else if (watched == cmdAbbrechen)
            cmdAbbrechen_MouseMove();
    }
    return QDialog::eventFilter(watched, event);
}

void frmStartup::keyPressEvent(QKeyEvent *event)
{
    // Esc is "Abbrechen" and shows the toolbar; the close box does not.
    if (!handleEscapeAndHelp(this, event, HelpTopic::Startup, [this] { cmdAbbrechen_Click(); }))
        QDialog::keyPressEvent(event);
}

FormInstance<frmStartup> &frmStartupForm()
{
    static FormInstance<frmStartup> form;
    return form;
}

void showStartDialog()
{
    frmStartup &dialog = frmStartupForm().get();
    dialog.Form_Load();
    Modal::showModal(&dialog);
    const frmStartup::Command command = dialog.command();
    frmStartupForm().unload();
    DocumentHost *main = MainForm();
    if (!main)
        return;
    switch (command) {
    case frmStartup::Command::NewText:
        main->LoadNewText();
        break;
    case frmStartup::Command::NewRichText:
        main->LoadNewDoc();
        break;
    case frmStartup::Command::Open:
        main->OpenDoc();
        break;
    case frmStartup::Command::LastFile:
        main->mnuFileMRU_Click(0);
        break;
    case frmStartup::Command::None:
        break;
    }
}
