// The main window as a switchboard: building it, wiring every menu item and button to its command,
// loading and unloading it, and the small commands it handles itself (settings, exit, help, abort).
// The larger commands live beside it: open_commands.cpp, run_commands.cpp,
// animation_commands.cpp, and the window's geometry in window_fitting.cpp.
#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>

#include "app/help/help_commands.h"
#include "app/picture_box.h"
#include "app/toolbar_icons.h"
#include "preview/preview_player.h"
#include "settings/settings_dialog.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"
#include "ui_support/ui_messages.h"

namespace kinetta::app {

QString UserSettingsFolder() {
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return config.isEmpty() ? QString() : config + QStringLiteral("/kinetta");
}

namespace {
// Where the per-user store keeps the output folder ("" or none: beside the picture).
const QString kOutputFolderKey = QStringLiteral("Settings/OutputFolder");
}  // namespace

MainWindow::MainWindow(const MainWindowSetup& setup, QWidget* parent)
    : QMainWindow(parent),
      appFolder_(setup.appFolder),
      userFolder_(setup.userFolder),
      settingsWritePath_(base::SettingsFilePath(setup.appFolder.toStdString())),
      prompter_(*setup.prompter),
      placement_(*setup.placement),
      gifSupport_(setup.gifSupport) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen) {
    layout_ = WindowLayout(
        TwipsPerPixelForDpi(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()));
  }
  setWindowTitle(ui::Utf8(ui::kProgramTitle));
  createActions();
  createMenus();
  createToolBar();
  createStatusBar();
  createCentralWidget();

  player_ = new preview::PreviewPlayer([this] { return FramesPath(); }, this);
  connect(player_, &preview::PreviewPlayer::frameShown, this, &MainWindow::OnPreviewFrame);
  connect(player_, &preview::PreviewPlayer::ended, this, &MainWindow::OnPreviewEnded);
  connect(&runner_, &ConversionRunner::frameSaved, this, &MainWindow::OnFrameSaved);
  connect(&runner_, &ConversionRunner::finished, this, &MainWindow::OnRunFinished);
  connect(&animationRunner_, &AnimationRunner::progressed, this, &MainWindow::OnAnimationProgress);
  connect(&animationRunner_, &AnimationRunner::finished, this, &MainWindow::OnAnimationFinished);

  Load();
}

MainWindow::~MainWindow() {
  delete settingsDialog_;  // it edits settings_, which ends with this window
  reader_.Stop();
  player_->Stop();
  runner_.StopAndWait();
  animationRunner_.StopAndWait();
}

// ---- Building the window ---------------------------------------------------------------------

