// The program's forms are laid out in twips, the units of their design: the conversion of a
// control's rectangle to pixels, the nine-point font the control sizes were chosen for, and
// UTF-8 text for their captions and messages.
#pragma once

#include <QPointF>
#include <QRect>
#include <QString>
#include <string_view>

class QWidget;

namespace kinetta::ui {

/// `text` (UTF-8) as a QString.
QString Utf8(std::string_view text);

/// A control rectangle given in twips, in pixels: each value divided by the twips per pixel of
/// its direction and rounded to the nearest pixel, halves to even as the window layout does.
QRect TwipsToPixels(int left, int top, int width, int height, QPointF twipsPerPixel);

/// Gives `form` the nine-point font (180 twips) its control sizes expect, at least a pixel.
void UseNinePointFont(QWidget& form, QPointF twipsPerPixel);

}  // namespace kinetta::ui
