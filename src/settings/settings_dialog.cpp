// The settings dialog: controls laid out from their twips geometry, the activation fill, the
// shape configuration, the width option rule, the colour chooser, OK and Cancel, and the preview
// box that plays the values in the controls.
#include "settings/settings_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QValidator>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "render/motions.h"
#include "settings/colour_swatch.h"
#include "settings/motion_preview_box.h"
#include "settings/settings_rules.h"
#include "ui_support/form_metrics.h"
#include "ui_support/ui_messages.h"

namespace kinetta::settings {

namespace {

QString NumberQText(int value) { return QString::fromStdString(base::NumberText(value)); }

// The preview box's inside: 200 pixels a side on a screen of 15 twips per pixel (96 dots per
// inch), more on a denser one. It stands right of the form's controls, level with their tops.
constexpr int kPreviewLeft = 4812;
constexpr int kPreviewTop = 120;
constexpr int kPreviewSide = 3000;
// What the form keeps right of the box and below it.
constexpr int kPreviewMargin = 198;
// The pause after an edit before the preview restarts with the new values.
constexpr int kPreviewDelayMs = 80;

// The shape box takes only what begins one of the nine names: a name typed whole is taken, its
// beginning waits for the rest (OK refuses it meanwhile), and anything else is not typed at all.
class ShapeNameValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    bool begins = false;
    for (const QString& name : ShapeEntries()) {
      if (name == input) return Acceptable;
      begins = begins || name.startsWith(input);
    }
    return begins ? Intermediate : Invalid;
  }
};

// A control OK refuses is marked by its background.
void MarkRefused(QWidget* control, bool refused) {
  control->setStyleSheet(refused ? QStringLiteral("background-color: #ffd8d8;") : QString());
}

}  // namespace

SettingsDialog::SettingsDialog(base::Settings& settings, std::function<QSizeF()> sourceSize,
                               ui::TwipsPerPixel twipsPerPixel, ui::Prompter& prompter,
                               QWidget* parent,
                               std::function<std::shared_ptr<const render::Surface>()> picture,
                               std::shared_ptr<render::PreviewSources> previewSources)
    : QDialog(parent),
      settings_(settings),
      sourceSize_(std::move(sourceSize)),
      twipsPerPixel_(twipsPerPixel),
      prompter_(prompter),
      picture_(std::move(picture)) {
  setWindowTitle(ui::Utf8(ui::kSettingsCaption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  // Nine points, so that captions fit the control heights of the layout.
  ui::UseNinePointFont(*this, twipsPerPixel_);

  createControls();
  const int side = twips(0, 0, kPreviewSide, kPreviewSide).width();
  if (!previewSources) previewSources = std::make_shared<render::PreviewSources>();
  previewBox_ = new MotionPreviewBox(side, std::move(previewSources), this);
  const QPoint corner = twips(kPreviewLeft, kPreviewTop, 0, 0).topLeft();
  previewBox_->setGeometry(
      QRect(corner, QSize(side, side)).marginsAdded(previewBox_->contentsMargins()));
  placeInFrames();
  setTabOrders();
  placeOnScreen();

  previewDelay_.setSingleShot(true);
  previewDelay_.setInterval(kPreviewDelayMs);
  connect(&previewDelay_, &QTimer::timeout, this, [this] { RestartPreview(); });
  // Any edit of the controls restarts the preview, nothing is stored.
  connect(shapeBox_, &QComboBox::editTextChanged, this, [this] { SchedulePreview(); });
  connect(widthOptions_, &QButtonGroup::idToggled, this, [this] { SchedulePreview(); });
  connect(widthBox_, &QLineEdit::textChanged, this, [this] { SchedulePreview(); });
  connect(frameCountBox_, &QLineEdit::textChanged, this, [this] { SchedulePreview(); });
  connect(frameFormatBox_, &QComboBox::currentIndexChanged, this, [this] { SchedulePreview(); });
  connect(switchBox_, &QCheckBox::stateChanged, this, [this] { SchedulePreview(); });
  connect(transparentBox_, &QCheckBox::toggled, this, [this] {
    ApplySwatchState();
    SchedulePreview();
  });

  // Another window of the program becoming active means that the next return to the dialog
  // fills it again; the dialog's own prompts (colour chooser, messages) do not, so a colour
  // just chosen or a refused entry survives their closing.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
    if (w != nullptr && w != windowHandle()) fillOnActivate_ = !OwnsWindow(w);
  });
}

