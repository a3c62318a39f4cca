// The settings row: the one row of Secvar that every window reads its settings from.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>
#include <optional>

// Every Secvar column's value for a new installation, keyed by the column's name as the
// table definition spells it. Yes/no settings are "Sim" / "Não".
QVariantMap defaultSettings();

// Inserts the settings row when Secvar has none: the defaults, with `overrides` (keys are
// column names, any case) taking their place. A table that has its row is left as it is.
// False, with the reason in `error`, when the row cannot be written or an override names
// no column of Secvar.
bool ensureSettingsRow(const QSqlDatabase& db, const QVariantMap& overrides = {},
                       QString* error = nullptr);

// The settings row, keyed by the column names as the table definition spells them (whatever
// case the server hands back), each value as its column's C++ type. Nothing when the table
// cannot be read or holds no row.
std::optional<QVariantMap> readSettings(const QSqlDatabase& db);

// The settings row as the program reads it: read once (and again when the configuration
// window saves), each column in its type, the yes/no columns as named questions. Every reader
// goes through it; the column names live in this file alone.
class Settings {
 public:
  // The row of `db`'s settings table; nothing when it cannot be read or holds no row.
  static std::optional<Settings> read(const QSqlDatabase& db);
  // A row as readSettings hands it (a column it lacks reads as NULL).
  static Settings fromRow(const QVariantMap& row);
  // A new installation's settings.
  Settings();

  // The gym, as the installation filled it.
  QString academia;
  QString enderecoAcademia;
  QString complemento1;
  QString cnpjCpf;
  std::optional<double> cliente;  // the gym's number with the provider; none when NULL

  // Series and their follow-up.
  QString tempoReavaliacao;    // the time to the next assessment, as typed
  QString trocaSerie;          // in "Meses" or "Dias"
  int alunosAusentes = 0;      // days away that make a member absent
  QString alunosAtivos;        // "Sim" when the members' database lists only active members
  QString portalCenection;     // "Sim" when series go to the portal
  QString grupamentoMuscular;  // "Sim" when exercises are picked by muscle group

  // The 40-column receipt.
  QString impressaoReduzida;
  bool porCodigoAparelho = false;
  int espaco = 0;
  QString portaImp;
  QString enderecoPorta;
  QString caminhoImpressora;

  // E-mail.
  QString smtpProvedor;
  QString nomeProvedor;
  QString emailProvedor;
  std::optional<QString> username;  // none when never set: the login then uses the address
  QString password;
  QString useTls;  // IdSMTP_UseTLS
  QString assuntoAusente;
  QString textoAusente;
  QString imagemCorpoAusente;

  // Members, staff and photos are kept in this database (not in an outside members' system).
  bool membersKeptHere() const { return pathExercicio_ == yes(); }
  // What the shell calls a local system: anything but a plain "Não" in the same column.
  bool localSystem() const { return pathExercicio_ != no(); }
  // The outside members' database lists active members only.
  bool activeMembersOnly() const { return alunosAtivos == yes(); }
  bool sequentialNumbers() const { return codigoSeq_ == yes(); }
  bool assessmentIntegration() const { return integracaoTamsel_ == yes(); }
  bool webCapture() const { return capturaWeb_ == yes(); }
  bool exerciseTwiceInSeries() const { return maisUmExercSerie_ == yes(); }
  bool seriesOnVideo() const { return serieEmVideo_ == yes(); }
  bool portalOn() const { return portalCenection == yes(); }
  bool instructorTiedToUser() const { return vinculaProfUsu_ == yes(); }
  bool changeDateEditable() const { return trocaDataSerie_ != no(); }
  bool printsStretches() const { return impAlongamento_ != no(); }
  bool printsSeriesDays() const { return imprimeDiasSerie_ == yes(); }
  // No reassessment is scheduled: the interval is not a number above zero.
  bool reassessmentOff() const { return tempoReavaliacao.trimmed().toInt() == 0; }

 private:
  struct Blank {};
  explicit Settings(Blank) {}
  static const QString& yes();
  static const QString& no();

  QString codigoSeq_;
  QString pathExercicio_;
  QString integracaoTamsel_;
  QString capturaWeb_;
  QString maisUmExercSerie_;
  QString serieEmVideo_;
  QString vinculaProfUsu_;
  QString trocaDataSerie_;
  QString impAlongamento_;
  QString imprimeDiasSerie_;
};

// Copies what the program keeps in process-wide values from the settings: the absence limit,
// the mail provider, portal publishing, muscle groups and whether the program runs alone.
// (The gym's name and number, and the active-member list, are taken by their own steps.)
void copySettingsToProcessValues(const Settings& settings);
