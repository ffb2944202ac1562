// The settings dialog driven like a user: activation fill, the shape table, the width option
// rule, the colour chooser, OK, Cancel and the keys that must not close it.
#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "event_wait.h"
#include "fake_prompter.h"
#include "render/motion_preview.h"
#include "settings/motion_preview_box.h"
#include "test_support.h"

namespace kinetta::settings {
namespace {

// Activates a window and lets the offscreen platform deliver the activation.
void Activate(QWidget* w) {
  w->show();
  w->activateWindow();
  test::WaitUntil([w] { return QApplication::activeWindow() == w; }, 5000);
  ASSERT_EQ(QApplication::activeWindow(), w);
}

class SettingsDialogTest : public testing::Test {
 protected:
  SettingsDialogTest() {
    settings.ShapeIndex = 0;
    settings.WidthMode = 2;
    settings.WidthValue = 100;
    settings.BackColor = 0x123456;
    settings.FrameCount = 12;
    settings.Shade3D = 1;
  }

  void Open() {
    dialog = std::make_unique<SettingsDialog>(
        settings, [this] { return source; }, ui::TwipsPerPixel{15, 15}, prompter, nullptr,
        [this] { return picture; });
    Activate(dialog.get());
  }
  template <class W>
  W* Get(const char* name) {
    W* w = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QComboBox* Combo() { return Get<QComboBox>("shapeBox"); }
  QRadioButton* Option(int i) {
    return Get<QRadioButton>(i == 0 ? "widthOption0" : i == 1 ? "widthOption1" : "widthOption2");
  }
  QLineEdit* Width() { return Get<QLineEdit>("widthBox"); }
  QLineEdit* Frames() { return Get<QLineEdit>("frameCountBox"); }
  QCheckBox* Switch() { return Get<QCheckBox>("switchBox"); }
  int Swatch() { return Get<QWidget>("swatch")->property("fillColour").toInt(); }
  void Pick(const char* entry) {
    const int i = Combo()->findText(QString::fromUtf8(entry));
    ASSERT_GE(i, 0) << entry;
    Combo()->setCurrentIndex(i);
    emit Combo()->activated(i);
  }
  void PressOk() { Get<QPushButton>("okButton")->click(); }
  MotionPreviewBox* Preview() { return Get<MotionPreviewBox>("PreviewBox"); }

  base::Settings settings;
  QSizeF source{0, 0};
  std::shared_ptr<const render::Surface> picture;
  test::FakePrompter prompter;
  std::unique_ptr<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, LayoutFromTwips) {
  Open();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("設定"));
  // 4890 x 3195 twips at 15, grown by the preview box (200 pixels inside its border) at the
  // right and its margin.
  const QRect box = Preview()->geometry();
  EXPECT_EQ(box.topLeft() + QPoint(Preview()->frameWidth(), Preview()->frameWidth()),
            QPoint(321, 8));
  EXPECT_EQ(Preview()->contentsRect().size(), QSize(200, 200));
  EXPECT_EQ(dialog->width(), box.right() + 1 + 13);
  EXPECT_GE(dialog->height(), std::max(213, box.bottom() + 1 + 13));
  // The line that says why OK refuses the values lies below the buttons, inside the form.
  const QRect problem = Get<QLabel>("problemLabel")->geometry();
  EXPECT_GT(problem.top(), Get<QPushButton>("okButton")->geometry().bottom());
  EXPECT_LE(problem.bottom(), dialog->height());
  // 2280, 2760, 1092, 375 twips: 152, 184, 72.8, 25
  EXPECT_EQ(Get<QPushButton>("okButton")->geometry(), QRect(152, 184, 73, 25));
  EXPECT_EQ(Get<QPushButton>("cancelButton")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  // The tab order: the left column and the right one downward, then OK and Cancel.
  QStringList chain;
  const QStringList names{"shapeBox",     "colourButton",   "transparentBox", "frameCountBox",
                          "switchBox",    "widthOption0",   "widthOption1",   "widthOption2",
                          "widthBox",     "frameFormatBox", "questionsBox",   "outputBox",
                          "outputButton", "okButton",       "cancelButton"};
  QWidget* w = Combo();
  for (int i = 0; i < 60 && chain.size() < names.size(); ++i, w = w->nextInFocusChain()) {
    if (names.contains(w->objectName())) chain << w->objectName();
  }
  EXPECT_EQ(chain, names);
}

// Every control lies inside the contents of its frame (below the caption, inside the border),
// and no two controls, and no two frames or buttons, overlap; only the colour button lies on
// the swatch, as designed. Run once more with QT_SCALE_FACTOR=1.5.
TEST_F(SettingsDialogTest, ControlsLieInsideTheirFramesAndApart) {
  Open();
  auto where = [](const QWidget* w) {
    const QRect r = w->geometry();
    return w->objectName().toStdString() + " at " + std::to_string(r.x()) + "," +
           std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
  };
  auto overlapsApart = [&](const QList<QWidget*>& items) {
    for (qsizetype i = 0; i < items.size(); ++i) {
      for (qsizetype j = i + 1; j < items.size(); ++j) {
        const bool buttonOnSwatch = items[i]->objectName() == QLatin1String("swatch") &&
                                    items[j]->objectName() == QLatin1String("colourButton");
        if (buttonOnSwatch) {
          EXPECT_TRUE(items[i]->geometry().contains(items[j]->geometry()))
              << where(items[j]) << " off " << where(items[i]);
        } else {
          EXPECT_FALSE(items[i]->geometry().intersects(items[j]->geometry()))
              << where(items[i]) << " overlaps " << where(items[j]);
        }
      }
    }
  };
  const QList<QWidget*> top = dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  // Five frames, OK, Cancel, the preview box, the questions' check box, the line that says why
  // OK refuses the values, and the output folder's caption, box and button.
  ASSERT_EQ(top.size(), 13);
  overlapsApart(top);
  int controls = 0;
  for (const QWidget* item : top) {
    EXPECT_TRUE(dialog->rect().contains(item->geometry())) << where(item);
    const auto* frame = qobject_cast<const QGroupBox*>(item);
    if (frame == nullptr) continue;
    const QList<QWidget*> inside =
        frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget* c : inside) {
      EXPECT_TRUE(frame->contentsRect().contains(c->geometry()))
          << where(c) << " outside the contents of " << frame->objectName().toStdString();
    }
    overlapsApart(inside);
    controls += static_cast<int>(inside.size());
  }
  EXPECT_EQ(controls, 13);
  // The second run is drawn at the scale asked for.
  if (const char* scale = std::getenv("QT_SCALE_FACTOR")) {
    EXPECT_DOUBLE_EQ(dialog->devicePixelRatioF(), std::atof(scale));
  }
}

TEST_F(SettingsDialogTest, ActivationFillAndWidthOptionRule) {
  settings.ShapeIndex = 3;
  settings.Shade3D = 0;
  Open();
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("円柱"));
  EXPECT_TRUE(Option(2)->isChecked());
  EXPECT_EQ(Width()->text(), QStringLiteral(" 100"));
  EXPECT_EQ(Frames()->text(), QStringLiteral(" 12"));
  EXPECT_FALSE(Switch()->isChecked());
  EXPECT_EQ(Swatch(), 0x123456);
  EXPECT_EQ(Get<QLabel>("sizeLabel")->text(), QString());  // no picture loaded
  Option(0)->click();
  EXPECT_EQ(Width()->text(), QString());
  Width()->setText(QStringLiteral("55"));
  Option(2)->click();
  EXPECT_EQ(Width()->text(), QStringLiteral("100"));  // the stored width, no blank
}

struct ShapeRow {
  const char* entry;
  bool opt0, opt1, opt2;
  int selected;
  bool widthShown;
  const char* widthText;
  bool colourButton;
  const char* colourCaption;
  bool switchEnabled;
  const char* switchCaption;
};

class ShapeTableTest : public SettingsDialogTest, public testing::WithParamInterface<ShapeRow> {};

// Starting from 平面 with 指定 selected and " 100" in the width box.
TEST_P(ShapeTableTest, PickingTheShapeSetsTheControls) {
  const ShapeRow r = GetParam();
  Open();
  Pick(r.entry);
  EXPECT_EQ(Option(0)->isEnabled(), r.opt0);
  EXPECT_EQ(Option(1)->isEnabled(), r.opt1);
  EXPECT_EQ(Option(2)->isEnabled(), r.opt2);
  EXPECT_TRUE(Option(r.selected)->isChecked());
  EXPECT_EQ(Width()->isVisibleTo(dialog.get()), r.widthShown);
  EXPECT_EQ(Width()->text(), QString::fromUtf8(r.widthText));
  EXPECT_EQ(Get<QPushButton>("colourButton")->isEnabled(), r.colourButton);
  EXPECT_EQ(Get<QGroupBox>("colourFrame")->title(), QString::fromUtf8(r.colourCaption));
  EXPECT_EQ(Switch()->isEnabled(), r.switchEnabled);
  EXPECT_EQ(Switch()->text(), QString::fromUtf8(r.switchCaption));
  EXPECT_TRUE(Switch()->isChecked());  // the switch's state is never changed
}

INSTANTIATE_TEST_SUITE_P(
    AllNine, ShapeTableTest,
    testing::Values(ShapeRow{"平面", 1, 1, 1, 2, true, " 100", false, "背景色", true, "３Ｄ"},
                    ShapeRow{"円盤", 1, 1, 1, 2, true, " 100", true, "背景色", false, "３Ｄ"},
                    ShapeRow{"球体", 0, 1, 0, 1, false, "", true, "背景色", true, "３Ｄ"},
                    ShapeRow{"円柱", 1, 1, 1, 2, true, " 100", false, "背景色", true, "３Ｄ"},
                    ShapeRow{"旗", 1, 0, 0, 0, false, "", true, "背景色", false, "３Ｄ"},
                    ShapeRow{"水面", 1, 0, 0, 0, false, "", true, "水の色", true, "水の色"},
                    ShapeRow{"表裏回転", 0, 0, 0, 2, false, "", true, "背景色", true, "３Ｄ"},
                    ShapeRow{"切抜き", 1, 0, 0, 0, false, "", true, "背景色", false, "３Ｄ"},
                    ShapeRow{"フェードイン", 1, 0, 0, 0, false, "", true, "背景色", true,
                             "ドット"}));

TEST_F(SettingsDialogTest, WaterRelabelsAndPlaneRestores) {
  Open();
  Pick("水面");
  Pick("平面");
  EXPECT_EQ(Get<QGroupBox>("colourFrame")->title(), QStringLiteral("背景色"));
  EXPECT_EQ(Switch()->text(), QStringLiteral("３Ｄ"));
  EXPECT_TRUE(Option(1)->isEnabled());
  EXPECT_TRUE(Width()->isVisibleTo(dialog.get()));
}

struct OkCase {
  int option;
  const char* width;
  const char* frames;
  int widthMode, widthValue, frameCount;
};

class OkReadingTest : public SettingsDialogTest, public testing::WithParamInterface<OkCase> {};

TEST_P(OkReadingTest, StoresAndCloses) {
  const OkCase c = GetParam();
  Open();
  Option(c.option)->click();
  Width()->setText(QString::fromUtf8(c.width));
  Frames()->setText(QString::fromUtf8(c.frames));
  PressOk();
  EXPECT_EQ(settings.WidthMode, c.widthMode);
  EXPECT_EQ(settings.WidthValue, c.widthValue);
  EXPECT_EQ(settings.FrameCount, c.frameCount);
  EXPECT_FALSE(dialog->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OkReadingTest,
    testing::Values(OkCase{2, "12.5", "8", 2, 12, 8}, OkCase{2, "13.5", "8", 2, 14, 8},
                    OkCase{2, "0", "8", 2, 1, 8}, OkCase{2, "-3", "8", 2, 1, 8},
                    OkCase{2, "1 2", "4\t0", 2, 12, 40}, OkCase{1, "", "3", 1, 1, 3},
                    OkCase{0, "", "2", 0, 1, 2}, OkCase{2, "7", "5", 2, 7, 5}));

// No frame to make, or a shape that is none of the nine: OK stays refused, the box is marked and
// the line below the form says why, without a message box. The shape box takes no other text.
TEST_F(SettingsDialogTest, ValuesThatMakeNoRunAreRefusedWhereTyped) {
  Open();
  const base::Settings before = settings;
  QLabel* problem = Get<QLabel>("problemLabel");
  Frames()->setText(QStringLiteral("0"));
  PressOk();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(problem->text(), QStringLiteral("こま数が 1 より小さく、こまができません。"));
  EXPECT_FALSE(Frames()->styleSheet().isEmpty());
  Frames()->setText(QStringLiteral("8"));
  EXPECT_TRUE(problem->text().isEmpty());
  EXPECT_TRUE(Frames()->styleSheet().isEmpty());
  Combo()->lineEdit()->clear();
  QTest::keyClicks(Combo()->lineEdit(), QStringLiteral("abc"));
  EXPECT_TRUE(Combo()->currentText().isEmpty());
  Combo()->lineEdit()->insert(QStringLiteral("円"));  // the start of two names, neither whole
  PressOk();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(problem->text(), QStringLiteral("一覧にない形状です。"));
  EXPECT_EQ(settings, before);
  EXPECT_TRUE(prompter.warnings.isEmpty());
}

TEST_F(SettingsDialogTest, SphereStoresSourceHeight) {
  Open();
  Pick("球体");
  PressOk();
  EXPECT_EQ(settings.ShapeIndex, 2);
  EXPECT_EQ(settings.WidthMode, 1);
  EXPECT_EQ(settings.WidthValue, 1);
}

TEST_F(SettingsDialogTest, FlipKeepsChosenWidthOptionButEmptiesTheBox) {
  Open();
  Pick("表裏回転");
  EXPECT_FALSE(Option(2)->isEnabled());
  PressOk();
  EXPECT_EQ(settings.ShapeIndex, 6);
  EXPECT_EQ(settings.WidthMode, 2);
  EXPECT_EQ(settings.WidthValue, 1);
}

TEST_F(SettingsDialogTest, CutOutHidesTheWidthBoxWithoutEmptyingIt) {
  settings.WidthMode = 0;
  Open();
  Width()->setText(QStringLiteral("77"));  // typed while 原画の幅 stays selected
  Pick("切抜き");
  EXPECT_FALSE(Width()->isVisibleTo(dialog.get()));
  PressOk();
  EXPECT_EQ(settings.WidthValue, 77);
}

TEST_F(SettingsDialogTest, SizeLabelFollowsTheSourceAtTheNextActivation) {
  Open();
  EXPECT_EQ(Get<QLabel>("sizeLabel")->text(), QString());
  QWidget main;
  Activate(&main);
  source = QSizeF(320, 240);
  Activate(dialog.get());
  EXPECT_EQ(Get<QLabel>("sizeLabel")->text(), QStringLiteral("(原図サイズ: 320X 240)"));
}

TEST_F(SettingsDialogTest, ReturningFromTheMainWindowRefillsButOwnPromptsDoNot) {
  settings.ShapeIndex = 1;  // the disk offers the colour button
  prompter.colourAnswers = {QColor(10, 20, 30)};
  Open();
  Get<QPushButton>("colourButton")->click();
  const int chosen = 10 + 256 * 20 + 65536 * 30;
  EXPECT_EQ(Swatch(), chosen);
  // A window of the dialog's own (as the colour chooser is) keeps the unconfirmed edits.
  QWidget own(dialog.get(), Qt::Window);
  Activate(&own);
  own.close();
  Activate(dialog.get());
  EXPECT_EQ(Swatch(), chosen);
  // Another window of the program loses them.
  Pick("球体");
  QWidget main;
  Activate(&main);
  Activate(dialog.get());
  EXPECT_EQ(Swatch(), 0x123456);
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("円盤"));
  EXPECT_TRUE(Option(2)->isChecked());
  EXPECT_TRUE(Option(0)->isEnabled());
}

TEST_F(SettingsDialogTest, ColourChooserStartsFromLastPickNotFromTheSwatch) {
  settings.ShapeIndex = 5;
  settings.BackColor = 0xFFFFFF;
  prompter.colourAnswers = {QColor(10, 20, 30), std::nullopt};
  Open();
  Get<QPushButton>("colourButton")->click();
  Get<QPushButton>("colourButton")->click();  // cancelled: the swatch keeps the first choice
  ASSERT_EQ(prompter.colourStarts.size(), 2);
  EXPECT_EQ(prompter.colourStarts[0], QColor(Qt::black));
  EXPECT_EQ(prompter.colourStarts[1], QColor(10, 20, 30));
  PressOk();
  EXPECT_EQ(settings.BackColor, 10 + 256 * 20 + 65536 * 30);
  EXPECT_TRUE(prompter.warnings.isEmpty());
}

TEST_F(SettingsDialogTest, OutOfRangeNumberIsRefusedAndTheDialogStays) {
  Open();
  const base::Settings before = settings;
  Width()->setText(QStringLiteral("40000"));
  PressOk();
  ASSERT_EQ(prompter.warnings.size(), 1);
  EXPECT_EQ(
      prompter.warnings[0],
      QStringLiteral("横幅の指定が範囲外です。-32768 から 32767 までの数を入力してください。"));
  Width()->setText(QStringLiteral("40"));
  Frames()->setText(QStringLiteral("-40000"));
  PressOk();
  ASSERT_EQ(prompter.warnings.size(), 2);
  EXPECT_EQ(prompter.warnings[1],
            QStringLiteral("こま数が範囲外です。-32768 から 32767 までの数を入力してください。"));
  EXPECT_EQ(settings, before);
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SettingsDialogTest, CancelStoresNothing) {
  Open();
  const base::Settings before = settings;
  Pick("水面");
  Frames()->setText(QStringLiteral("30"));
  Switch()->setChecked(false);
  Get<QPushButton>("cancelButton")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(settings, before);
}

TEST_F(SettingsDialogTest, ValuesOutsideTheirRangesFromAnEditedFile) {
  settings.ShapeIndex = 12;
  settings.WidthMode = 5;
  settings.Shade3D = 2;
  Open();
  EXPECT_EQ(Combo()->currentText(), QStringLiteral("平面"));  // the design-time text stays
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Option(i)->isChecked()) << i;
  EXPECT_EQ(Switch()->checkState(), Qt::PartiallyChecked);
  PressOk();
  EXPECT_EQ(settings.ShapeIndex, 0);  // OK stores the shape shown
  EXPECT_EQ(settings.WidthMode, 5);   // no option selected: the mode stays
  EXPECT_EQ(settings.Shade3D, 2);     // the grey switch keeps its value
}