QRect SettingsDialog::twips(int left, int top, int width, int height) const {
  return ui::TwipsToPixels(left, top, width, height, twipsPerPixel_);
}

void SettingsDialog::createControls() {
  shapeFrame_ = new QGroupBox(ui::Utf8("形状"), this);
  shapeFrame_->setObjectName(QStringLiteral("shapeFrame"));
  shapeFrame_->setGeometry(twips(240, 120, 1812, 852));
  shapeBox_ = new QComboBox(shapeFrame_);
  shapeBox_->setObjectName(QStringLiteral("shapeBox"));
  shapeBox_->setGeometry(twips(120, 240, 1572, 276));
  shapeBox_->setEditable(true);
  // The typed text stays as typed: no entry is added and nothing is completed.
  shapeBox_->setInsertPolicy(QComboBox::NoInsert);
  shapeBox_->setCompleter(nullptr);
  shapeBox_->setValidator(new ShapeNameValidator(shapeBox_));
  shapeBox_->addItems(ShapeEntries());
  shapeBox_->setCurrentIndex(0);  // the first entry, 平面, in the box's text
  connect(shapeBox_, &QComboBox::activated, this, [this](int) { ShapePicked(); });

  colourFrame_ = new QGroupBox(ui::Utf8("背景色"), this);
  colourFrame_->setObjectName(QStringLiteral("colourFrame"));
  colourFrame_->setGeometry(twips(240, 1080, 1812, 852));
  swatch_ = new ColourSwatch(colourFrame_);
  swatch_->setObjectName(QStringLiteral("swatch"));
  swatch_->setGeometry(twips(120, 240, 1332, 492));
  swatch_->setColour(PackColour(QColor(64, 64, 64)));
  // Created after the swatch, so the button lies on top of it.
  // The button is narrow: its English is shorter than the command's.
  colourButton_ = new QPushButton(ui::Utf8(ui::kSettingsCaption, "colour button"), colourFrame_);
  colourButton_->setObjectName(QStringLiteral("colourButton"));
  colourButton_->setGeometry(twips(480, 360, 612, 252));
  connect(colourButton_, &QPushButton::clicked, this, [this] { ChooseColour(); });
  // A clear background instead of the colour, below the swatch.
  transparentBox_ = new QCheckBox(ui::Utf8("透明(&T)"), colourFrame_);
  transparentBox_->setObjectName(QStringLiteral("transparentBox"));
  transparentBox_->setGeometry(twips(120, 780, 1092, 252));

  otherFrame_ = new QGroupBox(ui::Utf8("その他"), this);
  otherFrame_->setObjectName(QStringLiteral("otherFrame"));
  otherFrame_->setGeometry(twips(240, 2040, 1812, 972));
  frameCountLabel_ = new QLabel(ui::Utf8("こま数"), otherFrame_);
  frameCountLabel_->setObjectName(QStringLiteral("frameCountLabel"));
  frameCountLabel_->setGeometry(twips(120, 240, 492, 252));
  frameCountBox_ = new QLineEdit(otherFrame_);
  frameCountBox_->setObjectName(QStringLiteral("frameCountBox"));
  frameCountBox_->setGeometry(twips(720, 240, 492, 264));
  switchBox_ = new QCheckBox(otherFrame_);
  switchBox_->setObjectName(QStringLiteral("switchBox"));
  switchBox_->setGeometry(twips(120, 600, 1092, 252));
  // A click takes the grey state to checked; from then on the box only toggles.
  connect(switchBox_, &QCheckBox::clicked, this, [this] { switchBox_->setTristate(false); });

  widthFrame_ = new QGroupBox(ui::Utf8("横幅"), this);
  widthFrame_->setObjectName(QStringLiteral("widthFrame"));
  widthFrame_->setGeometry(twips(2280, 120, 2412, 1452));
  widthOptions_ = new QButtonGroup(this);
  const std::array<const char*, 3> captions{"原画の幅", "原画の高さ", "指定"};
  const std::array<QRect, 3> places{twips(120, 240, 1692, 252), twips(120, 480, 1332, 252),
                                    twips(120, 720, 732, 252)};
  for (int i = 0; i < 3; ++i) {
    widthOptionButtons_[i] = new QRadioButton(ui::Utf8(captions[i]), widthFrame_);
    widthOptionButtons_[i]->setObjectName(QStringLiteral("widthOption%1").arg(i));
    widthOptionButtons_[i]->setGeometry(places[i]);
    widthOptions_->addButton(widthOptionButtons_[i], i);
  }
  connect(widthOptions_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) WidthOptionPicked(id);
  });
  widthBox_ = new QLineEdit(widthFrame_);
  widthBox_->setObjectName(QStringLiteral("widthBox"));
  widthBox_->setGeometry(twips(840, 720, 1452, 264));
  sizeLabel_ = new QLabel(widthFrame_);
  sizeLabel_->setObjectName(QStringLiteral("sizeLabel"));
  sizeLabel_->setGeometry(twips(120, 1080, 2172, 252));

  // What the frame files are written as, below the width frame.
  formatFrame_ = new QGroupBox(ui::Utf8("こまの形式"), this);
  formatFrame_->setObjectName(QStringLiteral("formatFrame"));
  formatFrame_->setGeometry(twips(2280, 1680, 2412, 612));
  frameFormatBox_ = new QComboBox(formatFrame_);
  frameFormatBox_->setObjectName(QStringLiteral("frameFormatBox"));
  frameFormatBox_->setGeometry(twips(120, 240, 1572, 276));
  frameFormatBox_->addItems(FrameFormatEntries());

  okButton_ = new QPushButton(ui::Utf8(ui::kOkCaption), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  okButton_->setGeometry(twips(2280, 2760, 1092, 375));
  connect(okButton_, &QPushButton::clicked, this, [this] { StoreAndClose(); });
  cancelButton_ = new QPushButton(ui::Utf8(ui::kCancelCaption), this);
  cancelButton_->setObjectName(QStringLiteral("cancelButton"));
  cancelButton_->setGeometry(twips(3600, 2760, 1092, 375));
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  // Return presses OK wherever the focus is but on another button; Esc cancels (QDialog's own
  // reject, as ｷｬﾝｾﾙ does).
  okButton_->setDefault(true);

  questionsBox_ = new QCheckBox(ui::Utf8(ui::kAskBeforeRun), this);
  questionsBox_->setObjectName(QStringLiteral("questionsBox"));
  questionsBox_->setVisible(false);
  connect(questionsBox_, &QCheckBox::clicked, this, [this] { questionsBox_->setTristate(false); });
  outputLabel_ = new QLabel(ui::Utf8(ui::kOutputLabel), this);
  outputLabel_->setObjectName(QStringLiteral("outputLabel"));
  outputBox_ = new QLineEdit(this);
  outputBox_->setObjectName(QStringLiteral("outputBox"));
  outputBox_->setPlaceholderText(ui::Utf8(ui::kOutputBesidePicture));
  outputBox_->setClearButtonEnabled(true);
  outputLabel_->setBuddy(outputBox_);
  outputButton_ = new QPushButton(ui::Utf8(ui::kOutputChoose), this);
  outputButton_->setObjectName(QStringLiteral("outputButton"));
  connect(outputButton_, &QPushButton::clicked, this, [this] {
    const QString chosen =
        prompter_.ChooseFolder(this, ui::Utf8(ui::kOutputCaption), outputBox_->text());
    if (!chosen.isEmpty()) outputBox_->setText(chosen);
  });
  connect(outputBox_, &QLineEdit::textEdited, this, [this] { MarkRefused(outputBox_, false); });
  for (QWidget* w : {static_cast<QWidget*>(outputLabel_), static_cast<QWidget*>(outputBox_),
                     static_cast<QWidget*>(outputButton_)}) {
    w->setVisible(false);
  }
  problemLabel_ = new QLabel(this);
  problemLabel_->setObjectName(QStringLiteral("problemLabel"));
  problemLabel_->setStyleSheet(QStringLiteral("color: #b00000;"));
}

