// A field's value refused: the message and its detail, and whether the field is emptied.
#pragma once

#include <QString>

struct FieldError {
  QString text;    // e.g. Msg::DadoIncorreto
  QString detail;  // e.g. "Nome"
  bool clear = false;
};
