// The preview through the main window: its start checks, the frame order at each tick, the abort
// button, and the end when frame 00 can no longer be loaded.
#include "preview/preview_player.h"

#include "app/main_window_fixture.h"

namespace kinetta::test {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// Frame k of the test frames is one colour: red 10 * (k + 1), green 1, blue 2.
render::Colour FrameColour(int k) { return 10 * (k + 1) + 256 * 1 + 65536 * 2; }

class PreviewTest : public MainWindowTest {
 protected:
  /// The picture cat.bmp, opened, and its frames `numbers` (6 x 4 each) on disk.
  app::MainWindow& OpenWithFrames(const std::vector<int>& numbers) {
    source_ = Picture("cat.bmp", 6, 4);
    for (int k : numbers) WriteFrame(k);
    app::MainWindow& w = Open();
    OpenPicture(source_);
    return w;
  }
  void WriteFrame(int k) {
    const std::string name = "cat" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".bmp";
    ASSERT_TRUE(image::WriteBmp24(SolidPicture(6, 4, FrameColour(k)), picDir() / name).ok());
  }
  preview::PreviewPlayer& player() { return *window().findChild<preview::PreviewPlayer*>(); }
  /// The number of the test frame the preview picture shows, or -1.
  int Shown() {
    const QImage image = window().canvasImage();
    if (image.isNull()) return -1;
    const QRgb c = image.pixel(2, 2);
    if (qGreen(c) != 1 || qBlue(c) != 2 || qRed(c) % 10 != 0) return -1;
    return qRed(c) / 10 - 1;
  }
  /// The frames shown by `ticks` ticks.
  std::vector<int> Ticks(int ticks) {
    std::vector<int> shown;
    for (int i = 0; i < ticks; ++i) {
      player().Tick();
      shown.push_back(Shown());
    }
    return shown;
  }

  std::string source_;
};

TEST_F(PreviewTest, PlaysTheFramesInALoopOneATick) {
  app::MainWindow& w = OpenWithFrames({0, 1, 2});
  Trigger("previewAction");
  EXPECT_EQ(w.statusText(), U("プレビュー中"));
  EXPECT_EQ(w.activity(), app::Activity::Previewing);
  EXPECT_TRUE(AbortVisible());
  EXPECT_TRUE(player().timer().isActive());
  EXPECT_EQ(player().timer().interval(), 1000);
  EXPECT_EQ(Shown(), 0);
  // The preview picture takes the frames' size.
  EXPECT_EQ(w.windowLayout().CanvasWidthPx(), 6);
  EXPECT_EQ(w.windowLayout().CanvasHeightPx(), 4);
  EXPECT_EQ(Ticks(4), (std::vector<int>{1, 2, 0, 1}));
  EXPECT_TRUE(prompter.warnings.empty());
}

TEST_F(PreviewTest, AbortEndsAtTheNextTickAndKeepsTheFrame) {
  app::MainWindow& w = OpenWithFrames({0, 1, 2});
  Trigger("previewAction");
  EXPECT_EQ(Ticks(1), (std::vector<int>{1}));
  AbortButton()->click();
  EXPECT_FALSE(AbortVisible());
  EXPECT_EQ(w.activity(), app::Activity::Previewing);  // until the tick
  player().Tick();
  EXPECT_EQ(w.activity(), app::Activity::Idle);
  EXPECT_FALSE(player().timer().isActive());
  EXPECT_EQ(w.statusText(), QString());
  EXPECT_EQ(Shown(), 1);
  // Another Preview is accepted and starts again at 00.
  Trigger("previewAction");
  EXPECT_EQ(Shown(), 0);
  EXPECT_TRUE(player().timer().isActive());
}

TEST_F(PreviewTest, MissingMiddleFrameLoopsOverTheFramesBeforeIt) {
  OpenWithFrames({0, 1, 3});
  Trigger("previewAction");
  EXPECT_EQ(Ticks(4), (std::vector<int>{1, 0, 1, 0}));
}

TEST_F(PreviewTest, FramesFromTenOnAreFound) {
  std::vector<int> numbers;
  for (int k = 0; k <= 11; ++k) numbers.push_back(k);
  OpenWithFrames(numbers);
  Trigger("previewAction");
  EXPECT_EQ(Ticks(13), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1}));
}

