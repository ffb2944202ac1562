// The main window with pictures of any size and the keyboard: a small picture after a big one
// brings the window back, the pictures show in their own colours when scaled, and Esc does what
// the abort button does.
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QWindow>

#include "app/main_window_fixture.h"
#include "app/picture_box.h"
#include "image/bmp_file.h"
#include "preview/preview_player.h"
#include "render/transparency.h"

namespace kinetta::test {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

class WindowFittingTest : public MainWindowTest {
 protected:
  app::MainWindow& OpenShown() {
    app::MainWindow& w = Open();
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
  }
  bool Exists(const std::string& name) { return std::filesystem::exists(picDir() / name); }
};

// A clear pixel beside an opaque red one, in a frame and in a decoded picture, reduced to one
// pixel for showing: half transparent red, not darkened by the clear pixel's colour.
TEST(PictureForShowing, ReducedWithItsTransparency) {
  image::Picture picture{render::Surface(2, 1), true, {}, {}};
  picture.pixels.Row(0)[1] = 0xFF0000FF;  // opacity 255 in the top byte
  render::Surface frame(2, 1);
  frame.Row(0)[0] = static_cast<std::uint32_t>(render::kClear);
  frame.Row(0)[1] = 0x0000FF;
  for (const QImage& shown :
       {app::ImageOfSize(frame, {1, 1}), app::ImageForShowing(picture, {1, 1})}) {
    EXPECT_NEAR(shown.pixelColor(0, 0).alpha(), 128, 1);
    EXPECT_EQ(shown.pixelColor(0, 0).rgb(), qRgb(255, 0, 0));
  }
}

TEST_F(WindowFittingTest, SmallPictureAfterABigOneShrinksTheWindowBack) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // One colour, so that the scaled picture must keep it exactly (red, green and blue differ, so
  // that channels that change places show).
  const render::Colour colour = 200 + 256 * 100 + 65536 * 30;
  const std::filesystem::path big = picDir() / "big.bmp";
  ASSERT_TRUE(
      image::WriteBmp24(SolidPicture(screen.width() * 2, screen.height() * 2, colour), big).ok());
  app::MainWindow& w = OpenShown();
  OpenPicture(big.string());
  EXPECT_TRUE(screen.contains(w.frameGeometry()));
  const QSize bigWindow = w.size();
  const QImage shown = w.sourceImage();
  EXPECT_LT(shown.width(), screen.width());
  EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2), qRgb(200, 100, 30));

  OpenPicture(Picture("small.bmp", 120, 90));
  EXPECT_LT(w.width(), bigWindow.width());
  EXPECT_LT(w.height(), bigWindow.height());
  // Not below the default placement's size, 327 x 300 at 96 dots per inch.
  EXPECT_GE(w.width(), 327);
  EXPECT_GE(w.height(), 300);
  // A picture that fits is shown as it is.
  EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("sourcePicture"))->size(), QSize(120, 90));
  EXPECT_EQ(w.sourceImage().pixel(119, 89), qRgb(119, 89, 0));
  // The smaller window is the one stored for the next start.
  w.close();
  EXPECT_EQ(store().value(QStringLiteral("Settings/MainWidth")).toDouble(), w.width() * 15.0);
}

TEST_F(WindowFittingTest, EscapeDoesWhatTheAbortButtonDoes) {
  WriteSettingsFile(SettingsText(0, 1, 100, 4));
  const std::string path = Picture("pic.bmp", 12, 8);
  app::MainWindow& w = OpenShown();
  // Nothing under way: Esc changes nothing.
  OpenPicture(path);
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_EQ(w.activity(), app::Activity::Idle);

  // A run: frame 0 is written, the others wait at their first checkpoint.
  GateHolder gate;
  w.setCheckpointHookForTesting(gate.Hook(1));
  Trigger("executeAction");
  ASSERT_TRUE(WaitUntil([&] { return gate.gate->reached.load() && Exists("pic00.bmp"); }));
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_FALSE(AbortVisible());
  gate.gate->open = true;
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("中断しました。"));
  EXPECT_TRUE(Exists("pic00.bmp"));  // the frames written before stay
  EXPECT_FALSE(Exists("pic03.bmp"));

  // A preview ends at its next tick.
  w.setCheckpointHookForTesting({});
  Trigger("previewAction");
  ASSERT_EQ(w.activity(), app::Activity::Previewing);
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_FALSE(AbortVisible());
  w.findChild<preview::PreviewPlayer*>()->Tick();
  EXPECT_EQ(w.activity(), app::Activity::Idle);
}

}  // namespace
}  // namespace kinetta::test
