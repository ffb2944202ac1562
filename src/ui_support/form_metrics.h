// The program's forms are laid out in twips, the units of their design, and this is where their
// positions become pixels: the screen's twips per pixel, the conversion of a control's rectangle,
// the nine-point font the control sizes were chosen for; and UTF-8 text for captions and
// messages.
#pragma once

#include <QRect>
#include <QString>
#include <string_view>
#include <vector>

#include "base/language.h"

class QWidget;

namespace kinetta::ui {

/// Screen twips per pixel, horizontally and vertically (15 at 96 dots per inch).
struct TwipsPerPixel {
  double x = 15;
  double y = 15;
};

/// 1440 twips to the inch divided by the screen's logical dots per inch; a screen that reports
/// none is taken as the common 96 dots per inch.
TwipsPerPixel TwipsPerPixelForDpi(double dpiX, double dpiY);

/// The translation context of every text of the program.
using base::kTextContext;

/// `text` (UTF-8) as a QString, in the user's language: a text of the program's own (Japanese)
/// comes back translated when a translation of it is installed (ui_support/language.h); any other
/// text, and every text while Japanese is the language, comes back as it is.
QString Utf8(std::string_view text);

/// The same for a text whose translation depends on where it stands (`where`, e.g. "colour
/// button"): the translation given for that place, else the text's own.
QString Utf8(std::string_view text, const char* where);

/// A control rectangle given in twips, in pixels: each value divided by the twips per pixel of
/// its direction and rounded to the nearest pixel, halves to even as the window layout does.
QRect TwipsToPixels(int left, int top, int width, int height, TwipsPerPixel twipsPerPixel);

/// Gives `form` the nine-point font (180 twips) its control sizes expect, at least a pixel.
void UseNinePointFont(QWidget& form, TwipsPerPixel twipsPerPixel);

/// A frame's controls placed inside its contents rectangle, and how many pixels that rectangle
/// lacks in height for them (0 when they fit).
struct FramePlacement {
  std::vector<QRect> controls;
  int missingHeight = 0;
};

/// Places a frame's controls, designed at `design` (relative to the frame, for a frame that
/// draws only a border), inside `contents`, the part of the frame below its title and inside
/// its border. Controls that share most of their height form a row and keep their places in
/// it (a button on a swatch stays on it); the rows keep their order, the first starts at the
/// top of `contents`, and the gaps between them (never an overlap) shrink as far as the room
/// requires. Each control keeps its left edge and width, but stays inside `contents` and ends
/// before the next control of its row.
FramePlacement PlaceInFrame(const QRect& contents, const std::vector<QRect>& design);

}  // namespace kinetta::ui
