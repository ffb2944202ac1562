// What the main window's tests share: a scripted prompter that records every message and answers
// from a script, a program folder and a placement store in a temporary folder, small pictures on
// disk, and waiting on the event loop for a condition.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "image/bmp_file.h"
#include "render/surface.h"
#include "test_support.h"
#include "ui_support/prompter.h"

namespace kinetta::test {

class ScriptedPrompter final : public ui::Prompter {
 public:
  std::vector<QString> warnings;
  std::vector<QString> informs;
  std::vector<QString> questions;
  std::deque<bool> answers;       ///< OK (true) or Cancel; OK once the script runs out
  std::deque<QString> openPaths;  ///< chosen files; cancel once the script runs out
  QString openTitle;
  QStringList openFilters;
  int openCalls = 0;
  std::deque<QString> savePaths;  ///< chosen save names; cancel once the script runs out
  QString saveTitle;
  QString saveProposed;
  QStringList saveFilters;
  int saveCalls = 0;

  void Warn(QWidget*, const QString& text) override { warnings.push_back(text); }
  void Inform(QWidget*, const QString& text) override { informs.push_back(text); }
  bool AskOkCancel(QWidget*, const QString& text) override {
    questions.push_back(text);
    if (answers.empty()) return true;
    const bool ok = answers.front();
    answers.pop_front();
    return ok;
  }
  QString OpenFileName(QWidget*, const QString& title, const QStringList& filters) override {
    ++openCalls;
    openTitle = title;
    openFilters = filters;
    if (openPaths.empty()) return {};
    const QString path = openPaths.front();
    openPaths.pop_front();
    return path;
  }
  QString SaveFileName(QWidget*, const QString& title, const QString& proposedPath,
                       const QStringList& filters) override {
    ++saveCalls;
    saveTitle = title;
    saveProposed = proposedPath;
    saveFilters = filters;
    if (savePaths.empty()) return {};
    const QString path = savePaths.front();
    savePaths.pop_front();
    return path;
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&) override { return std::nullopt; }
  bool OpenLocalFile(const QString&) override { return true; }
  bool StartProgram(const QString&, const QStringList&) override { return false; }
};

/// Runs the event loop until `done` holds; false when it still does not after a generous time.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

/// The text of a file, byte for byte.
inline std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
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

  /// A w x h BMP in the picture folder, filled with CoordinatePicture's colours.
  std::string Picture(const std::string& name, int w, int h) {
    const std::filesystem::path path = picDir() / name;
    EXPECT_TRUE(image::WriteBmp24(CoordinatePicture(w, h), path));
    return path.string();
  }

  /// Opens `path` through the open command.
  void OpenPicture(const std::string& path) {
    prompter.openPaths.push_back(QString::fromStdString(path));
    window().mnuFileOpen_Click();
  }

  ScriptedPrompter prompter;

 private:
  TempFolder folder_;
  std::unique_ptr<QSettings> store_;
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace kinetta::test
