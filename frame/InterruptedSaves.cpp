// The start-up message for copies that unfinished in-place saves left behind.
#include "frame/InterruptedSaves.h"

#include "platform/FileWrite.h"
#include "platform/MsgBox.h"

#include <QStringList>

void reportInterruptedSaves()
{
    const QStringList copies = FileWrite::keptCopies();
    if (copies.isEmpty())
        return;
    const QString text = copies.size() == 1
        ? QStringLiteral("Das Speichern einer Datei wurde unterbrochen. Ihr vorheriger Inhalt "
                         "ist in dieser Kopie erhalten:\n\n%1\n\nPrüfen Sie die Datei und "
                         "löschen Sie die Kopie, wenn Sie sie nicht mehr brauchen.")
        : QStringLiteral("Das Speichern von Dateien wurde unterbrochen. Ihr vorheriger Inhalt "
                         "ist in diesen Kopien erhalten:\n\n%1\n\nPrüfen Sie die Dateien und "
                         "löschen Sie die Kopien, wenn Sie sie nicht mehr brauchen.");
    MsgBox(text.arg(copies.join(QLatin1Char('\n'))), vbExclamation);
}
