// velmar-picture: decodes one Windows metafile or enhanced metafile from its standard input and
// writes the picture to its standard output. Velmar starts it for each metafile, so whatever a
// damaged file does to the libraries happens here, within the limits this process sets itself.
//   velmar-picture wmf|emf TWIPS_PER_PIXEL_X TWIPS_PER_PIXEL_Y
#include "app/velmar-picture/EmfPicture.h"
#include "app/velmar-picture/ReplyWriter.h"
#include "app/velmar-picture/WmfPainter.h"
#include "pictures/PictureLimits.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void limitResources()
{
    // The sanitizers' shadow memory takes terabytes of address space; under them their own
    // allocator holds each allocation to the limit instead.
    if (!PictureLimits::underSanitizers) {
        const rlimit memory {PictureLimits::helperMemoryBytes, PictureLimits::helperMemoryBytes};
        setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit cpu {PictureLimits::helperCpuSeconds, PictureLimits::helperCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    const rlimit noCore {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
}

// A test seam: the caller's handling of a helper that crashes, hangs or talks nonsense.
void testFault()
{
    const QByteArray fault = qgetenv("VELMAR_PICTURE_HELPER_FAULT");
    if (fault == "crash")
        std::abort();
    if (fault == "sleep")
        sleep(600);
    if (fault == "nonsense") {
        std::fputs("no picture here", stdout);
        std::exit(0);
    }
}

// Standard input up to the metafile limit; nothing when it is longer.
std::optional<QByteArray> readInput()
{
    QByteArray data;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got == 0)
            return data;
        if (got < 0)
            return std::nullopt;
        if (data.size() + got > PictureLimits::maxMetafileBytes)
            return std::nullopt;
        data.append(chunk, got);
    }
}

bool writeAll(const char *bytes, qint64 size)
{
    while (size > 0) {
        const ssize_t written = write(STDOUT_FILENO, bytes, static_cast<size_t>(size));
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

} // namespace

#ifdef VELMAR_PICTURE_UNDER_ASAN
static_assert(PictureLimits::sanitizerFaultStatus == 86
              && PictureLimits::helperMemoryBytes == 768LL * 1024 * 1024);
extern "C" const char *__asan_default_options()
{
    return "exitcode=86:max_allocation_size_mb=768:allocator_may_return_null=1";
}
extern "C" const char *__ubsan_default_options()
{
    return "exitcode=86:print_stacktrace=1";
}
#endif

int main(int argc, char **argv)
{
    limitResources();
    testFault();
    if (argc != 4)
        return 2;
    const QByteArray kind = argv[1];
    const double twipsPerPixelX = std::strtod(argv[2], nullptr);
    const double twipsPerPixelY = std::strtod(argv[3], nullptr);
    // Text needs fonts, and fonts need an application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Its standard error is the sanitizers' alone; the program keeps no log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    int appArgc = 1;
    QGuiApplication application(appArgc, argv);
    const std::optional<QByteArray> data = readInput();
    if (!data)
        return 1;
    std::optional<RenderedPicture> picture;
    if (kind == "wmf")
        picture = renderWmf(*data, twipsPerPixelX, twipsPerPixelY);
    else if (kind == "emf")
        picture = renderEmf(*data, twipsPerPixelX, twipsPerPixelY);
    if (!picture)
        return 1;
    return writeReply(*picture, writeAll) ? 0 : 1;
}
