// A Prompter for the settings dialog and help tests: it records what would have been shown and
// answers from a script.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "ui_support/prompter.h"

namespace kinetta::test {

class ScriptPrompter : public ui::Prompter {
 public:
  QStringList warnings, informs, opened, started;
  std::deque<std::optional<QColor>> colourAnswers;  ///< empty answers cancel
  QList<QColor> colourStarts;                       ///< the colour each chooser started from
  std::deque<bool> openAnswers;                     ///< a missing answer is a failure
  bool startAnswer = true;

  void Warn(QWidget*, const QString& text) override { warnings << text; }
  void Inform(QWidget*, const QString& text) override { informs << text; }
  bool AskOkCancel(QWidget*, const QString& text) override {
    warnings << text;
    return true;
  }
  QString OpenFileName(QWidget*, const QString&, const QStringList&) override { return {}; }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QStringList&) override {
    return {};
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor& initial) override {
    colourStarts << initial;
    if (colourAnswers.empty()) return std::nullopt;
    const std::optional<QColor> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
  }
  bool OpenLocalFile(const QString& path) override {
    opened << path;
    if (openAnswers.empty()) return false;
    const bool answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
  }
  bool StartProgram(const QString& program, const QStringList&) override {
    started << program;
    return startAnswer;
  }
};

}  // namespace kinetta::test
