// Measured on the bench's shaded drawing (40 frames of 512 x 512, about 1,400 colours a frame):
// FFmpeg's APNG 917 KB; here 818 KB with the unchanged pixels as the key colour and libdeflate's
// level 9, 808 KB with the short gaps filled, in a third of FFmpeg's time with two frames deflated
// at once. The outlines that move are most of those bytes: Zopfli (15 iterations) makes 760 KB of
// the same frames in a quarter of an hour. Rows filtered one by one are much larger on it (1.1 to
// 1.5 MB whichever filter, or the smallest sum or entropy, chooses; no smaller when each row's
// filter is chosen by deflating it after the rows above): the outlines are matched, unfiltered,
// from the rows above. On a photo it is the other way round (a plasma: 21.8 MB unfiltered, 14.4 MB
// filtered), so frames are tried both ways with libdeflate's fastest level, the second try cut off
// as soon as it is no smaller; every eighth frame only, as the trial took a fifth of the time.
// Filling the unchanged pixels with their own colour rather than the key's where that continues a
// run, or where the row above has it, came out larger; libdeflate's levels 10 to 12 save 1 to 4 %
// more in 3 to 11 times the time. Filtered rows get level 6: on the plasma as small as 9 in three
// quarters of the time, on the Mandelbrot picture (8.5 MB, FFmpeg's 9.9 MB) 4 % larger than 9 in a
// quarter of the time (9 took twice FFmpeg's).
#include "export/apng_frames.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <future>
#include <new>
#include <numeric>
#include <system_error>
#include <vector>

#include "base/messages.h"
#include "export/export_messages.h"
#include "render/transparency.h"

namespace kinetta::exporter {

namespace {

using render::Colour;
using render::Surface;

// libdeflate's levels for what goes in the file: unfiltered rows, filtered rows.
constexpr int kLevel = 9;
constexpr int kFilteredLevel = 6;
constexpr int kTrialLevel = 1;
constexpr int kTrialEvery = 8;
// Frames deflated at once, each on a thread of its own, when a frame has at most kSharedPixels;
// larger ones one at a time: each frame in flight holds its rows, filtered and deflated, and two
// at a time took the memory an APNG of 12 frames adds to a run from 81 to 122 MB at 1920 x 1080
// (FFmpeg making the same file: 101 MB).
constexpr std::size_t kInFlight = 2;
constexpr std::int64_t kSharedPixels = std::int64_t{1} << 20;
// Unchanged pixels between two changed ones in a row, at most this many, keep their colour:
// one run of colours deflates smaller than colours, key and colours again.
constexpr int kGap = 20;
constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// fcTL's ways of laying a frame on the canvas.
constexpr std::uint8_t kDisposeNone = 0;
constexpr std::uint8_t kBlendSource = 0;
constexpr std::uint8_t kBlendOver = 1;

// Row filters.
constexpr std::uint8_t kFilterNone = 0;

void PutU32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}

void PutU16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 8);
  p[1] = static_cast<std::uint8_t>(v);
}

// A pixel's colour bytes, and with `alpha` its opacity (255 less the top byte).
void PutPixel(std::uint8_t* p, std::uint32_t c, bool alpha) {
  p[0] = static_cast<std::uint8_t>(c);
  p[1] = static_cast<std::uint8_t>(c >> 8);
  p[2] = static_cast<std::uint8_t>(c >> 16);
  if (alpha) p[3] = static_cast<std::uint8_t>(255 - (c >> 24));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// The row `raw` (n bytes of `bpp`-byte pixels under `above`, zeros for the first row) with each
// of the four filters that look at neighbours and unfiltered; the one whose bytes, read as
// signed, add up smallest goes to `out` after its type byte.
void FilterRow(const std::uint8_t* raw, const std::uint8_t* above, std::size_t n, std::size_t bpp,
               std::array<std::vector<std::uint8_t>, 5>& trial, std::uint8_t* out) {
  std::array<std::uint64_t, 5> cost{};
  for (std::size_t i = 0; i < n; ++i) {
    const int a = i >= bpp ? raw[i - bpp] : 0;
    const int b = above != nullptr ? above[i] : 0;
    const int c = i >= bpp && above != nullptr ? above[i - bpp] : 0;
    const int x = raw[i];
    const int f[5] = {x, x - a, x - b, x - ((a + b) >> 1), x - Paeth(a, b, c)};
    for (std::size_t k = 0; k < 5; ++k) {
      const auto v = static_cast<std::uint8_t>(f[k]);
      trial[k][i] = v;
      cost[k] +=
          static_cast<std::uint64_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(v))));
    }
  }
  const auto best =
      static_cast<std::size_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
  out[0] = static_cast<std::uint8_t>(best);
  std::memcpy(out + 1, trial[best].data(), n);
}

