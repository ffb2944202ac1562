// The main window as a switchboard: building it, wiring every command to its handler, loading
// and unloading it, and the small commands it handles itself (settings, exit, help, abort).
// The larger commands live beside it: open_commands.cpp, run_commands.cpp,
// animation_commands.cpp, and the window's geometry in window_fitting.cpp.
#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

#include "app/help/help_commands.h"
#include "app/picture_box.h"
#include "app/toolbar_icons.h"
#include "preview/preview_player.h"
#include "settings/settings_dialog.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"

namespace kinetta::app {

MainWindow::MainWindow(const MainWindowSetup& setup, QWidget* parent)
    : QMainWindow(parent),
      appFolder_(setup.appFolder),
      prompter_(*setup.prompter),
      placement_(*setup.placement),
      gifSupport_(setup.gifSupport) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen) {
    layout_ = WindowLayout(
        TwipsPerPixelForDpi(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()));
  }
  setWindowTitle(QStringLiteral("Kinetta"));
  createActions();
  createMenus();
  createToolBar();
  createStatusBar();
  createForm();

  player_ = new preview::PreviewPlayer([this] { return sourcePath_; }, this);
  connect(player_, &preview::PreviewPlayer::frameShown, this, &MainWindow::OnPreviewFrame);
  connect(player_, &preview::PreviewPlayer::ended, this, &MainWindow::OnPreviewEnded);
  connect(&runner_, &ConversionRunner::frameSaved, this, &MainWindow::OnFrameSaved);
  connect(&runner_, &ConversionRunner::finished, this, &MainWindow::OnRunFinished);
  connect(&animationRunner_, &AnimationRunner::progressed, this, &MainWindow::OnAnimationProgress);
  connect(&animationRunner_, &AnimationRunner::finished, this, &MainWindow::OnAnimationFinished);

  Form_Load();
}

MainWindow::~MainWindow() {
  delete settingsDialog_;  // it edits settings_, which ends with this window
  player_->Stop();
  runner_.StopAndWait();
  animationRunner_.StopAndWait();
}

// ---- Building the window ---------------------------------------------------------------------

