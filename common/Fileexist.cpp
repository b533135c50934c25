// Fileexist: a regular, readable file, checked without ever blocking.
#include "common/Fileexist.h"

#include <QFile>
#include <QFileInfo>

bool Fileexist(const QString &path)
{
    if (path.isEmpty())
        return false;
    // Checked before opening: opening a FIFO for reading would wait for a writer.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.close();
    return true;
}
