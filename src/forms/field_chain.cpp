#include "forms/field_chain.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "base/prompter.h"
#include "base/typed_date.h"

namespace {

bool isEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// Filters keys with a predicate; lives as long as the field.
class KeyFilter : public QObject {
 public:
  KeyFilter(QObject* parent, std::function<bool(QKeyEvent*)> swallow)
      : QObject(parent), swallow_(std::move(swallow)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && swallow_(static_cast<QKeyEvent*>(event))) return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<bool(QKeyEvent*)> swallow_;
};

// A caret case validator keeps pasted text in the field's case as well as typed text.
class CaseValidator : public QValidator {
 public:
  CaseValidator(QObject* parent, bool upper) : QValidator(parent), upper_(upper) {}
  State validate(QString& input, int&) const override {
    input = upper_ ? input.toUpper() : input.toLower();
    return Acceptable;
  }

 private:
  bool upper_;
};

}  // namespace

FieldChain::FieldChain(QObject* parent) : QObject(parent) {}

void FieldChain::add(QWidget* field, FieldCheck check, std::function<void()> beforeCheck) {
  links_.append({field, std::move(check), std::move(beforeCheck)});
  field->installEventFilter(this);
}

bool FieldChain::enter(QWidget* field) {
  for (int i = 0; i < links_.size(); ++i) {
    if (links_[i].field != field) continue;
    if (links_[i].beforeCheck) links_[i].beforeCheck();
    if (links_[i].check) {
      if (const std::optional<FieldError> error = links_[i].check()) {
        refuseField(field, *error);
        return false;
      }
    }
    // The next field that can take the focus; disabled ones are skipped.
    for (int j = i + 1; j < links_.size(); ++j) {
      QWidget* next = links_[j].field;
      if (next && next->isEnabled() && next->isVisible()) {
        // As Tab does: a field that already holds text is selected, so typing replaces it.
        next->setFocus(Qt::TabFocusReason);
        return true;
      }
    }
    if (end_) end_->setFocus(Qt::TabFocusReason);
    return true;
  }
  return false;
}

bool FieldChain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
    enter(qobject_cast<QWidget*>(watched));
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void refuseField(QWidget* field, const FieldError& error) {
  if (error.shown) return;
  MENSAGEM(QStringLiteral("!"), error.text, error.detail);
  if (auto* edit = qobject_cast<QLineEdit*>(field); edit && error.clear) edit->clear();
  if (field) field->setFocus();
}

bool isDigitKey(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

void acceptOnlyKeys(QWidget* field, std::function<bool(QChar)> allowed) {
  field->installEventFilter(new KeyFilter(field, [allowed = std::move(allowed)](QKeyEvent* key) {
    const QString text = key->text();
    if (text.isEmpty() || !text[0].isPrint()) return false;
    return !allowed(text[0]);
  }));
}

void clearOnBackspace(QLineEdit* field) {
  field->installEventFilter(new KeyFilter(field, [field](QKeyEvent* key) {
    if (key->key() != Qt::Key_Backspace) return false;
    field->clear();
    return true;
  }));
}

void upperCaseField(QLineEdit* field) {
  field->setValidator(new CaseValidator(field, true));
}

void lowerCaseField(QLineEdit* field) {
  field->setValidator(new CaseValidator(field, false));
}

void chooseOnlyList(QComboBox* list) {
  list->setEditable(false);
  list->installEventFilter(new KeyFilter(list, [](QKeyEvent* key) {
    const QString text = key->text();
    return !text.isEmpty() && text[0].isPrint();
  }));
}

DateField::DateField(QLineEdit* field, bool takesSpace)
    : QObject(field), field_(field), takesSpace_(takesSpace) {
  field->installEventFilter(this);
}

void DateField::settle() {
  if (isBlankDate(field_->text())) {
    field_->setInputMask(QString());
    field_->clear();
    return;
  }
  if (const std::optional<QDate> date = parseTypedDate(field_->text()))
    field_->setText(formatTypedDate(*date));
}

// The position under the cursor (past a separator) stays blank; the cursor goes on.
void DateField::leaveBlank() {
  int position = field_->cursorPosition();
  const QString shown = field_->displayText();
  if (position < shown.size() && shown[position] == QLatin1Char('/')) ++position;
  if (position >= shown.size()) return;
  field_->setSelection(position, 1);
  field_->del();
  field_->setCursorPosition(position + 1);
}

bool DateField::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (!text.isEmpty() && text[0].isPrint() && !isEnter(key) && isBlankDate(field_->text())) {
      // Typing starts in a fresh day/month/year mask.
      field_->setInputMask(QStringLiteral("99/99/9999;_"));
      field_->clear();
      field_->setCursorPosition(0);
    }
    if (takesSpace_ && key->key() == Qt::Key_Space && !field_->inputMask().isEmpty()) {
      leaveBlank();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
