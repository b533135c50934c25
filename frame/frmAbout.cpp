// The about box.
#include "frame/frmAbout.h"

#include "common/ProgramInfo.h"
#include "frame/FormSupport.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"

#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QDir>
#include <QSettings>
#endif

namespace {

std::function<bool(const QString &)> &starter()
{
    static std::function<bool(const QString &)> start;
    return start;
}

bool startProgram(const QString &program)
{
    if (starter())
        return starter()(program);
    return QProcess::startDetached(program, {});
}

#ifdef Q_OS_WIN
QString registryValue(const QString &key, const QString &name)
{
    const QSettings registry(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
    return registry.value(name).toString();
}
#endif

} // namespace

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info über Velmar³²"));
    timeJoke.setInterval(500);
    connect(&timeJoke, &QTimer::timeout, this, &frmAbout::timeJoke_Timer);
    buildLayout();
    Form_Load();
}

// Placed by hand: the wandering OK button must not be put back by a layout.
void frmAbout::buildLayout()
{
    setFixedSize(480, 290);
    Image1 = new QLabel(this);
    Image1->setPixmap(programPicture(64));
    Image1->setGeometry(16, 16, 64, 64);
    Image1->installEventFilter(this);
    lblTitle = new QLabel(this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setGeometry(100, 16, 360, 32);
    lblVersion = new QLabel(this);
    lblVersion->setGeometry(100, 52, 360, 20);
    lblDescription = new QLabel(
        QStringLiteral("Textverarbeitung für Nur-Text- und RTF-Dokumente mit Lineal, "
                       "Formatvorlagen, Textbausteinen, Suchen und Ersetzen, Sonderzeichen "
                       "und Bildschirmtastatur."),
        this);
    lblDescription->setWordWrap(true);
    lblDescription->setGeometry(100, 80, 360, 64);
    for (std::size_t i = 0; i < Line1.size(); ++i) {
        Line1[i] = new QFrame(this);
        Line1[i]->setFrameShape(QFrame::HLine);
        Line1[i]->setFrameShadow(QFrame::Sunken);
        Line1[i]->setGeometry(16, 154 + static_cast<int>(i) * 3, 448, 2);
    }
    lblDisclaimer = new QLabel(
        QStringLiteral("Dieses Programm wird ohne jede Gewähr geliefert. Sichern Sie wichtige "
                       "Dokumente regelmäßig. © KELMORIA. Alle Rechte vorbehalten."),
        this);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setGeometry(16, 168, 300, 100);
    cmdSysInfo = new QPushButton(QStringLiteral("&Systeminfo..."), this);
    cmdSysInfo->setGeometry(340, 208, 124, 28);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setGeometry(340, 172, 124, 28);
    cmdOK->setDefault(true);
    setTabOrder(cmdSysInfo, cmdOK);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load()
{
    lblVersion->setText(ProgramInfo::versionText());
    lblTitle->setText(ProgramInfo::title());
    centreOnScreen(this);
    cmdSysInfo->setFocus();
}

void frmAbout::cmdOK_Click()
{
    timeJoke.stop();
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

QString frmAbout::sysInfoProgram()
{
#ifdef Q_OS_WIN
    const QString full = registryValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                       QStringLiteral("PATH"));
    if (!full.isEmpty())
        return full;
    const QString folder = registryValue(
        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"));
    const QString program = QDir(folder).filePath(QStringLiteral("MSINFO32.EXE"));
    return !folder.isEmpty() && QFileInfo::exists(program) ? program : QString();
#else
    for (const char *name : {"hardinfo2", "hardinfo", "kinfocenter"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return program;
    }
    return QString();
#endif
}

void frmAbout::StartSysInfo()
{
    const QString program = sysInfoProgram();
    if (!program.isEmpty() && startProgram(program))
        return;
    MsgBox(QStringLiteral("Systeminformationsprogramm zur Zeit nicht verfügbar."), vbOKOnly,
           ProgramInfo::title());
}

void frmAbout::setProgramStarter(std::function<bool(const QString &)> start)
{
    starter() = std::move(start);
}

void frmAbout::Image1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift)
{
    if (shift == (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        timeJoke.start();
}

void frmAbout::timeJoke_Timer()
{
    // The outer size, frame included: the button may end up partly out of sight.
    const QSize outer = frameGeometry().size();
    const double r1 = Rnd();
    const double r2 = Rnd();
    cmdOK->move(static_cast<int>((outer.width() - cmdOK->width()) * r2),
                static_cast<int>((outer.height() - cmdOK->height()) * r1));
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        Image1_MouseDown(mouse->button(), mouse->modifiers());
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (!handleEscapeAndHelp(this, event, HelpTopic::HelpAbout, [this] { cmdOK_Click(); }))
        QDialog::keyPressEvent(event);
}

FormInstance<frmAbout> &frmAboutForm()
{
    static FormInstance<frmAbout> form;
    return form;
}

void showAbout(QWidget *owner)
{
    frmAbout &about = frmAboutForm().get();
    if (owner)
        about.setParent(owner, about.windowFlags());
    Modal::showModal(&about);
    frmAboutForm().unload();
}
