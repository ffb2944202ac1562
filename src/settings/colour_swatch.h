// The settings dialog's colour swatch: a solid rectangle of the chosen background colour, faded
// while the background is clear.
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
    // Disabled (a clear background in place of the colour), it shows the colour faded halfway
    // into the window's grey, with a grey border.
    QColor fill = UnpackColour(colour_);
    if (!isEnabled()) {
      const QColor back = palette().color(QPalette::Window);
      fill = QColor((fill.red() + back.red()) / 2, (fill.green() + back.green()) / 2,
                    (fill.blue() + back.blue()) / 2);
    }
    p.fillRect(rect(), fill);
    p.setPen(isEnabled() ? QColor(Qt::black) : palette().color(QPalette::Disabled, QPalette::Text));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  render::Colour colour_ = PackColour(QColor(64, 64, 64));
};

}  // namespace kinetta::settings