// `in` deflated into `out`, in at most `limit` bytes; 0 when it does not fit.
std::size_t Deflate(libdeflate_compressor* with, const std::vector<std::uint8_t>& in,
                    std::size_t limit, std::vector<std::uint8_t>& out) {
  out.resize(std::min(limit, libdeflate_zlib_compress_bound(with, in.size())));
  const std::size_t size =
      libdeflate_zlib_compress(with, in.data(), in.size(), out.data(), out.size());
  out.resize(size);
  return size;
}

// One frame on its way into the file: its rows, deflated on a thread of its own while the
// frames after it are prepared, and its frame control but for the sequence number.
struct Slot {
  std::vector<std::uint8_t> plain;     // the rectangle's rows unfiltered, each after its 0
  std::vector<std::uint8_t> filtered;  // the same rows filtered one by one
  std::vector<std::uint8_t> packed;    // deflated
  bool filter = false;                 // `filtered` goes in the file, not `plain`
  bool first = false;                  // the first frame, in IDAT
  std::uint8_t control[26] = {};
  libdeflate_compressor* compressor = nullptr;
  libdeflate_compressor* filteredCompressor = nullptr;
  std::future<base::Status> packing;

  Slot() = default;
  Slot(const Slot&) = delete;
  Slot& operator=(const Slot&) = delete;
  ~Slot() {
    // A thread still deflating is waited for; a frame left to deflate on its turn is dropped.
    if (packing.valid() &&
        packing.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) {
      packing.wait();
    }
    if (compressor != nullptr) libdeflate_free_compressor(compressor);
    if (filteredCompressor != nullptr) libdeflate_free_compressor(filteredCompressor);
  }

  base::Status Pack() {
    try {
      const std::vector<std::uint8_t>& in = filter ? filtered : plain;
      if (Deflate(filter ? filteredCompressor : compressor, in, in.size() * 2 + 64, packed) == 0) {
        return base::Status::Failed(base::Cause::Io, EncoderMessage("APNG", kFrameEncodeText));
      }
    } catch (const std::bad_alloc&) {
      return base::Status::Failed(base::Cause::OutOfMemory,
                                  EncoderMessage("APNG", base::kOutOfMemoryMessage));
    }
    return base::Status::Ok();
  }
};

}  // namespace

struct ApngFrameWriter::State {
  int width = 0, height = 0;
  std::uint16_t delayNum = 1, delayDen = 5;
  bool alpha = false;  // RGBA, the clear pixel the key; else RGB
  int channels = 3;
  std::optional<Colour> key;
  const ByteSink* sink = nullptr;
  bool written = true;  // every write taken
  std::uint32_t sequence = 0;
  int frames = 0;
  bool filter = false;                // the rows filtered, as the last trial found
  std::vector<Colour> canvas;         // what the file shows after the last frame
  std::array<Slot, kInFlight> slots;  // frame k in slot k % inFlight
  std::size_t inFlight = 1;
  std::deque<Slot*> waiting;        // being deflated, in the order of the frames
  std::vector<std::uint8_t> tried;  // the trials' deflated bytes
  std::array<std::vector<std::uint8_t>, 5> trial;
  libdeflate_compressor* quick = nullptr;

