// The settings dialog "設定": shape, frame width, background (or water) colour or a clear
// background, frame count, the shape's switch and the frame files' format. Modeless; it fills
// itself from the settings whenever the user comes back to it and writes them only on OK.
#pragma once

#include <QDialog>
#include <QSizeF>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "base/settings.h"
#include "render/motion_preview.h"
#include "render/surface.h"
#include "settings/settings_rules.h"
#include "ui_support/form_metrics.h"
#include "ui_support/prompter.h"
#include "ui_support/question_flags.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWindow;

namespace kinetta::settings {

class ColourSwatch;
class MotionPreviewBox;

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  /// `settings` is edited in place on OK. `sourceSize` gives the source picture's size in
  /// pixels for the size label (0 wide while no picture is loaded); `twipsPerPixel` converts
  /// the form's twips geometry to pixels. `picture` gives the open picture (empty before
  /// any) that the preview box moves; `previewSources` keeps its reduced copy from one opening
  /// of the dialog to the next (a fresh one when null).
  SettingsDialog(base::Settings& settings, std::function<QSizeF()> sourceSize,
                 ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter, QWidget* parent = nullptr,
                 std::function<std::shared_ptr<const render::Surface>()> picture = {},
                 std::shared_ptr<render::PreviewSources> previewSources = nullptr);

  /// Another picture was opened: the preview box moves it.
  void PictureChanged();
  /// A picture is being read to become the open one: the preview box says so, and waits for
  /// PictureChanged.
  void PictureComing();

  /// The questions before a run that the user may have silenced: the check box
  /// 「実行前の確認を表示する」 shows them and OK stores its state (all asked again, or none).
  /// Without them (null) the check box is hidden.
  void SetQuestionFlags(ui::QuestionFlags* questions);

  /// The folder for the frames, the page and the animation files ("" beside the picture): the
  /// row 出力先 shows it and OK stores it there, after checking that it can be written. Without
  /// it (null) the row is hidden.
  void SetOutputFolder(QString* folder);

 signals:
  /// OK stored the controls into the settings.
  void settingsStored();

 protected:
  bool event(QEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void createControls();
  void placeInFrames();
  void setTabOrders();
  void placeOnScreen();
  QRect twips(int left, int top, int width, int height) const;

  // What the dialog does when it is shown again and when the user picks a shape, a width option,
  // a colour, or presses OK.
  void FillFromSettings();
  void ShapePicked();
  void WidthOptionPicked(int index);
  void ChooseColour();
  void StoreAndClose();

  void ApplyShapeConfiguration(const QString& text);
  void ApplySwatchState();
  void SelectWidthOption(int index);
  int SelectedWidthOption() const;
  bool OwnsWindow(QWindow* window) const;
  DialogInput CurrentInput() const;
  void SchedulePreview();
  void RestartPreview();
  /// Marks the control whose value OK would refuse and says why below the form; the problem.
  InputProblem ShowProblem();
  void FillQuestionsBox();

  base::Settings& settings_;
  std::function<QSizeF()> sourceSize_;
  ui::TwipsPerPixel twipsPerPixel_;
  ui::Prompter& prompter_;
  std::function<std::shared_ptr<const render::Surface>()> picture_;
  bool pictureComing_ = false;

  // Whether the next activation fills the controls: at the first showing, and after another
  // window of the program than the dialog's own prompts was active.
  bool fillOnActivate_ = true;
  // The colour chooser starts from the colour picked last in this dialog, black at first.
  QColor lastPicked_ = Qt::black;

  QGroupBox* shapeFrame_ = nullptr;
  QComboBox* shapeBox_ = nullptr;
  QGroupBox* colourFrame_ = nullptr;
  ColourSwatch* swatch_ = nullptr;
  QPushButton* colourButton_ = nullptr;
  QCheckBox* transparentBox_ = nullptr;
  /// The shape whose configuration the controls show.
  int configuredShape_ = 0;
  QGroupBox* otherFrame_ = nullptr;
  QLabel* frameCountLabel_ = nullptr;
  QLineEdit* frameCountBox_ = nullptr;
  QCheckBox* switchBox_ = nullptr;
  QGroupBox* widthFrame_ = nullptr;
  std::array<QRadioButton*, 3> widthOptionButtons_{};
  QButtonGroup* widthOptions_ = nullptr;
  QLineEdit* widthBox_ = nullptr;
  QLabel* sizeLabel_ = nullptr;
  QGroupBox* formatFrame_ = nullptr;
  QComboBox* frameFormatBox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  MotionPreviewBox* previewBox_ = nullptr;
  QLabel* problemLabel_ = nullptr;  ///< why OK refuses the values, one line
  QCheckBox* questionsBox_ = nullptr;
  ui::QuestionFlags* questions_ = nullptr;
  QLabel* outputLabel_ = nullptr;
  QLineEdit* outputBox_ = nullptr;
  QPushButton* outputButton_ = nullptr;
  QString* outputFolder_ = nullptr;
  /// Edits come in bursts (typing a number); the preview restarts once they pause.
  QTimer previewDelay_;
};

}  // namespace kinetta::settings
