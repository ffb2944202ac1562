// PNG frame files through libspng's progressive encoder: a row at a time, no frame held whole.
#include "image/png_frame.h"

#include <spng.h>

#include <algorithm>
#include <utility>

#include "base/messages.h"
#include "render/run_budget.h"

namespace kinetta::image {

namespace {

struct ContextFree {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

}  // namespace

// The encoder and the piece its output gathers in before it goes to the writer: libspng hands
// on a chunk at a time, which would be many small writes.
struct PngFrameRows::Encoder {
  std::unique_ptr<spng_ctx, ContextFree> ctx;
  base::Writer write;
  std::vector<std::uint8_t> piece;
  base::Status failure;  // the writer's, which libspng only sees as an error number
  std::vector<std::uint8_t> row;

  base::Status Flush() {
    if (piece.empty() || !failure.ok()) return failure;
    failure = write(piece.data(), piece.size());
    piece.clear();
    return failure;
  }

  static int Put(spng_ctx*, void* user, void* data, std::size_t length) {
    auto* self = static_cast<Encoder*>(user);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    self->piece.insert(self->piece.end(), bytes, bytes + length);
    if (self->piece.size() >= render::kFramePieceBytes && !self->Flush().ok()) {
      return SPNG_IO_ERROR;
    }
    return 0;
  }
};

PngFrameRows::PngFrameRows(int width, int height, base::Writer write)
    : width_(width), height_(height), encoder_(std::make_unique<Encoder>()) {
  encoder_->ctx.reset(spng_ctx_new(SPNG_CTX_ENCODER));
  encoder_->write = std::move(write);
  encoder_->row.resize(static_cast<std::size_t>(std::max(width, 0)) * 4);
  spng_ctx* ctx = encoder_->ctx.get();
  spng_ihdr ihdr{};
  ihdr.width = static_cast<std::uint32_t>(width);
  ihdr.height = static_cast<std::uint32_t>(height);
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  // A fast deflate and one filter: the frames are many and large, and a tool further on may pack
  // them again. The Up filter costs little and suits smooth pictures and a clear background.
  const bool ready =
      ctx != nullptr && spng_set_png_stream(ctx, &Encoder::Put, encoder_.get()) == 0 &&
      spng_set_ihdr(ctx, &ihdr) == 0 && spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 1) == 0 &&
      spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP) == 0 &&
      spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG,
                        SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE) == 0;
  if (!ready && encoder_->failure.ok()) {
    encoder_->failure = base::Status::Failed(base::Cause::Unexpected, {});
  }
}

PngFrameRows::~PngFrameRows() = default;

base::Status PngFrameRows::Encode(const std::uint32_t* row) {
  // Red in the low byte, then green, blue and the transparency, which becomes the opacity.
  std::uint8_t* out = encoder_->row.data();
  for (int x = 0; x < width_; ++x) {
    const std::uint32_t c = row[x];
    out[0] = static_cast<std::uint8_t>(c);
    out[1] = static_cast<std::uint8_t>(c >> 8);
    out[2] = static_cast<std::uint8_t>(c >> 16);
    out[3] = static_cast<std::uint8_t>(255 - (c >> 24));
    out += 4;
  }
  const int result =
      spng_encode_row(encoder_->ctx.get(), encoder_->row.data(), encoder_->row.size());
  if (result != 0 && result != SPNG_EOI) {
    if (encoder_->failure.ok())
      encoder_->failure = base::Status::Failed(base::Cause::Unexpected, {});
    return encoder_->failure;
  }
  ++next_;
  return next_ == height_ ? encoder_->Flush() : base::Status::Ok();
}

base::Status PngFrameRows::Rows(int first, int count, const std::uint32_t* const* rows) {
  if (!encoder_->failure.ok()) return encoder_->failure;
  for (int i = 0; i < count; ++i) {
    if (first + i != next_) {
      early_.emplace(first + i, std::vector<std::uint32_t>(rows[i], rows[i] + width_));
      continue;
    }
    if (base::Status put = Encode(rows[i]); !put.ok()) return put;
    // The rows that came early and follow now.
    for (auto it = early_.begin(); it != early_.end() && it->first == next_;
         it = early_.erase(it)) {
      if (base::Status put = Encode(it->second.data()); !put.ok()) return put;
    }
  }
  return base::Status::Ok();
}

base::Status StreamPngFrame(const render::Surface& surface, const base::Writer& write) {
  PngFrameRows png(surface.width(), surface.height(), write);
  for (int y = 0; y < surface.height(); ++y) {
    const std::uint32_t* row = surface.Row(y);
    if (base::Status put = png.Rows(y, 1, &row); !put.ok()) return put;
  }
  return base::Status::Ok();
}

}  // namespace kinetta::image
