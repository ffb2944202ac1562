// The main window: its menus and toolbar, the settings file and the placement it reads at load
// and writes at unload, the recent-file entries, and opening pictures.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

#include "app/main_window_fixture.h"
#include "base/gif_rule.h"
#include "export/export_dialog.h"
#include "image/frame_files.h"
#include "settings/settings_dialog.h"
#include "settings/settings_rules.h"
#include "ui_support/language.h"

namespace kinetta::test {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

QStringList Texts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* a : actions) texts << (a->isSeparator() ? QStringLiteral("--") : a->text());
  return texts;
}

QAction* ToolbarButton(app::MainWindow& w, const QString& key) {
  for (QAction* a : w.findChild<QToolBar*>(QStringLiteral("toolBar"))->actions()) {
    if (a->text() == key) return a;
  }
  ADD_FAILURE() << "no toolbar button " << key.toStdString();
  return nullptr;
}

// Which recent-file entries and whether the separator are shown.
std::vector<bool> RecentVisibility(app::MainWindow& w) {
  return {FindAction(w, "recentSeparator")->isVisible(),
          FindAction(w, "recentFileAction0")->isVisible(),
          FindAction(w, "recentFileAction1")->isVisible(),
          FindAction(w, "recentFileAction2")->isVisible()};
}

// ---- The window as built ---------------------------------------------------------------------

TEST_F(MainWindowTest, MenusToolbarAndControlsCarryTheirCaptions) {
  app::MainWindow& w = Open();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Kinetta"));
  EXPECT_EQ(Texts(w.menuBar()->actions()),
            (QStringList{U("ﾌｧｲﾙ(&F)"), U("設定"), U("実行"), U("プレビュー"), U("ﾍﾙﾌﾟ(&H)")}));
  const QMenu* file = w.findChild<QMenu*>(QStringLiteral("fileMenu"));
  EXPECT_EQ(Texts(file->actions()), (QStringList{U("開く(&O)..."),
                                                 U("表示用HTML作成(&H)"),
                                                 U("アニメーションファイル作成(&G)"),
                                                 U("終了(&X)"),
                                                 QStringLiteral("--"),
                                                 {},
                                                 {},
                                                 {}}));
  const QMenu* help = w.findChild<QMenu*>(QStringLiteral("helpMenu"));
  EXPECT_EQ(Texts(help->actions()), (QStringList{U("操作説明(&H)"), U("ﾊﾞｰｼﾞｮﾝ情報(&A)")}));

  const QToolBar* toolbar = w.findChild<QToolBar*>(QStringLiteral("toolBar"));
  EXPECT_EQ(Texts(toolbar->actions()),
            (QStringList{U("開く"), U("設定"), U("実行"), U("プレビュー")}));
  for (const QAction* a : toolbar->actions()) {
    EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
    EXPECT_EQ(a->icon().pixmap(16, 16).size(), QSize(16, 16));
  }

  EXPECT_EQ(w.findChild<QGroupBox*>(QStringLiteral("sourceFrame"))->title(), U("原画"));
  EXPECT_EQ(w.findChild<QGroupBox*>(QStringLiteral("canvasFrame"))->title(), U("プレビュー"));
  const QPushButton* abort = w.findChild<QPushButton*>(QStringLiteral("abortButton"));
  EXPECT_EQ(abort->text(), U("中止"));
  EXPECT_TRUE(abort->isHidden());
}

