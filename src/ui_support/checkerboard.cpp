// The board of squares under transparent pictures.
#include "ui_support/checkerboard.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTransform>

namespace kinetta::ui {

namespace {

// Two squares a side: light grey at the top-left and bottom-right, white in the other two. A
// brush of it fills any area in one call, however large.
const QImage& BoardTile() {
  static const QImage tile = [] {
    QImage t(2 * kCheckerSquare, 2 * kCheckerSquare, QImage::Format_RGB32);
    t.fill(Qt::white);
    QPainter p(&t);
    const QColor grey(204, 204, 204);
    p.fillRect(0, 0, kCheckerSquare, kCheckerSquare, grey);
    p.fillRect(kCheckerSquare, kCheckerSquare, kCheckerSquare, kCheckerSquare, grey);
    return t;
  }();
  return tile;
}

}  // namespace

void DrawOverCheckerboard(QPainter& painter, const QRectF& target, const QImage& image) {
  if (image.hasAlphaChannel()) {
    QBrush board(BoardTile());
    board.setTransform(QTransform::fromTranslate(target.x(), target.y()));
    painter.fillRect(target, board);
  }
  painter.drawImage(target, image);
}

}  // namespace kinetta::ui
