#include "ui_support/form_metrics.h"

#include <QCoreApplication>
#include <QFont>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>

namespace kinetta::ui {

TwipsPerPixel TwipsPerPixelForDpi(double dpiX, double dpiY) {
  TwipsPerPixel tpp;
  if (dpiX > 0) tpp.x = 1440.0 / dpiX;
  if (dpiY > 0) tpp.y = 1440.0 / dpiY;
  return tpp;
}

QString Utf8(std::string_view text) {
  // Only the program's own texts are Japanese; a plain ASCII text (a path, a number) is not
  // looked up.
  const bool own = std::any_of(text.begin(), text.end(),
                               [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (own) {
    const std::string source(text);
    return QCoreApplication::translate(kTextContext, source.c_str());
  }
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Utf8(std::string_view text, const char* where) {
  const std::string source(text);
  const QString placed = QCoreApplication::translate(kTextContext, source.c_str(), where);
  return placed == QString::fromUtf8(source.c_str()) ? Utf8(text) : placed;
}

QRect TwipsToPixels(int left, int top, int width, int height, TwipsPerPixel twipsPerPixel) {
  const auto px = [](int twips, double perPixel) {
    return static_cast<int>(std::nearbyint(twips / perPixel));
  };
  return {px(left, twipsPerPixel.x), px(top, twipsPerPixel.y), px(width, twipsPerPixel.x),
          px(height, twipsPerPixel.y)};
}

FramePlacement PlaceInFrame(const QRect& contents, const std::vector<QRect>& design) {
  // Rows, in the order of their tops: the controls of each and the rows' design extent.
  struct Row {
    std::vector<std::size_t> members;
    int top = 0;
    int bottom = 0;  // one past the last line
  };
  std::vector<std::size_t> order(design.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return design[a].top() < design[b].top(); });
  std::vector<Row> rows;
  for (const std::size_t i : order) {
    const QRect& r = design[i];
    if (!rows.empty()) {
      Row& last = rows.back();
      const int shared = std::min(last.bottom, r.top() + r.height()) - r.top();
      if (2 * shared >= std::min(r.height(), last.bottom - last.top)) {
        last.members.push_back(i);
        last.bottom = std::max(last.bottom, r.top() + r.height());
        continue;
      }
    }
    rows.push_back({{i}, r.top(), r.top() + r.height()});
  }

  // The design's gaps between rows, an overlap counting as none, shrunk alike to fit.
  int heights = 0;
  int gaps = 0;
  std::vector<int> gap(rows.size(), 0);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    heights += rows[k].bottom - rows[k].top;
    if (k > 0) gap[k] = std::max(0, rows[k].top - rows[k - 1].bottom);
    gaps += gap[k];
  }
  FramePlacement placement;
  placement.controls = design;
  placement.missingHeight = std::max(0, heights - contents.height());
  const int roomForGaps = std::max(0, contents.height() - heights);
  int y = contents.top();
  int gapsLeft = std::min(gaps, roomForGaps);
  int designGapsLeft = gaps;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (k > 0 && designGapsLeft > 0) {
      // Each gap takes its share of the room left, so that the rounding never adds up.
      const int g = gapsLeft * gap[k] / designGapsLeft;
      y += g;
      gapsLeft -= g;
      designGapsLeft -= gap[k];
    }
    for (const std::size_t i : rows[k].members) {
      QRect& r = placement.controls[i];
      const int left = std::max(r.left(), contents.left());
      int right = std::min(r.right(), contents.right());
      // A control that runs into the next one in its row (the design's twips round that way)
      // ends where that one starts; one lying wholly on another stays on it.
      for (const std::size_t j : rows[k].members) {
        const QRect& next = design[j];
        if (next.left() > r.left() && next.left() <= right && next.right() > r.right()) {
          right = next.left() - 1;
        }
      }
      r = QRect(left, y + (design[i].top() - rows[k].top), std::max(1, right + 1 - left),
                design[i].height());
    }
    y += rows[k].bottom - rows[k].top;
  }
  return placement;
}

void UseNinePointFont(QWidget& form, TwipsPerPixel twipsPerPixel) {
  QFont f = form.font();
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(180 / twipsPerPixel.y))));
  form.setFont(f);
}

}  // namespace kinetta::ui