// The locale chooses the texts as the program's start does: English for English, Japanese as
// today for Japanese and the C locales; the menus, the settings dialog and a message alike.
TEST_F(MainWindowTest, TextsFollowTheLocale) {
  struct Row {
    const char* lang;
    QStringList menuBar, settingsFrames;
    QString noPicture;
  };
  const QStringList japaneseMenus{U("ﾌｧｲﾙ(&F)"), U("設定"), U("実行"), U("プレビュー"),
                                  U("ﾍﾙﾌﾟ(&H)")};
  const QStringList japaneseFrames{U("形状"), U("背景色"), U("その他"), U("横幅"), U("こまの形式")};
  const QString japaneseWarning = U("原画を先に開いてください。");
  for (const Row& row : {Row{"en_US.UTF-8",
                             {"&File", "Settings", "Run", "Preview", "&Help"},
                             {"Shape", "Background colour", "Other", "Width", "Frame files"},
                             "Open a picture first."},
                         Row{"ja_JP.UTF-8", japaneseMenus, japaneseFrames, japaneseWarning},
                         Row{"C", japaneseMenus, japaneseFrames, japaneseWarning},
                         Row{"C.UTF-8", japaneseMenus, japaneseFrames, japaneseWarning}}) {
    const ui::Language language = base::ChooseLanguage(
        [&](const char* name) { return std::string_view(name) == "LANG" ? row.lang : nullptr; });
    const auto texts = ui::InstallLanguage(language, QStringLiteral(KINETTA_APP_DIR));
    prompter.warnings.clear();
    app::MainWindow& w = Open();
    EXPECT_EQ(Texts(w.menuBar()->actions()), row.menuBar) << row.lang;
    Trigger("settingsAction");
    const auto* dialog = w.findChild<settings::SettingsDialog*>();
    ASSERT_NE(dialog, nullptr);
    QStringList frames;
    for (const QGroupBox* box : dialog->findChildren<QGroupBox*>()) frames << box->title();
    EXPECT_EQ(frames, row.settingsFrames) << row.lang;
    // The shape shown is one the dialog knows by that name.
    const auto* shapeBox = dialog->findChild<QComboBox*>(QStringLiteral("shapeBox"));
    EXPECT_EQ(settings::ShapeIndexOf(shapeBox->currentText()), 0) << row.lang;
    Trigger("animationFileAction");
    EXPECT_EQ(prompter.warnings, QStringList{row.noPicture}) << row.lang;
  }
}

// ---- Settings file ---------------------------------------------------------------------------

TEST_F(MainWindowTest, NoSettingsFileStartsWithDefaultsAndExitWritesNineLines) {
  app::MainWindow& w = Open();
  EXPECT_EQ(w.settings(), base::Settings{});
  EXPECT_EQ(w.recentFiles(), (base::RecentList{"", "", ""}));
  FindAction(w, "exitAction")->trigger();
  EXPECT_EQ(FileText(appDir() / "mivet.ini"), " 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n\r\n\r\n\r\n");
}

TEST_F(MainWindowTest, SettingsFileRoundTripsThroughTheWindow) {
  const std::string text =
      " 2\r\n 0\r\n 250\r\n 16777215\r\n 12\r\n 0\r\n/pics/a b.jpg\r\n\r\n/pics/x&y.bmp\r\n";
  WriteSettingsFile(text);
  app::MainWindow& w = Open();
  EXPECT_EQ(w.settings(), (base::Settings{2, 0, 250, 16777215, 12, 0}));
  EXPECT_EQ(w.recentFiles(), (base::RecentList{"/pics/a b.jpg", "", "/pics/x&y.bmp"}));
  EXPECT_EQ(RecentVisibility(w), (std::vector<bool>{true, true, false, true}));
  EXPECT_EQ(FindAction(w, "recentFileAction0")->text(), QStringLiteral("/pics/a b.jpg"));
  // An ampersand in a path is shown, not taken as an access key.
  EXPECT_EQ(FindAction(w, "recentFileAction2")->text(), QStringLiteral("/pics/x&&y.bmp"));
  w.close();
  EXPECT_EQ(FileText(appDir() / "mivet.ini"), text);
}

TEST_F(MainWindowTest, EmptyFirstRecentLineShowsOnlyTheSecondEntryAndTheSeparator) {
  WriteSettingsFile(" 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n\r\n/pics/y.bmp\r\n\r\n");
  app::MainWindow& w = Open();
  EXPECT_EQ(RecentVisibility(w), (std::vector<bool>{true, false, true, false}));
}

TEST_F(MainWindowTest, UnwritableSettingsFileDoesNotStopTheEnd) {
  app::MainWindow& w = Open();
  // A folder in the settings file's place cannot be replaced by a file.
  std::filesystem::create_directories(appDir() / "mivet.ini" / "x");
  bool unloaded = false;
  QObject::connect(&w, &app::MainWindow::unloaded, [&] { unloaded = true; });
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(unloaded);
  // The placement is still stored.
  EXPECT_TRUE(store().contains(QStringLiteral("Settings/MainLeft")));
}

