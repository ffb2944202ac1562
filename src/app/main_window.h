// The main window: menus, toolbar, status bar, the framed source and preview pictures, the abort
// button, and the commands open, execute, preview, settings, HTML, animation file, help and
// exit. It owns the program's settings while it lives: read when it opens, written when it
// closes. The window is a switchboard: each menu item and toolbar button triggers one private
// command, and the commands of each group are defined in a file of their own.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/activity_state.h"
#include "app/animation_runner.h"
#include "app/conversion_runner.h"
#include "app/source_reader.h"
#include "app/window_layout.h"
#include "base/settings.h"
#include "base/settings_file.h"
#include "image/picture.h"
#include "image/quick_look.h"
#include "render/motion_preview.h"
#include "render/run.h"
#include "render/surface.h"
#include "ui_support/question_flags.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSettings;
class QToolBar;

namespace kinetta::preview {
class PreviewPlayer;
}
namespace kinetta::settings {
class SettingsDialog;
}
namespace kinetta::exporter {
class AnimationDialog;
class ExportDialog;
struct AnimationOrder;
}  // namespace kinetta::exporter

namespace kinetta::ui {
class Prompter;
}

namespace kinetta::app {

class PictureBox;

/// The questions before a run that the user may silence, by their keys in the per-user store.
QString QuestionKey(render::RunWarning warning);
QStringList QuestionKeys();

struct MainWindowSetup {
  QString appFolder;                 ///< the program folder: mivet.ini, help.htm
  ui::Prompter* prompter = nullptr;  ///< every message box and file dialog goes through it
  QSettings* placement = nullptr;    ///< the per-user store of the window placement
  bool gifSupport = false;           ///< decided once at start-up from the marker file
  /// The user's configuration folder for Kinetta: mivet.ini when the program folder cannot be
  /// written. Empty: the program folder only.
  QString userFolder = {};
};

/// The user's configuration folder for Kinetta ($XDG_CONFIG_HOME/kinetta, ~/.config/kinetta when
/// unset); empty when the system knows no home folder.
QString UserSettingsFolder();

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// Builds the window and loads it: placement, settings file, recent-file entries.
  explicit MainWindow(const MainWindowSetup& setup, QWidget* parent = nullptr);
  ~MainWindow() override;

  /// Opens the picture at `path` as the open command opens a chosen file: the GIF rule, the
  /// message for a picture that cannot be read, the recent-file list. For a picture named on
  /// the command line or dropped on the window.
  void OpenPicture(const QString& path);

  // State the commands read and change.
  const base::Settings& settings() const { return settings_; }
  const base::RecentList& recentFiles() const { return recentFiles_; }
  const std::string& sourcePath() const { return sourcePath_; }
  const WindowLayout& windowLayout() const { return layout_; }
  Activity activity() const { return activity_.current(); }
  QString statusText() const;
  /// The picture the frame canvas shows (a frame of the run, or of the preview), reduced to
  /// what the screen can show.
  QImage canvasImage() const;
  /// The source picture as shown, reduced to what the screen can show.
  QImage sourceImage() const;
  /// The open HTML export dialog, or null.
  exporter::ExportDialog* exportDialog() const;
  /// The open animation-file dialog, or null.
  exporter::AnimationDialog* animationDialog() const;
  /// The progress bar of the status bar (a run's frames, an animation file's steps).
  const QProgressBar* progressBar() const { return progress_; }

  /// Tests hold a run at its checkpoints with this (called on the drawing threads).
  void setCheckpointHookForTesting(std::function<void(int frame)> hook) {
    checkpointHook_ = std::move(hook);
  }
  /// Tests hold the reading of a large picture shown at a first look with this (called on the
  /// worker thread, with the flag that stops the reading).
  void setSourceReadHookForTesting(std::function<void(const std::atomic<bool>& stop)> hook) {
    reader_.setHookForTesting(std::move(hook));
  }
  /// Tests hold the making of an animation file at its progress steps with this (called on the
  /// worker thread, with the abort flag).
  void setAnimationProgressHookForTesting(
      std::function<void(int done, int total, const std::atomic<bool>& abort)> hook) {
    animationProgressHook_ = std::move(hook);
  }

 signals:
  /// The window has unloaded: settings and placement are written, no run is left. The start
  /// procedure ends the program here.
  void unloaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool event(QEvent* e) override;

 private:
  // Building the window (main_window.cpp).
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void createCentralWidget();

  // Loading and unloading: the placement, the settings file and the recent files are read when
  // the window opens and written when it closes (the placement in window_fitting.cpp).
  void Load();
  void Unload();
  void restorePlacement();
  void savePlacement();
  void ReadSettings();
  void WriteSettings();

  // The commands: one per menu item, toolbar button or key, each in its group's file.
  void ChoosePicture();            ///< 開く (open_commands.cpp)
  void OpenRecentFile(int index);  ///< a recent-file entry of the file menu
  void MakeHtmlPage();             ///< 表示用HTML作成 (animation_commands.cpp)
  void MakeAnimationFile();        ///< アニメーションファイル作成
  void Exit();                     ///< 終了 (main_window.cpp)
  void ShowSettings();             ///< 設定
  void Execute();                  ///< 実行 (run_commands.cpp)
  void Preview();                  ///< プレビュー
  void ShowHelp();                 ///< 操作説明 (main_window.cpp)
  void ShowAbout();                ///< ﾊﾞｰｼﾞｮﾝ情報
  void Abort();                    ///< the abort button, and Esc while it is shown

  // What the commands share (main_window.cpp).
  /// Whether a command that starts `wanted` may go on; says why not when another activity
  /// is under way.
  bool MayStart(Activity wanted);
  void SetStatus(const QString& text);
  void Warn(const QString& text);
  /// The path the frames are named after: the open picture's, or its name in the output folder.
  std::string FramesPath() const;
  /// False, after saying so, when the frames' folder cannot be written.
  bool FramesFolderWritable();

