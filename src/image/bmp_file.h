// Frame files: a surface written as an uncompressed 24-bit BMP that common tools open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "base/atomic_file.h"
#include "base/outcome.h"
#include "render/run_budget.h"
#include "render/surface.h"

namespace kinetta::image {

/// The size of a frame file of `width` x `height` pixels, header included.
std::uint64_t Bmp24FileBytes(int width, int height);

/// The largest frame file: a BMP header states the file's size in 32 bits.
inline constexpr std::uint64_t kMaxBmpFileBytes = 0xFFFFFFFFu;

/// The BMP file's bytes for `surface` (bottom-up rows, BGR, rows padded to 4 bytes).
std::vector<std::uint8_t> EncodeBmp24(const render::Surface& surface);

/// Encodes `surface` as EncodeBmp24 does, handing the file's bytes to `write` in order, in pieces
/// of at most `pieceBytes` (at least 64) as they are encoded, so that no whole file is held.
/// Stops at once with the failure of a write that fails.
base::Status StreamBmp24(const render::Surface& surface, const base::Writer& write,
                         std::size_t pieceBytes = render::kFramePieceBytes);

/// The same for a surface whose pixels carry transparency: each is laid over the opaque colour
/// `matte` (render::Over) as it is encoded.
base::Status StreamBmp24Over(const render::Surface& surface, render::Colour matte,
                             const base::Writer& write);

/// A 24-bit BMP of width x height pixels, as EncodeBmp24 encodes it, written a strip of rows at
/// a time in any order: each strip goes where its rows lie in the file (rows are stored
/// bottom-up), in pieces of at most `pieceBytes` (at least 64), through `writeAt`, which fails on
/// a write error; a write that fails stops the call with its failure.
class Bmp24Strips {
 public:
  using WriteAt =
      std::function<base::Status(std::uint64_t offset, const void* data, std::size_t size)>;
  Bmp24Strips(int width, int height, WriteAt writeAt,
              std::size_t pieceBytes = render::kFramePieceBytes);
  /// Lays every pixel with transparency over the opaque colour `matte` as it is encoded.
  void LayOver(render::Colour matte) { matte_ = matte; }
  /// Writes the file's header.
  base::Status Header();
  /// Writes rows first .. first + count - 1 (row first + i at rows[i]), which lie within the
  /// picture.
  base::Status Rows(int first, int count, const std::uint32_t* const* rows);

 private:
  const int width_;
  const int height_;
  const WriteAt writeAt_;
  std::vector<std::uint8_t> piece_;
  std::optional<render::Colour> matte_;
  std::vector<std::uint32_t> laid_;  // a row laid over the matte
};

/// Whether the file at `path` is an uncompressed 24-bit BMP, as the frame files of a run are.
bool IsBmp24File(const std::filesystem::path& path);

/// Writes `surface` to `path` as a 24-bit BMP, replacing an existing file in one step, in pieces
/// as StreamBmp24 gives them. Fails with the reason when it cannot; the old file then stays as
/// it was.
base::Status WriteBmp24(const render::Surface& surface, const std::filesystem::path& path);

}  // namespace kinetta::image