// ---- Placement -------------------------------------------------------------------------------

TEST_F(MainWindowTest, EmptyStoreGivesTheDefaultPlacement) {
  app::MainWindow& w = Open();
  ASSERT_EQ(w.windowLayout().twipsPerPixel().x, 15);  // 96 dots per inch offscreen
  // 1000 / 15 = 66.7 -> 67, 4900 / 15 = 326.7 -> 327, 4500 / 15 = 300.
  EXPECT_EQ(w.pos(), QPoint(67, 67));
  EXPECT_TRUE(HasDefaultSize());
}

TEST_F(MainWindowTest, StoredPlacementIsRestoredAndWrittenBackInTwips) {
  store().setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("1500"));
  store().setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("750"));
  store().setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("7500"));
  store().setValue(QStringLiteral("Settings/MainHeight"), QStringLiteral("6000"));
  app::MainWindow& w = Open();
  EXPECT_EQ(w.pos(), QPoint(100, 50));
  EXPECT_EQ(w.size(), QSize(500, 400));
  w.move(20, 30);
  w.resize(420, 360);
  w.close();
  EXPECT_EQ(store().value(QStringLiteral("Settings/MainLeft")).toString(), QStringLiteral("300"));
  EXPECT_EQ(store().value(QStringLiteral("Settings/MainTop")).toString(), QStringLiteral("450"));
  EXPECT_EQ(store().value(QStringLiteral("Settings/MainWidth")).toString(), QStringLiteral("6300"));
  EXPECT_EQ(store().value(QStringLiteral("Settings/MainHeight")).toString(),
            QStringLiteral("5400"));
}

TEST_F(MainWindowTest, StoredValueThatIsNoNumberTakesItsDefault) {
  store().setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("left"));
  store().setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("750"));
  app::MainWindow& w = Open();
  EXPECT_EQ(w.pos(), QPoint(67, 50));
  EXPECT_TRUE(HasDefaultSize());
}

TEST_F(MainWindowTest, PlacementOffEveryScreenFallsBackToTheDefault) {
  store().setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("900000"));
  store().setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("750"));
  store().setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("7500"));
  app::MainWindow& w = Open();
  EXPECT_EQ(w.pos(), QPoint(67, 67));
  EXPECT_TRUE(HasDefaultSize());
}

TEST_F(MainWindowTest, MinimizedWindowKeepsTheStoredPlacement) {
  store().setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("1500"));
  app::MainWindow& w = Open();
  w.move(200, 200);
  w.setWindowState(Qt::WindowMinimized);
  w.close();
  EXPECT_EQ(store().value(QStringLiteral("Settings/MainLeft")).toString(), QStringLiteral("1500"));
  EXPECT_FALSE(store().contains(QStringLiteral("Settings/MainWidth")));
  // The settings file is written all the same.
  EXPECT_TRUE(std::filesystem::exists(appDir() / "mivet.ini"));
}

// ---- Opening pictures ------------------------------------------------------------------------

TEST_F(MainWindowTest, OpenDialogOffersThePictureFilterFirst) {
  app::MainWindow& w = Open();
  Trigger("openAction");  // cancelled
  EXPECT_EQ(prompter.openTitle, U("開く"));
  EXPECT_EQ(prompter.openFilters,
            (QStringList{U("画像ファイル (*.bmp *.jpg *.jpeg *.png *.webp *.heic *.heif *.avif "
                           "*.BMP *.JPG *.JPEG *.PNG *.WEBP *.HEIC *.HEIF *.AVIF)"),
                         U("すべてのﾌｧｲﾙ (*.*)")}));
  EXPECT_EQ(w.statusText(), QString());
  EXPECT_TRUE(prompter.warnings.empty());
  EXPECT_EQ(w.sourcePath(), "");
}

