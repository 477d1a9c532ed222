#include "platform/largeimage.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace vk {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this an image is not worth a mapping of its own.
constexpr std::size_t kLargeBytes = std::size_t{1} << 20;

struct Mapping {
    void *base;
    std::size_t length;
};

void unmapImage(void *info)
{
    auto *mapping = static_cast<Mapping *>(info);
    munmap(mapping->base, mapping->length);
    delete mapping;
}

} // namespace

QImage makeLargeImage(QSize size, QImage::Format format)
{
    const int w = size.width();
    const int h = size.height();
    const qsizetype bytesPerLine = qsizetype(w) * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(h);
    if (w <= 0 || h <= 0 || bytes < kLargeBytes || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
        return QImage(size, format);

    // Mapped with room to start on a huge-page boundary.
    const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage + kHugePage;
    void *base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return QImage(size, format);
    const auto address = reinterpret_cast<std::uintptr_t>(base);
    auto *aligned = reinterpret_cast<uchar *>((address + kHugePage - 1) / kHugePage * kHugePage);
    madvise(aligned, length - std::size_t(aligned - static_cast<uchar *>(base)), MADV_HUGEPAGE);
    return QImage(aligned, w, h, bytesPerLine, format, unmapImage, new Mapping{base, length});
}

} // namespace vk