  ~State() {
    if (quick != nullptr) libdeflate_free_compressor(quick);
  }

  void Write(const void* data, std::size_t size) {
    if (written && size > 0) written = (*sink)(data, size);
  }

  // One chunk: its length, name, `head` and `body` (either may be empty), and the CRC of all
  // but the length.
  void Chunk(const char* name, std::span<const std::uint8_t> head,
             std::span<const std::uint8_t> body = {}) {
    std::uint8_t start[8];
    PutU32(start, static_cast<std::uint32_t>(head.size() + body.size()));
    std::memcpy(start + 4, name, 4);
    // (libdeflate starts again from 0 when given no buffer, so empty parts are left out.)
    std::uint32_t crc = libdeflate_crc32(0, name, 4);
    if (!head.empty()) crc = libdeflate_crc32(crc, head.data(), head.size());
    if (!body.empty()) crc = libdeflate_crc32(crc, body.data(), body.size());
    std::uint8_t end[4];
    PutU32(end, crc);
    Write(start, sizeof start);
    Write(head.data(), head.size());
    Write(body.data(), body.size());
    Write(end, sizeof end);
  }

  // The rectangle (x0, y0, w, h) of `frame` as unfiltered rows in `plain`; with `keyed`, the
  // pixels the canvas already has are the key colour, but for short gaps between changes.
  void Plain(const Surface& frame, int x0, int y0, int w, int h, bool keyed,
             std::vector<std::uint8_t>& plain) {
    const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(channels) + 1;
    plain.resize(n * static_cast<std::size_t>(h));
    const auto k = static_cast<std::uint32_t>(key.value_or(0));
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* in = frame.Row(y0 + y) + x0;
      const Colour* shown = canvas.data() + static_cast<std::size_t>(y0 + y) * width + x0;
      std::uint8_t* row = plain.data() + static_cast<std::size_t>(y) * n;
      *row++ = kFilterNone;
      int changed = -1;  // the last changed pixel
      for (int x = 0; x < w; ++x) {
        if (!keyed || static_cast<Colour>(in[x]) != shown[x]) {
          if (changed >= 0 && x - changed <= kGap) {
            for (int g = changed + 1; g < x; ++g) {
              // Laid over the canvas, only an opaque pixel stays as it is.
              const bool opaque = render::IsOpaque(static_cast<Colour>(in[g]));
              PutPixel(row + g * channels, opaque ? in[g] : k, alpha);
            }
          }
          changed = x;
          PutPixel(row + x * channels, in[x], alpha);
        } else {
          PutPixel(row + x * channels, k, alpha);
        }
      }
    }
  }

  // `plain`'s rows, each with the filter that suits it, in `filtered`.
  void Filter(int w, int h, const std::vector<std::uint8_t>& plain,
              std::vector<std::uint8_t>& filtered) {
    const auto bpp = static_cast<std::size_t>(channels);
    const std::size_t n = static_cast<std::size_t>(w) * bpp;
    filtered.resize(plain.size());
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* raw = plain.data() + static_cast<std::size_t>(y) * (n + 1) + 1;
      FilterRow(raw, y > 0 ? raw - (n + 1) : nullptr, n, bpp, trial,
                filtered.data() + static_cast<std::size_t>(y) * (n + 1));
    }
  }

  // The oldest frame being deflated, once it is, into the file.
  base::Status WriteOldest() {
    Slot& slot = *waiting.front();
    waiting.pop_front();
    if (base::Status packed = slot.packing.get(); !packed.ok()) return packed;
    PutU32(slot.control, sequence++);
    Chunk("fcTL", slot.control);
    if (slot.first) {
      Chunk("IDAT", slot.packed);
    } else {
      std::uint8_t number[4];
      PutU32(number, sequence++);
      Chunk("fdAT", number, slot.packed);
    }
    return base::Status::Ok();
  }
};