TEST_F(MainWindowTest, MarkerFileAddsGifToTheFilter) {
  WriteText(appDir() / "gifsw", "");
  Open(base::GifSupportFromMarker(appDir()));
  Trigger("openAction");
  EXPECT_EQ(prompter.openFilters,
            (QStringList{U("画像ファイル (*.bmp *.gif *.jpg *.jpeg *.png *.webp *.heic *.heif "
                           "*.avif *.BMP *.GIF *.JPG *.JPEG *.PNG *.WEBP *.HEIC *.HEIF *.AVIF)"),
                         U("すべてのﾌｧｲﾙ (*.*)")}));
  EXPECT_FALSE(base::GifSupportFromMarker(picDir()));
}

// A 2 x 1 GIF: a white and a black pixel (two-colour table: black, white; pixels 1, 0).
const unsigned char kTinyGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x01, 0x00, 0xf0,
                                  0x01, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0x21, 0xf9, 0x04,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02,
                                  0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x0c, 0x0a, 0x00, 0x3b};

std::string TinyGif() {
  return std::string(reinterpret_cast<const char*>(kTinyGif), sizeof kTinyGif);
}

TEST_F(MainWindowTest, GifIsRefusedWithoutTheMarkerByTheNamesOwnExtension) {
  for (const char* name : {"anim.GIF", "anim.gif", "a.b.gif"}) {
    WriteText(picDir() / name, TinyGif());
  }
  std::filesystem::create_directories(picDir() / "my.gif");
  const std::string notGif = Picture("my.gif/pic.bmp", 4, 3);
  app::MainWindow& w = Open();
  for (const char* name : {"anim.GIF", "anim.gif", "a.b.gif"}) {
    OpenPicture((picDir() / name).string());
  }
  EXPECT_EQ(prompter.warnings, QStringList(3, U("この画像形式には対応していません。")));
  EXPECT_EQ(w.sourcePath(), "");
  EXPECT_EQ(w.statusText(), QString());
  // A folder named like a GIF does not make its pictures GIFs.
  OpenPicture(notGif);
  EXPECT_EQ(w.sourcePath(), notGif);
}

TEST_F(MainWindowTest, GifLoadsWithTheMarker) {
  const std::filesystem::path gif = picDir() / "anim.gif";
  WriteText(gif, TinyGif());
  app::MainWindow& w = Open(true);
  OpenPicture(gif.string());
  EXPECT_TRUE(prompter.warnings.empty()) << prompter.warnings.front().toStdString();
  EXPECT_EQ(w.sourcePath(), gif.string());
  EXPECT_EQ(w.sourceImage().size(), QSize(2, 1));
  EXPECT_EQ(w.sourceImage().pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(w.sourceImage().pixel(1, 0), qRgb(0, 0, 0));
}

// A picture with transparency shows over the background colour, and again over a new one chosen
// in the settings; T is transparent, H red at opacity 128.
TEST_F(MainWindowTest, TransparentPictureFollowsTheBackground) {
  const std::filesystem::path path = picDir() / "see-through.png";
  std::filesystem::copy_file(std::string(KINETTA_TEST_DATA) + "/png-rgba.png", path);
  WriteSettingsFile(" 1\r\n 1\r\n 100\r\n 65280\r\n 10\r\n 1\r\n\r\n\r\n\r\n");  // disk, green
  app::MainWindow& w = Open();
  OpenPicture(path.string());
  ASSERT_EQ(w.sourceImage().size(), QSize(5, 3));
  EXPECT_EQ(w.sourceImage().pixel(0, 1), qRgb(0, 255, 0));
  prompter.colourAnswers = {QColor(255, 255, 255)};
  Trigger("settingsAction");
  auto* dialog = w.findChild<settings::SettingsDialog*>();
  dialog->activateWindow();  // the dialog fills its controls from the settings
  WaitUntil([dialog] { return QApplication::activeWindow() == dialog; }, 5000);
  dialog->findChild<QPushButton*>(QStringLiteral("colourButton"))->click();
  dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
  EXPECT_EQ(w.sourceImage().pixel(0, 1), qRgb(255, 255, 255));
  EXPECT_EQ(w.sourceImage().pixel(2, 1), qRgb(255, 127, 127));
  EXPECT_EQ(w.sourceImage().pixel(1, 1), qRgb(255, 0, 0));
  // With a clear background the picture keeps its own transparency, to be shown over the board.
  Trigger("settingsAction");
  dialog = w.findChild<settings::SettingsDialog*>();
  dialog->findChild<QCheckBox*>(QStringLiteral("transparentBox"))->click();
  dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
  EXPECT_EQ(w.sourceImage().pixelColor(0, 1).alpha(), 0);
  EXPECT_EQ(w.sourceImage().pixelColor(2, 1), QColor(255, 0, 0, 128));
  EXPECT_EQ(w.sourceImage().pixelColor(1, 1), QColor(255, 0, 0));
  const QImage box = w.findChild<QWidget*>(QStringLiteral("sourcePicture"))->grab().toImage();
  EXPECT_EQ(box.pixel(0, 1), qRgb(204, 204, 204));
}

TEST_F(MainWindowTest, LoadedPictureSetsTheSourceSizeAndFillsTheRecentList) {
  const std::string path = Picture("cat.bmp", 30, 20);
  app::MainWindow& w = Open();
  OpenPicture(path);
  EXPECT_EQ(w.sourcePath(), path);
  EXPECT_EQ(w.statusText(), QString());
  const app::WindowLayout& l = w.windowLayout();
  EXPECT_EQ(l.SourceWidthPx(), 30);
  EXPECT_EQ(l.SourceHeightPx(), 20);
  EXPECT_EQ(l.SourceWidthTwips(), 450);
  EXPECT_EQ(l.SourceHeightTwips(), 300);
  EXPECT_EQ(l.SourceFrame().width, 930);
  EXPECT_EQ(l.CanvasFrame().top, 480 + 900 + 120);
  // The picture box takes the picture's size in pixels.
  EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("sourcePicture"))->size(), QSize(30, 20));
  EXPECT_EQ(w.sourceImage().pixel(29, 19), qRgb(29, 19, 0));
  EXPECT_EQ(w.recentFiles(), (base::RecentList{path, "", ""}));
  // The entry is shown; the separator is shown only at load.
  EXPECT_EQ(RecentVisibility(w), (std::vector<bool>{false, true, false, false}));
}

