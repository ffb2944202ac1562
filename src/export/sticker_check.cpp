// Measuring a sticker file from its structure, read in pieces: an APNG's chunks walked one by
// one with their CRCs checked, a GIF's blocks through giflib without decoding a pixel, a WebM
// through the video module; and the target's rules checked against what was measured.
#include "export/sticker_check.h"

#include <gif_lib.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>

#include "base/messages.h"
#include "base/regular_file.h"
#include "base/text_lookup.h"
#include "export/export_messages.h"
#include "export/video_module.h"

namespace kinetta::exporter {

namespace {

using Measured = base::Result<StickerMeasure>;

// Every size a file may have: nothing here holds more than a chunk's piece of it.
constexpr std::size_t kAnySize = static_cast<std::size_t>(-1);
constexpr std::size_t kPieceBytes = 1 << 16;
constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint16_t BigEndian16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// Where the bytes are read from: a file, in pieces, or bytes in memory.
using ByteSource = std::function<base::Result<std::size_t>(std::size_t, std::span<std::uint8_t>)>;

// Reads exactly `into.size()` bytes at `offset`, or says the file ends too soon.
base::Status ReadExactly(const ByteSource& file, std::size_t offset, std::span<std::uint8_t> into,
                         const std::string& path) {
  const base::Result<std::size_t> read = file(offset, into);
  if (!read.ok())
    return base::Status::Failed(read.cause(), base::CannotOpenMessage(path, read.message()));
  if (read.value() != into.size()) {
    return base::Status::Failed(base::Cause::BrokenData,
                                base::CannotOpenMessage(path, base::Text(kFileCutShortReason)));
  }
  return base::Status::Ok();
}

// The PNG's chunks from the signature to IEND: the header's size and colour type, the
// animation control's frames and plays, each frame control's delay; the chunks' CRCs checked.
Measured MeasurePng(const ByteSource& file, const std::string& path) {
  const auto broken = [&](std::string_view reason) {
    return Measured::Failed(base::Cause::BrokenData,
                            base::CannotOpenMessage(path, base::Text(reason)));
  };
  StickerMeasure m;
  m.container = StickerContainer::Png;
  m.frames = 1;
  int frameControls = 0;
  long long declaredFrames = -1;
  bool header = false;
  std::vector<std::uint8_t> piece(kPieceBytes);
  std::size_t at = sizeof kPngSignature;
  for (;;) {
    std::array<std::uint8_t, 8> head;
    if (base::Status s = ReadExactly(file, at, head, path); !s.ok()) return s;
    const std::uint32_t length = BigEndian32(head.data());
    const std::string_view type(reinterpret_cast<const char*>(head.data() + 4), 4);
    if (length > 0x7FFFFFFFu) return broken(kFileCutShortReason);
    if (!header && type != "IHDR") return broken(kPngHeaderReason);
    // The data in pieces, into the CRC; the first piece kept for the chunks read here.
    uLong crc = crc32(0, head.data() + 4, 4);
    std::vector<std::uint8_t> first;
    for (std::size_t done = 0; done < length;) {
      const std::size_t count = std::min<std::size_t>(length - done, kPieceBytes);
      const std::span<std::uint8_t> into(piece.data(), count);
      if (base::Status s = ReadExactly(file, at + 8 + done, into, path); !s.ok()) return s;
      crc = crc32(crc, piece.data(), static_cast<uInt>(count));
      if (done == 0) first.assign(piece.begin(), piece.begin() + std::min<std::size_t>(count, 32));
      done += count;
    }
    std::array<std::uint8_t, 4> stored;
    if (base::Status s = ReadExactly(file, at + 8 + length, stored, path); !s.ok()) return s;
    if (BigEndian32(stored.data()) != static_cast<std::uint32_t>(crc)) {
      return broken(kChunkCrcReason);
    }
    if (type == "IHDR") {
      if (header || length != 13) return broken(kPngHeaderReason);
      header = true;
      m.width = static_cast<int>(std::min<std::uint32_t>(BigEndian32(first.data()), 0x7FFFFFFF));
      m.height =
          static_cast<int>(std::min<std::uint32_t>(BigEndian32(first.data() + 4), 0x7FFFFFFF));
      const int colourType = first[9];
      m.grey = colourType == 0 || colourType == 4;
      m.transparency = colourType == 4 || colourType == 6;
    } else if (type == "tRNS") {
      m.transparency = true;
    } else if (type == "acTL" && length == 8) {
      m.container = StickerContainer::Apng;
      declaredFrames = BigEndian32(first.data());
      m.plays =
          static_cast<int>(std::min<std::uint32_t>(BigEndian32(first.data() + 4), 0x7FFFFFFF));
    } else if (type == "fcTL" && length == 26) {
      ++frameControls;
      const int num = BigEndian16(first.data() + 20);
      const int den = BigEndian16(first.data() + 22);
      m.loopSeconds += static_cast<double>(num) / (den == 0 ? 100 : den);  // 0 means hundredths
    } else if (type == "IEND") {
      break;
    }
    at += 12 + static_cast<std::size_t>(length);
  }
  if (m.container == StickerContainer::Apng) {
    if (declaredFrames != frameControls) return broken(kApngFramesReason);
    m.frames = frameControls;
  } else {
    m.loopSeconds = 0.0;  // a still PNG's frame controls, if any, are not shown
  }
  return m;
}

// giflib reads through this, from the file's place it has reached.
struct GifSource {
  const ByteSource* file;
  std::size_t at = 0;
};

int ReadGif(GifFileType* gif, GifByteType* into, int size) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  const base::Result<std::size_t> read =
      (*source->file)(source->at, {into, static_cast<std::size_t>(std::max(size, 0))});
  if (!read.ok()) return 0;
  source->at += read.value();
  return static_cast<int>(read.value());
}

// The GIF's blocks, its pixels skipped: the screen's size, one frame per image, the delays and
// transparent colours of the graphic controls, the plays of the NETSCAPE2.0 block.
Measured MeasureGif(const ByteSource& file, const std::string& path) {
  GifSource source{&file};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, ReadGif, &error);
  const auto failed = [&](int code) {
    return Measured::Failed(
        base::Cause::BrokenData,
        base::CannotOpenMessage(path, LibraryMessage("GIF", GifErrorString(code))));
  };
  if (gif == nullptr) return failed(error);
  struct Closer {
    GifFileType* gif;
    ~Closer() { DGifCloseFile(gif, nullptr); }
  } closer{gif};
  StickerMeasure m;
  m.container = StickerContainer::Gif;
  m.width = gif->SWidth;
  m.height = gif->SHeight;
  m.plays = 1;  // without a NETSCAPE2.0 block a GIF plays once
  int centiseconds = 0;
  int transparentIndex = -1;  // the last graphic control's transparent colour
  for (GifRecordType record = UNDEFINED_RECORD_TYPE; record != TERMINATE_RECORD_TYPE;) {
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) return failed(gif->Error);
    if (record == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif) == GIF_ERROR) return failed(gif->Error);
      const GifImageDesc& image = gif->Image;
      if (m.frames++ == 0) {
        // The first frame, which is what shows still: transparent where it leaves the screen
        // uncovered or uses its transparent colour. Its rows are read one at a time.
        m.transparency = image.Left > 0 || image.Top > 0 || image.Width < gif->SWidth ||
                         image.Height < gif->SHeight;
        std::vector<GifPixelType> row(static_cast<std::size_t>(std::max(image.Width, 0)));
        for (int y = 0; transparentIndex >= 0 && y < image.Height && image.Width > 0; ++y) {
          if (DGifGetLine(gif, row.data(), image.Width) == GIF_ERROR) return failed(gif->Error);
          m.transparency =
              m.transparency || std::find(row.begin(), row.end(), transparentIndex) != row.end();
        }
      }
      if (m.frames > 1 || transparentIndex < 0 || image.Width <= 0 || image.Height <= 0) {
        // The pixels skipped: another frame's transparent colour leaves the frame before it
        // showing, which says nothing of a transparent background.
        int codeSize = 0;
        GifByteType* block = nullptr;
        if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return failed(gif->Error);
        while (block != nullptr) {
          if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return failed(gif->Error);
        }
      }
      transparentIndex = -1;  // a graphic control is for the one image after it
    } else if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return failed(gif->Error);
      bool netscape = false;
      for (bool first = true; block != nullptr; first = false) {
        if (code == GRAPHICS_EXT_FUNC_CODE && first && block[0] >= 4) {
          centiseconds += block[2] | block[3] << 8;
          transparentIndex = (block[1] & 1) != 0 ? block[4] : -1;
        } else if (code == APPLICATION_EXT_FUNC_CODE && first && block[0] == 11) {
          netscape = std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
        } else if (netscape && block[0] >= 3 && block[1] == 1) {
          // The count of repeats after the first play; 0 repeats for ever.
          const int repeats = block[2] | block[3] << 8;
          m.plays = repeats == 0 ? 0 : repeats + 1;
        }
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return failed(gif->Error);
      }
    }
    // giflib keeps a record of every image read, with its colour table: let go of it at once,
    // so that a file of countless frames takes no more memory than one of a few.
    if (record == IMAGE_DESC_RECORD_TYPE) {
      GifFreeSavedImages(gif);
      gif->ImageCount = 0;
    }
  }
  m.loopSeconds = centiseconds / 100.0;
  return m;
}