// The form's frames show their caption on the border line and its controls start just below
// it; Qt's frames draw the caption inside, above their contents. Each frame's controls move into
// its contents, keeping their order and places in their rows; a frame too low for them grows,
// and the frames below it in the same column move down. The form keeps its size.
void SettingsDialog::placeInFrames() {
  ensurePolished();
  const std::array<QGroupBox*, 5> frames{shapeFrame_, colourFrame_, otherFrame_, widthFrame_,
                                         formatFrame_};  // each column downward
  for (QGroupBox* frame : frames) {
    const QList<QWidget*> controls =
        frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    std::vector<QRect> design;
    for (const QWidget* c : controls) {
      // A caption wider than its design ("こま数" in the font at hand) takes the width it needs,
      // as far as the next control in its row.
      QRect r = c->geometry();
      if (qobject_cast<const QLabel*>(c) || qobject_cast<const QCheckBox*>(c) ||
          qobject_cast<const QRadioButton*>(c)) {
        r.setWidth(std::max(r.width(), c->sizeHint().width()));
      }
      design.push_back(r);
    }
    ui::FramePlacement placed = ui::PlaceInFrame(frame->contentsRect(), design);
    if (placed.missingHeight > 0) {
      for (QGroupBox* below : frames) {
        if (below->x() == frame->x() && below->y() > frame->y()) {
          below->move(below->x(), below->y() + placed.missingHeight);
        }
      }
      frame->resize(frame->width(), frame->height() + placed.missingHeight);
      placed = ui::PlaceInFrame(frame->contentsRect(), design);
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
      controls[i]->setGeometry(placed.controls[static_cast<std::size_t>(i)]);
    }
  }
}

