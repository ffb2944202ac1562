// The window's geometry: the controls placed from the twips layout, pictures larger than the
// room the screen leaves shown scaled down, the window sized to show them within the screen,
// and the placement restored at load and stored at unload.
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStyle>
#include <QWindow>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/picture_box.h"

namespace kinetta::app {

namespace {

QRect ToQRect(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }
PixelRect ToPixelRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

FitState MainWindow::MeasureFit() {
  // A window lays out its bars only when shown, and after their style and font are settled: lay
  // them out now, for the window's present size, so that the viewport is measured right.
  ensurePolished();
  if (QLayout* l = QWidget::layout()) {
    l->invalidate();
    l->activate();
  }
  FitState state;
  state.window = ToPixelRect(QRect(pos(), size()));
  const QSize chrome = FrameChrome();
  state.frame = {chrome.width(), chrome.height()};
  frameMeasured_ = state.frame;
  const QSize viewport = scroll_->maximumViewportSize();
  state.viewport = {viewport.width(), viewport.height()};
  state.content = {form_->width(), form_->height()};
  if (const QScreen* s = screen()) {
    state.screen = ToPixelRect(s->availableGeometry());
    state.scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
  }
  return state;
}

// Places the controls: the twips layout with both pictures scaled down as far as the room the
// screen leaves requires, so that both frames and the abort button show whole.
void MainWindow::ApplyLayout() {
  WindowLayout shown = layout_;
  if (const std::optional<PixelSize> room = RoomForContent(MeasureFit())) {
    pictureRoom_ = RoomForPictures(*room, layout_.twipsPerPixel());
    shown = layout_.Shown(FitPictures(layout_, *room));
  }
  sourceFrame_->setGeometry(ToQRect(shown.ToPixels(shown.SourceFrame(), kClientOriginTop)));
  sourcePicture_->setGeometry(ToQRect(shown.ToPixels(shown.SourcePicture())));
  canvasFrame_->setGeometry(ToQRect(shown.ToPixels(shown.CanvasFrame(), kClientOriginTop)));
  canvasPicture_->setGeometry(ToQRect(shown.ToPixels(shown.CanvasPicture())));
  abortButton_->setGeometry(ToQRect(shown.ToPixels(shown.AbortButton(), kClientOriginTop)));
  const PixelRect bounds =
      shown.ToPixels(shown.ContentBounds(!abortButton_->isHidden()), kClientOriginTop);
  form_->resize(bounds.width, bounds.height + bounds.top);
  // The source picture is kept reduced to the room; where the room has changed since (another
  // screen), it is reduced afresh from the picture itself, or its first look rescaled.
  const PixelSize whole =
      firstLook_ ? firstLook_->size : PixelSize{source_->width(), source_->height()};
  const PixelSize wanted = FittedSize(whole, pictureRoom_.source);
  const QImage& kept = sourcePicture_->image();
  if ((firstLook_ || !source_->empty()) &&
      (kept.width() != wanted.width || kept.height() != wanted.height)) {
    ShowSourcePicture();
  }
}

void MainWindow::ShowSourcePicture() {
  if (firstLook_) {
    const PixelSize size = FittedSize(firstLook_->size, pictureRoom_.source);
    sourcePicture_->setImage(sourcePicture_->image().scaled(
        size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  } else if (picture_ && picture_->hasAlpha && settings_.TransparentBack) {
    // With a clear background the picture shows its own transparency, over the board.
    sourcePicture_->setImage(ImageForShowing(*picture_, pictureRoom_.source));
  } else {
    sourcePicture_->setImage(ImageForShowing(*source_, pictureRoom_.source));
  }
}

// Sizes the window to show the form, within the screen's available area (see WindowFitted): a
// newly opened picture may shrink it, down to the default placement's size; otherwise it only
// grows. A maximized or full-screen window keeps its size.
void MainWindow::FitWindow(bool mayShrink) {
  lastFitMayShrink_ = mayShrink;
  const FitState state = MeasureFit();
  if (isMaximized() || isFullScreen()) return;
  const PixelRect opening = OpeningPlacement(Placement{}, layout_.twipsPerPixel(), {});
  const PixelRect fitted =
      mayShrink ? WindowFitted(state, {opening.width, opening.height}) : WindowGrownToFit(state);
  if (fitted == state.window) return;
  resize(fitted.width, fitted.height);
  if (QPoint(fitted.left, fitted.top) != pos()) move(fitted.left, fitted.top);
}

// The window manager puts its frame round the window some time after the window is shown, and
// the pictures were fitted without it: once the frame is known (the window moves into it, or
// becomes active), they and the window are fitted again, the same way, within the room it
// leaves.
void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  RefitToFrame();
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) RefitToFrame();
  return QMainWindow::event(e);
}

void MainWindow::RefitToFrame() {
  const QSize chrome = FrameChrome();
  if (chrome.width() == frameMeasured_.width && chrome.height() == frameMeasured_.height) return;
  ApplyLayout();
  FitWindow(lastFitMayShrink_);
}

// What the window manager's frame adds to the window (nothing before it is known).
QSize MainWindow::FrameChrome() const {
  const QWindow* w = windowHandle();
  if (w == nullptr) return {0, 0};
  const QMargins m = w->frameMargins();
  return {std::max(0, m.left() + m.right()), std::max(0, m.top() + m.bottom())};
}

void MainWindow::restorePlacement() {
  placement_.beginGroup(QStringLiteral("Settings"));
  auto text = [this](const char* key) -> std::optional<std::string> {
    const QString k = QLatin1String(key);
    if (!placement_.contains(k)) return std::nullopt;
    return placement_.value(k).toString().toStdString();
  };
  const std::optional<std::string> l = text("MainLeft"), t = text("MainTop"), w = text("MainWidth"),
                                   h = text("MainHeight");
  placement_.endGroup();
  std::vector<PixelRect> screens;
  for (const QScreen* s : QGuiApplication::screens()) screens.push_back(ToPixelRect(s->geometry()));
  const PixelRect r =
      OpeningPlacement(PlacementFromTexts(l, t, w, h), layout_.twipsPerPixel(), screens);
  move(r.left, r.top);
  resize(r.width, r.height);
}

void MainWindow::savePlacement() {
  // A maximized window keeps the placement it returns to.
  const QRect g = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
  const Placement p = StoredPlacement(ToPixelRect(g), layout_.twipsPerPixel());
  auto text = [](double twips) { return QString::number(twips, 'g', 8); };
  placement_.beginGroup(QStringLiteral("Settings"));
  placement_.setValue(QStringLiteral("MainLeft"), text(p.left));
  placement_.setValue(QStringLiteral("MainTop"), text(p.top));
  placement_.setValue(QStringLiteral("MainWidth"), text(p.width));
  placement_.setValue(QStringLiteral("MainHeight"), text(p.height));
  placement_.endGroup();
  placement_.sync();
}

// The frame canvas takes a new frame size: the window follows its pictures, as it does for a
// newly opened one.
void MainWindow::SetCanvasSize(int widthPx, int heightPx) {
  layout_.SetCanvas(widthPx, heightPx);
  ApplyLayout();
  FitWindow(true);
}

// The abort button stands right of the source frame; the form makes room for it while shown,
// and a window the user made smaller scrolls to it.
void MainWindow::ShowAbortButton(bool shown) {
  abortButton_->setVisible(shown);
  abortAction_->setEnabled(shown);
  ApplyLayout();
  if (!shown) return;
  FitWindow(false);
  scroll_->ensureWidgetVisible(abortButton_, 0, 0);
}

}  // namespace kinetta::app
