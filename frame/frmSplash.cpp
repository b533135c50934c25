// The splash window: picture, title, version, maker and platform.
#include "frame/frmSplash.h"

#include "common/ProgramInfo.h"
#include "frame/FormSupport.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QSysInfo>

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    buildLayout();
    Form_Load();
}

void frmSplash::buildLayout()
{
    auto *outer = new QVBoxLayout(this);
    fraMainFrame = new QFrame(this);
    fraMainFrame->setFrameShape(QFrame::Box);
    outer->addWidget(fraMainFrame);

    Image1 = new QLabel(fraMainFrame);
    Image1->setPixmap(programPicture(128));
    lblProductName = new QLabel(fraMainFrame);
    QFont titleFont = lblProductName->font();
    titleFont.setPointSize(24);
    titleFont.setBold(true);
    lblProductName->setFont(titleFont);
    lblVersion = new QLabel(fraMainFrame);
    lblCompanyProduct = new QLabel(QStringLiteral("KELMORIA"), fraMainFrame);
    lblPlatform = new QLabel(QSysInfo::prettyProductName(), fraMainFrame);
    lblLicenseTo = new QLabel(QStringLiteral("Textverarbeitung für Nur-Text- und RTF-Dokumente"),
                              fraMainFrame);
    lblCopyright = new QLabel(QStringLiteral("© KELMORIA. Alle Rechte vorbehalten."), fraMainFrame);
    lblWarning = new QLabel(QStringLiteral("Das Programm wird geladen..."), fraMainFrame);

    auto *grid = new QGridLayout(fraMainFrame);
    grid->addWidget(Image1, 0, 0, 4, 1);
    grid->addWidget(lblCompanyProduct, 0, 1);
    grid->addWidget(lblProductName, 1, 1);
    grid->addWidget(lblPlatform, 2, 1);
    grid->addWidget(lblVersion, 3, 1);
    grid->addWidget(lblLicenseTo, 4, 0, 1, 2);
    grid->addWidget(lblCopyright, 5, 0, 1, 2);
    grid->addWidget(lblWarning, 6, 0, 1, 2);
}

void frmSplash::Form_Load()
{
    lblVersion->setText(ProgramInfo::versionText());
    lblProductName->setText(ProgramInfo::title());
    adjustSize();
    centreOnScreen(this);
}
