// Files the tests read from tests/fixtures/.
#include "tests/support/Fixtures.h"

#include <QFile>
#include <QFileInfo>

namespace Fixtures {

QString path(const QString &relative)
{
    const QString full = QStringLiteral(VELMAR_FIXTURES_DIR "/") + relative;
    if (!QFileInfo(full).isFile())
        qFatal("test fixture missing: %s", qPrintable(full));
    return full;
}

QByteArray bytes(const QString &relative)
{
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("test fixture unreadable: %s", qPrintable(file.fileName()));
    return file.readAll();
}

} // namespace Fixtures
