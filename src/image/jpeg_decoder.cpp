// JPEG pictures through libjpeg-turbo. A picture is refused when the library made up any of its
// rows: it warns where it patches over damaged or missing data (a scan cut short gets grey rows,
// a bad code or restart marker gets blocks it guessed). The few warnings that only say the file
// is untidy around rows that all came from it are let through (Harmless). A picture can also be
// decoded at 1/2, 1/4 or 1/8 of its size, much faster, for a first look at it.
#include <algorithm>
#include <atomic>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/messages.h"
#include "base/text_lookup.h"
#include "image/exif_orientation.h"
#include "image/picture_decoders.h"
#include "image/quick_look.h"

// After <cstdio>: the library's headers use FILE and size_t without declaring them.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace kinetta::image {

namespace {

// Progressive files with more scans than this are refused: every scan is a pass over the whole
// picture, so a small file with thousands of scans would take minutes. Encoders write about
// ten; the most careful ones a few dozen.
constexpr int kMaxScans = 100;

// libjpeg reports through these callbacks, which return to the decoder by longjmp. Only C
// frames of the library lie between the jump and its target, so no destructor is skipped.
struct ErrorState {
  jpeg_error_mgr manager;  // first, so that the library's pointer to it points to the whole
  std::jmp_buf jump;
  const std::atomic<bool>* stop;  // the reading is no longer wanted once this is set
  bool tooManyScans;
  bool stopped;
  // How far decoding has come, for Harmless.
  bool headerRead;     // the header's fields are set, and multipleScans
  bool multipleScans;  // the picture comes in several scans, all read before its first row
  bool rowsDone;       // every row has been made
  bool endMarkerMissing;
};

// Whether the warning just given leaves every row made from the file's own data. These alone:
// - anything once every row has been made: jpeg_finish_decompress then only reads on to the
//   end-of-image marker (a missing marker, stray bytes, a damaged segment after the scan);
// - JWRN_EXTRANEOUS_DATA before the end-of-image marker: stray bytes after the last scan;
// - JWRN_JPEG_EOF in a Huffman-coded file of one scan or a progressive one: the file ends
//   without its end-of-image marker, and the library puts one in. A scan that then still needs
//   data says JWRN_HIT_MARKER, which refuses; a progressive file cut between two scans says
//   nothing more, so its scans are checked once read (EveryCoefficientRead). A sequential file
//   of several scans and an arithmetic-coded one give no such sign.
bool Harmless(const jpeg_decompress_struct& cinfo, const ErrorState& error) {
  if (error.rowsDone) return true;
  switch (error.manager.msg_code) {
    case JWRN_EXTRANEOUS_DATA:
      return error.manager.msg_parm.i[1] == JPEG_EOI;
    case JWRN_JPEG_EOF:
      return error.headerRead && !cinfo.arith_code &&
             (cinfo.progressive_mode || !error.multipleScans);
    default:
      return false;
  }
}

[[noreturn]] void OnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorState*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  auto& error = *reinterpret_cast<ErrorState*>(cinfo->err);
  if (!Harmless(*reinterpret_cast<j_decompress_ptr>(cinfo), error)) OnError(cinfo);
  if (error.manager.msg_code == JWRN_JPEG_EOF) error.endMarkerMissing = true;
}

void OnProgress(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  auto& error = *reinterpret_cast<ErrorState*>(cinfo->err);
  if (d->input_scan_number > kMaxScans) {
    error.tooManyScans = true;
    OnError(cinfo);
  }
  if (error.stop != nullptr && error.stop->load(std::memory_order_relaxed)) {
    error.stopped = true;
    OnError(cinfo);
  }
}

base::Status Refusal(const ErrorState& error) {
  if (error.stopped)
    return base::Status::Failed(base::Cause::Aborted, base::Text(base::kAbortedMessage));
  if (error.tooManyScans) return VariantUnsupported("JPEG");
  switch (error.manager.msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JERR_INPUT_EOF:
      return DataCutShort("JPEG");
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
      return base::OutOfMemory();
    case JERR_BAD_PRECISION:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
      return VariantUnsupported("JPEG");
    default:
      return DataBroken("JPEG");
  }
}

