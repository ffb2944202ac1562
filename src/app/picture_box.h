// A picture box of the main window: shows its picture over the whole box, scaled down smoothly
// where the box is smaller than the picture (pictures larger than the screen are shown scaled),
// on the window's background while it has no picture, and over a board of squares where the
// picture is transparent.
#pragma once

#include <QImage>
#include <QWidget>

#include "app/window_layout.h"
#include "image/picture.h"
#include "render/surface.h"

namespace kinetta::app {

class PictureBox : public QWidget {
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void setImage(const QImage& image);
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  QImage shown_;  ///< image_ at the box's size, kept until either changes
};

/// `picture` as an image for showing, scaled down smoothly to fit in `bound` (aspect kept,
/// never enlarged), so that a picture box holds no more than the screen can show.
QImage ImageForShowing(const render::Surface& picture, PixelSize bound);
QImage ImageForShowing(const QImage& picture, PixelSize bound);

/// `picture` as an image for showing, scaled smoothly to `size` (a first look, shown at the
/// size of the whole picture it stands for). A surface with transparency (a frame over a clear
/// background) keeps it, in an image with an alpha channel.
QImage ImageOfSize(const render::Surface& picture, PixelSize size);

/// A decoded picture as an image for showing, as above, keeping the picture's own opacity.
QImage ImageForShowing(const image::Picture& picture, PixelSize bound);

}  // namespace kinetta::app
