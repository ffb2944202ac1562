// The pixel surface that stands in for a picture box: a rectangle of packed colours
// (red + 256 x green + 65536 x blue, with the transparency in the top byte: see transparency.h)
// in which a read outside gives -1 and a write outside is ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace kinetta::render {

/// Allocates large pixel arrays on 2 MiB boundaries and asks the kernel for huge pages there.
/// The renderers walk frames in narrow column blocks across every row; with ordinary 4 KiB
/// pages each row is a page of its own and the address translations, not the pixels, become
/// the cost.
template <typename T>
struct PixelAllocator {
  using value_type = T;
  PixelAllocator() = default;
  template <typename U>
  PixelAllocator(const PixelAllocator<U>&) {}
  T* allocate(std::size_t n);
  void deallocate(T* p, std::size_t) { std::free(p); }
  /// Elements made without a value are left unset (see Surface::Unwritten); every other way of
  /// sizing a surface gives each pixel its colour.
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};

/// A packed colour, red in the low byte. -1 is what a read outside a surface returns.
using Colour = std::int32_t;
inline constexpr Colour kOutside = -1;

class Surface {
 public:
  Surface() = default;
  /// A width x height surface filled with `fill`. Sizes below 1 give an empty surface.
  Surface(int width, int height, Colour fill = 0);

  /// A width x height surface whose pixels are not set yet: the caller writes every row before
  /// anything reads it, or throws the surface away. The memory is taken from the system as the
  /// rows are written, so a picture decoder that meets a broken file early has used only the
  /// rows it wrote. Sizes below 1 give an empty surface.
  static Surface Unwritten(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  /// Sets the size and fills the whole surface with `fill`.
  void Reset(int width, int height, Colour fill);
  void Fill(Colour fill);

  /// The colour at (x, y), or -1 outside the surface.
  Colour Point(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kOutside;
    return static_cast<Colour>(pixels_[Index(x, y)]);
  }
  /// Writes (x, y), its transparency byte too; positions outside the surface are ignored.
  void PSet(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[Index(x, y)] = static_cast<std::uint32_t>(c);
  }

  /// Row y as packed colours (no bounds check); the hot loops of the renderers use these.
  std::uint32_t* Row(int y) { return pixels_.data() + Index(0, y); }
  const std::uint32_t* Row(int y) const { return pixels_.data() + Index(0, y); }

  /// Copies the w x h rectangle at (sx, sy) of `src` to (dx, dy), clipped to both surfaces.
  void CopyFrom(const Surface& src, int sx, int sy, int w, int h, int dx, int dy);

  friend bool operator==(const Surface& a, const Surface& b) = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t, PixelAllocator<std::uint32_t>> pixels_;
};

void* AllocatePixels(std::size_t bytes);

template <typename T>
T* PixelAllocator<T>::allocate(std::size_t n) {
  return static_cast<T*>(AllocatePixels(n * sizeof(T)));
}

}  // namespace kinetta::render
