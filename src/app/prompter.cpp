// The desktop's own message boxes, file dialog, colour chooser and file opening.
#include "app/prompter.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace kinetta::app {

void DesktopPrompter::Warn(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QStringLiteral("Kinetta"), text);
}

void DesktopPrompter::Inform(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kinetta"), text, QMessageBox::Ok, parent);
  box.exec();
}

bool DesktopPrompter::AskOkCancel(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, QStringLiteral("Kinetta"), text,
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

QString DesktopPrompter::OpenFileName(QWidget* parent, const QString& title,
                                      const QStringList& filters) {
  QFileDialog dialog(parent, title);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

std::optional<QColor> DesktopPrompter::ChooseColour(QWidget* parent, const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent);
  if (!c.isValid()) return std::nullopt;
  return c;
}

bool DesktopPrompter::OpenLocalFile(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopPrompter::StartProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

}  // namespace kinetta::app
