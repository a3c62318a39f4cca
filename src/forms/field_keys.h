// The keyboard conventions of the program's fields: Enter validates a field and Esc backs
// out, and neither reaches the dialog (which would otherwise accept or close); typed letters
// go in upper case where the field says so.
#pragma once

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <functional>

// Calls `onEnter` for Return/Enter and `onEscape` for Esc pressed in `edit`. An empty
// callback lets the key through.
void onFieldKeys(QWidget* field, std::function<void()> onEnter, std::function<void()> onEscape);

// Accepts only text that `pattern` matches, after turning letters to upper case as they are
// typed or pasted.
class UpperCaseValidator : public QRegularExpressionValidator {
 public:
  UpperCaseValidator(const QString& pattern, QObject* parent);
  State validate(QString& input, int& pos) const override;
};
