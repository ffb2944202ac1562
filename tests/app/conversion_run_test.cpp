// The Execute command through the main window: the checks and their warnings, a real run on a
// worker thread with its frames on disk, the guards while a run is under way, abort, a frame
// that cannot be written, memory running out, and closing the window during a run.
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <thread>

#include "app/main_window_fixture.h"
#include "base/number_text.h"
#include "image/picture_file.h"

namespace kinetta::test {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

class ConversionRunTest : public MainWindowTest {
 protected:
  bool ProgressVisible() {
    return !window().findChild<QWidget*>(QStringLiteral("progressBar"))->isHidden();
  }
  bool Exists(const std::string& name) { return std::filesystem::exists(picDir() / name); }
};

// ---- Checks before a run ---------------------------------------------------------------------

struct CheckCase {
  int sourceW, sourceH, widthMode, widthValue, frames;
  std::vector<const char*> questions;  ///< first lines, in order
};

class CheckRunTest : public ConversionRunTest, public testing::WithParamInterface<CheckCase> {};

// Every question is answered with Cancel: the first one ends the checks and no run starts.
TEST_P(CheckRunTest, WarnsAboveTheThresholdsAndCancelStopsTheRun) {
  const CheckCase c = GetParam();
  WriteSettingsFile(SettingsText(0, c.widthMode, c.widthValue, c.frames));
  const std::string path = Picture("pic.bmp", c.sourceW, c.sourceH);
  app::MainWindow& w = Open();
  OpenPicture(path);
  prompter.answers.assign(5, false);
  Trigger("executeAction");
  if (c.questions.empty()) {
    EXPECT_TRUE(prompter.questions.empty());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(w.statusText(), U("完了しました。"));
    EXPECT_TRUE(Exists("pic00.bmp"));
  } else {
    const QString expected = U(c.questions.front()) + U("\n実行を継続しますか？");
    EXPECT_EQ(prompter.questions, QStringList{expected});
    EXPECT_EQ(w.activity(), app::Activity::Idle);
    EXPECT_EQ(w.statusText(), QString());
    EXPECT_FALSE(Exists("pic00.bmp"));
  }
  EXPECT_TRUE(prompter.warnings.empty());
}

constexpr const char* kWide = "幅が大きくて時間がかかります。";
constexpr const char* kLarge = "原図が大きくて時間がかかります。";
constexpr const char* kMany = "こま数が多くて時間がかかります。";

INSTANTIATE_TEST_SUITE_P(
    Thresholds, CheckRunTest,
    testing::Values(CheckCase{10, 8, 2, 500, 1, {}},       // 500 wide passes
                    CheckCase{10, 8, 2, 501, 1, {kWide}},  // 501 warns
                    CheckCase{500, 4, 0, 0, 1, {}},        // source width by mode 0
                    CheckCase{501, 4, 0, 0, 1, {kWide}},
                    CheckCase{4, 501, 1, 0, 1, {kWide}},  // source height by mode 1
                    CheckCase{501, 4, 1, 0, 1, {}},       // mode 1 ignores the width
                    CheckCase{300, 300, 2, 10, 1, {}},    // 300 x 300 passes
                    CheckCase{301, 300, 2, 10, 1, {}},
                    CheckCase{301, 301, 2, 10, 1, {kLarge}},  // 301 x 301 warns
                    CheckCase{10, 8, 2, 10, 40, {}},          // 40 frames pass
                    CheckCase{10, 8, 2, 10, 41, {kMany}}));   // 41 warn

TEST_F(ConversionRunTest, WarningsComeOneAfterAnotherAndCancelAtTheLastStops) {
  WriteSettingsFile(SettingsText(0, 0, 0, 41));
  const std::string path = Picture("pic.bmp", 501, 301);
  app::MainWindow& w = Open();
  OpenPicture(path);
  prompter.answers = {true, true, false};
  Trigger("executeAction");
  EXPECT_EQ(prompter.questions, (QStringList{U(kWide) + U("\n実行を継続しますか？"),
                                             U(kLarge) + U("\n実行を継続しますか？"),
                                             U(kMany) + U("\n実行を継続しますか？")}));
  EXPECT_EQ(w.activity(), app::Activity::Idle);
  EXPECT_FALSE(Exists("pic00.bmp"));
}

TEST_F(ConversionRunTest, NoPictureNoRun) {
  app::MainWindow& w = Open();
  Trigger("executeAction");
  EXPECT_EQ(prompter.warnings, QStringList{U("原画を先に開いてください。")});
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_EQ(w.activity(), app::Activity::Idle);
}

// ---- A run -----------------------------------------------------------------------------------

TEST_F(ConversionRunTest, SmallRunWritesItsFramesAndEndsCompleted) {
  // Plane, frames as wide as the source is high (8), three frames, no bevel.
  WriteSettingsFile(SettingsText(0, 1, 100, 3));
  const std::string path = Picture("pic.bmp", 12, 8);
  ASSERT_TRUE(image::WriteBmp24(SolidPicture(2, 2, 0), picDir() / "pic03.bmp").ok());
  ASSERT_TRUE(image::WriteBmp24(SolidPicture(2, 2, 0), picDir() / "pic04.bmp").ok());
  app::MainWindow& w = Open();
  OpenPicture(path);
  Trigger("executeAction");
  EXPECT_EQ(w.statusText(), U("アニメーション変換中"));
  EXPECT_TRUE(AbortVisible());
  ASSERT_TRUE(WaitIdle());

  EXPECT_EQ(w.statusText(), U("完了しました。"));
  EXPECT_FALSE(AbortVisible());
  EXPECT_FALSE(ProgressVisible());
  for (const char* name : {"pic00.bmp", "pic01.bmp", "pic02.bmp"}) EXPECT_TRUE(Exists(name));
  EXPECT_FALSE(Exists("pic03.bmp"));  // the stale frame after the last one
  EXPECT_TRUE(Exists("pic04.bmp"));   // older frames beyond it stay

  // The preview picture took the frame size and shows the last frame. Frame 2 slides by
  // round(12 / 3 * 2) = 8 columns: its pixel (x, y) is the source's ((8 + x) mod 12, y).
  EXPECT_EQ(w.windowLayout().CanvasWidthPx(), 8);
  EXPECT_EQ(w.windowLayout().CanvasHeightPx(), 8);
  EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("canvasPicture"))->size(), QSize(8, 8));
  const QImage shown = w.canvasImage();
  ASSERT_EQ(shown.size(), QSize(8, 8));
  EXPECT_EQ(shown.pixel(0, 0), qRgb(8, 0, 0));
  EXPECT_EQ(shown.pixel(3, 5), qRgb(11, 5, 0));
  EXPECT_EQ(shown.pixel(7, 7), qRgb(3, 7, 0));
  const base::Result<image::Picture> last = image::LoadPicture((picDir() / "pic02.bmp").string());
  ASSERT_TRUE(last.ok());
  EXPECT_EQ(image::ImageFromSurface(last.value().pixels), shown);
}

