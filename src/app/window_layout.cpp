// Twips arithmetic of the main window: frames that follow their pictures, the source size,
// pictures scaled down to the room the screen leaves, the window sized to show them, and the
// stored placement.
#include "app/window_layout.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"

namespace kinetta::app {

int RoundToInt(double value) { return static_cast<int>(std::nearbyint(value)); }

WindowLayout::WindowLayout(TwipsPerPixel tpp) : tpp_(tpp) {}

void WindowLayout::SetSourcePicture(int widthPx, int heightPx) {
  SetSourcePictureTwips(widthPx * tpp_.x, heightPx * tpp_.y);
}

void WindowLayout::SetSourcePictureTwips(double widthTwips, double heightTwips) {
  sourcePicture_.width = widthTwips;
  sourcePicture_.height = heightTwips;
  SourcePictureResized();
}

void WindowLayout::SetCanvas(int widthPx, int heightPx) {
  canvasPicture_.width = widthPx * tpp_.x;
  canvasPicture_.height = heightPx * tpp_.y;
  PlaceCanvasFrame();
}

void WindowLayout::SourcePictureResized() {
  sourceWidthTwips_ = RoundToInt(sourcePicture_.width);
  sourceHeightTwips_ = RoundToInt(sourcePicture_.height);
  sourceWidthPx_ = RoundToInt(sourcePicture_.width / tpp_.x);
  sourceHeightPx_ = RoundToInt(sourcePicture_.height / tpp_.y);
  PlaceSourceFrame();
}

// The first frame follows its picture, and the second frame and the abort button follow it.
void WindowLayout::PlaceSourceFrame() {
  sourceFrame_.width = sourcePicture_.width + 480;
  sourceFrame_.height = sourcePicture_.height + 600;
  canvasFrame_.top = sourceFrame_.top + sourceFrame_.height + 120;
  abortButton_.left = sourceFrame_.left + sourceFrame_.width + 120;
}

void WindowLayout::PlaceCanvasFrame() {
  canvasFrame_.width = canvasPicture_.width + 480;
  canvasFrame_.height = canvasPicture_.height + 600;
}

PixelSizeF WindowLayout::SourceSizeSingle() const {
  return {static_cast<float>(sourceWidthTwips_ / tpp_.x),
          static_cast<float>(sourceHeightTwips_ / tpp_.y)};
}

PixelSizeF WindowLayout::SourceSizeForLabel() const {
  return {static_cast<float>(sourceWidthTwips_) / static_cast<float>(tpp_.x),
          static_cast<float>(sourceHeightTwips_) / static_cast<float>(tpp_.y)};
}

int WindowLayout::CanvasWidthPx() const { return RoundToInt(canvasPicture_.width / tpp_.x); }
int WindowLayout::CanvasHeightPx() const { return RoundToInt(canvasPicture_.height / tpp_.y); }

PixelRect WindowLayout::ToPixels(const TwipsRect& r, double originTop) const {
  return {RoundToInt(r.left / tpp_.x), RoundToInt((r.top - originTop) / tpp_.y),
          RoundToInt(r.width / tpp_.x), RoundToInt(r.height / tpp_.y)};
}

TwipsRect WindowLayout::ContentBounds(bool withAbortButton) const {
  double right =
      std::max(sourceFrame_.left + sourceFrame_.width, canvasFrame_.left + canvasFrame_.width);
  double bottom =
      std::max(sourceFrame_.top + sourceFrame_.height, canvasFrame_.top + canvasFrame_.height);
  if (withAbortButton) {
    right = std::max(right, abortButton_.left + abortButton_.width);
    bottom = std::max(bottom, abortButton_.top + abortButton_.height);
  }
  return {0, 0, right + 120, bottom + 120};
}

WindowLayout WindowLayout::Shown(PictureScales scales) const {
  // A scaled side is a whole number of pixels, so the picture box and its picture agree.
  auto side = [](double twips, double scale, double tpp) {
    return std::max(1.0, std::floor(twips / tpp * scale + 1e-9)) * tpp;
  };
  WindowLayout shown = *this;
  if (scales.source < 1) {
    shown.sourcePicture_.width = side(sourcePicture_.width, scales.source, tpp_.x);
    shown.sourcePicture_.height = side(sourcePicture_.height, scales.source, tpp_.y);
    shown.PlaceSourceFrame();
  }
  if (scales.canvas < 1) {
    shown.canvasPicture_.width = side(canvasPicture_.width, scales.canvas, tpp_.x);
    shown.canvasPicture_.height = side(canvasPicture_.height, scales.canvas, tpp_.y);
    shown.PlaceCanvasFrame();
  }
  return shown;
}

// ---- Pictures in the room the screen leaves --------------------------------------------------

namespace {

// The form's twips around its pictures, from the frame rules above: the first frame's left
// edge, the frame's border and title, the gap to the abort button, the button, the right margin;
// and down the form, the gap above the first frame, both frames' borders and titles, the gap
// between them and the bottom margin.
constexpr double kAroundSourceWidth = 120 + 480 + 120 + 612 + 120;
constexpr double kAroundCanvasWidth = 120 + 480 + 120;
constexpr double kAroundPicturesHeight = (480 - kClientOriginTop) + 600 + 120 + 600 + 120;

int WholePixels(double twips, double tpp) {
  return std::max(1, static_cast<int>(std::floor(twips / tpp + 1e-9)));
}

}  // namespace

PictureRoom RoomForPictures(PixelSize room, TwipsPerPixel tpp) {
  // A pixel less each way: the frames' twips round to pixels one by one.
  const double width = (room.width - 1) * tpp.x;
  const double height = (room.height - 1) * tpp.y;
  const int shared = WholePixels(height - kAroundPicturesHeight, tpp.y);
  return {{WholePixels(width - kAroundSourceWidth, tpp.x), shared},
          {WholePixels(width - kAroundCanvasWidth, tpp.x), shared}};
}

PixelSize FittedSize(PixelSize picture, PixelSize bound) {
  if (picture.width <= bound.width && picture.height <= bound.height) return picture;
  const double scale = std::min(static_cast<double>(bound.width) / picture.width,
                                static_cast<double>(bound.height) / picture.height);
  return {WholePixels(picture.width * scale, 1), WholePixels(picture.height * scale, 1)};
}

PictureScales FitPictures(const WindowLayout& layout, PixelSize room) {
  const TwipsPerPixel tpp = layout.twipsPerPixel();
  const PictureRoom r = RoomForPictures(room, tpp);
  const double w1 = layout.SourcePicture().width / tpp.x,
               h1 = layout.SourcePicture().height / tpp.y;
  const double w2 = layout.CanvasPicture().width / tpp.x,
               h2 = layout.CanvasPicture().height / tpp.y;
  PictureScales s;
  if (w1 > 0) s.source = std::min(1.0, r.source.width / w1);
  if (w2 > 0) s.canvas = std::min(1.0, r.canvas.width / w2);
  const double shared = r.source.height;
  const double a = h1 * s.source, b = h2 * s.canvas;
  if (a + b > shared) {
    const double half = shared / 2;
    if (a <= half) {
      s.canvas = std::min(s.canvas, (shared - a) / h2);
    } else if (b <= half) {
      s.source = std::min(s.source, (shared - b) / h1);
    } else {
      s.source = std::min(s.source, half / h1);
      s.canvas = std::min(s.canvas, half / h2);
    }
  }
  return s;
}

// ---- Sizing the window to its pictures -------------------------------------------------------

std::optional<PixelSize> RoomForContent(const FitState& state) {
  if (!state.screen) return std::nullopt;
  return PixelSize{
      state.screen->width - state.frame.width - (state.window.width - state.viewport.width),
      state.screen->height - state.frame.height - (state.window.height - state.viewport.height)};
}

PixelRect WindowFitted(const FitState& state, PixelSize smallest) {
  const PixelRect& window = state.window;
  PixelSize need = state.content;
  if (const std::optional<PixelSize> room = RoomForContent(state)) {
    // Where the screen cannot hold the content in one direction, that direction's scroll bar
    // takes room from the other: make room for it too, so that the abort button at the right
    // edge is not hidden under the vertical scroll bar.
    const bool tooTall = need.height > room->height;
    const bool tooWide = need.width > room->width;
    if (tooTall) need.width += state.scrollBar;
    if (tooWide) need.height += state.scrollBar;
  }
  PixelRect fitted = window;
  fitted.width = std::max(need.width + (window.width - state.viewport.width), smallest.width);
  fitted.height = std::max(need.height + (window.height - state.viewport.height), smallest.height);
  if (state.screen) {
    fitted.width = std::min(fitted.width, state.screen->width - state.frame.width);
    fitted.height = std::min(fitted.height, state.screen->height - state.frame.height);
  }
  if (!state.screen) return fitted;
  // Also a window of the right size is brought within the screen: one restored where the window
  // manager's frame has not been counted may have its title bar above the screen's top.
  const PixelRect& s = *state.screen;
  fitted.left =
      std::max(s.left, std::min(window.left, s.left + s.width - fitted.width - state.frame.width));
  fitted.top =
      std::max(s.top, std::min(window.top, s.top + s.height - fitted.height - state.frame.height));
  return fitted;
}

PixelRect WindowGrownToFit(const FitState& state) {
  return WindowFitted(state, {state.window.width, state.window.height});
}

// ---- Window placement ------------------------------------------------------------------------

namespace {

double StoredNumber(std::optional<std::string_view> text, double fallback) {
  if (!text) return fallback;
  const std::optional<double> value = base::WholeNumber(*text);
  if (!value || !std::isfinite(*value)) return fallback;
  // The store holds single-precision numbers.
  return static_cast<double>(static_cast<float>(*value));
}

}  // namespace

Placement PlacementFromTexts(std::optional<std::string_view> left,
                             std::optional<std::string_view> top,
                             std::optional<std::string_view> width,
                             std::optional<std::string_view> height) {
  const Placement defaults;
  Placement p;
  p.left = StoredNumber(left, defaults.left);
  p.top = StoredNumber(top, defaults.top);
  p.width = StoredNumber(width, defaults.width);
  p.height = StoredNumber(height, defaults.height);
  // A window narrower or lower than a pixel could not be seen or grabbed.
  if (p.width < 15) p.width = defaults.width;
  if (p.height < 15) p.height = defaults.height;
  return p;
}

bool PlacementOnScreen(const PixelRect& window, const std::vector<PixelRect>& screens) {
  if (window.width <= 0 || window.height <= 0) return false;
  const int needW = std::min(32, window.width);
  const int needH = std::min(32, window.height);
  for (const PixelRect& s : screens) {
    const int overlapW =
        std::min(window.left + window.width, s.left + s.width) - std::max(window.left, s.left);
    const int overlapH =
        std::min(window.top + window.height, s.top + s.height) - std::max(window.top, s.top);
    if (overlapW >= needW && overlapH >= needH) return true;
  }
  return false;
}

PixelRect OpeningPlacement(const Placement& stored, TwipsPerPixel tpp,
                           const std::vector<PixelRect>& screens) {
  auto toPixels = [&](const Placement& p) {
    return PixelRect{RoundToInt(p.left / tpp.x), RoundToInt(p.top / tpp.y),
                     RoundToInt(p.width / tpp.x), RoundToInt(p.height / tpp.y)};
  };
  const PixelRect window = toPixels(stored);
  if (!screens.empty() && !PlacementOnScreen(window, screens)) return toPixels(Placement{});
  return window;
}

Placement StoredPlacement(const PixelRect& window, TwipsPerPixel tpp) {
  auto single = [](double twips) { return static_cast<double>(static_cast<float>(twips)); };
  return {single(window.left * tpp.x), single(window.top * tpp.y), single(window.width * tpp.x),
          single(window.height * tpp.y)};
}

}  // namespace kinetta::app
