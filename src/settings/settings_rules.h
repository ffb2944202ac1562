// The settings dialog's rules that need no widgets: which controls each shape offers, how OK
// reads the controls into the settings, and the text of the source-size label.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "base/settings.h"
#include "render/surface.h"

namespace kinetta::settings {

/// No width option selected (a width mode outside 0..2 from an edited settings file).
inline constexpr int kNoOption = -1;

/// What picking a shape does to the width text box.
enum class WidthBox { Shown, Hidden, EmptiedHidden };

/// The controls one shape offers, one row per entry of the shape list.
struct ShapeConfiguration {
  std::array<bool, 3> widthOptions;  ///< 原画の幅, 原画の高さ, 指定 enabled
  int selectOption;                  ///< the width option the shape selects, or kNoOption
  WidthBox widthBox;
  bool colourButton;          ///< the colour button enabled
  const char* colourCaption;  ///< caption of the colour frame (UTF-8)
  bool switchEnabled;         ///< the shape's switch (check box) enabled
  const char* switchCaption;  ///< caption of the switch (UTF-8)
};

/// The shape list's entries in list order, from the motions table.
QStringList ShapeEntries();

/// The first list position whose entry equals `text` exactly (case-sensitive), or -1.
int ShapeIndexOf(const QString& text);

/// The configuration of list position `index`, 0..8.
const ShapeConfiguration& ShapeConfigurationOf(int index);

/// A number box read as OK reads it: the number at the start of the text, with blanks, tabs and
/// line feeds ignored anywhere, brought to the nearest integer (halves to even). Full-width
/// digits and signs typed through a Japanese input method read like their ASCII forms. Nothing
/// when the number does not fit 16 bits.
std::optional<int> ReadNumberBox(const QString& text);

/// The controls OK reads.
struct DialogInput {
  QString shapeText;               ///< the combo box's text
  int selectedOption = kNoOption;  ///< the selected width option, 0..2
  QString widthText;               ///< the width box (read whatever option is selected)
  render::Colour swatch = 0;       ///< the swatch's fill colour
  /// The switch's check box; grey (partially checked) while it shows a value other than 0 and 1
  /// that the user has not changed.
  Qt::CheckState switchState = Qt::Unchecked;
  QString framesText;                                      ///< the frame count box
  bool transparentBack = false;                            ///< the 透明 check box by the swatch
  base::FrameFormat frameFiles = base::FrameFormat::Auto;  ///< the frame format's choice
};

/// The box whose number does not fit a 16-bit setting.
enum class Refusal { None, Width, Frames };

struct OkReading {
  base::Settings settings;  ///< the settings to store (unchanged when refused)
  Refusal refusal = Refusal::None;
};

/// What OK stores. A typed shape that matches no entry, a missing width option and a grey switch
/// keep their settings; the width becomes at least 1; the frame count has no bound of its own. A
/// number outside 16 bits refuses the whole reading and nothing is stored.
OkReading ReadDialog(const DialogInput& input, const base::Settings& current);

/// Whether the swatch and its colour button are live for the shape at list position `index` with
/// the background clear or not: a clear background greys them, except for the water, whose colour
/// tints the reflection whatever the background.
bool SwatchLive(int index, bool transparentBack);

/// The frame format's choices in list order, and their captions.
inline constexpr std::array<base::FrameFormat, 3> kFrameFormats{
    base::FrameFormat::Auto, base::FrameFormat::Bmp, base::FrameFormat::Png};
QStringList FrameFormatEntries();

/// The message that names the box whose number was refused.
QString RefusalMessage(Refusal refusal);

/// The control whose value OK refuses, and why (one line, the preview box's note).
enum class ProblemField { None, Shape, Width, Frames };
struct InputProblem {
  ProblemField field = ProblemField::None;
  QString reason;
};

/// What keeps OK from taking the controls' values: a number outside 16 bits, a shape text that
/// names none of the shapes, or fewer than one frame. The rest of what the preview box notes
/// (a frame too small for this picture) depends on the picture, not on what was typed.
InputProblem ProblemOf(const DialogInput& input, const OkReading& reading);

/// The short note the preview box shows instead of frames when the run of the controls' values
/// on a W x H picture would make none: a number out of range, a typed shape that names none, no
/// frame to make, or a frame smaller than a pixel. Empty when the values can be played.
QString PreviewNote(const DialogInput& input, const OkReading& reading, int pictureWidth,
                    int pictureHeight);

/// "(原図サイズ: 320X 240)": the source size in pixels, each written as a general number with
/// the sign blank (decimals when not whole).
QString SizeLabelText(float widthPx, float heightPx);

/// A float written as a general number of up to seven significant digits with the sign blank.
QString GeneralNumberText(float value);

/// Colours packed as red + 256 x green + 65536 x blue.
render::Colour PackColour(const QColor& colour);
QColor UnpackColour(render::Colour colour);

}  // namespace kinetta::settings
