// The settings dialog's colour swatch: a solid rectangle of the chosen background colour.
#pragma once

#include <QPainter>
#include <QWidget>

#include "render/surface.h"
#include "settings/settings_rules.h"

namespace kinetta::settings {

/// The solid rectangle that shows the chosen colour. Its packed value is kept as given, so a
/// value that is no colour at all (an edited settings file) is stored back unchanged by OK.
class ColourSwatch : public QWidget {
 public:
  using QWidget::QWidget;

  render::Colour colour() const { return colour_; }
  void setColour(render::Colour c) {
    colour_ = c;
    setProperty("fillColour", c);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), UnpackColour(colour_));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  render::Colour colour_ = PackColour(QColor(64, 64, 64));
};

}  // namespace kinetta::settings
