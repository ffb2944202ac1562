// The desktop's own message boxes, file dialogs, colour chooser and file opening.
#include "ui_support/prompter.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include "ui_support/form_metrics.h"
#include "ui_support/ui_messages.h"

namespace kinetta::ui {

void DesktopPrompter::Warn(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, Utf8(kProgramTitle), text);
}

void DesktopPrompter::Inform(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, Utf8(kProgramTitle), text, QMessageBox::Ok, parent);
  box.exec();
}

bool DesktopPrompter::AskOkCancel(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, Utf8(kProgramTitle), text,
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool DesktopPrompter::AskOkCancelOrSilence(QWidget* parent, const QString& text, bool& silence) {
  QMessageBox box(QMessageBox::Warning, Utf8(kProgramTitle), text,
                  QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Ok);
  auto* check = new QCheckBox(Utf8(kDontAskAgain), &box);
  box.setCheckBox(check);
  const bool ok = box.exec() == QMessageBox::Ok;
  silence = check->isChecked();
  return ok;
}

int DesktopPrompter::AskChoice(QWidget* parent, const QString& text, const QStringList& choices) {
  QMessageBox box(QMessageBox::Question, Utf8(kProgramTitle), text, QMessageBox::NoButton, parent);
  QList<QPushButton*> buttons;
  for (qsizetype i = 0; i < choices.size(); ++i) {
    const bool last = i + 1 == choices.size();
    buttons << box.addButton(choices[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
  }
  if (!buttons.isEmpty()) box.setDefaultButton(buttons.front());
  box.exec();
  const qsizetype chosen = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
  return static_cast<int>(chosen >= 0 ? chosen : choices.size() - 1);
}

QString DesktopPrompter::OpenFileName(QWidget* parent, const QString& title,
                                      const QStringList& filters, const QString& folder) {
  QFileDialog dialog(parent, title, folder);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

QString DesktopPrompter::SaveFileName(QWidget* parent, const QString& title,
                                      const QString& proposedPath, const QStringList& filters) {
  QFileDialog dialog(parent, title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
  // A name typed without an extension gets the proposed one before the dialog checks whether
  // the file exists, so the overwrite question is asked about the file really written.
  const QFileInfo proposed(proposedPath);
  dialog.setDefaultSuffix(proposed.suffix());
  dialog.setDirectory(proposed.absolutePath());
  dialog.selectFile(proposed.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

std::optional<QColor> DesktopPrompter::ChooseColour(QWidget* parent, const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent);
  if (!c.isValid()) return std::nullopt;
  return c;
}

QString DesktopPrompter::ChooseFolder(QWidget* parent, const QString& title,
                                      const QString& folder) {
  return QFileDialog::getExistingDirectory(parent, title, folder);
}

bool DesktopPrompter::OpenLocalFile(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopPrompter::StartProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

}  // namespace kinetta::ui