ApngFrameWriter::ApngFrameWriter(int delayMilliseconds, bool alpha,
                                 std::optional<render::Colour> key)
    : state_(std::make_unique<State>()) {
  // The delay as a fraction of a second in 16-bit terms: milliseconds, or hundredths when a
  // frame lasts over a minute.
  const int ms = std::max(delayMilliseconds, 1);
  const int g = std::gcd(ms, 1000);
  int num = ms / g, den = 1000 / g;
  if (num > 0xFFFF) num = std::min((ms + 5) / 10, 0xFFFF), den = 100;
  state_->delayNum = static_cast<std::uint16_t>(num);
  state_->delayDen = static_cast<std::uint16_t>(den);
  state_->alpha = alpha;
  state_->channels = alpha ? 4 : 3;
  state_->key = alpha ? render::kClear : key;
}

ApngFrameWriter::~ApngFrameWriter() = default;

base::Status ApngFrameWriter::Start(int width, int height,
                                    std::span<const std::uint8_t> animationControl,
                                    const ByteSink& sink) {
  State& s = *state_;
  s.width = width;
  s.height = height;
  s.sink = &sink;
  s.inFlight = std::int64_t{width} * height <= kSharedPixels ? kInFlight : 1;
  bool allocated = true;
  for (std::size_t i = 0; i < s.inFlight; ++i) {
    Slot& slot = s.slots[i];
    slot.compressor = libdeflate_alloc_compressor(kLevel);
    slot.filteredCompressor = libdeflate_alloc_compressor(kFilteredLevel);
    allocated = allocated && slot.compressor != nullptr && slot.filteredCompressor != nullptr;
  }
  s.quick = libdeflate_alloc_compressor(kTrialLevel);
  try {
    s.canvas.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (auto& t : s.trial) t.resize(static_cast<std::size_t>(width) * 4);
  } catch (const std::bad_alloc&) {
    s.canvas = {};
  }
  if (!allocated || s.quick == nullptr || s.canvas.empty()) {
    return base::Status::Failed(base::Cause::OutOfMemory,
                                EncoderMessage("APNG", base::kOutOfMemoryMessage));
  }
  s.Write(kSignature, sizeof kSignature);
  std::uint8_t header[13] = {};
  PutU32(header, static_cast<std::uint32_t>(width));
  PutU32(header + 4, static_cast<std::uint32_t>(height));
  header[8] = 8;                // bits per channel
  header[9] = s.alpha ? 6 : 2;  // RGBA or RGB
  s.Chunk("IHDR", header);
  if (!s.alpha && s.key) {
    // The key colour, clear: a pixel of it in a frame laid over the canvas leaves the canvas's.
    const auto k = static_cast<std::uint32_t>(*s.key);
    std::uint8_t clear[6];
    PutU16(clear, k & 0xFF);
    PutU16(clear + 2, (k >> 8) & 0xFF);
    PutU16(clear + 4, (k >> 16) & 0xFF);
    s.Chunk("tRNS", clear);
  }
  s.Write(animationControl.data(), animationControl.size());
  return base::Status::Ok();
}