// Whether the scans of a progressive file gave every coefficient of every component to its
// last bit, as a whole file's do.
bool EveryCoefficientRead(const jpeg_decompress_struct& cinfo) {
  for (int c = 0; c < cinfo.num_components; ++c) {
    for (int k = 0; k < DCTSIZE2; ++k) {
      if (cinfo.coef_bits[c][k] != 0) return false;
    }
  }
  return true;
}

// The whole-picture coefficient store a progressive file needs (64 coefficients of 2 bytes for
// every block of every component); sequential files decode one row of blocks at a time.
std::uint64_t CoefficientBytes(const jpeg_decompress_struct& cinfo) {
  if (!cinfo.progressive_mode) return 0;
  std::uint64_t bytes = 0;
  for (int c = 0; c < cinfo.num_components; ++c) {
    const jpeg_component_info& comp = cinfo.comp_info[c];
    bytes +=
        static_cast<std::uint64_t>(comp.width_in_blocks) * comp.height_in_blocks * sizeof(JBLOCK);
  }
  return bytes;
}

// One decoded row into the picture. Four-channel data comes from Adobe software, which stores
// CMYK inverted: each channel times the black channel gives the colour.
void PutRow(const JSAMPLE* in, bool cmyk, int width, std::uint32_t* out) {
  for (int x = 0; x < width; ++x, in += cmyk ? 4 : 3) {
    if (cmyk) {
      const auto k = static_cast<std::uint32_t>(in[3]);
      out[x] = PackRgb((in[0] * k + 127) / 255, (in[1] * k + 127) / 255, (in[2] * k + 127) / 255);
    } else {
      out[x] = PackRgb(in[0], in[1], in[2]);
    }
  }
}

// The largest of the library's reductions (1/8, 1/4, 1/2) at which a picture of w x h still
// fills what it shows within `bound` (aspect kept): along the side that limits it, as many
// pixels as that side is shown with. 1 when the picture is shown at more than half its size.
int ReductionFor(long long w, long long h, const Bound& bound) {
  for (const int d : {8, 4, 2}) {
    if (d * static_cast<long long>(bound.width) <= w ||
        d * static_cast<long long>(bound.height) <= h) {
      return d;
    }
  }
  return 1;
}

// The decoder's state, held in memory the longjmp does not unwind.
struct JpegSession {
  jpeg_decompress_struct cinfo{};
  ErrorState error{};
  jpeg_progress_mgr progress{};
  render::Surface picture;
  std::vector<std::uint8_t> iccProfile, exif;  // as image::Picture holds them
  base::Status failure;                        // why the picture was refused

  JpegSession() = default;
  JpegSession(const JpegSession&) = delete;
  JpegSession& operator=(const JpegSession&) = delete;
  ~JpegSession() { jpeg_destroy_decompress(&cinfo); }  // safe before create: no memory yet
};

void IgnoreMessage(j_common_ptr, int) {}

// The EXIF block of the first APP1 segment that holds one, and the colour profile from the
// APP2 segments it is spread over. A profile whose segments do not fit together is a warning
// the picture does not suffer for: it is then left out. No object with a destructor lives
// here while the library runs, since a failure leaves it by the longjmp.
void KeepMetadata(JpegSession& s) {
  for (jpeg_saved_marker_ptr m = s.cinfo.marker_list; m; m = m->next) {
    if (m->marker == JPEG_APP0 + 1 && m->data_length > 6 &&
        std::memcmp(m->data, "Exif\0", 6) == 0) {
      s.exif.assign(m->data + 6, m->data + m->data_length);
      break;
    }
  }
  JOCTET* profile = nullptr;
  unsigned int length = 0;
  const auto emit = s.error.manager.emit_message;
  s.error.manager.emit_message = IgnoreMessage;
  const bool read = jpeg_read_icc_profile(&s.cinfo, &profile, &length);
  s.error.manager.emit_message = emit;
  if (!read) return;
  const std::unique_ptr<JOCTET, decltype(&std::free)> owned(profile, &std::free);
  s.iccProfile.assign(profile, profile + length);
}

