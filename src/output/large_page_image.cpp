// Large pictures whose pixels the kernel maps in 2 MB pages rather than 4 kB ones.
#include "output/large_page_image.h"

#include <cstddef>
#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace tv::ui {

namespace {

#ifdef __linux__
constexpr std::size_t kLargePage = std::size_t{2} << 20;
// Below this a picture is left to the allocator: a large page would mostly
// be wasted.
constexpr std::size_t kMinBytes = std::size_t{1} << 20;

struct Mapping {
  void* Start;
  std::size_t Length;
};

void Unmap(void* info) {
  const auto* mapping = static_cast<Mapping*>(info);
  ::munmap(mapping->Start, mapping->Length);
  delete mapping;
}
#endif

}  // namespace

QImage LargePageImage(int width, int height, QImage::Format format) {
#ifdef __linux__
  if (width > 0 && height > 0 && QImage::toPixelFormat(format).bitsPerPixel() == 32) {
    const auto bytesPerLine = static_cast<std::size_t>(width) * 4;
    const std::size_t bytes = bytesPerLine * static_cast<std::size_t>(height);
    if (bytes >= kMinBytes) {
      const std::size_t length = (bytes + kLargePage - 1) / kLargePage * kLargePage;
      // Mapped one large page longer, then trimmed to a large page's boundary.
      void* raw = ::mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (raw != MAP_FAILED) {
        const auto address = reinterpret_cast<std::uintptr_t>(raw);
        const std::uintptr_t start = (address + kLargePage - 1) & ~(kLargePage - 1);
        const std::size_t head = start - address;
        if (head) ::munmap(raw, head);
        if (kLargePage - head) ::munmap(reinterpret_cast<void*>(start + length), kLargePage - head);
        auto* pixels = reinterpret_cast<uchar*>(start);
        ::madvise(pixels, length, MADV_HUGEPAGE);  // a refusal leaves ordinary pages
        auto* mapping = new Mapping{pixels, length};
        QImage image(pixels, width, height, static_cast<qsizetype>(bytesPerLine), format, Unmap,
                     mapping);
        if (!image.isNull()) return image;
        Unmap(mapping);
      }
    }
  }
#endif
  return QImage(width, height, format);
}

}  // namespace tv::ui
