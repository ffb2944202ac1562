// Frame files as PNG with transparency: RGBA, 8 bits a channel, the colours straight (not scaled
// by their opacity), for the tools the frames are taken on to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "base/atomic_file.h"
#include "base/outcome.h"
#include "render/surface.h"

namespace kinetta::image {

/// A PNG frame file of width x height pixels (packed as the motions carry transparency: see
/// render/transparency.h), encoded as its rows come and handed to `write` in order. The file is
/// written from its first row down: rows that come before the rows above them are kept until
/// those have come, so the memory held is the rows that came early (none for a frame drawn from
/// the top down).
class PngFrameRows {
 public:
  PngFrameRows(int width, int height, base::Writer write);
  ~PngFrameRows();
  PngFrameRows(const PngFrameRows&) = delete;
  PngFrameRows& operator=(const PngFrameRows&) = delete;

  /// Rows first .. first + count - 1 (row first + i at rows[i]), each once, in any order. After
  /// the last row the file is complete.
  base::Status Rows(int first, int count, const std::uint32_t* const* rows);

 private:
  struct Encoder;
  base::Status Encode(const std::uint32_t* row);

  const int width_;
  const int height_;
  int next_ = 0;  // the next row of the file
  std::map<int, std::vector<std::uint32_t>> early_;
  std::unique_ptr<Encoder> encoder_;
};

/// Encodes `surface` as a PNG frame file, handing its bytes to `write` in order.
base::Status StreamPngFrame(const render::Surface& surface, const base::Writer& write);

}  // namespace kinetta::image