TEST_F(MainWindowTest, PicturesBeyondSixteenBitTwipsOpen) {
  const std::string path = Picture("wide.bmp", 2200, 3);
  app::MainWindow& w = Open();
  OpenPicture(path);
  EXPECT_EQ(w.windowLayout().SourceWidthPx(), 2200);
  EXPECT_EQ(w.windowLayout().SourceWidthTwips(), 33000);
}

TEST_F(MainWindowTest, RecentListFollowsTheOpenedPictures) {
  const std::string x = Picture("x.bmp", 2, 2), y = Picture("y.bmp", 2, 2),
                    z = Picture("z.bmp", 2, 2), n = Picture("n.bmp", 2, 2);
  WriteSettingsFile(" 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n" + x + "\r\n" + y + "\r\n" + z +
                    "\r\n");
  app::MainWindow& w = Open();
  FindAction(w, "recentFileAction1")->trigger();  // y
  EXPECT_EQ(w.recentFiles(), (base::RecentList{y, x, z}));
  EXPECT_EQ(FindAction(w, "recentFileAction0")->text(), QString::fromStdString(y));
  FindAction(w, "recentFileAction2")->trigger();  // z
  EXPECT_EQ(w.recentFiles(), (base::RecentList{z, y, x}));
  FindAction(w, "recentFileAction0")->trigger();  // z again: no change
  EXPECT_EQ(w.recentFiles(), (base::RecentList{z, y, x}));
  OpenPicture(n);
  EXPECT_EQ(w.recentFiles(), (base::RecentList{n, z, y}));
  EXPECT_EQ(w.sourcePath(), n);
  // The recent-file command asks nothing.
  EXPECT_EQ(prompter.openCalls, 1);
  w.close();
  EXPECT_EQ(FileText(appDir() / "mivet.ini"),
            " 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n" + n + "\r\n" + z + "\r\n" + y + "\r\n");
}

