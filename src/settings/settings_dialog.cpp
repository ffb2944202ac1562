// The settings dialog: controls laid out from their twips geometry, the activation fill, the
// shape configuration, the width option rule, the colour chooser, OK and Cancel, and the preview
// box that plays the values in the controls.
#include "settings/settings_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "render/motions.h"
#include "settings/motion_preview_box.h"
#include "settings/settings_rules.h"
#include "ui_support/form_metrics.h"

namespace kinetta::settings {

/// The solid rectangle that shows the chosen colour. Its packed value is kept as given, so a
/// value that is no colour at all (an edited settings file) is stored back unchanged by OK.
class ColourSwatch : public QWidget {
 public:
  using QWidget::QWidget;

  render::Colour colour() const { return colour_; }
  void setColour(render::Colour c) {
    colour_ = c;
    setProperty("fillColour", c);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), UnpackColour(colour_));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  render::Colour colour_ = PackColour(QColor(64, 64, 64));
};

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

}  // namespace

SettingsDialog::SettingsDialog(base::Settings& settings, std::function<QSizeF()> sourceSizeTwips,
                               QPointF twipsPerPixel, ui::Prompter& prompter, QWidget* parent,
                               std::function<std::shared_ptr<const render::Surface>()> picture,
                               std::shared_ptr<render::PreviewSources> previewSources)
    : QDialog(parent),
      settings_(settings),
      sourceSizeTwips_(std::move(sourceSizeTwips)),
      twipsPerPixel_(twipsPerPixel),
      prompter_(prompter),
      picture_(std::move(picture)) {
  // A screen that reports no twips per pixel is taken as the common 96 dots per inch.
  if (twipsPerPixel_.x() <= 0) twipsPerPixel_.setX(15);
  if (twipsPerPixel_.y() <= 0) twipsPerPixel_.setY(15);

  setWindowTitle(QStringLiteral("設定"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  // Nine points, so that captions fit the control heights of the layout.
  ui::UseNinePointFont(*this, twipsPerPixel_);

  createControls();
  const int side = twips(0, 0, kPreviewSide, kPreviewSide).width();
  if (!previewSources) previewSources = std::make_shared<render::PreviewSources>();
  Preview = new MotionPreviewBox(side, std::move(previewSources), this);
  const QPoint corner = twips(kPreviewLeft, kPreviewTop, 0, 0).topLeft();
  Preview->setGeometry(QRect(corner, QSize(side, side)).marginsAdded(Preview->contentsMargins()));
  placeInFrames();
  setTabOrders();
  placeOnScreen();

  previewDelay_.setSingleShot(true);
  previewDelay_.setInterval(kPreviewDelayMs);
  connect(&previewDelay_, &QTimer::timeout, this, [this] { RestartPreview(); });
  // Any edit of the controls restarts the preview, nothing is stored.
  connect(Combo1, &QComboBox::editTextChanged, this, [this] { SchedulePreview(); });
  connect(widthOptions_, &QButtonGroup::idToggled, this, [this] { SchedulePreview(); });
  connect(Text1, &QLineEdit::textChanged, this, [this] { SchedulePreview(); });
  connect(Text2, &QLineEdit::textChanged, this, [this] { SchedulePreview(); });
  connect(Check1, &QCheckBox::stateChanged, this, [this] { SchedulePreview(); });

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
  Frame1 = new QGroupBox(QStringLiteral("形状"), this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setGeometry(twips(240, 120, 1812, 852));
  Combo1 = new QComboBox(Frame1);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setGeometry(twips(120, 240, 1572, 276));
  Combo1->setEditable(true);
  // The typed text stays as typed: no entry is added and nothing is completed.
  Combo1->setInsertPolicy(QComboBox::NoInsert);
  Combo1->setCompleter(nullptr);
  Combo1->addItems(ShapeEntries());
  Combo1->setCurrentIndex(0);
  Combo1->setEditText(QStringLiteral("平面"));
  connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });

  Frame3 = new QGroupBox(QStringLiteral("背景色"), this);
  Frame3->setObjectName(QStringLiteral("Frame3"));
  Frame3->setGeometry(twips(240, 1080, 1812, 852));
  Shape1 = new ColourSwatch(Frame3);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setGeometry(twips(120, 240, 1332, 492));
  Shape1->setColour(PackColour(QColor(64, 64, 64)));
  // Created after the swatch, so the button lies on top of it.
  Command1 = new QPushButton(QStringLiteral("設定"), Frame3);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setGeometry(twips(480, 360, 612, 252));
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  Frame4 = new QGroupBox(QStringLiteral("その他"), this);
  Frame4->setObjectName(QStringLiteral("Frame4"));
  Frame4->setGeometry(twips(240, 2040, 1812, 972));
  Label1 = new QLabel(QStringLiteral("こま数"), Frame4);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(twips(120, 240, 492, 252));
  Text2 = new QLineEdit(Frame4);
  Text2->setObjectName(QStringLiteral("Text2"));
  Text2->setGeometry(twips(720, 240, 492, 264));
  Check1 = new QCheckBox(Frame4);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check1->setGeometry(twips(120, 600, 1092, 252));
  // A click takes the grey state to checked; from then on the box only toggles.
  connect(Check1, &QCheckBox::clicked, this, [this] { Check1->setTristate(false); });

  Frame2 = new QGroupBox(QStringLiteral("横幅"), this);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  Frame2->setGeometry(twips(2280, 120, 2412, 1452));
  widthOptions_ = new QButtonGroup(this);
  const std::array<const char*, 3> captions{"原画の幅", "原画の高さ", "指定"};
  const std::array<QRect, 3> places{twips(120, 240, 1692, 252), twips(120, 480, 1332, 252),
                                    twips(120, 720, 732, 252)};
  for (int i = 0; i < 3; ++i) {
    Option2[i] = new QRadioButton(QString::fromUtf8(captions[i]), Frame2);
    Option2[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
    Option2[i]->setGeometry(places[i]);
    widthOptions_->addButton(Option2[i], i);
  }
  connect(widthOptions_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) Option2_Click(id);
  });
  Text1 = new QLineEdit(Frame2);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setGeometry(twips(840, 720, 1452, 264));
  Label2 = new QLabel(Frame2);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setGeometry(twips(120, 1080, 2172, 252));

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(twips(2280, 2520, 1092, 375));
  connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  CancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  CancelButton->setGeometry(twips(3600, 2520, 1092, 375));
  connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });

  // Neither button is the default or the cancel button: Enter presses neither, even when the
  // button has the focus (Esc is kept from closing the dialog in keyPressEvent).
  for (QPushButton* b : {OKButton, CancelButton, Command1}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
}