// A Matroska file whose EBML header names the WebM document type.
bool IsWebm(std::span<const std::uint8_t> start) {
  constexpr std::uint8_t kEbml[] = {0x1A, 0x45, 0xDF, 0xA3};
  constexpr std::uint8_t kDocType[] = {0x42, 0x82, 0x84, 'w', 'e', 'b', 'm'};
  return start.size() >= sizeof kEbml && std::equal(kEbml, kEbml + 4, start.begin()) &&
         std::search(start.begin(), start.end(), std::begin(kDocType), std::end(kDocType)) !=
             start.end();
}

}  // namespace

double ShownSeconds(const StickerMeasure& m) {
  return m.plays > 0 ? m.plays * m.loopSeconds : m.loopSeconds;
}

double FramesPerSecond(const StickerMeasure& m) {
  return m.loopSeconds > 0 ? m.frames / m.loopSeconds : 0.0;
}

std::vector<RuleOutcome> CheckSticker(const StickerTarget& t, const StickerMeasure& m) {
  std::vector<RuleOutcome> out;
  const auto add = [&](StickerRule rule, bool pass, RuleVerdict failing = RuleVerdict::Fail) {
    out.push_back({rule, pass ? RuleVerdict::Pass : failing});
  };
  // A still PNG is what a PNG target takes; an APNG is a PNG too, held to its one frame.
  const bool container = m.container == t.container || (t.container == StickerContainer::Png &&
                                                        m.container == StickerContainer::Apng);
  add(StickerRule::Container, container);
  if (!t.codec.empty()) add(StickerRule::Codec, m.codec == t.codec);
  const bool size = m.width <= t.maxWidth && m.height <= t.maxHeight && m.width >= t.minWidth &&
                    m.height >= t.minHeight && std::max(m.width, m.height) >= t.minLongerSide &&
                    m.width > 0 && m.height > 0;
  add(StickerRule::Size, size);
  if (t.minFrames > 0 || t.maxFrames > 0) {
    add(StickerRule::Frames,
        m.frames >= t.minFrames && (t.maxFrames == 0 || m.frames <= t.maxFrames));
  }
  if (t.maxPlays > 0) add(StickerRule::Plays, m.plays >= 1 && m.plays <= t.maxPlays);
  if (t.maxMilliseconds > 0) {
    // For ever is longer than any limit, where the target counts plays.
    const bool endless = t.maxPlays > 0 && m.plays == 0;
    add(StickerRule::Seconds, !endless && ShownSeconds(m) * 1000 <= t.maxMilliseconds + 1e-6);
  }
  if (t.maxFramesPerSecond > 0) {
    add(StickerRule::FrameRate,
        m.loopSeconds > 0 && FramesPerSecond(m) <= t.maxFramesPerSecond + 1e-6);
  }
  if (t.maxBytes > 0) add(StickerRule::Bytes, m.bytes <= t.maxBytes);
  if (t.noAudio) add(StickerRule::Audio, !m.audio);
  if (t.wantsTransparency) add(StickerRule::Transparency, m.transparency, RuleVerdict::Warn);
  if (t.noGrey) add(StickerRule::Colour, !m.grey);
  return out;
}

