// The tip of the day dialog and its tip file.
#include "frame/frmTip.h"

#include "common/AppPaths.h"
#include "common/Cp1252.h"
#include "frame/FormSupport.h"
#include "frame/frmStartup.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace {

const QString noStart = QStringLiteral("Keinstart");
const QString on = QStringLiteral("True");

QString decodeTips(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QStringDecoder(Cp1252::converterName).decode(bytes) : text;
}

} // namespace

frmTip::frmTip()
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip des Tages"));
    buildLayout();
}

void frmTip::buildLayout()
{
    Picture1 = new QLabel(this);
    Picture1->setPixmap(programPicture(64));
    Picture1->setAlignment(Qt::AlignTop);
    Label1 = new QLabel(QStringLiteral("Wußten Sie, ..."), this);
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    Label1->setFont(heading);
    lblTipText = new QLabel(this);
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setMinimumSize(360, 120);
    lblTipText->setTextFormat(Qt::PlainText);
    chkAnzeigen = new QCheckBox(QStringLiteral("&Tips beim Start anzeigen"), this);
    chkAnzeigen->setChecked(true);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdNextTip = new QPushButton(QStringLiteral("&Nächster Tip"), this);
    cmdOK->setDefault(true);

    auto *text = new QVBoxLayout;
    text->addWidget(Label1);
    text->addWidget(lblTipText, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdNextTip);
    buttons->addStretch();
    auto *grid = new QGridLayout(this);
    grid->addWidget(Picture1, 0, 0);
    grid->addLayout(text, 0, 1);
    grid->addLayout(buttons, 0, 2);
    grid->addWidget(chkAnzeigen, 1, 0, 1, 3);
    setTabOrder(cmdOK, cmdNextTip);
    setTabOrder(cmdNextTip, chkAnzeigen);

    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
}

QString frmTip::tipFile()
{
    return AppPaths::programFolder() + QDir::separator() + QStringLiteral("TIPOFDAY.TXT");
}

QString frmTip::missingFileText()
{
    return QStringLiteral("daß die ") + QStringLiteral("TIPOFDAY.TXT")
        + QStringLiteral("-Datei nicht gefunden wurde? ") + QStringLiteral("\r\n\r\n")
        + QStringLiteral("Erstellen Sie mit dem Editor eine Textdatei mit Namen ")
        + QStringLiteral("TIPOFDAY.TXT") + QStringLiteral(", in der 1 Tip pro Zeile steht. ")
        + QStringLiteral("Legen Sie die Datei dann im gleichen Verzeichnis wie die Anwendung ab. ");
}

void frmTip::Form_Load()
{
    adjustSize();
    centreOnScreen(this);
    Randomize();
    if (!LoadTips(tipFile()))
        lblTipText->setText(missingFileText());
    if (Tag == noStart)
        chkAnzeigen->setChecked(GetSetting(QStringLiteral("Tip")) == on);
    cmdOK->setFocus();
}

bool frmTip::LoadTips(const QString &sFile)
{
    if (sFile.isEmpty())
        return false;
    // Hidden files are not found, as a lookup of normal files would not find them.
    const QFileInfo info(sFile);
    if (!info.isFile() || info.isHidden())
        return false;
    QFile file(sFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = decodeTips(bytes).split(lineEnd);
    // The end of the last line is no further tip.
    if (lines.last().isEmpty())
        lines.removeLast();
    TipList.append(lines);
    NextRandomTip();
    return true;
}

void frmTip::NextRandomTip()
{
    const auto count = static_cast<int>(TipList.size());
    CurrentTipNumber = static_cast<int>(count * Rnd() + 1);
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (TipList.isEmpty())
        return;
    lblTipText->setText(TipList.value(CurrentTipNumber - 1));
}

void frmTip::cmdNextTip_Click()
{
    NextRandomTip();
}

void frmTip::cmdOK_Click()
{
    SaveSwitch(QStringLiteral("Tip"), chkAnzeigen->isChecked());
    const bool atStart = Tag != noStart;
    accept();
    if (atStart && GetSwitch(QStringLiteral("Startup")))
        showStartDialog();
}

void frmTip::keyPressEvent(QKeyEvent *event)
{
    // Esc is the OK button here; only the close box leaves without it.
    if (!handleEscapeAndHelp(this, event, HelpTopic::HelpTip, [this] { cmdOK_Click(); }))
        QDialog::keyPressEvent(event);
}

FormInstance<frmTip> &frmTipForm()
{
    static FormInstance<frmTip> form;
    return form;
}

void showTipOfTheDay(const QString &tag)
{
    frmTip &tip = frmTipForm().get();
    tip.Tag = tag;
    tip.Form_Load();
    Modal::showModal(&tip);
    frmTipForm().unload();
}
