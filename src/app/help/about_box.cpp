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
  return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + numbers.join(QLatin1Char('.'));
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
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  picIcon = new QLabel(this);
  picIcon->setObjectName(QStringLiteral("picIcon"));
  picIcon->setPixmap(KinettaIcon(32));
  picIcon->setFixedSize(36, 36);
  picIcon->setAlignment(Qt::AlignCenter);

  lblTitle = new QLabel(this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  lblTitle->setFont(titleFont);
  lblVersion = new QLabel(QStringLiteral("バージョン　0.90"), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblDescription = new QLabel(QStringLiteral("動画作成補助ツール"), this);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  lblDisclaimer = new QLabel(
      QStringLiteral("Kinetta はフリーソフトウェアです（GPL-3.0-or-later、無保証）。"), this);
  lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));

  // The two lines make one etched rule: a shadow line over a light one.
  const std::array<QPalette::ColorRole, 2> roles{QPalette::Dark, QPalette::Light};
  for (std::size_t i = 0; i < Line1.size(); ++i) {
    Line1[i] = new QFrame(this);
    Line1[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
    Line1[i]->setFixedHeight(1);
    Line1[i]->setAutoFillBackground(true);
    QPalette pal = Line1[i]->palette();
    pal.setColor(QPalette::Window, pal.color(roles[i]));
    Line1[i]->setPalette(pal);
  }

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
  cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  cmdSysInfo->setAutoDefault(false);
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

  auto* texts = new QVBoxLayout;
  texts->addWidget(lblTitle);
  texts->addWidget(lblVersion);
  texts->addWidget(lblDescription);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picIcon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);
  auto* rule = new QVBoxLayout;
  rule->setSpacing(0);
  rule->addWidget(Line1[0]);
  rule->addWidget(Line1[1]);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblDisclaimer, 1, Qt::AlignTop);
  bottom->addSpacing(12);
  bottom->addLayout(buttons);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addSpacing(8);
  all->addLayout(rule);
  all->addSpacing(8);
  all->addLayout(bottom);
  all->setSizeConstraint(QLayout::SetFixedSize);

  Form_Load();
}

void AboutBox::Form_Load() {
  lblVersion->setText(VersionText(QStringLiteral(KINETTA_VERSION)));
  lblTitle->setText(QStringLiteral("Kinetta"));
}

void AboutBox::cmdOK_Click() { accept(); }

void AboutBox::cmdSysInfo_Click() { StartSysInfo(); }

void AboutBox::StartSysInfo() {
  for (const QString& name : SysInfoPrograms()) {
    const QString program = lookup_ ? lookup_(name) : QString();
    if (!program.isEmpty() && prompter_.StartProgram(program, {})) return;
  }
  // No such program, or none would start: the box stays open.
  prompter_.Inform(this, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}

}  // namespace kinetta::help
