// JPEG pictures through libjpeg-turbo. Every warning the library gives is taken as an error: it
// warns where it patches over damaged or missing data (a scan cut short gets grey rows), and
// such a picture is refused rather than shown with rows it made up.
#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "base/messages.h"
#include "image/picture_decoders.h"

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
  bool tooManyScans;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorState*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0) OnError(cinfo);  // a warning; trace messages (0 and up) are ignored
}

void OnProgress(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) {
    reinterpret_cast<ErrorState*>(cinfo->err)->tooManyScans = true;
    OnError(cinfo);
  }
}

base::Status Refusal(const ErrorState& error) {
  if (error.tooManyScans) return VariantUnsupported("JPEG");
  switch (error.manager.msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JERR_INPUT_EOF:
      return DataCutShort("JPEG");
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
      return base::Status::Failed(base::Cause::OutOfMemory, base::kOutOfMemoryMessage);
    case JERR_BAD_PRECISION:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
      return VariantUnsupported("JPEG");
    default:
      return DataBroken("JPEG");
  }
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

// Decodes into s.picture; fails with the reason. A failure inside the library comes back
// through the longjmp, so the reason is kept in the session, in memory it does not unwind.
base::Status Decode(JpegSession& s, PictureBytes file, const DecodeLimits& limits) {
  jpeg_decompress_struct& cinfo = s.cinfo;
  cinfo.err = jpeg_std_error(&s.error.manager);
  s.error.manager.error_exit = OnError;
  s.error.manager.emit_message = OnMessage;
  if (setjmp(s.error.jump)) {
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
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  const base::Status fits =
      SizeFits(cinfo.image_width, cinfo.image_height, CoefficientBytes(cinfo), limits);
  if (!fits.ok()) return fits;
  // The library's own large buffers stay within what is left beside the picture.
  const std::uint64_t pictureBytes = std::uint64_t{4} * cinfo.image_width * cinfo.image_height;
  cinfo.mem->max_memory_to_use =
      static_cast<long>(std::min<std::uint64_t>(limits.memoryBytes - pictureBytes, LONG_MAX));

  jpeg_start_decompress(&cinfo);
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
  jpeg_finish_decompress(&cinfo);  // reads to the end-of-image marker, warning if it is missing
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

}  // namespace kinetta::image
