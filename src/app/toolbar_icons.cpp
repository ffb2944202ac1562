// Toolbar icons painted on transparent 16 x 16 pixmaps (the image list's light grey mask
// colour becomes plain transparency).
#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <functional>

namespace kinetta::app {

namespace {

QIcon Paint(const std::function<void(QPainter&)>& draw) {
  QIcon icon;
  for (const int scale : {1, 2}) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    draw(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void Folder(QPainter& p) {
  p.setPen(QPen(QColor(128, 96, 16), 1));
  p.setBrush(QColor(240, 200, 80));
  p.drawPolygon(QPolygonF{{1.5, 3.5}, {6.5, 3.5}, {8, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}});
  p.setBrush(QColor(252, 224, 120));
  p.drawPolygon(QPolygonF{{1.5, 13.5}, {3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}});
}

void Sheet(QPainter& p) {
  p.setPen(QPen(QColor(80, 80, 80), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2.5, 1.5, 11, 13));
  // Three sliders: a line with a knob each.
  for (int i = 0; i < 3; ++i) {
    const double y = 4.5 + 3.5 * i;
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 200));
    p.drawEllipse(QPointF(i == 1 ? 9.0 : (i == 0 ? 6.0 : 8.0), y), 1.6, 1.6);
  }
}

void PlayArrow(QPainter& p) {
  p.setPen(QPen(QColor(20, 100, 30), 1));
  p.setBrush(QColor(60, 180, 70));
  p.drawPolygon(QPolygonF{{3.5, 2.5}, {13.5, 8}, {3.5, 13.5}});
}

void FilmStrip(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(50, 50, 50));
  p.drawRect(QRectF(1, 2, 14, 12));
  p.setBrush(Qt::white);
  for (int i = 0; i < 4; ++i) {
    p.drawRect(QRectF(2 + 3.5 * i, 3, 1.8, 1.5));
    p.drawRect(QRectF(2 + 3.5 * i, 11.5, 1.8, 1.5));
  }
  p.setBrush(QColor(110, 170, 240));
  p.drawRect(QRectF(2.5, 5.5, 5, 5));
  p.drawRect(QRectF(8.5, 5.5, 5, 5));
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
  if (key == QLatin1String("Open")) return Paint(Folder);
  if (key == QLatin1String("Properties")) return Paint(Sheet);
  if (key == QLatin1String("Forward")) return Paint(PlayArrow);
  if (key == QLatin1String("Prev")) return Paint(FilmStrip);
  return {};
}

}  // namespace kinetta::app
