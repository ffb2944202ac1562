// The animation-file dialog: asks for the display time of one frame, the format (GIF, WebP,
// MP4, APNG or WebM), what the GIF's partly transparent pixels are laid over and the WebP's
// quality, or instead a chat platform's sticker as the use (用途) of the file, checks that
// frames exist, asks where to save, and hands the order to the main window, which makes the
// file on a worker thread. Modeless and single, like the HTML export dialog.
#pragma once

#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "export/animation_file.h"
#include "export/frame_time_form.h"
#include "export/sticker_targets.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace kinetta::exporter {

/// What the dialog hands over once the user has chosen the file.
struct AnimationOrder {
  std::string sourcePath;
  AnimationFormat format = AnimationFormat::Gif;
  AnimationDelay delay;
  std::filesystem::path target;
  bool matteOnBackground = false;  ///< the GIF's partly transparent pixels on the background
  std::optional<int> webpQuality;  ///< a lossy WebP at this quality; lossless without it
  int maxSide = 0;                 ///< the file's longest side at most this; 0 the frames' own
  /// A file fitted to this target's rules (in its format); null for the format as chosen.
  const StickerTarget* sticker = nullptr;
};

/// The format of a target's file: a PNG or APNG target's is the APNG's.
AnimationFormat StickerFormat(const StickerTarget& target);

/// The save dialog's filter for `format`.
QString AnimationFilter(AnimationFormat format);

/// The chosen save name with the format's extension added when it does not end with it
/// (compared without regard to case): "anim" -> "anim.gif", "anim.GIF" stays.
QString WithAnimationExtension(const QString& path, AnimationFormat format);

class AnimationDialog : public FrameTimeForm {
  Q_OBJECT

 public:
  /// `sourcePath` is read when OK is pressed. `mayStart` is asked before the save dialog (it
  /// tells the user why not, when it answers false); `start` takes the order and answers
  /// whether the file is being made. `twipsPerPixel` converts the form's twips geometry.
  AnimationDialog(std::function<std::string()> sourcePath, std::function<bool()> mayStart,
                  std::function<bool(const AnimationOrder&)> start, ui::TwipsPerPixel twipsPerPixel,
                  ui::Prompter& prompter, QWidget* parent = nullptr);

  // The form's own controls, for the tests.
  QLabel* formatLabel() const { return formatLabel_; }
  QLabel* mp4Note() const { return mp4Note_; }
  QRadioButton* formatOption(AnimationFormat format) const {
    return options_[static_cast<std::size_t>(format)];
  }

  QCheckBox* matteBox() const { return matteBox_; }
  QSpinBox* webpQualityBox() const { return webpQualityBox_; }

  AnimationFormat format() const;

  // The size of the file's frames: the choice, the size and bytes expected, and the line
  // saying that an MP4 is made smaller to stay within H.264 level 5.1.
  QComboBox* sizeBox() const { return sizeBox_; }
  QLabel* expectedLabel() const { return expectedLabel_; }
  QLabel* levelNote() const { return levelNote_; }
  /// The longest side chosen; 0 for the frames' own size.
  int maxSide() const;
  /// Chooses the longest side `side` when it is one of those offered, else the frames' own size.
  void SetMaxSide(int side);
  /// Looks at the frames on disk again and shows the size and bytes expected for the choices.
  void ShowExpectedSize();
  // The use: 汎用 (the formats as they are), then each target by its platform's name.
  QComboBox* useBox() const { return useBox_; }
  QLabel* useRulesLabel() const { return useRulesLabel_; }
  /// The target chosen as the use, or null for 汎用.
  const StickerTarget* stickerTarget() const;

  /// Whether the frames are made on a transparent background: then the dialog says that the
  /// MP4 is laid over the background colour.
  void SetTransparentBackground(bool transparent);
  /// Whether the run's frame files are PNG (else BMP): the ones looked for before saving.
  void SetPngFrames(bool png) {
    pngFrames_ = png;
    ShowExpectedSize();
  }

 private:
  void Confirm() override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void CreateSizeRow(QWidget* previous);
  // The use's group below the other choices, and what choosing a use changes: the target's
  // rules shown, its format chosen, and the choices that do not apply to it disabled.
  void BuildUseGroup(QWidget* previous);
  void UseChanged();

  std::function<std::string()> sourcePath_;
  std::function<bool()> mayStart_;
  std::function<bool(const AnimationOrder&)> start_;

  QLabel* formatLabel_;
  QLabel* mp4Note_;
  bool pngFrames_ = false;
  std::array<QRadioButton*, 5> options_{};  ///< in AnimationFormat's order
  QCheckBox* matteBox_;
  QSpinBox* webpQualityBox_;  ///< 0 (shown as lossless) or the lossy quality
  QLabel* sizeLabel_ = nullptr;
  QComboBox* sizeBox_ = nullptr;  ///< the frames' own size, then kOfferedAnimationSides
  QLabel* expectedLabel_ = nullptr;
  QLabel* levelNote_ = nullptr;
  QComboBox* useBox_ = nullptr;
  QLabel* useRulesLabel_ = nullptr;
};

}  // namespace kinetta::exporter
