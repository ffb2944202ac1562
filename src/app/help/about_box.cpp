// The version box and its system-information button.
#include "app/help/about_box.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QStandardPaths>

#include "base/version.h"
#include "ui_support/form_metrics.h"
#include "ui_support/ui_messages.h"

namespace kinetta::help {

QString FindOnPath(const QString& name) { return QStandardPaths::findExecutable(name); }

QStringList SysInfoPrograms() {
  // Hardware and system summaries first (HardInfo and its successor, the KDE Info Center), the
  // GNOME system monitor, whose tabs show the system and its resources, last.
  return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
          QStringLiteral("gnome-system-monitor")};
}

QString VersionText(const QString& version) {
  const QStringList parts = version.split(QLatin1Char('.'));
  QStringList numbers;
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    const int n = i < parts.size() ? parts[i].toInt(&ok) : 0;
    numbers << QString::number(ok ? n : 0);
  }
  return ui::Utf8("ﾊﾞｰｼﾞｮﾝ ") + numbers.join(QLatin1Char('.'));
}

QPixmap KinettaIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);

  // A strip of film with its sprocket holes...
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 48));
  p.drawRoundedRect(QRectF(1, 4, 30, 24), 3, 3);
  p.setBrush(QColor(235, 235, 235));
  for (int i = 0; i < 6; ++i) {
    p.drawRect(QRectF(3 + i * 4.6, 5.5, 2.4, 2.2));
    p.drawRect(QRectF(3 + i * 4.6, 24.3, 2.4, 2.2));
  }
  p.setBrush(QColor(250, 246, 230));
  p.drawRect(QRectF(3, 9, 26, 14));

  // ...holding a turning ball, lit from the upper left, with the arc of its turn.
  QRadialGradient shade(QPointF(13.5, 13), 8, QPointF(12, 12));
  shade.setColorAt(0, QColor(255, 255, 255));
  shade.setColorAt(0.35, QColor(90, 150, 230));
  shade.setColorAt(1, QColor(20, 50, 130));
  p.setBrush(shade);
  p.drawEllipse(QPointF(16, 16), 6, 6);
  QPainterPath arc;
  arc.moveTo(6, 18);
  arc.cubicTo(8, 24, 24, 24, 26, 18);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(220, 90, 40), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(arc);
  p.drawLine(QPointF(26, 18), QPointF(23.5, 18.6));
  p.drawLine(QPointF(26, 18), QPointF(25.6, 20.6));
  return pixmap;
}

AboutBox::AboutBox(ui::Prompter& prompter, ProgramLookup lookup, QWidget* parent)
    : QDialog(parent), prompter_(prompter), lookup_(std::move(lookup)) {
  setWindowTitle(ui::Utf8("ﾊﾞｰｼﾞｮﾝ情報"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  iconLabel_ = new QLabel(this);
  iconLabel_->setObjectName(QStringLiteral("iconLabel"));
  iconLabel_->setPixmap(KinettaIcon(32));
  iconLabel_->setFixedSize(36, 36);
  iconLabel_->setAlignment(Qt::AlignCenter);

  titleLabel_ = new QLabel(this);
  titleLabel_->setObjectName(QStringLiteral("titleLabel"));
  QFont titleFont = titleLabel_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  titleLabel_->setFont(titleFont);
  versionLabel_ = new QLabel(ui::Utf8("バージョン　0.90"), this);
  versionLabel_->setObjectName(QStringLiteral("versionLabel"));
  descriptionLabel_ = new QLabel(ui::Utf8("動画作成補助ツール"), this);
  descriptionLabel_->setObjectName(QStringLiteral("descriptionLabel"));
  noticeLabel_ =
      new QLabel(ui::Utf8("Kinetta はフリーソフトウェアです（GPL-3.0-or-later、無保証）。"), this);
  noticeLabel_->setObjectName(QStringLiteral("noticeLabel"));

  // The two lines make one etched rule: a shadow line over a light one.
  const std::array<QPalette::ColorRole, 2> roles{QPalette::Dark, QPalette::Light};
  for (std::size_t i = 0; i < ruleLines_.size(); ++i) {
    ruleLines_[i] = new QFrame(this);
    ruleLines_[i]->setObjectName(QStringLiteral("ruleLine%1").arg(i));
    ruleLines_[i]->setFixedHeight(1);
    ruleLines_[i]->setAutoFillBackground(true);
    QPalette pal = ruleLines_[i]->palette();
    pal.setColor(QPalette::Window, pal.color(roles[i]));
    ruleLines_[i]->setPalette(pal);
  }

  okButton_ = new QPushButton(ui::Utf8(ui::kOkCaption), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  okButton_->setDefault(true);
  sysInfoButton_ = new QPushButton(ui::Utf8("ｼｽﾃﾑ情報(&S)..."), this);
  sysInfoButton_->setObjectName(QStringLiteral("sysInfoButton"));
  sysInfoButton_->setAutoDefault(false);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(sysInfoButton_, &QPushButton::clicked, this, [this] { StartSysInfo(); });

  auto* texts = new QVBoxLayout;
  texts->addWidget(titleLabel_);
  texts->addWidget(versionLabel_);
  texts->addWidget(descriptionLabel_);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(iconLabel_, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);
  auto* rule = new QVBoxLayout;
  rule->setSpacing(0);
  rule->addWidget(ruleLines_[0]);
  rule->addWidget(ruleLines_[1]);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton_);
  buttons->addWidget(sysInfoButton_);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(noticeLabel_, 1, Qt::AlignTop);
  bottom->addSpacing(12);
  bottom->addLayout(buttons);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addSpacing(8);
  all->addLayout(rule);
  all->addSpacing(8);
  all->addLayout(bottom);
  all->setSizeConstraint(QLayout::SetFixedSize);

  FillTexts();
}

void AboutBox::FillTexts() {
  versionLabel_->setText(VersionText(QStringLiteral(KINETTA_VERSION)));
  titleLabel_->setText(ui::Utf8(ui::kProgramTitle));
}

void AboutBox::StartSysInfo() {
  for (const QString& name : SysInfoPrograms()) {
    const QString program = lookup_ ? lookup_(name) : QString();
    if (!program.isEmpty() && prompter_.StartProgram(program, {})) return;
  }
  // No such program, or none would start: the box stays open.
  prompter_.Inform(this, ui::Utf8(ui::kSysInfoUnavailable));
}

}  // namespace kinetta::help
