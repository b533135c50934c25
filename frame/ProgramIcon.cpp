// The program icon: the program's picture, drawn for each size a window system asks for.
#include "frame/ProgramIcon.h"

#include "frame/FormSupport.h"

#include <QApplication>

QIcon programIcon()
{
    static const QIcon icon = [] {
        QIcon drawn;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            drawn.addPixmap(programPicture(size));
        return drawn;
    }();
    return icon;
}

void installProgramIcon()
{
    QApplication::setWindowIcon(programIcon());
}
