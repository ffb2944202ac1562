// The version box "ﾊﾞｰｼﾞｮﾝ情報": the program's icon, title, version and description, a notice,
// and a button that starts the desktop's system-information program when one is installed.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "ui_support/prompter.h"

class QFrame;
class QLabel;
class QPushButton;

namespace kinetta::help {

/// Finds an installed program by name; empty when it is not installed.
using ProgramLookup = std::function<QString(const QString& name)>;

/// The lookup on the executable search path (PATH).
QString FindOnPath(const QString& name);

/// The system-information programs tried in order.
QStringList SysInfoPrograms();

/// "ﾊﾞｰｼﾞｮﾝ " and the major, minor and revision numbers of `version` in decimal without
/// leading zeros; missing parts count as 0 and parts beyond the third are left out.
QString VersionText(const QString& version);

/// The program's icon, drawn at `size` x `size` pixels.
QPixmap KinettaIcon(int size);

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  AboutBox(ui::Prompter& prompter, ProgramLookup lookup, QWidget* parent = nullptr);

 private:
  void FillTexts();
  void StartSysInfo();

  ui::Prompter& prompter_;
  ProgramLookup lookup_;

  QLabel* iconLabel_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* descriptionLabel_ = nullptr;
  QLabel* noticeLabel_ = nullptr;
  std::array<QFrame*, 2> ruleLines_{};
  QPushButton* okButton_ = nullptr;
  QPushButton* sysInfoButton_ = nullptr;
};

}  // namespace kinetta::help
