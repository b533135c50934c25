// What the picture loader and its metafile helper agree on: the limits every picture is held to
// and the helper's answer.
#pragma once

#include <QtGlobal>

#if defined(__SANITIZE_ADDRESS__)
#define VELMAR_PICTURE_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMAR_PICTURE_UNDER_ASAN 1
#endif
#endif

namespace PictureLimits {

// A picture is drawn at its own size only up to this many pixels (10,000 x 10,000).
constexpr qint64 maxPixels = 100'000'000;
// No real metafile comes near this; larger files are refused unread.
constexpr qint64 maxMetafileBytes = 64 * 1024 * 1024;
// The helper's limits: address space, processor time, and the time the caller waits for it.
constexpr qint64 helperMemoryBytes = 768LL * 1024 * 1024;
constexpr int helperCpuSeconds = 5;
constexpr int helperWaitMilliseconds = 6000;

// The helper's answer on its standard output: this header, then width x height pixels of
// 32-bit RGB, row after row without padding.
struct Reply
{
    char magic[8];
    qint32 width;
    qint32 height;
    double widthTwips;
    double heightTwips;
};
constexpr char replyMagic[8] = {'V', 'L', 'M', 'R', 'P', 'I', 'C', '1'};

// Built with AddressSanitizer, the helper runs under the sanitizers like the program. A fault
// they find in it ends it with this status, which the caller takes for a fault of the program,
// not of the file: the run stops with the sanitizers' report.
#ifdef VELMAR_PICTURE_UNDER_ASAN
constexpr bool underSanitizers = true;
#else
constexpr bool underSanitizers = false;
#endif
constexpr int sanitizerFaultStatus = 86;

} // namespace PictureLimits