// Reading order: the left column downward, the right column downward, then OK and ｷｬﾝｾﾙ.
void SettingsDialog::setTabOrders() {
  const std::array<QWidget*, 16> order{shapeBox_,
                                       colourButton_,
                                       transparentBox_,
                                       frameCountBox_,
                                       switchBox_,
                                       widthOptionButtons_[0],
                                       widthOptionButtons_[1],
                                       widthOptionButtons_[2],
                                       widthBox_,
                                       frameFormatBox_,
                                       questionsBox_,
                                       outputBox_,
                                       outputButton_,
                                       okButton_,
                                       cancelButton_,
                                       shapeBox_};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
  shapeBox_->setFocus();
}

void SettingsDialog::placeOnScreen() {
  // The client area is 4890 x 3195 twips and opens 2760 twips from the left and 3750 twips
  // from the top of the screen, or centred on the main window when there is one.
  // The form has grown by the preview box at its right.
  QRect client = twips(2760, 3750, 4890, 3195);
  const QRect margin = twips(0, 0, kPreviewMargin, kPreviewMargin);
  client.setWidth(previewBox_->geometry().right() + 1 + margin.width());
  client.setHeight(
      std::max(client.height(), previewBox_->geometry().bottom() + 1 + margin.height()));
  // Below the frames: the check box of the questions in the right column, above OK and
  // ｷｬﾝｾﾙ, and below the buttons the line that says why OK refuses the values.
  const int left = twips(240, 0, 0, 0).left();
  const int lineHeight = std::max(problemLabel_->sizeHint().height(), fontMetrics().height());
  int y = std::max(okButton_->geometry().bottom(), otherFrame_->geometry().bottom()) + 1;
  const int gap = twips(0, 0, 0, 60).height();
  const QRect column = formatFrame_->geometry();
  questionsBox_->setGeometry(column.left(), column.bottom() + 1 + gap,
                             std::max(column.width(), questionsBox_->sizeHint().width()),
                             questionsBox_->sizeHint().height());
  // Left of the preview box, which says the same in its own words.
  problemLabel_->setGeometry(left, y + gap, previewBox_->geometry().left() - gap - left,
                             lineHeight);
  // The folder row across the form, below everything.
  const int rowTop =
      std::max(problemLabel_->geometry().bottom(), previewBox_->geometry().bottom()) + 1 + gap;
  const int rowHeight =
      std::max(outputBox_->sizeHint().height(), outputButton_->sizeHint().height());
  const int right = previewBox_->geometry().right();
  outputLabel_->setGeometry(left, rowTop, outputLabel_->sizeHint().width(), rowHeight);
  outputButton_->setGeometry(right + 1 - outputButton_->sizeHint().width(), rowTop,
                             outputButton_->sizeHint().width(), rowHeight);
  outputBox_->setGeometry(
      outputLabel_->geometry().right() + 1 + gap, rowTop,
      outputButton_->geometry().left() - gap - outputLabel_->geometry().right() - 1 - gap,
      rowHeight);
  client.setHeight(std::max(client.height(), problemLabel_->geometry().bottom() + 1 + gap));
  client.setHeight(std::max(client.height(), rowTop + rowHeight + margin.height()));
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
  QRect placed(origin + client.topLeft(), client.size());
  if (parentWidget() && parentWidget()->isVisible()) {
    placed.moveCenter(parentWidget()->window()->frameGeometry().center());
  }
  setGeometry(placed);
  setFixedSize(client.size());
}

