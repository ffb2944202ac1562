// The one seam through which the desktop program asks the user anything: message boxes, the
// open and save dialogs, the colour chooser, and handing a file or program to the desktop. Tests
// put a scripted Prompter in its place.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace kinetta::ui {

class Prompter {
 public:
  virtual ~Prompter() = default;

  /// A message with a warning icon and an OK button.
  virtual void Warn(QWidget* parent, const QString& text) = 0;
  /// A message with an OK button and no icon.
  virtual void Inform(QWidget* parent, const QString& text) = 0;
  /// A question with a warning icon and the buttons OK and Cancel; true for OK.
  virtual bool AskOkCancel(QWidget* parent, const QString& text) = 0;
  /// The same question with a check box 「今後この確認を表示しない」 below it; `silence` tells
  /// whether the user ticked it.
  virtual bool AskOkCancelOrSilence(QWidget* parent, const QString& text, bool& silence) {
    silence = false;
    return AskOkCancel(parent, text);
  }
  /// A question with one button per entry of `choices` (the last one cancels); the index of the
  /// button pressed, or the last index when the box is closed.
  virtual int AskChoice(QWidget* parent, const QString& text, const QStringList& choices) = 0;
  /// The open dialog, starting in `folder`; `filters` are Qt name filters, the first one
  /// selected. Empty on cancel.
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QStringList& filters,
                               const QString& folder) = 0;
  /// The save dialog proposing `proposedPath` (its folder and name); `filters` are Qt name
  /// filters, the first one selected. An existing file is confirmed before it is chosen. Empty
  /// on cancel.
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                               const QStringList& filters) = 0;
  /// The colour chooser starting from `initial`; nothing on cancel.
  virtual std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) = 0;
  /// The folder chooser starting in `folder`; empty on cancel.
  virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& folder) = 0;
  /// Opens a local file (a web page) in the user's default application; false on failure.
  virtual bool OpenLocalFile(const QString& path) = 0;
  /// Starts a program in its own window; false when it could not be started.
  virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
};

/// The real dialogs of the desktop.
class DesktopPrompter final : public Prompter {
 public:
  void Warn(QWidget* parent, const QString& text) override;
  void Inform(QWidget* parent, const QString& text) override;
  bool AskOkCancel(QWidget* parent, const QString& text) override;
  bool AskOkCancelOrSilence(QWidget* parent, const QString& text, bool& silence) override;
  int AskChoice(QWidget* parent, const QString& text, const QStringList& choices) override;
  QString OpenFileName(QWidget* parent, const QString& title, const QStringList& filters,
                       const QString& folder) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                       const QStringList& filters) override;
  std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) override;
  QString ChooseFolder(QWidget* parent, const QString& title, const QString& folder) override;
  bool OpenLocalFile(const QString& path) override;
  bool StartProgram(const QString& program, const QStringList& arguments) override;
};

}  // namespace kinetta::ui
