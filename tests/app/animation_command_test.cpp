// The animation-file command through the main window: its one dialog, real GIF and WebP files
// made from a run's frames on the worker thread, the guards while a file is being made, abort,
// memory running out, and closing the window meanwhile.
#include <QImageReader>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <atomic>
#include <chrono>
#include <new>
#include <set>
#include <thread>

#include "app/main_window_fixture.h"
#include "base/number_text.h"
#include "export/animation_dialog.h"

namespace kinetta::test {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// The settings file: the plane, frames as wide as the source height, `frames` frames.
std::string PlaneSettings(int frames) {
  auto line = [](int v) { return base::NumberText(v) + "\r\n"; };
  return line(0) + line(1) + line(100) + line(0) + line(frames) + line(0) + "\r\n\r\n\r\n";
}

// Holds the writer at encoded frame 1 until the abort flag is set (by the abort button or by
// the window closing), so what happens meanwhile does not depend on timing.
struct HoldUntilAborted {
  std::shared_ptr<std::atomic<bool>> reached = std::make_shared<std::atomic<bool>>(false);
  std::function<void(int, int, const std::atomic<bool>&)> Hook() const {
    return [r = reached](int done, int total, const std::atomic<bool>& abort) {
      if (total == 0 || done != 1) return;
      *r = true;
      while (!abort) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
  }
};

class AnimationCommandTest : public MainWindowTest {
 protected:
  QAction* Command() { return Action("animationFileAction"); }

  /// Opens pic.bmp (12 x 8) and renders `frames` plane frames of 8 x 8 beside it.
  void RenderFrames(int frames) {
    WriteSettingsFile(PlaneSettings(frames));
    const std::string path = Picture("pic.bmp", 12, 8);
    Open();
    OpenPicture(path);
    Trigger("executeAction");
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(window().statusText(), U("完了しました。"));
  }

  /// Chooses the command, the format and the save name, and presses OK.
  void Make(exporter::AnimationFormat format, const std::filesystem::path& target) {
    Command()->trigger();
    exporter::AnimationDialog* d = window().animationDialog();
    ASSERT_NE(d, nullptr);
    d->formatOption(format)->click();
    prompter.savePaths.push_back(QString::fromStdString(target.string()));
    d->okButton()->click();
  }

