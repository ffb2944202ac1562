// Opening pictures as people expect: the open dialog starts in the last picture's folder, also
// after a restart; a file dropped on the window or named on the command line opens the way the
// open command opens it.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "app/main_window_fixture.h"
#include "settings/motion_preview_box.h"

namespace kinetta::test {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }
QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

class OpeningTest : public MainWindowTest {
 protected:
  /// Drags `path` over the window and drops it there; whether the window took the drag.
  bool Drop(const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window(), &drop);
    return true;
  }

  /// A JPEG far larger than the window shows it: 2400 x 1800, red, green above blue, white.
  std::string LargeJpeg() {
    QImage image(2400, 1800, QImage::Format_RGB32);
    QPainter painter(&image);
    const Qt::GlobalColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    for (int i = 0; i < 4; ++i) painter.fillRect(i % 2 * 1200, i / 2 * 900, 1200, 900, colours[i]);
    painter.end();
    const std::string path = (picDir() / "photo.jpg").string();
    EXPECT_TRUE(image.save(QString::fromStdString(path), "JPG", 90));
    return path;
  }
};

/// Holds the reading of a picture until the test lets it go, or the window stops it.
std::function<void(const std::atomic<bool>&)> HoldReading(const std::shared_ptr<Gate>& gate) {
  return [gate](const std::atomic<bool>& stop) {
    while (!gate->open && !stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
}

TEST_F(OpeningTest, OpenDialogStartsInTheLastPicturesFolderAfterARestart) {
  std::filesystem::create_directories(picDir() / "holiday");
  const std::string first = Picture("holiday/beach.bmp", 4, 3);
  Open();
  OpenPicture(first);
  window().close();
  // A new window reads the same per-user store.
  app::MainWindow& w = Open();
  Trigger("openAction");
  EXPECT_EQ(prompter.openFolder, Q(picDir() / "holiday"));
  // A remembered folder that has gone gives way to the newest recent picture's folder.
  store().setValue(QStringLiteral("Settings/LastFolder"), Q(picDir() / "gone"));
  Trigger("openAction");
  EXPECT_EQ(prompter.openFolder, Q(picDir() / "holiday"));
  EXPECT_EQ(w.recentFiles()[0], first);
}

TEST_F(OpeningTest, DroppedFileOpensTheWayTheOpenCommandOpensIt) {
  const std::string picture = Picture("cat.bmp", 6, 4);
  std::filesystem::create_directories(picDir() / "folder.bmp");
  WriteText(picDir() / "anim.gif", "GIF89a");
  WriteText(picDir() / "broken.bmp", "not a picture");
  app::MainWindow& w = Open();

  EXPECT_TRUE(Drop(QString::fromStdString(picture)));
  EXPECT_EQ(w.sourcePath(), picture);
  EXPECT_EQ(w.recentFiles(), (base::RecentList{picture, "", ""}));
  EXPECT_EQ(w.sourceImage().size(), QSize(6, 4));
  // A folder is not taken.
  EXPECT_FALSE(Drop(Q(picDir() / "folder.bmp")));
  // A GIF without the marker file is refused, and an unreadable file is named, as by the open
  // command; neither changes the picture or the list.
  EXPECT_TRUE(Drop(Q(picDir() / "anim.gif")));
  EXPECT_TRUE(Drop(Q(picDir() / "broken.bmp")));
  // The unreadable picture's message may carry the decoder's reason on a second line.
  ASSERT_EQ(prompter.warnings.size(), 2);
  EXPECT_EQ(prompter.warnings[0], U("この画像形式には対応していません。"));
  EXPECT_TRUE(prompter.warnings[1].startsWith(Q(picDir() / "broken.bmp") + U("が開けません。")))
      << prompter.warnings[1].toStdString();
  EXPECT_EQ(w.sourcePath(), picture);
  EXPECT_EQ(w.recentFiles(), (base::RecentList{picture, "", ""}));
  EXPECT_EQ(prompter.openCalls, 0);
}

TEST_F(OpeningTest, PictureNamedOnTheCommandLineOpensWithItsFullPath) {
  const std::string picture = Picture("cat.bmp", 6, 4);
  app::MainWindow& w = Open();
  const QString previous = QDir::currentPath();
  QDir::setCurrent(Q(picDir()));
  w.OpenPicture(QStringLiteral("cat.bmp"));
  QDir::setCurrent(previous);
  EXPECT_EQ(w.sourcePath(), picture);
  EXPECT_EQ(w.recentFiles(), (base::RecentList{picture, "", ""}));
  EXPECT_EQ(w.statusText(), QString());
}

// A large JPEG is shown at once from a first look, at its whole size, and becomes the open
// picture (the recent files, a run) only once it has been read whole; a run chosen meanwhile
// starts then.
TEST_F(OpeningTest, LargeJpegShowsAtOnceAndOpensOnceReadWhole) {
  WriteSettingsFile(SettingsText(0, 2, 16, 1));
  const std::string cat = Picture("cat.bmp", 6, 4);
  const std::string photo = LargeJpeg();
  app::MainWindow& w = Open();
  OpenPicture(cat);
  GateHolder held;
  w.setSourceReadHookForTesting(HoldReading(held.gate));
  OpenPicture(photo);
  const QImage shown = w.sourceImage();
  ASSERT_LT(shown.width(), 1200);
  // Within what JPEG's loss allows.
  auto near = [](QRgb got, QRgb want) {
    return std::abs(qRed(got) - qRed(want)) + std::abs(qGreen(got) - qGreen(want)) +
               std::abs(qBlue(got) - qBlue(want)) <
           12;
  };
  EXPECT_TRUE(near(shown.pixel(2, 2), qRgb(255, 0, 0)));
  EXPECT_TRUE(near(shown.pixel(shown.width() - 3, shown.height() - 3), qRgb(255, 255, 255)));
  EXPECT_EQ(w.windowLayout().SourceWidthPx(), 2400);
  EXPECT_EQ(w.statusText(), U("画像を読み込んでいます。"));
  EXPECT_EQ(w.recentFiles(), (base::RecentList{cat, "", ""}));
  // The settings dialog's preview and a run wait for the whole picture.
  Trigger("settingsAction");
  const auto* preview = w.findChild<settings::MotionPreviewBox*>(QStringLiteral("PreviewBox"));
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return preview->note() == U("画像を読み込んでいます。"); }));
  Trigger("executeAction");
  EXPECT_EQ(w.activity(), app::Activity::Idle);

  held.gate->open = true;
  ASSERT_TRUE(WaitUntil([&] { return w.recentFiles()[0] == photo; }));
  EXPECT_TRUE(near(w.sourceImage().pixel(2, 2), qRgb(255, 0, 0)));
  EXPECT_TRUE(WaitUntil([&] { return preview->note().isEmpty() && !preview->frames().empty(); }));
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(std::filesystem::exists(picDir() / "photo00.bmp"));
  EXPECT_TRUE(prompter.warnings.isEmpty());
}