// The switch shows 0 unchecked, 1 checked and any other value grey (the fade-in draws dots for
// it). OK stores back the value the dialog was given unless the user clicked the box: a click
// takes grey to checked, and later clicks toggle.
TEST_F(SettingsDialogTest, SwitchStoresItsValueUnlessClicked) {
  struct Case {
    int given, clicks;
    Qt::CheckState shown;
    int stored;
  };
  const Case cases[] = {
      {0, 0, Qt::Unchecked, 0}, {1, 0, Qt::Checked, 1},   {2, 0, Qt::PartiallyChecked, 2},
      {0, 1, Qt::Checked, 1},   {1, 1, Qt::Unchecked, 0}, {2, 1, Qt::Checked, 1},
      {2, 2, Qt::Unchecked, 0},
  };
  for (const Case& c : cases) {
    settings.ShapeIndex = 8;  // the fade-in, whose switch is enabled
    settings.Shade3D = c.given;
    Open();
    for (int i = 0; i < c.clicks; ++i) Switch()->click();
    EXPECT_EQ(Switch()->checkState(), c.shown) << c.given << ", " << c.clicks << " clicks";
    PressOk();
    EXPECT_EQ(settings.Shade3D, c.stored) << c.given << ", " << c.clicks << " clicks";
  }
}