  /// The names in the picture folder.
  std::set<std::string> Names() {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(picDir())) {
      names.insert(e.path().filename().string());
    }
    return names;
  }
  std::set<std::string> FramesAnd(std::initializer_list<std::string> more, int frames) {
    std::set<std::string> names{"pic.bmp"};
    for (int k = 0; k < frames; ++k) names.insert("pic0" + std::to_string(k) + ".bmp");
    names.insert(more);
    return names;
  }
};

TEST_F(AnimationCommandTest, CommandNeedsAPictureAndOpensOneDialog) {
  app::MainWindow& w = Open();
  ASSERT_NE(Command(), nullptr);
  EXPECT_EQ(Command()->text(), U("アニメーションファイル作成(&G)"));
  Command()->trigger();
  EXPECT_EQ(prompter.warnings, QStringList{U("原画を先に開いてください。")});
  EXPECT_EQ(w.animationDialog(), nullptr);

  OpenPicture(Picture("p.bmp", 6, 4));
  Command()->trigger();
  exporter::AnimationDialog* dialog = w.animationDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  Command()->trigger();
  EXPECT_EQ(w.animationDialog(), dialog);
  EXPECT_EQ(w.findChildren<exporter::AnimationDialog*>().size(), 1);
  // Without frames OK says so and asks for no file.
  dialog->okButton()->click();
  EXPECT_EQ(prompter.warnings.back(), U("変換の実行を先に行ってください。"));
  EXPECT_EQ(prompter.saveCalls, 0);
}

TEST_F(AnimationCommandTest, GifFromTheRunsFramesEndsComplete) {
  RenderFrames(3);
  app::MainWindow& w = window();
  Make(exporter::AnimationFormat::Gif, picDir() / "walk");
  EXPECT_EQ(prompter.saveProposed, QString::fromStdString((picDir() / "pic.gif").string()));
  // Closed once the file is under way.
  EXPECT_TRUE(WaitUntil([&] { return w.animationDialog() == nullptr; }));
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(prompter.warnings.empty());
  EXPECT_EQ(w.statusText(), U("完了しました。"));
  EXPECT_TRUE(AbortButton()->isHidden());
  EXPECT_TRUE(w.progressBar()->isHidden());

  // The typed name got the extension; nothing else was left in the folder.
  EXPECT_EQ(Names(), FramesAnd({"walk.gif"}, 3));
  const std::string bytes = FileText(picDir() / "walk.gif");
  EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
  // A decoder sees the three 8 x 8 frames; frame 0 is the source's left 8 columns, whose
  // colours are pixel (x, y) -> (x, y, 0): so few colours go into the palette as they are.
  QImageReader reader(QString::fromStdString((picDir() / "walk.gif").string()));
  EXPECT_EQ(reader.imageCount(), 3);
  EXPECT_EQ(reader.size(), QSize(8, 8));
  const QImage first = reader.read();
  ASSERT_FALSE(first.isNull());
  for (const QPoint p : {QPoint(0, 0), QPoint(7, 0), QPoint(0, 7), QPoint(7, 5)}) {
    const QRgb c = first.pixel(p);
    EXPECT_EQ(qRed(c), p.x()) << p.x() << "," << p.y();
    EXPECT_EQ(qGreen(c), p.y()) << p.x() << "," << p.y();
    EXPECT_EQ(qBlue(c), 0) << p.x() << "," << p.y();
  }
}

TEST_F(AnimationCommandTest, WebPFromTheRunsFramesEndsComplete) {
  RenderFrames(2);
  app::MainWindow& w = window();
  Make(exporter::AnimationFormat::WebP, picDir() / "pic.webp");
  EXPECT_EQ(prompter.saveProposed, QString::fromStdString((picDir() / "pic.webp").string()));
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(prompter.warnings.empty());
  EXPECT_EQ(w.statusText(), U("完了しました。"));
  EXPECT_EQ(Names(), FramesAnd({"pic.webp"}, 2));
  const std::string bytes = FileText(picDir() / "pic.webp");
  ASSERT_GE(bytes.size(), 30u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 4), "WEBP");
  // The RIFF size counts everything after its own field.
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  EXPECT_EQ(byte(4) | byte(5) << 8 | byte(6) << 16 | byte(7) << 24, bytes.size() - 8);
  // An animation carries the extended header, with the canvas size less one: 8 x 8 -> 7, 7.
  EXPECT_EQ(bytes.substr(12, 4), "VP8X");
  EXPECT_EQ(byte(24) | byte(25) << 8 | byte(26) << 16, 7);
  EXPECT_EQ(byte(27) | byte(28) << 8 | byte(29) << 16, 7);
}

// The size chosen for one file is offered again for the next.
TEST_F(AnimationCommandTest, SizeChosenIsOfferedAgain) {
  RenderFrames(2);
  app::MainWindow& w = window();
  Command()->trigger();
  w.animationDialog()->SetMaxSide(720);
  prompter.savePaths.push_back(QString::fromStdString((picDir() / "pic.gif").string()));
  w.animationDialog()->okButton()->click();
  EXPECT_TRUE(WaitUntil([&] { return w.animationDialog() == nullptr; }));
  ASSERT_TRUE(WaitIdle());
  Command()->trigger();
  ASSERT_NE(w.animationDialog(), nullptr);
  EXPECT_EQ(w.animationDialog()->maxSide(), 720);
}

TEST_F(AnimationCommandTest, GuardsHoldAndAbortLeavesTheOldFileUntouched) {
  RenderFrames(4);
  app::MainWindow& w = window();
  const std::filesystem::path target = picDir() / "pic.gif";
  WriteText(target, "an older file");
  HoldUntilAborted hold;
  w.setAnimationProgressHookForTesting(hold.Hook());
  Make(exporter::AnimationFormat::Gif, target);
  ASSERT_TRUE(WaitUntil([&] { return hold.reached->load(); }));
  EXPECT_EQ(w.activity(), app::Activity::MakingAnimation);
  EXPECT_EQ(w.statusText(), U("アニメーションファイル作成中"));
  EXPECT_FALSE(AbortButton()->isHidden());
  EXPECT_FALSE(w.progressBar()->isHidden());
  // The encoding pass has reported frame 1 of 4 by now.
  ASSERT_TRUE(WaitUntil([&] { return w.progressBar()->maximum() == 4; }));
  EXPECT_EQ(w.progressBar()->value(), 1);
  EXPECT_EQ(w.progressBar()->text(), QStringLiteral("1 / 4"));

  // Execute and Preview are refused; a second animation command is ignored.
  Trigger("executeAction");
  Trigger("previewAction");
  EXPECT_EQ(prompter.warnings, (QStringList{U("アニメーションファイル作成中です"),
                                            U("アニメーションファイル作成中です")}));
  EXPECT_TRUE(prompter.questions.empty());
  Command()->trigger();
  EXPECT_EQ(w.animationDialog(), nullptr);
  EXPECT_EQ(prompter.warnings.size(), 2);
  EXPECT_EQ(w.statusText(), U("アニメーションファイル作成中"));

  AbortButton()->click();
  EXPECT_TRUE(AbortButton()->isHidden());
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("中断しました。"));
  EXPECT_TRUE(w.progressBar()->isHidden());
  EXPECT_EQ(prompter.warnings.size(), 2);
  EXPECT_EQ(FileText(target), "an older file");
  EXPECT_EQ(Names(), FramesAnd({"pic.gif"}, 4));

  // Idle again: the next file is made, and the bar counts a run's frames as before.
  w.setAnimationProgressHookForTesting({});
  Make(exporter::AnimationFormat::Gif, target);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("完了しました。"));
  EXPECT_EQ(FileText(target).substr(0, 6), "GIF89a");
  EXPECT_EQ(w.progressBar()->format(), QStringLiteral("%v / %m"));
}