void MainWindow::createActions() {
  auto make = [this](const char* name, std::string_view caption, void (MainWindow::*slot)()) {
    auto* action = new QAction(ui::Utf8(caption), this);
    action->setObjectName(QLatin1String(name));
    if (slot) connect(action, &QAction::triggered, this, slot);
    return action;
  };
  openAction_ = make("openAction", "開く(&O)...", &MainWindow::ChoosePicture);
  htmlPageAction_ = make("htmlPageAction", "表示用HTML作成(&H)", &MainWindow::MakeHtmlPage);
  animationFileAction_ =
      make("animationFileAction", "アニメーションファイル作成(&G)", &MainWindow::MakeAnimationFile);
  exitAction_ = make("exitAction", "終了(&X)", &MainWindow::Exit);
  recentSeparator_ = new QAction(this);
  recentSeparator_->setObjectName(QStringLiteral("recentSeparator"));
  recentSeparator_->setSeparator(true);
  recentSeparator_->setVisible(false);
  for (int i = 0; i < 3; ++i) {
    recentFileActions_[i] = new QAction(this);
    recentFileActions_[i]->setObjectName(QStringLiteral("recentFileAction%1").arg(i));
    recentFileActions_[i]->setVisible(false);
    connect(recentFileActions_[i], &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
  }
  settingsAction_ = make("settingsAction", ui::kSettingsCaption, &MainWindow::ShowSettings);
  executeAction_ = make("executeAction", ui::kExecuteCaption, &MainWindow::Execute);
  previewAction_ = make("previewAction", ui::kPreviewCaption, &MainWindow::Preview);
  helpContentsAction_ = make("helpContentsAction", "操作説明(&H)", &MainWindow::ShowHelp);
  aboutAction_ = make("aboutAction", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &MainWindow::ShowAbout);
  // Esc does what the abort button does, wherever the focus is in the window, while the button
  // is shown.
  abortAction_ = new QAction(this);
  abortAction_->setObjectName(QStringLiteral("abortAction"));
  abortAction_->setShortcut(QKeySequence(Qt::Key_Escape));
  abortAction_->setShortcutContext(Qt::WindowShortcut);
  abortAction_->setEnabled(false);
  connect(abortAction_, &QAction::triggered, this, &MainWindow::Abort);
  addAction(abortAction_);
}

void MainWindow::createMenus() {
  fileMenu_ = menuBar()->addMenu(ui::Utf8("ﾌｧｲﾙ(&F)"));
  fileMenu_->setObjectName(QStringLiteral("fileMenu"));
  fileMenu_->addAction(openAction_);
  fileMenu_->addAction(htmlPageAction_);
  fileMenu_->addAction(animationFileAction_);
  fileMenu_->addAction(exitAction_);
  fileMenu_->addAction(recentSeparator_);
  for (QAction* entry : recentFileActions_) fileMenu_->addAction(entry);
  // Commands that stand in the menu bar itself.
  menuBar()->addAction(settingsAction_);
  menuBar()->addAction(executeAction_);
  menuBar()->addAction(previewAction_);
  helpMenu_ = menuBar()->addMenu(ui::Utf8("ﾍﾙﾌﾟ(&H)"));
  helpMenu_->setObjectName(QStringLiteral("helpMenu"));
  helpMenu_->addAction(helpContentsAction_);
  helpMenu_->addAction(aboutAction_);
}

void MainWindow::createToolBar() {
  toolBar_ = addToolBar(ui::Utf8("ツールバー"));
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  // Each button shows its key as its text, with its image-list icon, and runs the menu command
  // of the same name by triggering that menu item.
  const struct {
    std::string_view key;
    const char* icon;
    QAction* command;
  } buttons[] = {
      {ui::kOpenCaption, "Open", openAction_},
      {ui::kSettingsCaption, "Properties", settingsAction_},
      {ui::kExecuteCaption, "Forward", executeAction_},
      {ui::kPreviewCaption, "Prev", previewAction_},
  };
  for (const auto& b : buttons) {
    QAction* button = toolBar_->addAction(ToolbarIcon(QLatin1String(b.icon)), ui::Utf8(b.key));
    connect(button, &QAction::triggered, b.command, &QAction::trigger);
  }
}

void MainWindow::createStatusBar() {
  statusBar()->setObjectName(QStringLiteral("statusBar"));
  statusBar()->setSizeGripEnabled(true);
  statusLabel_ = new QLabel(this);
  statusLabel_->setObjectName(QStringLiteral("statusLabel"));
  // A long status (a file left in place) is cut at the window's edge rather than widening the
  // window; its whole text shows as the panel's tip.
  statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(statusLabel_, 1);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progressBar"));
  progress_->setMaximumWidth(160);
  progress_->setFormat(ui::Utf8(ui::kProgressSteps));
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);
  pictureSize_ = new QLabel(this);
  pictureSize_->setObjectName(QStringLiteral("pictureSizeLabel"));
  statusBar()->addPermanentWidget(pictureSize_);
}

void MainWindow::createCentralWidget() {
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  form_ = new QWidget;
  sourceFrame_ = new QGroupBox(ui::Utf8("原画"), form_);
  sourceFrame_->setObjectName(QStringLiteral("sourceFrame"));
  sourcePicture_ = new PictureBox(sourceFrame_);
  sourcePicture_->setObjectName(QStringLiteral("sourcePicture"));
  canvasFrame_ = new QGroupBox(ui::Utf8(ui::kPreviewCaption), form_);
  canvasFrame_->setObjectName(QStringLiteral("canvasFrame"));
  canvasPicture_ = new PictureBox(canvasFrame_);
  canvasPicture_->setObjectName(QStringLiteral("canvasPicture"));
  abortButton_ = new QPushButton(ui::Utf8("中止"), form_);
  abortButton_->setObjectName(QStringLiteral("abortButton"));
  abortButton_->setVisible(false);
  connect(abortButton_, &QPushButton::clicked, this, &MainWindow::Abort);
  scroll_->setWidget(form_);
  setCentralWidget(scroll_);
  setAcceptDrops(true);
  ApplyLayout();
}

// ---- Load and unload -------------------------------------------------------------------------

void MainWindow::Load() {
  restorePlacement();
  ReadSettings();
  ShowRecentFiles(true);
  // A window too small for the empty form (a larger font than the form was drawn for) grows
  // rather than opening with scroll bars.
  FitWindow(false);
}

void MainWindow::ReadSettings() {
  outputFolder_ = placement_.value(kOutputFolderKey).toString();
  const std::filesystem::path folder = appFolder_.toStdString();
  const base::SettingsLocation location =
      base::LocateSettingsFile(folder, userFolder_.toStdString(), base::FolderWritable(folder));
  settingsWritePath_ = location.write;
  const base::SettingsFile file = base::ReadSettingsFile(location.read);
  settings_ = file.settings;
  recentFiles_ = file.recentFiles;
}

