// The field conventions of the registry windows, written once: Enter checks a field and
// moves on along a chain; a refused value shows its message and keeps the focus; fields
// accept only their own keys; dates start in a fresh day/month/year mask.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "base/field_error.h"

class QComboBox;
class QLineEdit;
class QWidget;

using FieldCheck = std::function<std::optional<FieldError>()>;

class FieldChain : public QObject {
  Q_OBJECT

 public:
  explicit FieldChain(QObject* parent = nullptr);

  // Adds `field` after the previous one. `check` runs on Enter; without one the value is
  // always accepted. `beforeCheck` runs first (a date field settles its mask there).
  void add(QWidget* field, FieldCheck check = {}, std::function<void()> beforeCheck = {});
  // Where the focus goes after the last field (the confirm button).
  void setEnd(QWidget* end) { end_ = end; }

  // Runs the field's check as Enter would; true when it passed and the focus moved on.
  bool enter(QWidget* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Link {
    QPointer<QWidget> field;
    FieldCheck check;
    std::function<void()> beforeCheck;
  };
  QList<Link> links_;
  QPointer<QWidget> end_;
};

// Shows the refusal of a field (through MENSAGEM) and keeps the focus there.
void refuseField(QWidget* field, const FieldError& error);

// Keys a field accepts: printable characters outside `allowed` are swallowed. Editing and
// moving keys always pass.
void acceptOnlyKeys(QWidget* field, std::function<bool(QChar)> allowed);
bool isDigitKey(QChar c);

// Backspace empties the whole field.
void clearOnBackspace(QLineEdit* field);

// Letters typed into the field go in upper case (or lower case).
void upperCaseField(QLineEdit* field);
void lowerCaseField(QLineEdit* field);

// A drop-down chosen with the mouse or the arrow keys: typed characters are discarded.
void chooseOnlyList(QComboBox* list);

// The date fields: typing into an empty field starts a fresh "dd/mm/yyyy" mask; Enter on a
// field left empty (or holding only the mask) removes the mask, so a blank date is stored
// as no date at all, and a date typed without its leading zeros is written back whole. In a
// field that takes a space, the space leaves its position of the mask blank and the cursor
// moves on, so "1 2 1990" reads "1 /2 /1990", the first of February.
class DateField : public QObject {
  Q_OBJECT

 public:
  explicit DateField(QLineEdit* field, bool takesSpace = false);
  // What Enter does before the field's check.
  void settle();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void leaveBlank();

  QLineEdit* field_;
  bool takesSpace_;
};
