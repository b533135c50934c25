// The start-up message for copies that unfinished in-place saves left behind.
#include "frame/InterruptedSaves.h"

#include "platform/FileWrite.h"
#include "platform/MsgBox.h"

#include <QStringList>

void reportInterruptedSaves()
{
    const QList<FileWrite::KeptCopy> copies = FileWrite::keptCopies();
    if (copies.isEmpty())
        return;
    if (copies.size() == 1) {
        MsgBox(QStringLiteral("Das Speichern der Datei \"%1\" wurde unterbrochen. Ihr vorheriger "
                              "Inhalt ist in dieser Kopie erhalten:\n\n%2\n\nPrüfen Sie die "
                              "Datei und löschen Sie die Kopie, wenn Sie sie nicht mehr brauchen.")
                   .arg(copies.first().document, copies.first().copy),
               vbExclamation);
        return;
    }
    // Each document with its copy, so that two of one name from different folders stay apart.
    QStringList lines;
    for (const FileWrite::KeptCopy &kept : copies)
        lines.append(QStringLiteral("\"%1\": %2").arg(kept.document, kept.copy));
    MsgBox(QStringLiteral("Das Speichern von Dateien wurde unterbrochen. Ihr vorheriger Inhalt "
                          "ist in diesen Kopien erhalten:\n\n%1\n\nPrüfen Sie die Dateien und "
                          "löschen Sie die Kopien, wenn Sie sie nicht mehr brauchen.")
               .arg(lines.join(QLatin1Char('\n'))),
           vbExclamation);
}