base::Status ApngFrameWriter::Add(const render::Surface& frame) {
  State& s = *state_;
  // The rectangle of the pixels that changed; the whole picture for the first frame.
  int x0 = 0, y0 = 0, x1 = s.width, y1 = s.height;
  if (s.frames > 0) {
    x0 = s.width, y0 = s.height, x1 = 0, y1 = 0;
    for (int y = 0; y < s.height; ++y) {
      const std::uint32_t* in = frame.Row(y);
      const Colour* shown = s.canvas.data() + static_cast<std::size_t>(y) * s.width;
      int left = 0;
      while (left < s.width && static_cast<Colour>(in[left]) == shown[left]) ++left;
      if (left == s.width) continue;
      int right = s.width;
      while (static_cast<Colour>(in[right - 1]) == shown[right - 1]) --right;
      x0 = std::min(x0, left);
      x1 = std::max(x1, right);
      y0 = std::min(y0, y);
      y1 = y + 1;
    }
    if (x1 <= x0) x0 = 0, y0 = 0, x1 = 1, y1 = 1;  // nothing changed: one pixel, as it was
  }
  const int w = x1 - x0, h = y1 - y0;
  // Laid over the canvas when the key can stand for the pixels that did not change: with
  // transparency only when every pixel that did is opaque (laid over, a translucent one would
  // mix with the canvas, a clear one would leave it).
  bool keyed = s.frames > 0 && s.key.has_value();
  for (int y = y0; keyed && s.alpha && y < y1; ++y) {
    const std::uint32_t* in = frame.Row(y);
    const Colour* shown = s.canvas.data() + static_cast<std::size_t>(y) * s.width;
    for (int x = x0; x < x1; ++x) {
      if (static_cast<Colour>(in[x]) != shown[x] && !render::IsOpaque(static_cast<Colour>(in[x]))) {
        keyed = false;
        break;
      }
    }
  }
  // The slot of the frame inFlight before goes into the file first.
  if (s.waiting.size() == s.inFlight) {
    if (base::Status oldest = s.WriteOldest(); !oldest.ok()) return oldest;
  }
  Slot& slot = s.slots[static_cast<std::size_t>(s.frames) % s.inFlight];
  try {
    s.Plain(frame, x0, y0, w, h, keyed, slot.plain);
    // Unfiltered or filtered, whichever the fast level makes smaller, tried on the first two
    // frames (the whole picture, then a change) and every kTrialEvery after.
    if (s.frames < 2 || s.frames % kTrialEvery == 0) {
      s.Filter(w, h, slot.plain, slot.filtered);
      const std::size_t plainSize = Deflate(s.quick, slot.plain, slot.plain.size(), s.tried);
      s.filter = Deflate(s.quick, slot.filtered, plainSize, s.tried) != 0;
    } else if (s.filter) {
      s.Filter(w, h, slot.plain, slot.filtered);
    }
  } catch (const std::bad_alloc&) {
    return base::Status::Failed(base::Cause::OutOfMemory,
                                EncoderMessage("APNG", base::kOutOfMemoryMessage));
  }
  slot.filter = s.filter;
  slot.first = s.frames == 0;
  PutU32(slot.control + 4, static_cast<std::uint32_t>(w));
  PutU32(slot.control + 8, static_cast<std::uint32_t>(h));
  PutU32(slot.control + 12, static_cast<std::uint32_t>(x0));
  PutU32(slot.control + 16, static_cast<std::uint32_t>(y0));
  PutU16(slot.control + 20, s.delayNum);
  PutU16(slot.control + 22, s.delayDen);
  slot.control[24] = kDisposeNone;
  slot.control[25] = keyed ? kBlendOver : kBlendSource;
  // One at a time, the frame is deflated on this thread when its turn to be written comes.
  const auto pack = [&slot] { return slot.Pack(); };
  try {
    slot.packing = std::async(s.inFlight > 1 ? std::launch::async : std::launch::deferred, pack);
  } catch (const std::system_error&) {
    slot.packing = std::async(std::launch::deferred, pack);
  }
  s.waiting.push_back(&slot);
  for (int y = y0; y < y1; ++y) {
    std::memcpy(s.canvas.data() + static_cast<std::size_t>(y) * s.width + x0, frame.Row(y) + x0,
                static_cast<std::size_t>(w) * sizeof(Colour));
  }
  ++s.frames;
  return base::Status::Ok();
}

base::Status ApngFrameWriter::Finish() {
  while (!state_->waiting.empty()) {
    if (base::Status oldest = state_->WriteOldest(); !oldest.ok()) return oldest;
  }
  state_->Chunk("IEND", {});
  return base::Status::Ok();
}

std::optional<render::Colour> UnusedColour(std::span<const std::uint64_t> seen) {
  for (std::size_t i = 0; i < seen.size(); ++i) {
    if (seen[i] != ~std::uint64_t{0}) {
      const auto bit = static_cast<std::size_t>(__builtin_ctzll(~seen[i]));
      return static_cast<Colour>(i * 64 + bit);
    }
  }
  return std::nullopt;
}

}  // namespace kinetta::exporter
