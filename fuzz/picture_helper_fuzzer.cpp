// libFuzzer entry for the metafile helper's own code, run in process: the WMF painter over
// libwmf, the EMF ground and its SVG drawn, the size checks, and the answer written and read
// back. Any input gives a picture within the limits that comes back unchanged, or nothing.
// libemf2svg reads past the data it is given on some damaged files, which the program's helper
// survives within its limits; here it runs in a child process of its own for the same reason.
#include "app/velmar-picture/EmfPicture.h"
#include "app/velmar-picture/ReplyWriter.h"
#include "app/velmar-picture/WmfPainter.h"
#include "fuzz/FuzzApplication.h"
#include "pictures/PictureLimits.h"
#include "pictures/PictureReply.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sanitizer/common_interface_defs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Twips per pixel at 96 dots per inch, as the program mostly asks.
constexpr double twipsPerPixel = 15;

bool withinLimits(const QImage &image, double widthTwips, double heightTwips)
{
    return !image.isNull() && qint64(image.width()) * image.height() <= PictureLimits::maxPixels
        && widthTwips > 0 && heightTwips > 0;
}

// Whatever a helper answers, the caller's reader makes a picture within the limits of it or
// nothing, however the answer is cut into pieces.
void readAnyAnswer(const QByteArray &answer)
{
    PictureReplyReader reader;
    const qsizetype half = answer.size() / 2;
    if (!reader.take(answer.constData(), half)
        || !reader.take(answer.constData() + half, answer.size() - half))
        return;
    if (const std::optional<DecodedPicture> picture = reader.picture();
        picture && !withinLimits(picture->image, picture->widthTwips, picture->heightTwips))
        std::abort();
}

// A drawn picture is within the limits, and the caller reads its answer as the same picture.
void checkAnswered(const RenderedPicture &picture)
{
    if (!withinLimits(picture.image, picture.widthTwips, picture.heightTwips))
        std::abort();
    PictureReplyReader reader;
    const bool written = writeReply(
        picture, [&reader](const char *bytes, qint64 size) { return reader.take(bytes, size); });
    const std::optional<DecodedPicture> answered = reader.picture();
    if (!written || !answered || answered->widthTwips != picture.widthTwips
        || answered->heightTwips != picture.heightTwips
        || answered->image != picture.image.convertToFormat(QImage::Format_RGB32))
        std::abort();
}

// The child's end: libemf2svg's SVG down the pipe. A fault of the library only ends the child,
// quietly and without the fuzzer's own handlers, which would report it as the target's.
[[noreturn]] void convertInChild(const QByteArray &data, QSize size, int output)
{
    __sanitizer_set_death_callback(nullptr);
    for (int signal : {SIGALRM, SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
        std::signal(signal, SIG_DFL);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    alarm(PictureLimits::helperCpuSeconds);
    const std::optional<QByteArray> svg = emfToSvg(data, size);
    if (!svg)
        _exit(1);
    for (qsizetype sent = 0; sent < svg->size();) {
        const ssize_t written = write(output, svg->constData() + sent, size_t(svg->size() - sent));
        if (written <= 0)
            _exit(1);
        sent += written;
    }
    _exit(0);
}

// libemf2svg's SVG of DATA, made in a child process; nothing when the child fails.
std::optional<QByteArray> emfToSvgInChild(const QByteArray &data, QSize size)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        convertInChild(data, size, pipeEnds[1]);
    }
    close(pipeEnds[1]);
    QByteArray svg;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(pipeEnds[0], chunk, sizeof chunk);
        if (got > 0)
            svg.append(chunk, got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return svg;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    startFuzzApplication(*argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    readAnyAnswer(input);
    if (const std::optional<RenderedPicture> wmf = renderWmf(input, twipsPerPixel, twipsPerPixel))
        checkAnswered(*wmf);
    if (std::optional<RenderedPicture> emf = emfGround(input, twipsPerPixel, twipsPerPixel)) {
        const std::optional<QByteArray> svg = emfToSvgInChild(input, emf->image.size());
        if (svg && drawSvg(*svg, emf->image))
            checkAnswered(*emf);
    }
    return 0;
}
