// What the main window's tests share: the fake prompter, a program folder and a placement store
// in a temporary folder, small pictures on disk, and the window's commands reached as a user
// reaches them: its menu items by object name and the abort button.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QString>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "base/number_text.h"
#include "event_wait.h"
#include "fake_prompter.h"
#include "image/bmp_file.h"
#include "render/surface.h"
#include "test_support.h"

namespace kinetta::test {

/// The text of a file, byte for byte.
inline std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

/// The settings file's six number lines and three empty recent-file lines.
inline std::string SettingsText(int shape, int widthMode, int widthValue, int frames,
                                int shade = 0) {
  auto line = [](int v) { return base::NumberText(v) + "\r\n"; };
  return line(shape) + line(widthMode) + line(widthValue) + line(0) + line(frames) + line(shade) +
         "\r\n\r\n\r\n";
}

/// Holds a run at its checkpoints from frame `from` on until opened; opens itself when it goes
/// out of scope so that no run stays blocked.
struct Gate {
  std::atomic<bool> reached{false};
  std::atomic<bool> open{false};
};
struct GateHolder {
  std::shared_ptr<Gate> gate = std::make_shared<Gate>();
  ~GateHolder() { gate->open = true; }
  std::function<void(int)> Hook(int from = 0) const {
    return [g = gate, from](int frame) {
      if (frame < from) return;
      g->reached = true;
      while (!g->open) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
  }
};

/// The window's menu item (or command) with this object name.
inline QAction* FindAction(app::MainWindow& w, const char* name) {
  QAction* action = w.findChild<QAction*>(QLatin1String(name));
  EXPECT_NE(action, nullptr) << name;
  return action;
}

/// A program folder, a picture folder and a placement store, all temporary, and the window.
class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() {
    std::filesystem::create_directories(appDir());
    std::filesystem::create_directories(picDir());
    store_ = std::make_unique<QSettings>(
        QString::fromStdString((folder_ / "placement.ini").string()), QSettings::IniFormat);
  }
  ~MainWindowTest() override { window_.reset(); }

  std::filesystem::path appDir() const { return folder_ / "app"; }
  std::filesystem::path picDir() const { return folder_ / "pics"; }
  QSettings& store() { return *store_; }

  /// The settings file the program finds at start.
  void WriteSettingsFile(const std::string& text) { WriteText(appDir() / "mivet.ini", text); }

  /// Creates (and loads) the window.
  app::MainWindow& Open(bool gifSupport = false) {
    window_ = std::make_unique<app::MainWindow>(app::MainWindowSetup{
        QString::fromStdString(appDir().string()), &prompter, store_.get(), gifSupport});
    return *window_;
  }
  app::MainWindow& window() { return *window_; }

  QAction* Action(const char* name) { return FindAction(*window_, name); }
  /// Chooses the menu item with this object name, as a user does.
  void Trigger(const char* name) {
    if (QAction* action = Action(name)) action->trigger();
  }
  /// The abort button.
  QPushButton* AbortButton() {
    return window_->findChild<QPushButton*>(QStringLiteral("abortButton"));
  }
  bool AbortVisible() { return !AbortButton()->isHidden(); }
  /// Waits until no run, preview or animation file is under way.
  bool WaitIdle() {
    return WaitUntil([this] { return window_->activity() == app::Activity::Idle; });
  }

  /// The window has the default placement's size, 327 x 300 pixels at 96 dots per inch, or is
  /// as much taller as the empty form needs to show without scrolling.
  testing::AssertionResult HasDefaultSize() {
    // A hidden window lays itself out when shown; do it now for its present size.
    window_->layout()->invalidate();
    window_->layout()->activate();
    const QScrollArea* area = window_->findChild<QScrollArea*>();
    const int formHeight = area->widget()->height();
    const int viewHeight = area->maximumViewportSize().height();
    if (window_->width() == 327 &&
        (window_->height() == 300 || (window_->height() > 300 && viewHeight == formHeight))) {
      return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "window " << window_->width() << " x " << window_->height() << ", form " << formHeight
           << " high in a view " << viewHeight << " high";
  }

  /// A w x h BMP in the picture folder, filled with CoordinatePicture's colours.
  std::string Picture(const std::string& name, int w, int h) {
    const std::filesystem::path path = picDir() / name;
    EXPECT_TRUE(image::WriteBmp24(CoordinatePicture(w, h), path).ok());
    return path.string();
  }

  /// Opens `path` through the open command.
  void OpenPicture(const std::string& path) {
    prompter.openPaths.push_back(QString::fromStdString(path));
    Trigger("openAction");
  }

  FakePrompter prompter;

 private:
  TrashFolder trash_;  // a run's stale frame goes here, not to the user's trash
  TempFolder folder_;
  std::unique_ptr<QSettings> store_;
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace kinetta::test