TEST_F(PreviewTest, FrameZeroGoneDuringPlaybackEndsThePreview) {
  app::MainWindow& w = OpenWithFrames({0, 1});
  Trigger("previewAction");
  EXPECT_EQ(Ticks(1), (std::vector<int>{1}));
  std::filesystem::remove(picDir() / "cat00.bmp");
  player().Tick();  // no frame 02, no frame 00
  EXPECT_EQ(w.activity(), app::Activity::Idle);
  EXPECT_FALSE(player().timer().isActive());
  EXPECT_FALSE(AbortVisible());
  EXPECT_EQ(w.statusText(), QString());
  EXPECT_EQ(Shown(), 1);
  EXPECT_TRUE(prompter.warnings.empty());
}

TEST_F(PreviewTest, AnotherPictureSwitchesToItsFramesAtTheNextTick) {
  OpenWithFrames({0, 1, 2});
  const std::string dog = Picture("dog.bmp", 6, 4);
  ASSERT_TRUE(image::WriteBmp24(SolidPicture(6, 4, FrameColour(7)), picDir() / "dog00.bmp").ok());
  ASSERT_TRUE(image::WriteBmp24(SolidPicture(6, 4, FrameColour(8)), picDir() / "dog01.bmp").ok());
  Trigger("previewAction");
  OpenPicture(dog);
  EXPECT_EQ(Ticks(2), (std::vector<int>{8, 7}));
}

TEST_F(PreviewTest, StartNeedsAPictureAndItsFrames) {
  app::MainWindow& w = Open();
  Trigger("previewAction");
  EXPECT_EQ(prompter.warnings, QStringList{U("原画を先に開いてください。")});
  EXPECT_EQ(w.statusText(), QString());

  OpenPicture(Picture("cat.bmp", 6, 4));
  prompter.warnings.clear();
  Trigger("previewAction");
  EXPECT_EQ(prompter.warnings, QStringList{U("変換の実行を先に行ってください。")});
  EXPECT_EQ(w.statusText(), QString());
  EXPECT_EQ(w.activity(), app::Activity::Idle);
  EXPECT_FALSE(AbortVisible());
  EXPECT_FALSE(player().timer().isActive());

  // Once frames exist a later Preview is accepted.
  WriteFrame(0);
  Trigger("previewAction");
  EXPECT_EQ(w.activity(), app::Activity::Previewing);
  EXPECT_EQ(Shown(), 0);
}

TEST_F(PreviewTest, SecondPreviewIsIgnoredAndExecuteIsRefused) {
  app::MainWindow& w = OpenWithFrames({0, 1, 2});
  Trigger("previewAction");
  EXPECT_EQ(Ticks(1), (std::vector<int>{1}));
  Trigger("previewAction");
  EXPECT_TRUE(prompter.warnings.empty());
  EXPECT_EQ(Shown(), 1);  // not restarted
  Trigger("executeAction");
  EXPECT_EQ(prompter.warnings, QStringList{U("プレビュー中です")});
  // The settings command clears the status text; the preview plays on and still refuses Execute.
  Trigger("settingsAction");
  EXPECT_EQ(w.statusText(), QString());
  Trigger("executeAction");
  EXPECT_EQ(prompter.warnings.size(), 2);
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_EQ(Ticks(1), (std::vector<int>{2}));
  EXPECT_FALSE(std::filesystem::exists(picDir() / "cat03.bmp"));
}

TEST_F(PreviewTest, PlayerSignalsEachFrameAndItsEndOnce) {
  source_ = Picture("cat.bmp", 6, 4);
  WriteFrame(0);
  std::string path = source_;
  preview::PreviewPlayer player([&path] { return path; });
  int frames = 0, ends = 0;
  QObject::connect(&player, &preview::PreviewPlayer::frameShown, [&] { ++frames; });
  QObject::connect(&player, &preview::PreviewPlayer::ended, [&] { ++ends; });
  ASSERT_TRUE(player.Start());
  EXPECT_FALSE(player.Start());  // already playing
  player.Tick();                 // no 01: 00 again
  EXPECT_EQ(frames, 2);
  player.RequestAbort();
  player.Tick();
  player.Tick();  // a stray tick after the end does nothing
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(frames, 2);
  path = (picDir() / "none.bmp").string();
  EXPECT_FALSE(player.Start());
  EXPECT_FALSE(player.playing());
}

}  // namespace
}  // namespace kinetta::test
