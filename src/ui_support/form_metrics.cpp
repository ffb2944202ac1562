#include "ui_support/form_metrics.h"

#include <QFont>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kinetta::ui {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect TwipsToPixels(int left, int top, int width, int height, QPointF twipsPerPixel) {
  const auto px = [](int twips, double perPixel) {
    return static_cast<int>(std::nearbyint(twips / perPixel));
  };
  return {px(left, twipsPerPixel.x()), px(top, twipsPerPixel.y()), px(width, twipsPerPixel.x()),
          px(height, twipsPerPixel.y())};
}

void UseNinePointFont(QWidget& form, QPointF twipsPerPixel) {
  QFont f = form.font();
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(180 / twipsPerPixel.y()))));
  form.setFont(f);
}

}  // namespace kinetta::ui