  // Opening a picture (open_commands.cpp).
  void LoadSource();
  void TakeSource(image::Picture picture, bool shown);
  void ShowFirstLook(image::QuickLook look);
  void OnSourceRead(base::Result<image::Picture> read);
  void DropFirstLook();
  void ShowOpenedStatus();
  void ShowPictureName(int width, int height);
  /// Lays a picture with transparency afresh over the background colour the settings now have.
  void FollowBackground();
  void ShowRecentFiles(bool showSeparator);
  /// The folder the open dialog starts in: the last picture's, remembered in the per-user store.
  QString OpenFolder() const;

  // A run and the preview as they go (run_commands.cpp).
  bool CheckRun();
  void StartRun();
  void OnFrameSaved(int k, const QImage& shown, QSize frameSize);
  void OnRunFinished(const render::RunResult& result);
  void OnPreviewFrame(const QImage& frame);
  void OnPreviewEnded();
  void ShowOnCanvas(const QImage& frame, QSize frameSize);

  // The HTML page's dialog, and the animation file as it is made (animation_commands.cpp).
  void OpenExportDialog();
  void OpenAnimationDialog();
  bool StartAnimation(const exporter::AnimationOrder& order);
  void OnAnimationProgress(int done, int total);
  void OnAnimationFinished(const exporter::AnimationResult& result);

  // The controls' geometry and the window's size (window_fitting.cpp).
  FitState MeasureFit();
  QSize FrameChrome() const;
  void RefitToFrame();
  void ApplyLayout();
  void ShowSourcePicture();
  void FitWindow(bool mayShrink);
  void SetCanvasSize(int widthPx, int heightPx);
  void ShowAbortButton(bool shown);

  QString appFolder_;
  QString userFolder_;
  std::filesystem::path settingsWritePath_;  ///< where WriteSettings puts mivet.ini
  ui::Prompter& prompter_;
  QSettings& placement_;
  bool gifSupport_ = false;
  ui::QuestionFlags questions_{placement_, QuestionKeys()};
  /// The folder for the frames, the page and the animation files; empty beside the picture.
  QString outputFolder_;

  // The process-wide settings, the recent files and the open picture.
  base::Settings settings_;
  base::RecentList recentFiles_;
  std::string sourcePath_;
  std::string loadedPath_;  ///< the file picture_ was read from
  /// The open picture as decoded, with its opacity (empty before any).
  std::shared_ptr<const image::Picture> picture_ = std::make_shared<const image::Picture>();
  /// The open picture as the motions read it and the source frame shows it, shared with a run
  /// that reads it: picture_'s own pixels when it is opaque, else picture_ laid over
  /// sourceBackground_, or with its transparency while sourceClear_.
  std::shared_ptr<const render::Surface> source_ = std::make_shared<const render::Surface>();
  render::Colour sourceBackground_ = 0;
  bool sourceClear_ = false;
  /// A large picture shown at a first look while the reader reads it in full; until then
  /// picture_, source_ and loadedPath_ stay those of the picture before.
  struct FirstLook {
    PixelSize size;  ///< the whole picture's; sourcePicture_ shows it
  };
  std::optional<FirstLook> firstLook_;
  TwipsRect beforeFirstLook_;  ///< the source picture's place in the layout before it
  SourceReader reader_{this};
  bool runWaits_ = false;  ///< Execute was chosen while the picture was being read
  /// The open picture reduced for the settings dialog's preview, made once per picture.
  std::shared_ptr<render::PreviewSources> previewSources_ =
      std::make_shared<render::PreviewSources>();

  WindowLayout layout_;
  /// The largest each picture is shown; no reduction until a screen is known.
  PictureRoom pictureRoom_{{1 << 20, 1 << 20}, {1 << 20, 1 << 20}};
  /// What the window manager's frame added to the window when it was last measured.
  PixelSize frameMeasured_;
  bool lastFitMayShrink_ = false;  ///< how the window was last fitted to its pictures
  ActivityState activity_;
  bool unloadedOnce_ = false;

  ConversionRunner runner_;
  preview::PreviewPlayer* player_ = nullptr;
  std::function<void(int)> checkpointHook_;
  QPointer<settings::SettingsDialog> settingsDialog_;
  QPointer<exporter::ExportDialog> exportDialog_;
  AnimationRunner animationRunner_;
  std::function<void(int, int, const std::atomic<bool>&)> animationProgressHook_;
  QPointer<exporter::AnimationDialog> animationDialog_;

  // The commands' menu items; tests find them by their object names (each member's name without
  // the trailing underscore).
  QMenu* fileMenu_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* htmlPageAction_ = nullptr;
  QAction* animationFileAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  std::array<QAction*, 3> recentFileActions_{};
  QAction* settingsAction_ = nullptr;
  QAction* executeAction_ = nullptr;
  QAction* previewAction_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QAction* helpContentsAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
  QAction* abortAction_ = nullptr;  ///< Esc: what the abort button does, while it is shown

  // The bars and the form: the framed source picture and frame canvas, and the abort button.
  QToolBar* toolBar_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* pictureSize_ = nullptr;  ///< the open picture's size, at the status bar's right
  QScrollArea* scroll_ = nullptr;
  QWidget* form_ = nullptr;
  QGroupBox* sourceFrame_ = nullptr;
  PictureBox* sourcePicture_ = nullptr;
  QGroupBox* canvasFrame_ = nullptr;
  PictureBox* canvasPicture_ = nullptr;
  QPushButton* abortButton_ = nullptr;
};

}  // namespace kinetta::app
