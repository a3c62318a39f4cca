#include "forms/field_keys.h"

#include <QKeyEvent>

namespace {

class FieldKeyFilter : public QObject {
 public:
  FieldKeyFilter(QObject* parent, std::function<void()> enter, std::function<void()> escape)
      : QObject(parent), enter_(std::move(enter)), escape_(std::move(escape)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
      return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const std::function<void()>* action = nullptr;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && enter_) action = &enter_;
    if (key == Qt::Key_Escape && escape_) action = &escape_;
    if (!action) return QObject::eventFilter(watched, event);
    // Claim the key before any shortcut sees it; act on the press itself.
    if (event->type() == QEvent::ShortcutOverride) {
      event->accept();
      return true;
    }
    (*action)();
    return true;
  }

 private:
  std::function<void()> enter_;
  std::function<void()> escape_;
};

}  // namespace

void onFieldKeys(QWidget* field, std::function<void()> onEnter, std::function<void()> onEscape) {
  field->installEventFilter(new FieldKeyFilter(field, std::move(onEnter), std::move(onEscape)));
}

UpperCaseValidator::UpperCaseValidator(const QString& pattern, QObject* parent)
    : QRegularExpressionValidator(QRegularExpression(pattern), parent) {}

QValidator::State UpperCaseValidator::validate(QString& input, int& pos) const {
  input = input.toUpper();
  return QRegularExpressionValidator::validate(input, pos);
}
