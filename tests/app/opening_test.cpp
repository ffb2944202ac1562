// Opening pictures as people expect: the open dialog starts in the last picture's folder, also
// after a restart; a file dropped on the window or named on the command line opens the way the
// open command opens it.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/main_window_fixture.h"

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
};

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

}  // namespace
}  // namespace kinetta::test
