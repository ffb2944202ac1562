// Mapping true-colour pixels to a palette of at most 256 colours: the nearest colour (plain
// red-green-blue distance, the same measure by which the frames' fidelity is judged), and
// error diffusion that spreads each pixel's difference onto its neighbours so gradients keep
// their shades.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kinetta::exporter {

class PaletteMap {
 public:
  /// `colours` are packed (red + 256 x green + 65536 x blue); 1 to 256 of them. With a
  /// `runSlack` above 0, Dither lets a pixel take the entry the pixel before it took when that
  /// entry is no further (squared distance) than the nearest plus `runSlack`: longer runs of one
  /// index, which a GIF's compression stores in fewer bytes. 0 maps every pixel to its nearest.
  explicit PaletteMap(std::vector<std::uint32_t> colours, int runSlack = 0);

  int size() const { return static_cast<int>(colours_.size()); }

  /// Dither maps every pixel whose top byte is set (a clear pixel) to `index`, and passes no
  /// error on from it. Without this call no pixel is taken as clear.
  void MapClearTo(std::uint8_t index) { clear_ = index; }
  std::uint32_t colour(int index) const { return colours_[index]; }

  /// The index of the palette colour nearest to (r, g, b), each 0..255. Exact: ties go to the
  /// lower index.
  int Nearest(int r, int g, int b) const;

  /// Maps the w x h pixels at `pixels` (rows `stride` pixels apart, packed colours) to palette
  /// indices in `out` (w per row) with Floyd-Steinberg error diffusion, row by row in
  /// alternating directions. `strength` 0 gives the plain nearest colour, 1 full diffusion.
  void Dither(const std::uint32_t* pixels, int stride, int w, int h, float strength,
              std::uint8_t* out) const;

  /// What a viewer already shows under the pixels being mapped, for an animation frame drawn
  /// over the last one. Rows are `stride` pixels apart, as the pixels'.
  struct Backdrop {
    const std::uint32_t* shown;   ///< the colours on screen now
    const std::uint32_t* before;  ///< the last frame's own pixels
    std::uint8_t keep;            ///< the index that leaves a pixel as it is shown
  };

  /// The same for a frame drawn over `backdrop`: a pixel that did not change since the last
  /// frame, or whose shown colour (when the screen shows one there) is no further than the
  /// colour it would take, gets `backdrop.keep`, and the error diffused from it is that of the
  /// colour really seen.
  void Dither(const std::uint32_t* pixels, int stride, int w, int h, float strength,
              const Backdrop& backdrop, std::uint8_t* out) const;

 private:
  void DitherOver(const std::uint32_t* pixels, int stride, int w, int h, float strength,
                  const Backdrop* backdrop, std::uint8_t* out) const;

  // The colour cube is cut into 32 x 32 x 32 cells; each cell lists the palette entries that
  // can be nearest to some colour inside it, so a lookup compares a few entries, not all. A
  // cell's list is made when a colour in it is first looked up: a frame meets a small part of
  // the cube, and a palette is made for every frame.
  static constexpr int kCellBits = 5;
  static constexpr int kCells = 1 << kCellBits;
  static constexpr std::uint32_t kNotListed = 0xFFFFFFFFu;

  void ListCell(std::size_t cell) const;

  // The squared distance from (r, g, b) to entry i.
  int Distance(int r, int g, int b, int i) const;

  std::vector<std::uint32_t> colours_;
  int runSlack_;
  int clear_ = -1;                                // the index of clear pixels, or -1
  std::array<int, 3 * 256> planes_{};             // the entries' reds, greens and blues
  mutable std::vector<std::uint32_t> cellStart_;  // per cell: offset into candidates_
  mutable std::vector<std::uint16_t> cellCount_;  // per cell: how many candidates
  mutable std::vector<std::uint8_t> candidates_;
};

}  // namespace kinetta::exporter
