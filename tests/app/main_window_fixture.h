// What the main window's tests share: the fake prompter, a program folder and a placement store
// in a temporary folder, small pictures on disk, and the window's commands reached as a user
// reaches them: its menu items by object name and the abort button.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QSettings>
#include <QString>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_window.h"
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
    return window_->findChild<QPushButton*>(QStringLiteral("Command1"));
  }
  bool AbortVisible() { return !AbortButton()->isHidden(); }
  /// Waits until no run, preview or animation file is under way.
  bool WaitIdle() {
    return WaitUntil([this] { return window_->activity() == app::Activity::Idle; });
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
    Trigger("mnuFileOpen");
  }

  FakePrompter prompter;

 private:
  TempFolder folder_;
  std::unique_ptr<QSettings> store_;
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace kinetta::test
