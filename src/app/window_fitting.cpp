// The window's geometry: the controls placed from the twips layout, the window grown to show
// its pictures, and the placement restored at load and stored at unload.
#include "app/main_window.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStyle>
#include <optional>
#include <string>
#include <vector>

#include "app/picture_box.h"

namespace kinetta::app {

namespace {

// The toolbar and menu bar sit above the client area in this window, so the form's twips
// geometry is shifted up: Frame1 (top 480) then keeps the same 120-twip gap below the toolbar
// that it keeps from the window's left edge.
constexpr double kClientOriginTop = 360;

QRect ToQRect(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }
PixelRect ToPixelRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

void MainWindow::ApplyLayout() {
  Frame1->setGeometry(ToQRect(layout_.ToPixels(layout_.Frame1(), kClientOriginTop)));
  Picture1->setGeometry(ToQRect(layout_.ToPixels(layout_.Picture1())));
  Frame2->setGeometry(ToQRect(layout_.ToPixels(layout_.Frame2(), kClientOriginTop)));
  Picture2->setGeometry(ToQRect(layout_.ToPixels(layout_.Picture2())));
  Command1->setGeometry(ToQRect(layout_.ToPixels(layout_.Command1(), kClientOriginTop)));
  const PixelRect bounds =
      layout_.ToPixels(layout_.ContentBounds(!Command1->isHidden()), kClientOriginTop);
  form_->resize(bounds.width, bounds.height + bounds.top);
}

// Enlarges the window when the pictures have outgrown it (see WindowGrownToFit). A maximized or
// full-screen window keeps its size.
void MainWindow::GrowToFit() {
  if (QLayout* l = QWidget::layout()) l->activate();
  if (isMaximized() || isFullScreen()) return;
  FitState state;
  state.window = ToPixelRect(QRect(pos(), size()));
  const QSize chrome = frameGeometry().size() - size();
  state.frame = {chrome.width(), chrome.height()};
  const QSize viewport = scroll_->maximumViewportSize();
  state.viewport = {viewport.width(), viewport.height()};
  state.content = {form_->width(), form_->height()};
  if (const QScreen* s = screen()) {
    state.screen = ToPixelRect(s->availableGeometry());
    state.scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
  }
  const PixelRect grown = WindowGrownToFit(state);
  resize(grown.width, grown.height);
  if (QPoint(grown.left, grown.top) != pos()) move(grown.left, grown.top);
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

void MainWindow::SetCanvasSize(int widthPx, int heightPx) {
  layout_.SetCanvas(widthPx, heightPx);
  ApplyLayout();
  GrowToFit();
}

// The abort button stands right of the source frame; the form makes room for it while shown.
void MainWindow::ShowAbortButton(bool shown) {
  Command1->setVisible(shown);
  ApplyLayout();
  if (shown) GrowToFit();
}

}  // namespace kinetta::app