// Without a trash, a file with the next frame's name that is no frame stays, and the status
// says so after the end.
TEST_F(ConversionRunTest, StaleFileThatIsNoFrameStaysAndTheStatusSaysSo) {
  const TrashFolder noTrash(false);
  WriteSettingsFile(SettingsText(0, 1, 100, 3));
  const std::string path = Picture("pic.bmp", 12, 8);
  WriteText(picDir() / "pic03.bmp", "a picture of its own");
  app::MainWindow& w = Open();
  OpenPicture(path);
  Trigger("executeAction");
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(Exists("pic03.bmp"));
  EXPECT_TRUE(w.statusText().startsWith(U("完了しました。 pic03.bmp ")))
      << w.statusText().toStdString();
  EXPECT_TRUE(prompter.warnings.empty());
}

TEST_F(ConversionRunTest, GuardsHoldWhileARunIsUnderWay) {
  // 41 frames: the checks ask once before the run, and would ask again for a second run.
  WriteSettingsFile(SettingsText(0, 1, 100, 41));
  const std::string path = Picture("pic.bmp", 12, 8);
  const std::string other = Picture("other.bmp", 6, 6);
  GateHolder gate;
  app::MainWindow& w = Open();
  w.setCheckpointHookForTesting(gate.Hook());
  OpenPicture(path);
  Trigger("executeAction");
  ASSERT_EQ(prompter.questions.size(), 1);
  prompter.questions.clear();
  ASSERT_TRUE(WaitUntil([&] { return gate.gate->reached.load(); }));
  EXPECT_EQ(w.activity(), app::Activity::Converting);
  EXPECT_TRUE(ProgressVisible());

  // A second Execute is ignored, even after the settings command cleared the status text.
  Trigger("executeAction");
  Trigger("settingsAction");
  EXPECT_EQ(w.statusText(), QString());
  Trigger("executeAction");
  EXPECT_EQ(w.statusText(), QString());  // nothing started, nothing said
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_TRUE(prompter.warnings.empty());
  // Preview is refused.
  Trigger("previewAction");
  EXPECT_EQ(prompter.warnings, QStringList{U("アニメーション変換中です")});
  // Opening another picture is allowed and does not change the running run.
  OpenPicture(other);
  EXPECT_EQ(w.sourcePath(), other);

  gate.gate->open = true;
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("完了しました。"));
  EXPECT_TRUE(Exists("pic00.bmp"));
  EXPECT_TRUE(Exists("pic40.bmp"));
  EXPECT_FALSE(Exists("other00.bmp"));
  // The frame size came from the picture the run started with (8 high), not the new one.
  EXPECT_EQ(w.canvasImage().size(), QSize(8, 8));
}