// A recent entry in mivet.ini is the name's bytes: a Latin-1 name, which is not UTF-8, loads,
// and its caption shows the name as the file system's names are decoded.
TEST_F(MainWindowTest, RecentPictureNamedInAnyEncodingLoads) {
  const std::string latin1 = Picture("caf\xE9.bmp", 3, 2);
  WriteSettingsFile(" 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n" + latin1 + "\r\n\r\n\r\n");
  app::MainWindow& w = Open();
  EXPECT_EQ(FindAction(w, "recentFileAction0")->text(),
            QFile::decodeName(QByteArray::fromStdString(latin1)));
  FindAction(w, "recentFileAction0")->trigger();
  EXPECT_TRUE(prompter.warnings.empty()) << prompter.warnings.join('\n').toStdString();
  EXPECT_EQ(w.sourcePath(), latin1);
}

TEST_F(MainWindowTest, UnreadablePictureKeepsPictureListAndPath) {
  const std::string good = Picture("good.bmp", 5, 4);
  const std::string gone = (picDir() / "gone.bmp").string();
  WriteSettingsFile(" 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n" + gone + "\r\n\r\n\r\n");
  app::MainWindow& w = Open();
  OpenPicture(good);
  FindAction(w, "recentFileAction1")->trigger();  // the deleted file
  EXPECT_EQ(prompter.warnings,
            QStringList{QString::fromStdString(gone) +
                        U("が開けません。\n（ファイルまたはフォルダが見つかりません）")});
  EXPECT_EQ(w.recentFiles(), (base::RecentList{good, gone, ""}));
  // The window still shows the good picture, and the frames, preview and page keep naming it.
  EXPECT_EQ(w.sourcePath(), good);
  EXPECT_EQ(w.sourceImage().size(), QSize(5, 4));
}

TEST_F(MainWindowTest, NothingOpenYetAndAFailedLoadLeavesNoPicture) {
  app::MainWindow& w = Open();
  OpenPicture((picDir() / "missing.jpg").string());
  EXPECT_EQ(w.sourcePath(), "");
  // Execute then asks for a picture instead of running on nothing.
  prompter.warnings.clear();
  Trigger("executeAction");
  EXPECT_EQ(prompter.warnings, QStringList{U("原画を先に開いてください。")});
}

// ---- Toolbar and menu run the same commands --------------------------------------------------

struct ToolbarCase {
  const char* key;
  const char* menu;
};

class ToolbarMappingTest : public MainWindowTest, public testing::WithParamInterface<ToolbarCase> {
 protected:
  // What the scripted prompter saw after one command on a window with a 301 x 301 picture and
  // no frames.
  QStringList Observe(QAction* (*pick)(app::MainWindow&, const ToolbarCase&)) {
    const std::string path = Picture("big.bmp", 301, 301);
    app::MainWindow& w = Open();
    OpenPicture(path);
    prompter.warnings.clear();
    prompter.questions.clear();
    prompter.answers = {false};  // Cancel the first warning
    const int opens = prompter.openCalls;
    pick(w, GetParam())->trigger();
    QStringList seen = prompter.warnings;
    seen << prompter.questions;
    seen.push_back(QStringLiteral("open dialogs: %1").arg(prompter.openCalls - opens));
    seen.push_back(QStringLiteral("status: ") + w.statusText());
    const auto* dialog = w.findChild<settings::SettingsDialog*>();
    seen.push_back(QStringLiteral("settings dialog: %1").arg(dialog && dialog->isVisible()));
    return seen;
  }
};

TEST_P(ToolbarMappingTest, ButtonDoesWhatItsMenuCommandDoes) {
  const QStringList viaToolbar = Observe([](app::MainWindow& w, const ToolbarCase& c) {
    return ToolbarButton(w, QString::fromUtf8(c.key));
  });
  const QStringList viaMenu =
      Observe([](app::MainWindow& w, const ToolbarCase& c) { return FindAction(w, c.menu); });
  EXPECT_EQ(viaToolbar, viaMenu);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ToolbarMappingTest,
                         testing::Values(ToolbarCase{"開く", "openAction"},
                                         ToolbarCase{"設定", "settingsAction"},
                                         ToolbarCase{"実行", "executeAction"},
                                         ToolbarCase{"プレビュー", "previewAction"}));

