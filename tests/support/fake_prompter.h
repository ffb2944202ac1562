// The Prompter every GUI test puts in the desktop's place: it records what would have been shown
// and answers from a script. Each scripted answer is used once; when a script runs out, the
// answer is the one a user who closes the dialog would give (noted at each script).
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "ui_support/prompter.h"

namespace kinetta::test {

class FakePrompter final : public ui::Prompter {
 public:
  // Messages, in the order they were shown.
  QStringList warnings;
  QStringList informs;
  QStringList questions;
  std::deque<bool> answers;  ///< OK (true) or Cancel; OK once the script runs out
  /// The check box 「今後この確認を表示しない」 of a question that has one: ticked or not; not
  /// once the script runs out.
  std::deque<bool> silences;
  /// A question with several buttons: the index pressed; the last (cancel) once the script
  /// runs out.
  std::deque<int> choices;
  QList<QStringList> choiceButtons;  ///< the buttons each such question offered

  // The open dialog.
  std::deque<QString> openPaths;  ///< chosen files; cancel once the script runs out
  QString openTitle;
  QStringList openFilters;
  QString openFolder;  ///< the folder the last open dialog started in
  int openCalls = 0;

  // The save dialog.
  std::deque<QString> savePaths;  ///< chosen names; cancel once the script runs out
  QString saveTitle;
  QString saveProposed;
  QStringList saveFilters;
  int saveCalls = 0;

  // The colour chooser.
  std::deque<std::optional<QColor>> colourAnswers;  ///< cancel once the script runs out
  QList<QColor> colourStarts;                       ///< the colour each chooser started from

  // The folder chooser.
  std::deque<QString> folders;  ///< chosen folders; cancel once the script runs out

  // Files and programs handed to the desktop.
  QStringList localFiles;             ///< each page handed over, in order
  std::deque<bool> localFileAnswers;  ///< whether it opened; a failure once the script runs out
  QStringList started;                ///< each program started, in order
  bool startAnswer = true;            ///< whether a program starts

  void Warn(QWidget*, const QString& text) override { warnings << text; }
  void Inform(QWidget*, const QString& text) override { informs << text; }
  bool AskOkCancel(QWidget*, const QString& text) override {
    questions << text;
    return Next(answers, true);
  }
  bool AskOkCancelOrSilence(QWidget* parent, const QString& text, bool& silence) override {
    silence = Next(silences, false);
    return AskOkCancel(parent, text);
  }
  int AskChoice(QWidget*, const QString& text, const QStringList& buttons) override {
    questions << text;
    choiceButtons << buttons;
    return Next(choices, static_cast<int>(buttons.size()) - 1);
  }
  QString OpenFileName(QWidget*, const QString& title, const QStringList& filters,
                       const QString& folder) override {
    ++openCalls;
    openTitle = title;
    openFilters = filters;
    openFolder = folder;
    return Next(openPaths, QString());
  }
  QString SaveFileName(QWidget*, const QString& title, const QString& proposedPath,
                       const QStringList& filters) override {
    ++saveCalls;
    saveTitle = title;
    saveProposed = proposedPath;
    saveFilters = filters;
    return Next(savePaths, QString());
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor& initial) override {
    colourStarts << initial;
    return Next(colourAnswers, std::optional<QColor>());
  }
  QString ChooseFolder(QWidget*, const QString&, const QString&) override {
    return Next(folders, QString());
  }
  bool OpenLocalFile(const QString& path) override {
    localFiles << path;
    return Next(localFileAnswers, false);
  }
  bool StartProgram(const QString& program, const QStringList&) override {
    started << program;
    return startAnswer;
  }

 private:
  template <class T>
  static T Next(std::deque<T>& script, T whenEmpty) {
    if (script.empty()) return whenEmpty;
    T answer = std::move(script.front());
    script.pop_front();
    return answer;
  }
};

}  // namespace kinetta::test