// Pictures larger than the screen, during a run whose first frame is shown: the window lies
// within the screen's available area, and both frames and the whole abort button show without
// scrolling; the pictures are shown scaled down, while the source and frame sizes stay real.
struct BigCase {
  const char* name;
  int quartersWide;  ///< the picture's size in quarters of the screen's available area
  int quartersHigh;
};

class BigPictureRunTest : public ConversionRunTest, public testing::WithParamInterface<BigCase> {};

TEST_P(BigPictureRunTest, WindowPicturesAndAbortButtonStayInView) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const int pw = screen.width() * GetParam().quartersWide / 4;
  const int ph = screen.height() * GetParam().quartersHigh / 4;
  WriteSettingsFile(SettingsText(0, 0, 100, 3));  // plane: the frames are the source's size
  const std::string path = Picture("pic.bmp", pw, ph);
  GateHolder gate;
  app::MainWindow& w = Open();
  w.show();
  ASSERT_TRUE(WaitUntil([&] { return w.windowHandle() && w.windowHandle()->isExposed(); }));
  w.setCheckpointHookForTesting(gate.Hook(1));
  OpenPicture(path);
  Trigger("executeAction");
  ASSERT_TRUE(WaitUntil(
      [&] { return gate.gate->reached.load() && w.windowLayout().CanvasWidthPx() == pw; }));
  ProcessPostedEvents();

  EXPECT_TRUE(screen.contains(w.frameGeometry()));
  const auto* area = w.findChild<QScrollArea*>();
  EXPECT_FALSE(area->verticalScrollBar()->isVisible());
  EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
  for (const char* name : {"sourceFrame", "canvasFrame", "abortButton"}) {
    const QWidget* control = w.findChild<QWidget*>(QLatin1String(name));
    const QRect seen(control->mapTo(area->viewport(), QPoint(0, 0)), control->size());
    EXPECT_TRUE(area->viewport()->rect().contains(seen))
        << name << " at " << seen.x() << "," << seen.y() << " " << seen.width() << "x"
        << seen.height() << " in a view of " << area->viewport()->width() << "x"
        << area->viewport()->height();
  }
  for (const char* name : {"sourcePicture", "canvasPicture"}) {
    const QSize box = w.findChild<QWidget*>(QLatin1String(name))->size();
    EXPECT_LT(box.width(), pw) << name;
    // The proportions, to a pixel either way.
    EXPECT_NEAR(box.width() * ph, box.height() * pw, pw + ph) << name;
  }
  // The boxes keep copies no larger than the screen shows, not the pictures themselves.
  EXPECT_LE(w.sourceImage().width(), screen.width());
  EXPECT_LE(w.canvasImage().width(), screen.width());
  EXPECT_EQ(w.windowLayout().SourceWidthPx(), pw);
  EXPECT_EQ(w.windowLayout().SourceHeightPx(), ph);
  EXPECT_EQ(w.windowLayout().CanvasHeightPx(), ph);
  gate.gate->open = true;
  ASSERT_TRUE(WaitIdle());
}

INSTANTIATE_TEST_SUITE_P(Pictures, BigPictureRunTest,
                         testing::Values(BigCase{"tall", 1, 8}, BigCase{"wide", 8, 1},
                                         BigCase{"large", 6, 6}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(ConversionRunTest, AbortButtonEndsTheRunAsAborted) {
  WriteSettingsFile(SettingsText(0, 1, 100, 4));
  const std::string path = Picture("pic.bmp", 12, 8);
  GateHolder gate;
  app::MainWindow& w = Open();
  w.setCheckpointHookForTesting(gate.Hook());
  OpenPicture(path);
  Trigger("executeAction");
  ASSERT_TRUE(WaitUntil([&] { return gate.gate->reached.load(); }));
  AbortButton()->click();
  EXPECT_FALSE(AbortVisible());
  gate.gate->open = true;
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("中断しました。"));
  // Every drawing thread was held before its first checkpoint: no frame was finished.
  EXPECT_FALSE(Exists("pic00.bmp"));
  EXPECT_TRUE(prompter.warnings.empty());
  // The program is idle again: a new run may start.
  w.setCheckpointHookForTesting({});
  Trigger("executeAction");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("完了しました。"));
}