TEST_F(MainWindowTest, ToolbarButtonsHaveTheirOwnEffects) {
  const std::string path = Picture("big.bmp", 301, 301);
  app::MainWindow& w = Open();
  ToolbarButton(w, U("開く"))->trigger();
  EXPECT_EQ(prompter.openCalls, 1);
  OpenPicture(path);
  prompter.answers = {false};
  ToolbarButton(w, U("実行"))->trigger();
  EXPECT_EQ(prompter.questions,
            QStringList{U("原図が大きくて時間がかかります。\n実行を継続しますか？")});
  ToolbarButton(w, U("プレビュー"))->trigger();
  EXPECT_EQ(prompter.warnings, QStringList{U("変換の実行を先に行ってください。")});
  ToolbarButton(w, U("設定"))->trigger();
  ASSERT_NE(w.findChild<settings::SettingsDialog*>(), nullptr);
  EXPECT_TRUE(w.findChild<settings::SettingsDialog*>()->isVisible());
  // Choosing it again raises the same dialog.
  FindAction(w, "settingsAction")->trigger();
  EXPECT_EQ(w.findChildren<settings::SettingsDialog*>().size(), 1);
}

// The page plays the frames on the disk: those of the last run of its picture, at their size,
// whatever the preview frame shows and the frame count is now.
TEST_F(MainWindowTest, HtmlPageDeclaresTheFramesOnDisk) {
  app::MainWindow& w = Open();
  FindAction(w, "htmlPageAction")->trigger();
  EXPECT_EQ(prompter.warnings, QStringList{U("原画を先に開いてください。")});
  const std::string first = Picture("p.bmp", 6, 4);
  OpenPicture(first);
  for (int frames : {8, 5}) {
    WriteSettingsFile(SettingsText(0, 0, 1, frames));
    prompter.warnings.clear();
    Open();
    OpenPicture(first);
    FindAction(window(), "executeAction")->trigger();
    ASSERT_TRUE(WaitIdle());
  }
  WriteSettingsFile(SettingsText(0, 0, 1, 10));
  Open();
  OpenPicture(first);
  FindAction(window(), "htmlPageAction")->trigger();
  // One export dialog, raised again by a second choice; its OK writes the page there.
  exporter::ExportDialog* dialog = window().exportDialog();
  ASSERT_NE(dialog, nullptr);
  FindAction(window(), "htmlPageAction")->trigger();
  EXPECT_EQ(window().findChildren<exporter::ExportDialog*>().size(), 1);
  dialog->okButton()->click();
  const auto size = image::ReadDeclaredSize(picDir() / "p00.bmp").value_or(image::DeclaredSize{});
  const std::string page = FileText(picDir() / "animate.htm");
  const std::string applet = "width=" + base::NumberText(size.width) + " height=";
  EXPECT_NE(page.find(applet + base::NumberText(size.height) + ">"), std::string::npos) << page;
  EXPECT_NE(page.find("<param NAME='Count' value=' 4'>"), std::string::npos) << page;
}

// With an output folder the frames go there, named after the picture; a folder that cannot be
// written is said before any question and nothing is run.
TEST_F(MainWindowTest, FramesGoToTheOutputFolder) {
  const std::filesystem::path out = picDir() / "out";
  store().setValue(QStringLiteral("Settings/OutputFolder"),
                   QString::fromStdString((picDir() / "missing").string()));
  WriteSettingsFile(SettingsText(0, 0, 1, 50));  // 50 frames: a question when asked
  Open();
  OpenPicture(Picture("p.bmp", 6, 4));
  prompter.answers = {false};
  Trigger("executeAction");
  ASSERT_EQ(prompter.warnings.size(), 1);
  EXPECT_TRUE(prompter.warnings[0].startsWith(U("出力先のフォルダに書き込めません。")));
  EXPECT_TRUE(prompter.questions.isEmpty());

  std::filesystem::create_directories(out);
  store().setValue(QStringLiteral("Settings/OutputFolder"), QString::fromStdString(out.string()));
  Open();
  OpenPicture((picDir() / "p.bmp").string());
  prompter.answers = {true};
  Trigger("executeAction");
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(std::filesystem::exists(out / "p49.bmp"));
  EXPECT_FALSE(std::filesystem::exists(picDir() / "p00.bmp"));
}

}  // namespace
}  // namespace kinetta::test
