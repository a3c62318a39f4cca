// The process-wide values: who is logged in, the settings copied at start-up and the
// counters the windows share. One struct, owned by the application.
#pragma once

#include <QString>

// A text of at most N characters; a longer value is cut to N on assignment.
template <int N>
class FixedText {
 public:
  FixedText() = default;
  FixedText(const QString& value) : value_(value.left(N)) {}  // NOLINT: implicit on purpose
  FixedText& operator=(const QString& value) {
    value_ = value.left(N);
    return *this;
  }
  operator const QString&() const { return value_; }  // NOLINT
  const QString& str() const { return value_; }
  bool operator==(const QString& other) const { return value_ == other; }
  bool isEmpty() const { return value_.isEmpty(); }

 private:
  QString value_;
};

struct Globals {
  FixedText<2> GSTR_USUARIO;
  FixedText<2> GSTR_USUARIO_ANTERIOR;
  FixedText<35> GSTR_ACADEMIA;
  qint32 GINT_JANELAS_ABERTAS = 0;
  bool GBOL_FALHA_ABERTURA = false;
  bool GBOL_SISTEMA_LOCAL = true;
  bool GBOL_MUDA_USUARIO = false;
  bool GBOL_CONTROLE_OK = true;
  bool GBOL_TEM_AUSENTES = false;
  qint16 GINT_DIAS_AUSENTES = 0;
  FixedText<40> GSTR_SMTP_PROVEDOR;
  FixedText<40> GSTR_NOME_PROVEDOR;
  FixedText<40> GSTR_EMAIL_PROVEDOR;
  FixedText<40> GSTR_USERNAME;
  FixedText<40> GSTR_PASSWORD;
  FixedText<3> GSTR_ALUNOS_ATIVOS;
  bool GBOL_EMAIL_AUSENTES = false;
  bool GBOL_EMAIL_RELATORIO = false;
  QString GSTR_GRUPAMENTO_MUSCULAR;
  QString GSTR_PORTAL_CONECTION;
  double GFLT_CLIENTE = 0;
};

// The one instance of the process-wide values.
Globals& G();

// Back to the values of a fresh start (tests start each case from here).
void resetGlobals();
