// Twips arithmetic of the main window: frames that follow their pictures, the source size, the
// window grown to show them, and the stored placement.
#include "app/window_layout.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"

namespace kinetta::app {

TwipsPerPixel TwipsPerPixelForDpi(double dpiX, double dpiY) {
  TwipsPerPixel tpp;
  if (dpiX > 0) tpp.x = 1440.0 / dpiX;
  if (dpiY > 0) tpp.y = 1440.0 / dpiY;
  return tpp;
}

int RoundToInt(double value) { return static_cast<int>(std::nearbyint(value)); }

WindowLayout::WindowLayout(TwipsPerPixel tpp) : tpp_(tpp) {}

void WindowLayout::SetSourcePicture(int widthPx, int heightPx) {
  SetPicture1Twips(widthPx * tpp_.x, heightPx * tpp_.y);
}

void WindowLayout::SetPicture1Twips(double widthTwips, double heightTwips) {
  picture1_.width = widthTwips;
  picture1_.height = heightTwips;
  Picture1_Resize();
}

void WindowLayout::SetCanvas(int widthPx, int heightPx) {
  picture2_.width = widthPx * tpp_.x;
  picture2_.height = heightPx * tpp_.y;
  Picture2_Resize();
}

void WindowLayout::Picture1_Resize() {
  sourceWidthTwips_ = RoundToInt(picture1_.width);
  sourceHeightTwips_ = RoundToInt(picture1_.height);
  frame1_.width = picture1_.width + 480;
  frame1_.height = picture1_.height + 600;
  frame2_.top = frame1_.top + frame1_.height + 120;
  sourceWidthPx_ = RoundToInt(picture1_.width / tpp_.x);
  sourceHeightPx_ = RoundToInt(picture1_.height / tpp_.y);
  command1_.left = frame1_.left + frame1_.width + 120;
}

void WindowLayout::Picture2_Resize() {
  frame2_.width = picture2_.width + 480;
  frame2_.height = picture2_.height + 600;
}

int WindowLayout::CanvasWidthPx() const { return RoundToInt(picture2_.width / tpp_.x); }
int WindowLayout::CanvasHeightPx() const { return RoundToInt(picture2_.height / tpp_.y); }

PixelRect WindowLayout::ToPixels(const TwipsRect& r, double originTop) const {
  return {RoundToInt(r.left / tpp_.x), RoundToInt((r.top - originTop) / tpp_.y),
          RoundToInt(r.width / tpp_.x), RoundToInt(r.height / tpp_.y)};
}

TwipsRect WindowLayout::ContentBounds(bool withAbortButton) const {
  double right = std::max(frame1_.left + frame1_.width, frame2_.left + frame2_.width);
  double bottom = std::max(frame1_.top + frame1_.height, frame2_.top + frame2_.height);
  if (withAbortButton) {
    right = std::max(right, command1_.left + command1_.width);
    bottom = std::max(bottom, command1_.top + command1_.height);
  }
  return {0, 0, right + 120, bottom + 120};
}

// ---- Growing the window to its pictures ------------------------------------------------------

PixelRect WindowGrownToFit(const FitState& state) {
  const PixelRect& window = state.window;
  const PixelSize have = state.viewport;
  PixelSize need = state.content;
  if (state.screen) {
    // Where the screen cannot hold the content in one direction, that direction's scroll bar
    // takes room from the other: make room for it too, so that the abort button at the right
    // edge is not hidden under the vertical scroll bar.
    const int largestWidth = state.screen->width - state.frame.width - (window.width - have.width);
    const int largestHeight =
        state.screen->height - state.frame.height - (window.height - have.height);
    const bool tooTall = need.height > largestHeight;
    const bool tooWide = need.width > largestWidth;
    if (tooTall) need.width += state.scrollBar;
    if (tooWide) need.height += state.scrollBar;
  }
  const int growWidth = std::max(0, need.width - have.width);
  const int growHeight = std::max(0, need.height - have.height);
  if (growWidth == 0 && growHeight == 0) return window;
  PixelRect grown = window;
  grown.width += growWidth;
  grown.height += growHeight;
  if (!state.screen) return grown;
  const PixelRect& s = *state.screen;
  grown.width = std::max(std::min(grown.width, s.width - state.frame.width), window.width);
  grown.height = std::max(std::min(grown.height, s.height - state.frame.height), window.height);
  grown.left =
      std::max(s.left, std::min(window.left, s.left + s.width - grown.width - state.frame.width));
  grown.top =
      std::max(s.top, std::min(window.top, s.top + s.height - grown.height - state.frame.height));
  return grown;
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