bool AllPass(const std::vector<RuleOutcome>& outcomes) {
  return std::none_of(outcomes.begin(), outcomes.end(),
                      [](const RuleOutcome& o) { return o.verdict == RuleVerdict::Fail; });
}

namespace {

// A PNG or GIF told by its first bytes and measured; a WebM through the video module, from its
// file or, when they are given, from the bytes in `memory`. The failures name the file.
Measured MeasureFrom(const ByteSource& file, std::size_t size, const std::string& name,
                     std::optional<std::span<const std::uint8_t>> memory) {
  std::array<std::uint8_t, 64> start{};
  const base::Result<std::size_t> read = file(0, start);
  if (!read.ok()) {
    return Measured::Failed(read.cause(), base::CannotOpenMessage(name, read.message()));
  }
  const std::span<const std::uint8_t> head(start.data(), read.value());
  Measured measured = Measured::Failed(
      base::Cause::Unsupported, base::CannotOpenMessage(name, base::Text(kNotStickerFileReason)));
  if (head.size() >= sizeof kPngSignature &&
      std::equal(std::begin(kPngSignature), std::end(kPngSignature), head.begin())) {
    measured = MeasurePng(file, name);
  } else if (head.size() >= 6 && (std::memcmp(head.data(), "GIF87a", 6) == 0 ||
                                  std::memcmp(head.data(), "GIF89a", 6) == 0)) {
    measured = MeasureGif(file, name);
  } else if (IsWebm(head)) {
    const base::Result<const VideoProbe*> probe = VideoProbes();
    if (!probe.ok()) return probe.status();
    measured = memory ? probe.value()->webmBytes(memory->data(), memory->size())
                      : probe.value()->webm(name.c_str());
    if (!measured.ok()) {
      return Measured::Failed(measured.cause(), base::CannotOpenMessage(name, measured.message()));
    }
  }
  if (measured.ok()) measured.value().bytes = size;
  return measured;
}

}  // namespace

base::Result<StickerMeasure> MeasureStickerFile(const std::filesystem::path& path) {
  const std::string name = path.string();
  base::Result<base::RegularFile> opened = base::RegularFile::Open(path, kAnySize);
  if (!opened.ok()) {
    return Measured::Failed(opened.cause(), base::CannotOpenMessage(name, opened.message()));
  }
  const base::RegularFile& file = opened.value();
  const ByteSource source = [&file](std::size_t offset, std::span<std::uint8_t> into) {
    return file.ReadAt(offset, into);
  };
  return MeasureFrom(source, file.size(), name, std::nullopt);
}

base::Result<StickerMeasure> MeasureStickerBytes(std::span<const std::uint8_t> bytes,
                                                 const std::string& name) {
  const ByteSource source = [bytes](std::size_t offset,
                                    std::span<std::uint8_t> into) -> base::Result<std::size_t> {
    const std::size_t count =
        offset < bytes.size() ? std::min(into.size(), bytes.size() - offset) : 0;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(offset, bytes.size())), count,
                into.begin());
    return count;
  };
  return MeasureFrom(source, bytes.size(), name, bytes);
}

}  // namespace kinetta::exporter
