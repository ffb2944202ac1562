// The main window's geometry in twips: where the two frames, their pictures and the abort
// button stand, how the frames follow the pictures' sizes, the source size in twips and pixels,
// how far the window grows to show them, and the stored window placement with its fallbacks.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace kinetta::app {

/// Screen twips per pixel, horizontally and vertically (15 at 96 dots per inch).
struct TwipsPerPixel {
  double x = 15;
  double y = 15;
};

/// 1440 twips to the inch divided by the screen's logical dots per inch.
TwipsPerPixel TwipsPerPixelForDpi(double dpiX, double dpiY);

/// A rectangle in twips (left, top, width, height).
struct TwipsRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

/// A rectangle in pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

/// A size in pixels.
struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

/// The nearest integer, a value exactly halfway going to the even one.
int RoundToInt(double value);

class WindowLayout {
 public:
  explicit WindowLayout(TwipsPerPixel tpp = {});

  TwipsPerPixel twipsPerPixel() const { return tpp_; }

  // Frames and the abort button are placed in the window's client area; the pictures inside
  // their frames.
  const TwipsRect& Frame1() const { return frame1_; }
  const TwipsRect& Picture1() const { return picture1_; }
  const TwipsRect& Frame2() const { return frame2_; }
  const TwipsRect& Picture2() const { return picture2_; }
  const TwipsRect& Command1() const { return command1_; }

  /// Picture1 takes the size of a loaded picture of w x h pixels, then Picture1_Resize runs.
  void SetSourcePicture(int widthPx, int heightPx);
  /// Picture1 is w x h twips, then Picture1_Resize runs.
  void SetPicture1Twips(double widthTwips, double heightTwips);
  /// The frame canvas takes the frame size of w x h pixels, then Picture2_Resize runs.
  void SetCanvas(int widthPx, int heightPx);

  // The source size, recomputed whenever Picture1 changes size. Wider than the 16-bit fields
  // they stand for, so pictures beyond 2184 pixels work.
  int SourceWidthTwips() const { return sourceWidthTwips_; }
  int SourceHeightTwips() const { return sourceHeightTwips_; }
  int SourceWidthPx() const { return sourceWidthPx_; }
  int SourceHeightPx() const { return sourceHeightPx_; }

  /// The frame canvas's size in pixels (its twips divided by twips per pixel, halves to even).
  int CanvasWidthPx() const;
  int CanvasHeightPx() const;

  /// A twips rectangle in pixels; `originTop` twips of the client area lie above pixel row 0.
  PixelRect ToPixels(const TwipsRect& r, double originTop = 0) const;

  /// The client area needed to show the frames (and the abort button while it is shown), with
  /// the same 120-twip margin the frames keep from the window's left edge.
  TwipsRect ContentBounds(bool withAbortButton) const;

 private:
  void Picture1_Resize();
  void Picture2_Resize();

  TwipsPerPixel tpp_;
  TwipsRect frame1_{120, 480, 3852, 1332};
  TwipsRect picture1_{240, 360, 3372, 852};
  TwipsRect frame2_{120, 1920, 3852, 1332};
  TwipsRect picture2_{240, 360, 3372, 852};
  TwipsRect command1_{4080, 600, 612, 372};
  int sourceWidthTwips_ = 0;
  int sourceHeightTwips_ = 0;
  int sourceWidthPx_ = 0;
  int sourceHeightPx_ = 0;
};

// ---- Growing the window to its pictures ------------------------------------------------------

/// What the window knows, in pixels, when its pictures may have outgrown it.
struct FitState {
  PixelRect window;    ///< where the window's outer frame stands, and the size inside that frame
  PixelSize frame;     ///< what the window's outer frame adds to that size
  PixelSize viewport;  ///< the largest view the scroll area offers at the window's size
  PixelSize content;   ///< the form: the frames, and the abort button while it is shown
  std::optional<PixelRect> screen;  ///< the available area of the window's screen, if any
  int scrollBar = 0;                ///< the breadth of a scroll bar
};

/// The window enlarged so that the content fits, as far as the screen allows, and moved back
/// onto the screen where it would reach past an edge; the user scrolls beyond that. The window
/// never shrinks; one that already shows the content is returned as it is.
PixelRect WindowGrownToFit(const FitState& state);

// ---- Window placement ------------------------------------------------------------------------

/// The main window's left, top, width and height in twips as stored in the per-user store.
struct Placement {
  double left = 1000;
  double top = 1000;
  double width = 4900;
  double height = 4500;
  friend bool operator==(const Placement&, const Placement&) = default;
};

/// The placement from the four stored texts (nothing for a missing key). A text that is not a
/// number, or a width or height below one pixel, takes that value's default.
Placement PlacementFromTexts(std::optional<std::string_view> left,
                             std::optional<std::string_view> top,
                             std::optional<std::string_view> width,
                             std::optional<std::string_view> height);

/// True when at least a 32 x 32 pixel corner of the window (or the whole window, if smaller)
/// lies on one of the screens, so the user can reach it and move it.
bool PlacementOnScreen(const PixelRect& window, const std::vector<PixelRect>& screens);

/// Where the window opens, in pixels: the stored placement, or the default one when the stored
/// placement reaches none of `screens` (with no screens known, the stored one).
PixelRect OpeningPlacement(const Placement& stored, TwipsPerPixel tpp,
                           const std::vector<PixelRect>& screens);

/// The placement stored for a window at `window` pixels: twips, in the single precision the
/// store holds.
Placement StoredPlacement(const PixelRect& window, TwipsPerPixel tpp);

}  // namespace kinetta::app