TEST_F(ConversionRunTest, FrameThatCannotBeWrittenEndsTheRunWithItsName) {
  WriteSettingsFile(SettingsText(0, 1, 100, 3));
  const std::string path = Picture("pic.bmp", 12, 8);
  // A folder where frame 01 should go cannot be replaced by a file.
  std::filesystem::create_directories(picDir() / "pic01.bmp");
  app::MainWindow& w = Open();
  OpenPicture(path);
  Trigger("executeAction");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("中断しました。"));
  EXPECT_FALSE(AbortVisible());
  // The path and the reason, in Japanese.
  EXPECT_EQ(prompter.warnings,
            QStringList{QString::fromStdString((picDir() / "pic01.bmp").string()) +
                        U(" に書き込めません。(フォルダです)")});
  EXPECT_TRUE(Exists("pic00.bmp"));
  EXPECT_FALSE(Exists("pic02.bmp"));
}

// Memory running out on a drawing thread ends the run as failed with the message, instead of
// ending the program: the window is idle, a new run may start, and the settings are written at
// the end.
TEST_F(ConversionRunTest, RunThatRunsOutOfMemoryIsReportedAndTheProgramGoesOn) {
  WriteSettingsFile(SettingsText(0, 1, 100, 6));
  const std::string path = Picture("pic.bmp", 12, 8);
  app::MainWindow& w = Open();
  w.setCheckpointHookForTesting([](int frame) {
    if (frame == 2) throw std::bad_alloc();
  });
  OpenPicture(path);
  Trigger("executeAction");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("中断しました。"));
  EXPECT_FALSE(AbortVisible());
  EXPECT_EQ(prompter.warnings, QStringList{U("メモリが足りません。")});
  EXPECT_FALSE(Exists("pic05.bmp"));
  w.setCheckpointHookForTesting({});
  Trigger("executeAction");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("完了しました。"));
  std::filesystem::remove(appDir() / "mivet.ini");
  w.close();
  EXPECT_TRUE(std::filesystem::exists(appDir() / "mivet.ini"));
}

TEST_F(ConversionRunTest, RefusedFrameSizeOrUnknownShapeRunsNothing) {
  for (const std::string& settings : {SettingsText(0, 2, 0, 2), SettingsText(9, 1, 100, 2)}) {
    WriteSettingsFile(settings);
    const std::string path = Picture("pic.bmp", 12, 8);
    prompter.warnings.clear();
    app::MainWindow& w = Open();
    OpenPicture(path);
    Trigger("executeAction");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(prompter.warnings.size(), 1);
    EXPECT_EQ(w.statusText(), QString());
    EXPECT_FALSE(AbortVisible());
    EXPECT_FALSE(Exists("pic00.bmp"));
  }
}

TEST_F(ConversionRunTest, ClosingDuringARunStopsItAndLeavesOnlyWholeFrames) {
  WriteSettingsFile(SettingsText(0, 1, 100, 200));
  const std::string path = Picture("pic.bmp", 12, 8);
  GateHolder gate;
  app::MainWindow& w = Open();
  // Frames 0 to 2 go through; frame 3 waits at its checkpoint until the window is closing.
  w.setCheckpointHookForTesting([g = gate.gate](int frame) {
    if (frame < 3) return;
    g->reached = true;
    while (!g->open) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  OpenPicture(path);
  prompter.answers = {true};  // many frames: go on
  Trigger("executeAction");
  ASSERT_TRUE(WaitUntil([&] { return gate.gate->reached.load() && Exists("pic02.bmp"); }));
  bool unloaded = false;
  QObject::connect(&w, &app::MainWindow::unloaded, [&] { unloaded = true; });
  gate.gate->open = true;
  w.close();
  EXPECT_TRUE(unloaded);
  EXPECT_TRUE(std::filesystem::exists(appDir() / "mivet.ini"));
  // Only the picture and whole frame files are in the folder: no temporary files.
  int frames = 0;
  for (const auto& entry : std::filesystem::directory_iterator(picDir())) {
    const std::string name = entry.path().filename().string();
    if (name == "pic.bmp") continue;
    ASSERT_EQ(name.substr(0, 3), "pic") << name;
    ASSERT_EQ(entry.path().extension(), ".bmp") << name;
    const base::Result<image::Picture> frame = image::LoadPicture(entry.path().string());
    ASSERT_TRUE(frame.ok()) << name;
    EXPECT_EQ(frame.value().pixels.width(), 8);
    ++frames;
  }
  EXPECT_GE(frames, 3);
}

}  // namespace
}  // namespace kinetta::test