void MainWindow::WriteSettings() {
  // A file that cannot be written (read-only folder, full disk) must not keep the program from
  // ending; the old file then stays as it was. The user's configuration folder is made at the
  // first end after a system install.
  std::error_code ignored;
  std::filesystem::create_directories(settingsWritePath_.parent_path(), ignored);
  (void)base::WriteSettingsFile(settingsWritePath_, base::SettingsFile{settings_, recentFiles_});
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Unload();
  event->accept();
}

void MainWindow::Unload() {
  if (unloadedOnce_) return;
  unloadedOnce_ = true;
  // The picture being read is dropped within a row of blocks.
  reader_.Stop();
  player_->Stop();
  // The driver stops within a checkpoint; the frames it wrote are whole files.
  runner_.StopAndWait();
  // The writer stops before its next frame and removes its temporary file.
  animationRunner_.StopAndWait();
  WriteSettings();
  if (!isMinimized()) savePlacement();
  if (settingsDialog_) settingsDialog_->close();
  emit unloaded();
}

// ---- Commands --------------------------------------------------------------------------------

void MainWindow::Exit() { close(); }

void MainWindow::ShowSettings() {
  SetStatus({});
  if (!settingsDialog_) {
    settingsDialog_ = new settings::SettingsDialog(
        settings_,
        [this] {
          const PixelSizeF size = layout_.SourceSizeForLabel();
          return QSizeF(size.width, size.height);
        },
        layout_.twipsPerPixel(), prompter_, this, [this] { return source_; }, previewSources_);
    settingsDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(settingsDialog_, &settings::SettingsDialog::settingsStored, this,
            &MainWindow::FollowBackground);
    // Written at once, so that a program that ends without closing keeps them.
    connect(settingsDialog_, &settings::SettingsDialog::settingsStored, this,
            &MainWindow::WriteSettings);
    settingsDialog_->SetQuestionFlags(&questions_);
    settingsDialog_->SetOutputFolder(&outputFolder_);
    connect(settingsDialog_, &settings::SettingsDialog::settingsStored, this,
            [this] { placement_.setValue(kOutputFolderKey, outputFolder_); });
    // A picture shown at a first look is not yet the open one: the preview waits for it.
    if (firstLook_) settingsDialog_->PictureComing();
  }
  settingsDialog_->show();
  settingsDialog_->raise();
  settingsDialog_->activateWindow();
}

void MainWindow::ShowHelp() {
  SetStatus({});
  help::ShowHelpContents(this, prompter_, appFolder_);
}

void MainWindow::ShowAbout() {
  SetStatus({});
  help::ShowAbout(this, prompter_);
}

void MainWindow::Abort() {
  if (abortButton_->isHidden()) return;
  ShowAbortButton(false);
  if (activity_.current() == Activity::Converting) runner_.Abort();
  if (activity_.current() == Activity::Previewing) player_->RequestAbort();
  if (activity_.current() == Activity::MakingAnimation) animationRunner_.Abort();
}

// Execute, Preview and the animation command (and its dialog's OK) ask the same question.
bool MainWindow::MayStart(Activity wanted) {
  switch (activity_.OnStart(wanted)) {
    case Verdict::Start:
      return true;
    case Verdict::Ignore:
      return false;
    case Verdict::Refuse:
      Warn(ui::Utf8(activity_.BusyMessage()));
      return false;
  }
  return false;
}

// ---- Helpers ---------------------------------------------------------------------------------

QString MainWindow::statusText() const { return statusLabel_->text(); }
QImage MainWindow::canvasImage() const { return canvasPicture_->image(); }
QImage MainWindow::sourceImage() const { return sourcePicture_->image(); }

void MainWindow::SetStatus(const QString& text) {
  statusLabel_->setText(text);
  statusLabel_->setToolTip(text);
}

void MainWindow::Warn(const QString& text) { prompter_.Warn(this, text); }

std::string MainWindow::FramesPath() const {
  if (outputFolder_.isEmpty() || sourcePath_.empty()) return sourcePath_;
  const QString name =
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(sourcePath_))).fileName();
  return QFile::encodeName(QDir(outputFolder_).filePath(name)).toStdString();
}

bool MainWindow::FramesFolderWritable() {
  const QFileInfo folder(
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(FramesPath()))).absolutePath());
  if (folder.isDir() && folder.isWritable()) return true;
  Warn(ui::Utf8(ui::kOutputNotWritable) + u'\n' + folder.filePath());
  return false;
}

}  // namespace kinetta::app
