// The questions a user may have asked not to see again (a ticked 「今後この確認を表示しない」),
// remembered in the per-user store beside the window placement, not in the settings file.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace kinetta::ui {

class QuestionFlags {
 public:
  /// `keys` names every question that can be silenced, as its key in `store`.
  QuestionFlags(QSettings& store, QStringList keys);

  /// Whether the question `key` is still to be asked.
  bool Asked(const QString& key) const;
  /// The question `key` is no longer asked.
  void Silence(const QString& key);
  /// How many of the questions are no longer asked.
  int SilencedCount() const;
  /// Every question asked again (`asked`), or none.
  void SetAll(bool asked);
  int size() const { return static_cast<int>(keys_.size()); }

 private:
  QSettings& store_;
  QStringList keys_;
};

}  // namespace kinetta::ui