TEST_F(AnimationCommandTest, RunOrPreviewUnderWayRefusesTheCommand) {
  RenderFrames(2);
  app::MainWindow& w = window();
  Trigger("previewAction");
  ASSERT_EQ(w.activity(), app::Activity::Previewing);
  Command()->trigger();
  EXPECT_EQ(prompter.warnings, QStringList{U("プレビュー中です")});
  EXPECT_EQ(w.animationDialog(), nullptr);
  AbortButton()->click();
  ASSERT_TRUE(WaitIdle());
  // The dialog opened while idle refuses its OK once a preview plays, before the save dialog.
  Command()->trigger();
  ASSERT_NE(w.animationDialog(), nullptr);
  Trigger("previewAction");
  w.animationDialog()->okButton()->click();
  EXPECT_EQ(prompter.warnings.back(), U("プレビュー中です"));
  EXPECT_EQ(prompter.saveCalls, 0);
  EXPECT_NE(w.animationDialog(), nullptr);
}

TEST_F(AnimationCommandTest, FileThatCannotBeWrittenIsReported) {
  RenderFrames(2);
  app::MainWindow& w = window();
  const std::filesystem::path target = picDir() / "missing" / "pic.gif";
  Make(exporter::AnimationFormat::Gif, target);
  ASSERT_TRUE(WaitIdle());
  ASSERT_EQ(prompter.warnings.size(), 1);
  EXPECT_TRUE(prompter.warnings[0].startsWith(U("アニメーションファイルを作成できませんでした。")))
      << prompter.warnings[0].toStdString();
  EXPECT_EQ(w.statusText(), U("中断しました。"));
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(Names(), FramesAnd({}, 2));
}

// Memory running out while the file is encoded ends it as failed with the message, instead of
// ending the program, and leaves neither the file nor a temporary one.
TEST_F(AnimationCommandTest, FileThatRunsOutOfMemoryIsReportedAndLeavesNoFile) {
  RenderFrames(3);
  app::MainWindow& w = window();
  w.setAnimationProgressHookForTesting([](int done, int total, const std::atomic<bool>&) {
    if (total > 0 && done == 1) throw std::bad_alloc();
  });
  Make(exporter::AnimationFormat::Gif, picDir() / "pic.gif");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(w.statusText(), U("中断しました。"));
  EXPECT_EQ(prompter.warnings,
            QStringList{U("アニメーションファイルを作成できませんでした。\nメモリが足りません。")});
  EXPECT_EQ(Names(), FramesAnd({}, 3));
}

TEST_F(AnimationCommandTest, ClosingWhileAFileIsMadeStopsItAndLeavesNoFile) {
  RenderFrames(3);
  app::MainWindow& w = window();
  HoldUntilAborted hold;
  w.setAnimationProgressHookForTesting(hold.Hook());
  Make(exporter::AnimationFormat::WebP, picDir() / "pic.webp");
  ASSERT_TRUE(WaitUntil([&] { return hold.reached->load(); }));
  bool unloaded = false;
  QObject::connect(&w, &app::MainWindow::unloaded, [&] { unloaded = true; });
  w.close();  // aborts, which releases the hold, and waits for the worker
  EXPECT_TRUE(unloaded);
  EXPECT_EQ(Names(), FramesAnd({}, 3));
}

}  // namespace
}  // namespace kinetta::test
