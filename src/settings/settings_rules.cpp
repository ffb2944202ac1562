// The shape configuration table, OK's reading of the controls and the source-size label.
#include "settings/settings_rules.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "render/motions.h"
#include "render/run_budget.h"
#include "ui_support/form_metrics.h"
#include "ui_support/ui_messages.h"

namespace kinetta::settings {

namespace {

constexpr const char* kBack = "背景色";
constexpr const char* kWater = "水の色";
constexpr const char* k3D = "３Ｄ";
constexpr const char* kDots = "ドット";

// One row per entry of the shape list, in list order. Only the plane, disk, sphere and
// cylinder read the width setting; the others size their frames from the source alone.
constexpr std::array<ShapeConfiguration, 9> kShapes{{
    // 平面
    {{true, true, true}, kNoOption, WidthBox::Shown, false, kBack, true, k3D},
    // 円盤
    {{true, true, true}, kNoOption, WidthBox::Shown, true, kBack, false, k3D},
    // 球体: the sphere's diameter is the frame width, taken from the source height
    {{false, true, false}, 1, WidthBox::EmptiedHidden, true, kBack, true, k3D},
    // 円柱
    {{true, true, true}, kNoOption, WidthBox::Shown, false, kBack, true, k3D},
    // 旗
    {{true, false, false}, 0, WidthBox::EmptiedHidden, true, kBack, false, k3D},
    // 水面: the colour is the water's, and the switch tints the reflection with it
    {{true, false, false}, 0, WidthBox::EmptiedHidden, true, kWater, true, kWater},
    // 表裏回転: no width option at all; whichever was selected stays selected
    {{false, false, false}, kNoOption, WidthBox::EmptiedHidden, true, kBack, true, k3D},
    // 切抜き
    {{true, false, false}, 0, WidthBox::Hidden, true, kBack, false, k3D},
    // フェードイン: the switch reveals the picture in random dots
    {{true, false, false}, 0, WidthBox::Hidden, true, kBack, true, kDots},
}};

}  // namespace

QStringList ShapeEntries() {
  QStringList entries;
  for (const render::Motion& m : render::Motions()) {
    entries << ui::Utf8(m.label);
  }
  return entries;
}

int ShapeIndexOf(const QString& text) {
  // The list's names in the user's language, and the program's own Japanese names as well.
  const QStringList entries = ShapeEntries();
  for (int i = 0; i < entries.size(); ++i) {
    const std::string_view label = render::Motions()[static_cast<std::size_t>(i)].label;
    if (entries[i] == text ||
        QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())) == text) {
      return i;
    }
  }
  return -1;
}

const ShapeConfiguration& ShapeConfigurationOf(int index) {
  return kShapes.at(static_cast<std::size_t>(index));
}

std::optional<int> ReadNumberBox(const QString& text) {
  // Compatibility folding turns full-width digits, signs, points and blanks into ASCII, so
  // "１２．５" reads as 12.5 instead of as no number at all.
  const QString folded = text.normalized(QString::NormalizationForm_KC);
  return base::ToInt16(base::LeadingNumber(folded.toStdString(), base::Blanks::Anywhere));
}

OkReading ReadDialog(const DialogInput& input, const base::Settings& current) {
  const std::optional<int> width = ReadNumberBox(input.widthText);
  if (!width) return {current, Refusal::Width};
  const std::optional<int> frames = ReadNumberBox(input.framesText);
  if (!frames) return {current, Refusal::Frames};

  base::Settings s = current;
  const int shape = ShapeIndexOf(input.shapeText);
  if (shape >= 0) s.ShapeIndex = shape;
  if (input.selectedOption >= 0 && input.selectedOption <= 2) s.WidthMode = input.selectedOption;
  s.WidthValue = std::max(1, *width);
  s.BackColor = input.swatch;
  if (input.switchState != Qt::PartiallyChecked) {
    s.Shade3D = input.switchState == Qt::Checked ? 1 : 0;
  }
  s.FrameCount = *frames;
  s.TransparentBack = input.transparentBack;
  s.FrameFiles = input.frameFiles;
  return {s, Refusal::None};
}

bool SwatchLive(int index, bool transparentBack) {
  return !transparentBack || ShapeConfigurationOf(index).colourCaption == kWater;
}

QStringList FrameFormatEntries() {
  // Auto writes PNG frames with a clear background and BMP frames otherwise.
  return {ui::Utf8("自動"), QStringLiteral("BMP"), QStringLiteral("PNG")};
}

QString RefusalMessage(Refusal refusal) {
  switch (refusal) {
    case Refusal::Width:
      return ui::Utf8(ui::kWidthOutOfRange);
    case Refusal::Frames:
      return ui::Utf8(ui::kFrameCountOutOfRange);
    case Refusal::None:
      break;
  }
  return {};
}

InputProblem ProblemOf(const DialogInput& input, const OkReading& reading) {
  switch (reading.refusal) {
    case Refusal::Width:
      return {ProblemField::Width, ui::Utf8(ui::kNoteWidthOutOfRange)};
    case Refusal::Frames:
      return {ProblemField::Frames, ui::Utf8(ui::kNoteFrameCountOutOfRange)};
    case Refusal::None:
      break;
  }
  if (ShapeIndexOf(input.shapeText) < 0) {
    return {ProblemField::Shape, ui::Utf8(ui::kNoteUnknownShape)};
  }
  if (reading.settings.FrameCount < 1) return {ProblemField::Frames, ui::Utf8(ui::kNoteNoFrames)};
  return {};
}

QString PreviewNote(const DialogInput& input, const OkReading& reading, int pictureWidth,
                    int pictureHeight) {
  // What OK refuses is what the preview says instead of playing a motion the user did not ask.
  if (InputProblem problem = ProblemOf(input, reading); problem.field != ProblemField::None) {
    return problem.reason;
  }
  const render::FrameSize size =
      render::PlannedFrameSize(reading.settings, pictureWidth, pictureHeight);
  if (size.width < 1 || size.height < 1) {
    const render::Motion* motion = render::FindMotion(reading.settings.ShapeIndex);
    return ui::Utf8(motion && motion->stackedFaces && pictureHeight < 2 ? ui::kNoteTooShortToSplit
                                                                        : ui::kNoteFrameTooSmall);
  }
  return {};
}

QString GeneralNumberText(float value) {
  // Seven significant digits is what a single-precision number carries; 'g' drops trailing
  // zeros, so whole values show no point at all.
  const QString digits = QString::number(static_cast<double>(value), 'g', 7);
  return value < 0 ? digits : QStringLiteral(" ") + digits;
}

QString SizeLabelText(float widthPx, float heightPx) {
  return ui::Utf8("(原図サイズ:") + GeneralNumberText(widthPx) + QStringLiteral("X") +
         GeneralNumberText(heightPx) + QStringLiteral(")");
}

render::Colour PackColour(const QColor& colour) {
  return colour.red() + 256 * colour.green() + 65536 * colour.blue();
}

QColor UnpackColour(render::Colour colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace kinetta::settings
