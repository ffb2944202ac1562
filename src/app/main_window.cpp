// The main window: building it, loading and unloading it, and the handlers of its commands.
#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <chrono>

#include "app/help/help_commands.h"
#include "app/picture_box.h"
#include "app/toolbar_icons.h"
#include "base/messages.h"
#include "export/animation_dialog.h"
#include "export/export_dialog.h"
#include "image/open_command.h"
#include "image/picture_file.h"
#include "preview/preview_player.h"
#include "render/run.h"
#include "settings/settings_dialog.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"

namespace kinetta::app {

namespace {

// The toolbar buttons: key (also the button's text) and image-list icon key, in order.
struct ToolbarButton {
  const char* key;
  const char* icon;
};
constexpr ToolbarButton kToolbarButtons[] = {
    {"開く", "Open"}, {"設定", "Properties"}, {"実行", "Forward"}, {"プレビュー", "Prev"}};

// The toolbar and menu bar sit above the client area in this window, so the form's twips
// geometry is shifted up: Frame1 (top 480) then keeps the same 120-twip gap below the toolbar
// that it keeps from the window's left edge.
constexpr double kClientOriginTop = 360;

// A path shown as a menu caption: "&" would otherwise mark an access key.
QString MenuCaption(const std::string& path) {
  return QString::fromStdString(path).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QRect ToQRect(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

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
  connect(&animationRunner_, &AnimationRunner::progressed, this,
          &MainWindow::OnAnimationProgress);
  connect(&animationRunner_, &AnimationRunner::finished, this,
          &MainWindow::OnAnimationFinished);

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
  mnuFileAnim =
      make("mnuFileAnim", "アニメーションファイル作成(&G)", &MainWindow::mnuFileAnim_Click);
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
}

void MainWindow::createMenus() {
  mnuFile = menuBar()->addMenu(ui::Utf8("ﾌｧｲﾙ(&F)"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuFile->addAction(mnuFileOpen);
  mnuFile->addAction(mnuFileHTML);
  mnuFile->addAction(mnuFileAnim);
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
  for (const ToolbarButton& b : kToolbarButtons) {
    QAction* button = tbToolBar->addAction(ToolbarIcon(QLatin1String(b.icon)), ui::Utf8(b.key));
    button->setData(ui::Utf8(b.key));
    connect(button, &QAction::triggered, this, [this, button] { tbToolBar_ButtonClick(button); });
  }
}

void MainWindow::createStatusBar() {
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setSizeGripEnabled(true);
  panel1_ = new QLabel(this);
  panel1_->setObjectName(QStringLiteral("StatusBar1Panel1"));
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
  ApplyLayout();
}

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

// Enlarges the window when the pictures have outgrown it, as far as the screen allows, moving it
// back onto the screen where it would reach past an edge; the user scrolls beyond that. The
// window never shrinks by itself.
void MainWindow::GrowToFit() {
  if (QLayout* l = QWidget::layout()) l->activate();
  QSize need = form_->size();
  const QSize have = scroll_->maximumViewportSize();
  const QScreen* s = screen();
  const QRect avail = s ? s->availableGeometry() : QRect();
  const QSize chrome = frameGeometry().size() - size();
  if (s) {
    // Where the screen cannot hold the content in one direction, that direction's scroll bar
    // takes room from the other: make room for it too, so that the abort button at the right
    // edge is not hidden under the vertical scroll bar.
    const QSize largest = avail.size() - chrome - (size() - have);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
    const bool tooTall = need.height() > largest.height();
    const bool tooWide = need.width() > largest.width();
    if (tooTall) need.rwidth() += bar;
    if (tooWide) need.rheight() += bar;
  }
  const QSize grow(std::max(0, need.width() - have.width()),
                   std::max(0, need.height() - have.height()));
  if (grow.isNull() || isMaximized() || isFullScreen()) return;
  QSize target = (size() + grow).expandedTo(size());
  if (!s) {
    resize(target);
    return;
  }
  target = target.boundedTo(avail.size() - chrome).expandedTo(size());
  QPoint at = pos();
  at.setX(std::max(avail.left(),
                   std::min(at.x(), avail.right() + 1 - target.width() - chrome.width())));
  at.setY(std::max(avail.top(),
                   std::min(at.y(), avail.bottom() + 1 - target.height() - chrome.height())));
  resize(target);
  if (at != pos()) move(at);
}

// ---- Load and unload -------------------------------------------------------------------------

void MainWindow::Form_Load() {
  restorePlacement();
  ReadSettings();
  ShowRecentFiles(true);
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
  Placement p = PlacementFromTexts(l, t, w, h);

  const TwipsPerPixel tpp = layout_.twipsPerPixel();
  auto toPixels = [&](const Placement& q) {
    return PixelRect{RoundToInt(q.left / tpp.x), RoundToInt(q.top / tpp.y),
                     RoundToInt(q.width / tpp.x), RoundToInt(q.height / tpp.y)};
  };
  std::vector<PixelRect> screens;
  for (const QScreen* s : QGuiApplication::screens()) {
    const QRect g = s->geometry();
    screens.push_back({g.x(), g.y(), g.width(), g.height()});
  }
  PixelRect r = toPixels(p);
  if (!screens.empty() && !PlacementOnScreen(r, screens)) r = toPixels(Placement{});
  move(r.left, r.top);
  resize(r.width, r.height);
}

void MainWindow::savePlacement() {
  // A maximized window keeps the placement it returns to.
  const QRect g = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
  const TwipsPerPixel tpp = layout_.twipsPerPixel();
  auto text = [](double twips) {
    return QString::number(static_cast<double>(static_cast<float>(twips)), 'g', 8);
  };
  placement_.beginGroup(QStringLiteral("Settings"));
  placement_.setValue(QStringLiteral("MainLeft"), text(g.x() * tpp.x));
  placement_.setValue(QStringLiteral("MainTop"), text(g.y() * tpp.y));
  placement_.setValue(QStringLiteral("MainWidth"), text(g.width() * tpp.x));
  placement_.setValue(QStringLiteral("MainHeight"), text(g.height() * tpp.y));
  placement_.endGroup();
  placement_.sync();
}

void MainWindow::ReadSettings() {
  const base::SettingsFile file =
      base::ReadSettingsFile(std::filesystem::path(appFolder_.toStdString()) / "mivet.ini");
  settings_ = file.settings;
  recentFiles_ = file.recentFiles;
}

void MainWindow::WriteSettings() {
  // A file that cannot be written (read-only folder, full disk) must not keep the program from
  // ending; the old file then stays as it was.
  base::WriteSettingsFile(std::filesystem::path(appFolder_.toStdString()) / "mivet.ini",
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

void MainWindow::tbToolBar_ButtonClick(QAction* button) {
  const QString key = button ? button->data().toString() : QString();
  if (key == ui::Utf8("開く")) {
    mnuFileOpen_Click();
  } else if (key == ui::Utf8("設定")) {
    mnuSeting_Click();
  } else if (key == ui::Utf8("実行")) {
    mnuExec_Click();
  } else if (key == ui::Utf8("プレビュー")) {
    mnuPrev_Click();
  }
}

void MainWindow::mnuFileOpen_Click() {
  SetStatus(ui::Utf8(image::kOpenStatus));
  const QString path = image::AskSourcePath(prompter_, this, gifSupport_);
  if (!path.isEmpty()) {
    sourcePath_ = path.toStdString();
    LoadSource();
  }
  SetStatus({});
}

void MainWindow::mnuFileFName_Click(int index) {
  if (index < 0 || index > 2 || recentFiles_[index].empty()) return;
  sourcePath_ = recentFiles_[index];
  LoadSource();
}

// Loads sourcePath_ into Picture1. A picture that cannot be read leaves the previous picture and
// puts back the path it came from, so that frames, preview and page keep naming the picture the
// window shows.
void MainWindow::LoadSource() {
  render::Surface picture;
  if (!image::LoadSource(sourcePath_, picture, recentFiles_, prompter_, this)) {
    sourcePath_ = loadedPath_;
    return;
  }
  loadedPath_ = sourcePath_;
  source_ = std::move(picture);
  Picture1->setImage(image::ImageFromSurface(source_));
  layout_.SetSourcePicture(source_.width(), source_.height());
  ApplyLayout();
  GrowToFit();
  ShowRecentFiles(false);
}

void MainWindow::ShowRecentFiles(bool showSeparator) {
  bool any = false;
  for (int i = 0; i < 3; ++i) {
    mnuFileFName[i]->setText(MenuCaption(recentFiles_[i]));
    const bool filled = !recentFiles_[i].empty();
    mnuFileFName[i]->setVisible(filled);
    any = any || filled;
  }
  // The separator is shown only when the window loads.
  if (showSeparator && any) mnuFileBar2->setVisible(true);
}

void MainWindow::mnuFileHTML_Click() {
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return;
  }
  canvasWidthPx_ = layout_.CanvasWidthPx();
  canvasHeightPx_ = layout_.CanvasHeightPx();
  OpenExportDialog();
}

exporter::ExportDialog* MainWindow::exportDialog() const { return exportDialog_; }

void MainWindow::OpenExportDialog() {
  if (!exportDialog_) {
    const TwipsPerPixel tpp = layout_.twipsPerPixel();
    exportDialog_ = new exporter::ExportDialog([this] { return sourcePath_; },
                                               [this] { return settings_.FrameCount; }, appFolder_,
                                               QPointF(tpp.x, tpp.y), prompter_, this);
    exportDialog_->setAttribute(Qt::WA_DeleteOnClose);
  }
  exportDialog_->SetCanvasSize(canvasWidthPx_, canvasHeightPx_);
  exportDialog_->show();
  exportDialog_->raise();
  exportDialog_->activateWindow();
}

// ---- Animation file --------------------------------------------------------------------------

void MainWindow::mnuFileAnim_Click() {
  if (!MayStart(Activity::MakingAnimation)) return;
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return;
  }
  OpenAnimationDialog();
}

exporter::AnimationDialog* MainWindow::animationDialog() const { return animationDialog_; }

void MainWindow::OpenAnimationDialog() {
  if (!animationDialog_) {
    const TwipsPerPixel tpp = layout_.twipsPerPixel();
    animationDialog_ = new exporter::AnimationDialog(
        [this] { return sourcePath_; }, [this] { return MayStart(Activity::MakingAnimation); },
        [this](const exporter::AnimationOrder& order) { return StartAnimation(order); },
        QPointF(tpp.x, tpp.y), prompter_, this);
    animationDialog_->setAttribute(Qt::WA_DeleteOnClose);
  }
  animationDialog_->show();
  animationDialog_->raise();
  animationDialog_->activateWindow();
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

bool MainWindow::StartAnimation(const exporter::AnimationOrder& order) {
  if (!MayStart(Activity::MakingAnimation) || !activity_.Begin(Activity::MakingAnimation)) {
    return false;
  }
  SetStatus(ui::Utf8(kStatusMakingAnimation));
  ShowAbortButton(true);
  OnAnimationProgress(0, 0);
  progress_->show();
  AnimationJob job;
  job.sourcePath = order.sourcePath;
  job.format = order.format;
  job.delay = order.delay;
  job.target = order.target;
  job.onProgress = animationProgressHook_;
  animationRunner_.Start(std::move(job));
  return true;
}

// Reading the frames: an empty bar counting the frames read (their number is not known yet);
// encoding: the bar fills with the frames encoded.
void MainWindow::OnAnimationProgress(int done, int total) {
  if (total <= 0) {
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(ui::Utf8("読込 %1").arg(done));
    return;
  }
  progress_->setFormat(QStringLiteral("%v / %m"));
  progress_->setRange(0, total);
  progress_->setValue(done);
}

void MainWindow::OnAnimationFinished(const exporter::AnimationResult& result) {
  activity_.End(Activity::MakingAnimation);
  ShowAbortButton(false);
  progress_->hide();
  progress_->setFormat(QStringLiteral("%v / %m"));
  const QString message = QString::fromStdString(
      result.message.empty() ? std::string(base::kAnimationFailedMessage) : result.message);
  switch (result.status) {
    case exporter::AnimationStatus::Written:
      SetStatus(ui::Utf8(kStatusCompleted));
      break;
    case exporter::AnimationStatus::Aborted:
      SetStatus(ui::Utf8(kStatusAborted));
      break;
    case exporter::AnimationStatus::NoFrames:
      // The frames went away between the dialog's check and the worker's first read.
      SetStatus({});
      Warn(ui::Utf8(base::kNoFramesMessage.data()));
      break;
    case exporter::AnimationStatus::Failed:
      SetStatus(ui::Utf8(kStatusAborted));
      Warn(message);
      break;
  }
}

void MainWindow::mnuFileExit_Click() { close(); }

void MainWindow::mnuSeting_Click() {
  SetStatus({});
  if (!settingsDialog_) {
    const TwipsPerPixel tpp = layout_.twipsPerPixel();
    settingsDialog_ = new settings::SettingsDialog(
        settings_,
        [this] { return QSizeF(layout_.SourceWidthTwips(), layout_.SourceHeightTwips()); },
        QPointF(tpp.x, tpp.y), prompter_, this);
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
  ShowAbortButton(false);
  if (activity_.current() == Activity::Converting) runner_.Abort();
  if (activity_.current() == Activity::Previewing) player_->RequestAbort();
  if (activity_.current() == Activity::MakingAnimation) animationRunner_.Abort();
}

// ---- Execute ---------------------------------------------------------------------------------

void MainWindow::mnuExec_Click() {
  if (!MayStart(Activity::Converting)) return;
  if (CheckRun()) StartRun();
}

bool MainWindow::CheckRun() {
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return false;
  }
  const TwipsPerPixel tpp = layout_.twipsPerPixel();
  const double w = static_cast<float>(layout_.SourceWidthTwips() / tpp.x);
  const double h = static_cast<float>(layout_.SourceHeightTwips() / tpp.y);
  for (const render::RunWarning warning : render::CheckRunWarnings(settings_, w, h)) {
    if (!prompter_.AskOkCancel(this, QString::fromStdString(render::WarningQuestion(warning)))) {
      return false;
    }
  }
  return true;
}

void MainWindow::StartRun() {
  if (!activity_.Begin(Activity::Converting)) return;
  SetStatus(ui::Utf8(kStatusConverting));
  ShowAbortButton(true);
  progress_->setRange(0, std::max(1, settings_.FrameCount));
  progress_->setValue(0);
  progress_->show();
  ConversionJob job;
  job.source = source_;
  job.sourcePath = sourcePath_;
  job.settings = settings_;
  // The random dots of the fade-in differ from run to run.
  job.seed =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  job.onCheckpoint = checkpointHook_;
  runner_.Start(std::move(job));
}

void MainWindow::OnFrameSaved(int k, const QImage& frame) {
  if (frame.width() != layout_.CanvasWidthPx() || frame.height() != layout_.CanvasHeightPx()) {
    SetCanvasSize(frame.width(), frame.height());
  }
  Picture2->setImage(frame);
  progress_->setValue(k + 1);
}

void MainWindow::OnRunFinished(const render::RunResult& result) {
  activity_.End(Activity::Converting);
  ShowAbortButton(false);
  progress_->hide();
  switch (result.status) {
    case render::RunStatus::Completed:
      SetStatus(ui::Utf8(kStatusCompleted));
      break;
    case render::RunStatus::Aborted:
      SetStatus(ui::Utf8(kStatusAborted));
      break;
    case render::RunStatus::WriteFailed:
      SetStatus(ui::Utf8(kStatusAborted));
      Warn(QString::fromStdString(result.message));
      break;
    case render::RunStatus::BadFrameSize:
    case render::RunStatus::NoShape:
      // Nothing was drawn: no run took place.
      SetStatus({});
      Warn(QString::fromStdString(result.message));
      break;
  }
}

// ---- Preview ---------------------------------------------------------------------------------

void MainWindow::mnuPrev_Click() {
  if (!MayStart(Activity::Previewing)) return;
  SetStatus({});
  if (sourcePath_.empty()) {
    Warn(ui::Utf8(base::kNoSourceMessage.data()));
    return;
  }
  SetStatus(ui::Utf8(kStatusPreviewing));
  if (!player_->Start()) {
    SetStatus({});
    Warn(ui::Utf8(base::kNoFramesMessage.data()));
    return;
  }
  activity_.Begin(Activity::Previewing);
  ShowAbortButton(true);
}

// The frame canvas takes each frame's size, so that a preview after a restart shows whole frames
// and the HTML page gets the frame size.
void MainWindow::OnPreviewFrame(const QImage& frame) {
  if (frame.width() != layout_.CanvasWidthPx() || frame.height() != layout_.CanvasHeightPx()) {
    SetCanvasSize(frame.width(), frame.height());
  }
  Picture2->setImage(frame);
}

void MainWindow::OnPreviewEnded() {
  ShowAbortButton(false);
  SetStatus({});
  activity_.End(Activity::Previewing);
}

// ---- Helpers ---------------------------------------------------------------------------------

QString MainWindow::statusText() const { return panel1_->text(); }
QImage MainWindow::canvasImage() const { return Picture2->image(); }
QImage MainWindow::sourceImage() const { return Picture1->image(); }

void MainWindow::SetStatus(const QString& text) { panel1_->setText(text); }

void MainWindow::SetCanvasSize(int widthPx, int heightPx) {
  layout_.SetCanvas(widthPx, heightPx);
  ApplyLayout();
  GrowToFit();
}

void MainWindow::Warn(const QString& text) { prompter_.Warn(this, text); }

// The abort button stands right of the source frame; the form makes room for it while shown.
void MainWindow::ShowAbortButton(bool shown) {
  Command1->setVisible(shown);
  ApplyLayout();
  if (shown) GrowToFit();
}

}  // namespace kinetta::app