// The clear background and the frame format show from the settings and are stored by OK; a
// clear background greys the swatch and its button, except for the water, whose colour is the
// reflection's tint.
TEST_F(SettingsDialogTest, ClearBackgroundAndFrameFormatRoundTrip) {
  using F = base::FrameFormat;
  const struct {
    int shape;
    bool clear, click;
    F format;
    int pick;  // the format list position picked, or -1
    bool swatchLive, buttonLive, storedClear;
    F stored;
  } cases[] = {{1, false, true, F::Auto, 2, false, false, true, F::Png},
               {1, true, true, F::Bmp, -1, true, true, false, F::Bmp},
               {5, true, false, F::Png, -1, true, true, true, F::Png},  // the water's tint
               {0, true, false, F::Auto, 1, false, false, true, F::Bmp}};
  for (const auto& c : cases) {
    settings.ShapeIndex = c.shape;
    settings.TransparentBack = c.clear;
    settings.FrameFiles = c.format;
    Open();
    auto* format = Get<QComboBox>("frameFormatBox");
    EXPECT_EQ(Get<QCheckBox>("transparentBox")->isChecked(), c.clear);
    EXPECT_EQ(format->currentText(),
              QStringList({"自動", "BMP", "PNG"})[static_cast<int>(c.format)]);
    if (c.click) Get<QCheckBox>("transparentBox")->click();
    if (c.pick >= 0) format->setCurrentIndex(c.pick);
    EXPECT_EQ(Get<QWidget>("swatch")->isEnabled(), c.swatchLive) << c.shape;
    EXPECT_EQ(Get<QPushButton>("colourButton")->isEnabled(), c.buttonLive) << c.shape;
    PressOk();
    EXPECT_EQ(settings.TransparentBack, c.storedClear) << c.shape;
    EXPECT_EQ(settings.FrameFiles, c.stored) << c.shape;
  }
}