// The first look gives way: a whole reading that fails puts back the picture before and says
// why; another picture opened meanwhile, or closing the window, stops the reading unsaid.
TEST_F(OpeningTest, FirstLookGivesWayToAFailureAnotherPictureOrClosing) {
  const std::string cat = Picture("cat.bmp", 6, 4);
  const std::string photo = LargeJpeg();
  app::MainWindow& w = Open();
  OpenPicture(cat);
  const QImage before = w.sourceImage();
  // The file breaks between the first look and the whole reading.
  w.setSourceReadHookForTesting([&photo](const std::atomic<bool>&) { WriteText(photo, "gone"); });
  OpenPicture(photo);
  ASSERT_TRUE(WaitUntil([&] { return !prompter.warnings.isEmpty(); }));
  EXPECT_TRUE(prompter.warnings[0].startsWith(Q(photo) + U("が開けません。")));
  EXPECT_EQ(w.sourceImage(), before);
  EXPECT_EQ(w.sourcePath(), cat);
  EXPECT_EQ(w.windowLayout().SourceWidthPx(), 6);

  LargeJpeg();
  GateHolder held;
  w.setSourceReadHookForTesting(HoldReading(held.gate));
  OpenPicture(photo);
  OpenPicture(cat);
  EXPECT_EQ(w.sourceImage(), before);
  OpenPicture(photo);
  w.close();
  ProcessPostedEvents();
  EXPECT_EQ(prompter.warnings.size(), 1);
  EXPECT_EQ(w.recentFiles(), (base::RecentList{cat, "", ""}));
}

}  // namespace
}  // namespace kinetta::test
