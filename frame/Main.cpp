// Program start.
#include "frame/Main.h"

#include "frame/ProgramIcon.h"
#include "frame/frmMain.h"
#include "frame/frmSplash.h"
#include "platform/Forms.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>

frmMain *Main()
{
    installProgramIcon();
    auto *splash = new frmSplash();
    Forms::add(splash);
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    auto *mainForm = new frmMain();
    mainForm->setAttribute(Qt::WA_DeleteOnClose);
    mainForm->MDIForm_Load();

    Forms::unload(splash);
    return mainForm;
}

int runVelmar(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A write past the file-size limit then fails as on a full disk, which every save handles,
    // instead of ending the program and every window's unsaved work with it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtGerman);
    Main();
    return app.exec();
}