// The preview plays the run's frames at the same fraction of the loop, drawn from the picture
// reduced so that the frame fits the box: a 400 x 200 plane in a box of 200 is drawn from the
// picture at 200 x 100, and 100 frames show as 60, place 30 being frame 50.
TEST_F(SettingsDialogTest, PreviewPlaysTheRunsFramesOfTheReducedPicture) {
  picture = std::make_shared<const render::Surface>(test::CoordinatePicture(400, 200));
  settings.WidthMode = 0;
  settings.FrameCount = 100;
  Open();
  ASSERT_TRUE(test::WaitUntil([&] { return Preview()->frames().size() == 60; }));
  const std::vector<render::Surface> run =
      test::RenderAll(render::Reduce(*picture, 200, 100), settings);
  for (const auto& [place, frame] : {std::pair{0, 0}, {30, 50}, {59, 98}}) {
    const QImage& shown = Preview()->frames()[static_cast<std::size_t>(place)];
    const render::Surface& expected = run[static_cast<std::size_t>(frame)];
    ASSERT_EQ(shown.size(), QSize(expected.width(), expected.height()));
    int wrong = 0;
    for (int y = 0; y < shown.height(); ++y) {
      for (int x = 0; x < shown.width(); ++x) {
        const QRgb c = shown.pixel(x, y);
        wrong += (qRed(c) + 256 * qGreen(c) + 65536 * qBlue(c)) != expected.Point(x, y);
      }
    }
    EXPECT_EQ(wrong, 0) << "place " << place << ", run frame " << frame;
  }
}