bool SettingsDialog::event(QEvent* e) {
  if (e->type() == QEvent::Show) SchedulePreview();
  if (e->type() == QEvent::Show && !e->spontaneous() && fillOnActivate_) {
    // Filled on showing as well, so that a window manager that does not activate the dialog
    // at once still shows the settings rather than the design-time contents.
    fillOnActivate_ = false;
    FillFromSettings();
  } else if (e->type() == QEvent::WindowActivate && fillOnActivate_) {
    fillOnActivate_ = false;
    FillFromSettings();
  }
  return QDialog::event(e);
}

void SettingsDialog::hideEvent(QHideEvent* e) {
  // Closed or cancelled: the drawing stops and its thread has ended before the dialog goes.
  previewDelay_.stop();
  previewBox_->Stop();
  QDialog::hideEvent(e);
}

void SettingsDialog::PictureChanged() {
  pictureComing_ = false;
  SchedulePreview();
}

void SettingsDialog::PictureComing() {
  pictureComing_ = true;
  SchedulePreview();
}

void SettingsDialog::SchedulePreview() {
  ShowProblem();
  if (isVisible()) previewDelay_.start();
}

InputProblem SettingsDialog::ShowProblem() {
  const DialogInput input = CurrentInput();
  const InputProblem problem = ProblemOf(input, ReadDialog(input, settings_));
  MarkRefused(shapeBox_, problem.field == ProblemField::Shape);
  MarkRefused(widthBox_, problem.field == ProblemField::Width);
  MarkRefused(frameCountBox_, problem.field == ProblemField::Frames);
  problemLabel_->setText(problem.reason);
  return problem;
}

void SettingsDialog::SetQuestionFlags(ui::QuestionFlags* questions) {
  questions_ = questions;
  questionsBox_->setVisible(questions_ != nullptr);
  FillQuestionsBox();
}

void SettingsDialog::SetOutputFolder(QString* folder) {
  outputFolder_ = folder;
  for (QWidget* w : {static_cast<QWidget*>(outputLabel_), static_cast<QWidget*>(outputBox_),
                     static_cast<QWidget*>(outputButton_)}) {
    w->setVisible(outputFolder_ != nullptr);
  }
  if (outputFolder_) outputBox_->setText(*outputFolder_);
}

// Checked while every question is asked, unchecked while none is, grey in between; OK then
// stores what the user made of it.
void SettingsDialog::FillQuestionsBox() {
  if (!questions_) return;
  const int silenced = questions_->SilencedCount();
  const bool some = silenced > 0 && silenced < questions_->size();
  questionsBox_->setTristate(some);
  questionsBox_->setCheckState(some            ? Qt::PartiallyChecked
                               : silenced == 0 ? Qt::Checked
                                               : Qt::Unchecked);
}

