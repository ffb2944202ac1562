// The main window's geometry in twips: where the two frames, their pictures and the abort
// button stand, how the frames follow the pictures' sizes, the source size in twips and pixels,
// how far pictures larger than the screen are scaled down to show them, how the window is sized
// to show them, and the stored window placement with its fallbacks.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "ui_support/form_metrics.h"

namespace kinetta::app {

using ui::TwipsPerPixel;
using ui::TwipsPerPixelForDpi;

/// The toolbar and menu bar sit above the client area in this window, so the form's twips
/// geometry is shifted up by this much: the source frame (top 480) then keeps the same 120-twip gap
/// below the toolbar that it keeps from the window's left edge.
inline constexpr double kClientOriginTop = 360;

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

/// A size in pixels that need not be whole, in single precision.
struct PixelSizeF {
  float width = 0;
  float height = 0;
};

/// The nearest integer, a value exactly halfway going to the even one.
int RoundToInt(double value);

/// How large the two pictures are shown, as a part of their real size (1 = real size).
struct PictureScales {
  double source = 1;
  double canvas = 1;
  friend bool operator==(const PictureScales&, const PictureScales&) = default;
};

class WindowLayout {
 public:
  explicit WindowLayout(TwipsPerPixel tpp = {});

  TwipsPerPixel twipsPerPixel() const { return tpp_; }

  // Frames and the abort button are placed in the window's client area; the pictures inside
  // their frames.
  const TwipsRect& SourceFrame() const { return sourceFrame_; }
  const TwipsRect& SourcePicture() const { return sourcePicture_; }
  const TwipsRect& CanvasFrame() const { return canvasFrame_; }
  const TwipsRect& CanvasPicture() const { return canvasPicture_; }
  const TwipsRect& AbortButton() const { return abortButton_; }

  /// The source picture takes the size of a loaded picture of w x h pixels.
  void SetSourcePicture(int widthPx, int heightPx);
  /// The source picture is w x h twips: the source size and the frames follow it.
  void SetSourcePictureTwips(double widthTwips, double heightTwips);
  /// The frame canvas takes the frame size of w x h pixels, and its frame follows it.
  void SetCanvas(int widthPx, int heightPx);

  // The source size, recomputed whenever the source picture changes size. Wider than the 16-bit
  // fields they stand for, so pictures beyond 2184 pixels work.
  int SourceWidthTwips() const { return sourceWidthTwips_; }
  int SourceHeightTwips() const { return sourceHeightTwips_; }
  int SourceWidthPx() const { return sourceWidthPx_; }
  int SourceHeightPx() const { return sourceHeightPx_; }
  /// The source size in pixels as the warnings before a run read it: the source twips divided
  /// by the twips per pixel, kept as single-precision numbers and not brought to whole pixels
  /// (0 wide before any picture).
  PixelSizeF SourceSizeSingle() const;
  /// The same as the settings dialog's size label shows it: the division itself made in single
  /// precision, which at a twips per pixel that is no whole number can differ in the last digit.
  PixelSizeF SourceSizeForLabel() const;

  /// The frame canvas's size in pixels (its twips divided by twips per pixel, halves to even).
  int CanvasWidthPx() const;
  int CanvasHeightPx() const;

  /// A twips rectangle in pixels; `originTop` twips of the client area lie above pixel row 0.
  PixelRect ToPixels(const TwipsRect& r, double originTop = 0) const;

  /// The client area needed to show the frames (and the abort button while it is shown), with
  /// the same 120-twip margin the frames keep from the window's left edge.
  TwipsRect ContentBounds(bool withAbortButton) const;

  /// The layout as shown with the pictures at `scales` of their size, each side a whole number
  /// of pixels and at least one: the frames, the second frame's top and the abort button follow
  /// the shown pictures, while the source size stays the real picture's.
  WindowLayout Shown(PictureScales scales) const;

 private:
  void SourcePictureResized();
  void PlaceSourceFrame();
  void PlaceCanvasFrame();

  TwipsPerPixel tpp_;
  TwipsRect sourceFrame_{120, 480, 3852, 1332};
  TwipsRect sourcePicture_{240, 360, 3372, 852};
  TwipsRect canvasFrame_{120, 1920, 3852, 1332};
  TwipsRect canvasPicture_{240, 360, 3372, 852};
  TwipsRect abortButton_{4080, 600, 612, 372};
  int sourceWidthTwips_ = 0;
  int sourceHeightTwips_ = 0;
  int sourceWidthPx_ = 0;
  int sourceHeightPx_ = 0;
};

// ---- Pictures in the room the screen leaves ---------------------------------------------------

/// The largest each picture is ever shown in a form of at most `room` pixels: the source picture
/// beside the abort button, the frame canvas across the form, each with its frame and margins,
/// and either with the whole height the two pictures share.
struct PictureRoom {
  PixelSize source;
  PixelSize canvas;
};
PictureRoom RoomForPictures(PixelSize room, TwipsPerPixel tpp);

/// `picture` scaled down to fit in `bound`, aspect kept, never enlarged, at least a pixel a side.
PixelSize FittedSize(PixelSize picture, PixelSize bound);

/// The scales at which the source picture and the frame canvas of `layout` show whole in a form
/// of at most `room` pixels, with the abort button always beside the source frame. A picture
/// that fits keeps its size. Where the two are together too tall, each keeps the height it needs
/// up to half of the height they share, and the other one takes the rest.
PictureScales FitPictures(const WindowLayout& layout, PixelSize room);

// ---- Sizing the window to its pictures -------------------------------------------------------

/// What the window knows, in pixels, when its pictures may have outgrown it.
struct FitState {
  PixelRect window;    ///< where the window's outer frame stands, and the size inside that frame
  PixelSize frame;     ///< what the window's outer frame adds to that size
  PixelSize viewport;  ///< the largest view the scroll area offers at the window's size
  PixelSize content;   ///< the form: the frames, and the abort button while it is shown
  std::optional<PixelRect> screen;  ///< the available area of the window's screen, if any
  int scrollBar = 0;                ///< the breadth of a scroll bar
};

/// The room the content has at most: the viewport of a window as large as the screen's
/// available area. Nothing when the screen is not known.
std::optional<PixelSize> RoomForContent(const FitState& state);

/// The window sized to show the content but never smaller than `smallest`, and never larger
/// than the screen's available area, moved back onto the screen where it would reach past an
/// edge (also when its size stays); the user scrolls beyond that.
PixelRect WindowFitted(const FitState& state, PixelSize smallest);

/// The window enlarged so that the content fits, as far as the screen allows; it shrinks only
/// where it reaches past the screen (WindowFitted with the window's own size as the smallest).
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