// An edit restarts the preview with the values in the controls, without storing them; a value
// the run would refuse shows a note instead of frames. Without a picture the test picture moves.
TEST_F(SettingsDialogTest, AnEditRestartsThePreviewWithTheNewValues) {
  Open();
  ASSERT_TRUE(test::WaitUntil([&] { return !Preview()->frames().empty(); }));
  EXPECT_EQ(Preview()->shownSettings().ShapeIndex, 0);
  Pick("旗");
  ASSERT_TRUE(test::WaitUntil(
      [&] { return Preview()->shownSettings().ShapeIndex == 4 && !Preview()->frames().empty(); }));
  // The flag of the 160 x 120 test picture: 168 x 132.
  EXPECT_EQ(Preview()->frames()[0].size(), QSize(168, 132));
  Frames()->setText(QStringLiteral("5"));
  ASSERT_TRUE(test::WaitUntil([&] {
    return Preview()->shownSettings().FrameCount == 5 && Preview()->frames().size() == 5;
  }));
  EXPECT_EQ(Preview()->framesPlanned(), 5);
  Combo()->setEditText(QStringLiteral("三角"));
  ASSERT_TRUE(test::WaitUntil([&] { return !Preview()->note().isEmpty(); }));
  EXPECT_EQ(Preview()->note(), QStringLiteral("一覧にない形状です。"));
  EXPECT_TRUE(Preview()->frames().empty());
  EXPECT_EQ(settings.ShapeIndex, 0);
  EXPECT_EQ(settings.FrameCount, 12);
}

// Cancel while a large picture is being reduced and drawn: the drawing has stopped and its thread
// has ended by the time the dialog is hidden, and the dialog goes without waiting for the run.
TEST_F(SettingsDialogTest, CancelMidDrawingStopsTheWorker) {
  picture = std::make_shared<const render::Surface>(test::CoordinatePicture(3000, 2000));
  settings.ShapeIndex = 2;
  settings.WidthMode = 1;
  settings.FrameCount = 1000;
  Open();
  ASSERT_TRUE(test::WaitUntil([&] { return Preview()->drawing(); }));
  Get<QPushButton>("cancelButton")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(Preview()->drawing());
  dialog.reset();
  test::ProcessPostedEvents();
  EXPECT_EQ(settings.ShapeIndex, 2);
}

}  // namespace
}  // namespace kinetta::settings
