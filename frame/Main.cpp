// Program start.
#include "frame/Main.h"

#include <QApplication>

int runVelmar(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return 0;
}
