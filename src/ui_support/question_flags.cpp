#include "ui_support/question_flags.h"

#include <QSettings>

namespace kinetta::ui {

namespace {
// Every flag lives in this group of the store; a question is asked unless its flag says false.
QString Key(const QString& key) { return QStringLiteral("Questions/") + key; }
}  // namespace

QuestionFlags::QuestionFlags(QSettings& store, QStringList keys)
    : store_(store), keys_(std::move(keys)) {}

bool QuestionFlags::Asked(const QString& key) const {
  return store_.value(Key(key), true).toBool();
}

void QuestionFlags::Silence(const QString& key) { store_.setValue(Key(key), false); }

int QuestionFlags::SilencedCount() const {
  int count = 0;
  for (const QString& key : keys_) count += Asked(key) ? 0 : 1;
  return count;
}

void QuestionFlags::SetAll(bool asked) {
  for (const QString& key : keys_) {
    if (asked) {
      store_.remove(Key(key));
    } else {
      store_.setValue(Key(key), false);
    }
  }
}

}  // namespace kinetta::ui