// Decodes into s.picture, whole or, with a `bound`, reduced for it (ReductionFor); a picture
// that would not be reduced is then left empty. Fails with the reason. A failure inside the
// library comes back through the longjmp, so the reason is kept in the session, in memory it
// does not unwind.
base::Status Decode(JpegSession& s, PictureBytes file, const DecodeLimits& limits,
                    const std::optional<Bound>& bound = std::nullopt) {
  jpeg_decompress_struct& cinfo = s.cinfo;
  cinfo.err = jpeg_std_error(&s.error.manager);
  s.error.manager.error_exit = OnError;
  s.error.manager.emit_message = OnMessage;
  s.error.stop = limits.stop;
  if (setjmp(s.error.jump)) {
    // What goes wrong after the last row changes none of the rows made.
    if (s.error.rowsDone && !s.error.stopped) return base::Status::Ok();
    s.failure = Refusal(s.error);
    return s.failure;
  }
  jpeg_create_decompress(&cinfo);
  s.progress.progress_monitor = OnProgress;
  cinfo.progress = &s.progress;
  jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
  // Each segment is at most 64 KiB, and the file holds them all.
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  KeepMetadata(s);
  s.error.multipleScans = jpeg_has_multiple_scans(&cinfo);
  s.error.headerRead = true;
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  const base::Status fits =
      SizeFits(cinfo.image_width, cinfo.image_height, CoefficientBytes(cinfo), limits);
  if (!fits.ok()) return fits;
  if (bound) {
    // A picture stored turned a quarter is shown with its sides swapped.
    const bool turned = ExifOrientation(s.exif) >= 5;
    const Bound shown = turned ? Bound{bound->height, bound->width} : *bound;
    const int reduction = ReductionFor(cinfo.image_width, cinfo.image_height, shown);
    if (reduction == 1) return base::Status::Ok();
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned int>(reduction);
  }
  jpeg_calc_output_dimensions(&cinfo);
  // The library's own large buffers stay within what is left beside the picture.
  const std::uint64_t pictureBytes = std::uint64_t{4} * cinfo.output_width * cinfo.output_height;
  cinfo.mem->max_memory_to_use =
      static_cast<long>(std::min<std::uint64_t>(limits.memoryBytes - pictureBytes, LONG_MAX));

  jpeg_start_decompress(&cinfo);
  // A progressive file has read all its scans by now.
  if (s.error.endMarkerMissing && cinfo.progressive_mode && !EveryCoefficientRead(cinfo)) {
    return DataCutShort("JPEG");
  }
  const int width = static_cast<int>(cinfo.output_width);
  const int height = static_cast<int>(cinfo.output_height);
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(
      reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
      cinfo.output_width * static_cast<JDIMENSION>(cinfo.output_components), 1);
  s.picture = render::Surface::Unwritten(width, height);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) return DataCutShort("JPEG");
    PutRow(row[0], cmyk, width, s.picture.Row(y));
  }
  s.error.rowsDone = true;
  jpeg_finish_decompress(&cinfo);  // reads on to the end-of-image marker
  return base::Status::Ok();
}

}  // namespace

base::Result<Picture> DecodeJpeg(PictureBytes file, const DecodeLimits& limits) {
  JpegSession session;
  if (base::Status decoded = Decode(session, file, limits); !decoded.ok()) return decoded;
  Picture picture = PictureOf(std::move(session.picture));
  picture.iccProfile = std::move(session.iccProfile);
  picture.exif = std::move(session.exif);
  return picture;
}

std::optional<QuickLook> JpegQuickLook(PictureBytes file, const DecodeLimits& limits,
                                       const Bound& bound) {
  JpegSession session;
  if (!Decode(session, file, limits, bound).ok() || session.picture.empty()) return std::nullopt;
  // Upright and in sRGB, as the whole picture will be.
  int width = static_cast<int>(session.cinfo.image_width);
  int height = static_cast<int>(session.cinfo.image_height);
  if (ExifOrientation(session.exif) >= 5) std::swap(width, height);
  Picture look = PictureOf(std::move(session.picture));
  look.iccProfile = std::move(session.iccProfile);
  look.exif = std::move(session.exif);
  if (!ApplyMetadata(look, limits).ok()) return std::nullopt;
  return QuickLook{std::move(look.pixels), width, height};
}

}  // namespace kinetta::image