// The form's frames show their caption on the border line and its controls start just below
// it; Qt's frames draw the caption inside, above their contents. Each frame's controls move into
// its contents, keeping their order and places in their rows; a frame too low for them grows,
// and the frames below it in the same column move down. The form keeps its size.
void SettingsDialog::placeInFrames() {
  ensurePolished();
  const std::array<QGroupBox*, 4> frames{Frame1, Frame3, Frame4, Frame2};  // each column downward
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

void SettingsDialog::setTabOrders() {
  const std::array<QWidget*, 11> order{OKButton,   CancelButton, Option2[0], Option2[1],
                                       Option2[2], Text1,        Text2,      Check1,
                                       Command1,   Combo1,       OKButton};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
  OKButton->setFocus();
}

void SettingsDialog::placeOnScreen() {
  // The client area is 4890 x 3195 twips and opens 2760 twips from the left and 3750 twips
  // from the top of the screen.
  // The form has grown by the preview box at its right.
  QRect client = twips(2760, 3750, 4890, 3195);
  const QRect margin = twips(0, 0, kPreviewMargin, kPreviewMargin);
  client.setWidth(Preview->geometry().right() + 1 + margin.width());
  client.setHeight(std::max(client.height(), Preview->geometry().bottom() + 1 + margin.height()));
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
  setGeometry(QRect(origin + client.topLeft(), client.size()));
  setFixedSize(client.size());
}

bool SettingsDialog::event(QEvent* e) {
  if (e->type() == QEvent::Show) SchedulePreview();
  if (e->type() == QEvent::Show && !e->spontaneous() && fillOnActivate_) {
    // Filled on showing as well, so that a window manager that does not activate the dialog
    // at once still shows the settings rather than the design-time contents.
    fillOnActivate_ = false;
    Form_Activate();
  } else if (e->type() == QEvent::WindowActivate && fillOnActivate_) {
    fillOnActivate_ = false;
    Form_Activate();
  }
  return QDialog::event(e);
}

void SettingsDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void SettingsDialog::hideEvent(QHideEvent* e) {
  // Closed or cancelled: the drawing stops and its thread has ended before the dialog goes.
  previewDelay_.stop();
  Preview->Stop();
  QDialog::hideEvent(e);
}

void SettingsDialog::PictureChanged() { SchedulePreview(); }

void SettingsDialog::SchedulePreview() {
  if (isVisible()) previewDelay_.start();
}

// The values in the controls now, read as OK reads them but not stored.
void SettingsDialog::RestartPreview() {
  const DialogInput input = CurrentInput();
  const OkReading reading = ReadDialog(input, settings_);
  std::shared_ptr<const render::Surface> picture = picture_ ? picture_() : nullptr;
  if (!picture || picture->empty()) picture = render::TestPicture();
  const QString note = PreviewNote(input, reading, picture->width(), picture->height());
  if (!note.isEmpty()) {
    Preview->ShowNote(note);
    return;
  }
  Preview->Play(reading.settings, std::move(picture));
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

void SettingsDialog::Form_Activate() {
  // A shape index outside the list (an edited settings file) leaves the combo box's text as it
  // is; a width mode outside 0..2 selects no option, and OK then keeps that mode.
  if (const render::Motion* m = render::FindMotion(settings_.ShapeIndex)) {
    Combo1->setCurrentIndex(settings_.ShapeIndex);
    Combo1->setEditText(ui::Utf8(m->label));
  }
  const bool known = settings_.WidthMode >= 0 && settings_.WidthMode <= 2;
  SelectWidthOption(known ? settings_.WidthMode : kNoOption);
  Text1->setText(settings_.WidthMode == 2 ? NumberQText(settings_.WidthValue) : QString());
  Shape1->setColour(settings_.BackColor);
  Text2->setText(NumberQText(settings_.FrameCount));
  // The switch is on at 1 for the shading and the water tint, but the fade-in draws dots for
  // any value but 0. A value other than 0 and 1 (an edited settings file) therefore shows grey,
  // and OK stores it back unless the user clicks the box.
  const bool neither = settings_.Shade3D != 0 && settings_.Shade3D != 1;
  Check1->setTristate(neither);
  Check1->setCheckState(neither                  ? Qt::PartiallyChecked
                        : settings_.Shade3D == 1 ? Qt::Checked
                                                 : Qt::Unchecked);
  const QSizeF source = sourceSizeTwips_ ? sourceSizeTwips_() : QSizeF();
  if (source.width() > 0) {
    Label2->setText(SizeLabelText(source.width(), source.height(), twipsPerPixel_));
  }
  ApplyShapeConfiguration(Combo1->currentText());
  SchedulePreview();  // also when the fill changed no control
}

void SettingsDialog::Combo1_Click() { ApplyShapeConfiguration(Combo1->currentText()); }

void SettingsDialog::ApplyShapeConfiguration(const QString& text) {
  const int index = ShapeIndexOf(text);
  if (index < 0) return;  // a typed text that names no shape changes nothing
  const ShapeConfiguration& c = ShapeConfigurationOf(index);
  for (int i = 0; i < 3; ++i) Option2[i]->setEnabled(c.widthOptions[i]);
  if (c.selectOption != kNoOption) SelectWidthOption(c.selectOption);
  if (c.widthBox == WidthBox::EmptiedHidden) Text1->clear();
  Text1->setVisible(c.widthBox == WidthBox::Shown);
  Command1->setEnabled(c.colourButton);
  Frame3->setTitle(QString::fromUtf8(c.colourCaption));
  // The switch keeps its state; only its availability and caption follow the shape.
  Check1->setEnabled(c.switchEnabled);
  Check1->setText(QString::fromUtf8(c.switchCaption));
}

void SettingsDialog::SelectWidthOption(int index) {
  if (index >= 0 && index <= 2) {
    Option2[index]->setChecked(true);  // runs the width option rule when newly selected
    return;
  }
  widthOptions_->setExclusive(false);
  for (QRadioButton* o : Option2) o->setChecked(false);
  widthOptions_->setExclusive(true);
}

int SettingsDialog::SelectedWidthOption() const {
  const int id = widthOptions_->checkedId();
  return id >= 0 ? id : kNoOption;
}

void SettingsDialog::Option2_Click(int index) {
  // "指定" shows the stored width, not a number typed before; the other two empty the box.
  if (index == 2) {
    Text1->setText(QString::number(settings_.WidthValue));
  } else {
    Text1->clear();
  }
}

void SettingsDialog::Command1_Click() {
  const std::optional<QColor> chosen = prompter_.ChooseColour(this, lastPicked_);
  if (!chosen || !chosen->isValid()) return;  // cancelled or failed: nothing changes
  lastPicked_ = *chosen;
  Shape1->setColour(PackColour(*chosen));
  SchedulePreview();
}

DialogInput SettingsDialog::CurrentInput() const {
  DialogInput input;
  input.shapeText = Combo1->currentText();
  input.selectedOption = SelectedWidthOption();
  input.widthText = Text1->text();
  input.swatch = Shape1->colour();
  input.switchState = Check1->checkState();
  input.framesText = Text2->text();
  return input;
}

void SettingsDialog::OKButton_Click() {
  const OkReading reading = ReadDialog(CurrentInput(), settings_);
  if (reading.refusal != Refusal::None) {
    prompter_.Warn(this, RefusalMessage(reading.refusal));
    QLineEdit* box = reading.refusal == Refusal::Width ? Text1 : Text2;
    box->setFocus();
    box->selectAll();
    return;
  }
  settings_ = reading.settings;
  emit settingsStored();
  accept();
}

void SettingsDialog::CancelButton_Click() { reject(); }

}  // namespace kinetta::settings
