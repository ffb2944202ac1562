// A picture box of the main window: shows a picture at its top-left corner, clipped to the box,
// on the window's background where the picture does not reach.
#pragma once

#include <QImage>
#include <QWidget>

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
};

}  // namespace kinetta::app