// The values in the controls now, read as OK reads them but not stored.
void SettingsDialog::RestartPreview() {
  const DialogInput input = CurrentInput();
  const OkReading reading = ReadDialog(input, settings_);
  if (pictureComing_) {
    previewBox_->ShowNote(ui::Utf8(ui::kStatusReadingPicture));
    return;
  }
  std::shared_ptr<const render::Surface> picture = picture_ ? picture_() : nullptr;
  if (!picture || picture->empty()) picture = render::TestPicture();
  const QString note = PreviewNote(input, reading, picture->width(), picture->height());
  if (!note.isEmpty()) {
    previewBox_->ShowNote(note);
    return;
  }
  previewBox_->Play(reading.settings, std::move(picture));
}

bool SettingsDialog::OwnsWindow(QWindow* window) const {
  for (QWindow* w = window; w != nullptr; w = w->transientParent()) {
    if (w == windowHandle()) return true;
  }
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowHandle() != window) continue;
    for (QWidget* p = top->parentWidget(); p != nullptr; p = p->parentWidget()) {
      if (p == this) return true;
    }
  }
  return false;
}

void SettingsDialog::FillFromSettings() {
  // A shape index outside the list (an edited settings file) leaves the combo box's text as it
  // is; a width mode outside 0..2 selects no option, and OK then keeps that mode.
  if (const render::Motion* m = render::FindMotion(settings_.ShapeIndex)) {
    shapeBox_->setCurrentIndex(settings_.ShapeIndex);
    shapeBox_->setEditText(ui::Utf8(m->label));
  }
  const bool known = settings_.WidthMode >= 0 && settings_.WidthMode <= 2;
  SelectWidthOption(known ? settings_.WidthMode : kNoOption);
  widthBox_->setText(settings_.WidthMode == 2 ? NumberQText(settings_.WidthValue) : QString());
  swatch_->setColour(settings_.BackColor);
  transparentBox_->setChecked(settings_.TransparentBack);
  const auto format = std::find(kFrameFormats.begin(), kFrameFormats.end(), settings_.FrameFiles);
  frameFormatBox_->setCurrentIndex(
      format == kFrameFormats.end() ? 0 : static_cast<int>(format - kFrameFormats.begin()));
  frameCountBox_->setText(NumberQText(settings_.FrameCount));
  // The switch is on at 1 for the shading and the water tint, but the fade-in draws dots for
  // any value but 0. A value other than 0 and 1 (an edited settings file) therefore shows grey,
  // and OK stores it back unless the user clicks the box.
  const bool neither = settings_.Shade3D != 0 && settings_.Shade3D != 1;
  switchBox_->setTristate(neither);
  switchBox_->setCheckState(neither                  ? Qt::PartiallyChecked
                            : settings_.Shade3D == 1 ? Qt::Checked
                                                     : Qt::Unchecked);
  const QSizeF source = sourceSize_ ? sourceSize_() : QSizeF();
  if (source.width() > 0) {
    sizeLabel_->setText(
        SizeLabelText(static_cast<float>(source.width()), static_cast<float>(source.height())));
  }
  ApplyShapeConfiguration(shapeBox_->currentText());
  FillQuestionsBox();
  if (outputFolder_) outputBox_->setText(*outputFolder_);
  SchedulePreview();  // also when the fill changed no control
}

void SettingsDialog::ShapePicked() { ApplyShapeConfiguration(shapeBox_->currentText()); }

void SettingsDialog::ApplyShapeConfiguration(const QString& text) {
  const int index = ShapeIndexOf(text);
  if (index < 0) return;  // a typed text that names no shape changes nothing
  const ShapeConfiguration& c = ShapeConfigurationOf(index);
  for (int i = 0; i < 3; ++i) widthOptionButtons_[i]->setEnabled(c.widthOptions[i]);
  if (c.selectOption != kNoOption) SelectWidthOption(c.selectOption);
  if (c.widthBox == WidthBox::EmptiedHidden) widthBox_->clear();
  widthBox_->setVisible(c.widthBox == WidthBox::Shown);
  configuredShape_ = index;
  ApplySwatchState();
  colourFrame_->setTitle(ui::Utf8(c.colourCaption));
  // The switch keeps its state; only its availability and caption follow the shape.
  switchBox_->setEnabled(c.switchEnabled);
  switchBox_->setText(ui::Utf8(c.switchCaption));
}

