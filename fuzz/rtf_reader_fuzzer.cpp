// libFuzzer entry for the RTF reader: any input gives a document or a format error, and what the
// writer makes of that document reads back to the same text.
#include "fuzz/FuzzApplication.h"
#include "text/rtf/RtfReader.h"
#include "text/rtf/RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    startFuzzApplication(*argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    QTextCursor cursor(&document);
    const rtf::ReadResult result = rtf::read(input, cursor);
    if (result.ok != result.error.isEmpty())
        std::abort();
    if (!result.ok)
        return 0;

    QTextDocument copy;
    QTextCursor copyCursor(&copy);
    if (!rtf::read(rtf::write(document), copyCursor).ok)
        std::abort();
    if (copy.toPlainText() != document.toPlainText())
        std::abort();
    return 0;
}