void MainWindow::createActions() {
  auto make = [this](const char* name, const char* caption, void (MainWindow::*slot)()) {
    auto* action = new QAction(ui::Utf8(caption), this);
    action->setObjectName(QLatin1String(name));
    if (slot) connect(action, &QAction::triggered, this, slot);
    return action;
  };
  mnuFileOpen = make("mnuFileOpen", "開く(&O)...", &MainWindow::mnuFileOpen_Click);
  mnuFileHTML = make("mnuFileHTML", "表示用HTML作成(&H)", &MainWindow::mnuFileHTML_Click);
  animationFileAction_ =
      make("animationFileAction", "アニメーションファイル作成(&G)", &MainWindow::OnAnimationFile);
  mnuFileExit = make("mnuFileExit", "終了(&X)", &MainWindow::mnuFileExit_Click);
  mnuFileBar2 = new QAction(this);
  mnuFileBar2->setObjectName(QStringLiteral("mnuFileBar2"));
  mnuFileBar2->setSeparator(true);
  mnuFileBar2->setVisible(false);
  for (int i = 0; i < 3; ++i) {
    mnuFileFName[i] = new QAction(this);
    mnuFileFName[i]->setObjectName(QStringLiteral("mnuFileFName%1").arg(i));
    mnuFileFName[i]->setVisible(false);
    connect(mnuFileFName[i], &QAction::triggered, this, [this, i] { mnuFileFName_Click(i); });
  }
  mnuSeting = make("mnuSeting", "設定", &MainWindow::mnuSeting_Click);
  mnuExec = make("mnuExec", "実行", &MainWindow::mnuExec_Click);
  mnuPrev = make("mnuPrev", "プレビュー", &MainWindow::mnuPrev_Click);
  mnuHelpContents = make("mnuHelpContents", "操作説明(&H)", &MainWindow::mnuHelpContents_Click);
  mnuHelpAbout = make("mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &MainWindow::mnuHelpAbout_Click);
  // Esc does what the abort button does, wherever the focus is in the window, while the button
  // is shown.
  abortAction_ = new QAction(this);
  abortAction_->setObjectName(QStringLiteral("abortAction"));
  abortAction_->setShortcut(QKeySequence(Qt::Key_Escape));
  abortAction_->setShortcutContext(Qt::WindowShortcut);
  abortAction_->setEnabled(false);
  connect(abortAction_, &QAction::triggered, this, &MainWindow::Command1_Click);
  addAction(abortAction_);
}

void MainWindow::createMenus() {
  mnuFile = menuBar()->addMenu(ui::Utf8("ﾌｧｲﾙ(&F)"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuFile->addAction(mnuFileOpen);
  mnuFile->addAction(mnuFileHTML);
  mnuFile->addAction(animationFileAction_);
  mnuFile->addAction(mnuFileExit);
  mnuFile->addAction(mnuFileBar2);
  for (QAction* entry : mnuFileFName) mnuFile->addAction(entry);
  // Commands that stand in the menu bar itself.
  menuBar()->addAction(mnuSeting);
  menuBar()->addAction(mnuExec);
  menuBar()->addAction(mnuPrev);
  mnuHelp = menuBar()->addMenu(ui::Utf8("ﾍﾙﾌﾟ(&H)"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuHelp->addAction(mnuHelpContents);
  mnuHelp->addAction(mnuHelpAbout);
}

void MainWindow::createToolBar() {
  tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
  tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
  tbToolBar->setMovable(false);
  tbToolBar->setIconSize(QSize(16, 16));
  tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  // Each button shows its key as its text, with its image-list icon, and runs the menu command
  // of the same name by triggering that menu item.
  const struct {
    const char* key;
    const char* icon;
    QAction* command;
  } buttons[] = {
      {"開く", "Open", mnuFileOpen},
      {"設定", "Properties", mnuSeting},
      {"実行", "Forward", mnuExec},
      {"プレビュー", "Prev", mnuPrev},
  };
  for (const auto& b : buttons) {
    QAction* button = tbToolBar->addAction(ToolbarIcon(QLatin1String(b.icon)), ui::Utf8(b.key));
    connect(button, &QAction::triggered, b.command, &QAction::trigger);
  }
}

void MainWindow::createStatusBar() {
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setSizeGripEnabled(true);
  panel1_ = new QLabel(this);
  panel1_->setObjectName(QStringLiteral("StatusBar1Panel1"));
  // A long status (a file left in place) is cut at the window's edge rather than widening the
  // window; its whole text shows as the panel's tip.
  panel1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(panel1_, 1);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("RunProgress"));
  progress_->setMaximumWidth(160);
  progress_->setFormat(QStringLiteral("%v / %m"));
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);
}

void MainWindow::createForm() {
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  form_ = new QWidget;
  Frame1 = new QGroupBox(ui::Utf8("原画"), form_);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Picture1 = new PictureBox(Frame1);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Frame2 = new QGroupBox(ui::Utf8("プレビュー"), form_);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  Picture2 = new PictureBox(Frame2);
  Picture2->setObjectName(QStringLiteral("Picture2"));
  Command1 = new QPushButton(ui::Utf8("中止"), form_);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setVisible(false);
  connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
  scroll_->setWidget(form_);
  setCentralWidget(scroll_);
  setAcceptDrops(true);
  ApplyLayout();
}

// ---- Load and unload -------------------------------------------------------------------------

void MainWindow::Form_Load() {
  restorePlacement();
  ReadSettings();
  ShowRecentFiles(true);
  // A window too small for the empty form (a larger font than the form was drawn for) grows
  // rather than opening with scroll bars.
  FitWindow(false);
}

void MainWindow::ReadSettings() {
  const base::SettingsFile file =
      base::ReadSettingsFile(base::SettingsFilePath(appFolder_.toStdString()));
  settings_ = file.settings;
  recentFiles_ = file.recentFiles;
}

void MainWindow::WriteSettings() {
  // A file that cannot be written (read-only folder, full disk) must not keep the program from
  // ending; the old file then stays as it was.
  (void)base::WriteSettingsFile(base::SettingsFilePath(appFolder_.toStdString()),
                                base::SettingsFile{settings_, recentFiles_});
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void MainWindow::Form_Unload() {
  if (unloadedOnce_) return;
  unloadedOnce_ = true;
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

void MainWindow::mnuFileExit_Click() { close(); }

void MainWindow::mnuSeting_Click() {
  SetStatus({});
  if (!settingsDialog_) {
    const TwipsPerPixel tpp = layout_.twipsPerPixel();
    settingsDialog_ = new settings::SettingsDialog(
        settings_,
        [this] { return QSizeF(layout_.SourceWidthTwips(), layout_.SourceHeightTwips()); },
        QPointF(tpp.x, tpp.y), prompter_, this, [this] { return source_; }, previewSources_);
    settingsDialog_->setAttribute(Qt::WA_DeleteOnClose);
  }
  settingsDialog_->show();
  settingsDialog_->raise();
  settingsDialog_->activateWindow();
}

void MainWindow::mnuHelpContents_Click() {
  SetStatus({});
  help::ShowHelpContents(this, prompter_, appFolder_);
}

void MainWindow::mnuHelpAbout_Click() {
  SetStatus({});
  help::ShowAbout(this, prompter_);
}

void MainWindow::Command1_Click() {
  if (Command1->isHidden()) return;
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

QString MainWindow::statusText() const { return panel1_->text(); }
QImage MainWindow::canvasImage() const { return Picture2->image(); }
QImage MainWindow::sourceImage() const { return Picture1->image(); }

void MainWindow::SetStatus(const QString& text) {
  panel1_->setText(text);
  panel1_->setToolTip(text);
}

void MainWindow::Warn(const QString& text) { prompter_.Warn(this, text); }

}  // namespace kinetta::app