// A clear background greys the swatch and its button, unless the colour is the water's tint.
void SettingsDialog::ApplySwatchState() {
  const bool live = SwatchLive(configuredShape_, transparentBox_->isChecked());
  swatch_->setEnabled(live);
  colourButton_->setEnabled(live && ShapeConfigurationOf(configuredShape_).colourButton);
}

void SettingsDialog::SelectWidthOption(int index) {
  if (index >= 0 && index <= 2) {
    widthOptionButtons_[index]->setChecked(true);  // runs the width option rule when newly selected
    return;
  }
  widthOptions_->setExclusive(false);
  for (QRadioButton* o : widthOptionButtons_) o->setChecked(false);
  widthOptions_->setExclusive(true);
}

int SettingsDialog::SelectedWidthOption() const {
  const int id = widthOptions_->checkedId();
  return id >= 0 ? id : kNoOption;
}

void SettingsDialog::WidthOptionPicked(int index) {
  // "指定" shows the stored width, not a number typed before; the other two empty the box.
  if (index == 2) {
    widthBox_->setText(QString::number(settings_.WidthValue));
  } else {
    widthBox_->clear();
  }
}

void SettingsDialog::ChooseColour() {
  const std::optional<QColor> chosen = prompter_.ChooseColour(this, lastPicked_);
  if (!chosen || !chosen->isValid()) return;  // cancelled or failed: nothing changes
  lastPicked_ = *chosen;
  swatch_->setColour(PackColour(*chosen));
  SchedulePreview();
}

DialogInput SettingsDialog::CurrentInput() const {
  DialogInput input;
  input.shapeText = shapeBox_->currentText();
  input.selectedOption = SelectedWidthOption();
  input.widthText = widthBox_->text();
  input.swatch = swatch_->colour();
  input.switchState = switchBox_->checkState();
  input.framesText = frameCountBox_->text();
  input.transparentBack = transparentBox_->isChecked();
  input.frameFiles =
      kFrameFormats.at(static_cast<std::size_t>(std::max(0, frameFormatBox_->currentIndex())));
  return input;
}

void SettingsDialog::StoreAndClose() {
  const OkReading reading = ReadDialog(CurrentInput(), settings_);
  if (reading.refusal != Refusal::None) {
    prompter_.Warn(this, RefusalMessage(reading.refusal));
    QLineEdit* box = reading.refusal == Refusal::Width ? widthBox_ : frameCountBox_;
    box->setFocus();
    box->selectAll();
    return;
  }
  // The line below the form already says why; the refused control takes the focus.
  if (const InputProblem problem = ShowProblem(); problem.field != ProblemField::None) {
    if (problem.field == ProblemField::Shape) {
      shapeBox_->setFocus();
      if (shapeBox_->lineEdit()) shapeBox_->lineEdit()->selectAll();
    } else {
      QLineEdit* box = problem.field == ProblemField::Width ? widthBox_ : frameCountBox_;
      box->setFocus();
      box->selectAll();
    }
    return;
  }
  // A folder for the frames must be one that can be written; empty is beside the picture.
  const QString folder = outputBox_->text().trimmed();
  if (outputFolder_ && !folder.isEmpty() &&
      (!QFileInfo(folder).isDir() || !QFileInfo(folder).isWritable())) {
    MarkRefused(outputBox_, true);
    problemLabel_->setText(ui::Utf8(ui::kOutputNotWritable));
    outputBox_->setFocus();
    return;
  }
  if (outputFolder_)
    *outputFolder_ = folder.isEmpty() ? QString() : QFileInfo(folder).absoluteFilePath();
  if (questions_ && questionsBox_->checkState() != Qt::PartiallyChecked) {
    questions_->SetAll(questionsBox_->checkState() == Qt::Checked);
  }
  settings_ = reading.settings;
  emit settingsStored();
  accept();
}

}  // namespace kinetta::settings
