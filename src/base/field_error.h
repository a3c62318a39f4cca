// A field's value refused: the message and its detail, and whether the field is emptied.
#pragma once

#include <QString>

struct FieldError {
  QString text;    // e.g. Msg::DadoIncorreto
  QString detail;  // e.g. "Nome"
  bool clear = false;
  // Already told to the user (and the focus placed) by the check itself.
  bool shown = false;
};

// A refused field at Confirm: the objectName of the field that takes the focus, and the message.
struct FieldRefusal {
  QString field;
  FieldError error;
};
