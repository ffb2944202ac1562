// Pictures with transparency shown as image editors show them: over a board of light-grey and
// white squares, painted when the picture is drawn and never into the picture itself.
#pragma once

#include <QRectF>

class QImage;
class QPainter;

namespace kinetta::ui {

/// The side of one square of the board, in the painter's pixels.
inline constexpr int kCheckerSquare = 8;

/// Draws `image` into `target`. Where the image has an alpha channel, the board is painted under
/// `target` first, its squares counted from the target's top-left corner, so a transparent pixel
/// shows the board and a half transparent one the board mixed with its colour; an opaque image
/// is drawn alone.
void DrawOverCheckerboard(QPainter& painter, const QRectF& target, const QImage& image);

}  // namespace kinetta::ui
