// The settings row: the one row of Secvar that every window reads its settings from.
#pragma once

#include <QLatin1StringView>
#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>
#include <optional>

// The settings table's columns, as its definition spells them. Readers go through Settings;
// only the configuration editor, which edits the row column by column, names them itself.
namespace SettingsColumn {
inline constexpr QLatin1StringView ACADEMIA{"ACADEMIA"};
inline constexpr QLatin1StringView ASSUNTO_AUSENTE{"ASSUNTO_AUSENTE"};
inline constexpr QLatin1StringView AlunosAtivos{"AlunosAtivos"};
inline constexpr QLatin1StringView Alunos_Ausentes{"Alunos_Ausentes"};
inline constexpr QLatin1StringView CAMINHOCOPIA{"CAMINHOCOPIA"};
inline constexpr QLatin1StringView CAPTURA_WEB{"CAPTURA_WEB"};
inline constexpr QLatin1StringView CLIENTE{"CLIENTE"};
inline constexpr QLatin1StringView CNPJCPF{"CNPJCPF"};
inline constexpr QLatin1StringView CODIGOSEQ{"CODIGOSEQ"};
inline constexpr QLatin1StringView COMPLEMENTO1{"COMPLEMENTO1"};
inline constexpr QLatin1StringView COMPLEMENTO2{"COMPLEMENTO2"};
inline constexpr QLatin1StringView Caminho_Impressora{"Caminho_Impressora"};
inline constexpr QLatin1StringView Caminho_Video{"Caminho_Video"};
inline constexpr QLatin1StringView DATABIT{"DATABIT"};
inline constexpr QLatin1StringView EMAIL_PROVEDOR{"EMAIL_PROVEDOR"};
inline constexpr QLatin1StringView ENDERACADEMIA{"ENDERACADEMIA"};
inline constexpr QLatin1StringView ENDERECO_PORTA{"ENDERECO_PORTA"};
inline constexpr QLatin1StringView ESPACO{"ESPACO"};
inline constexpr QLatin1StringView GrupamentoMuscular{"GrupamentoMuscular"};
inline constexpr QLatin1StringView IMAGEM_CORPO_AUSENTE{"IMAGEM_CORPO_AUSENTE"};
inline constexpr QLatin1StringView IMPRESSAOREDUZIDA{"IMPRESSAOREDUZIDA"};
inline constexpr QLatin1StringView IdSMTP_UseTLS{"IdSMTP_UseTLS"};
inline constexpr QLatin1StringView Imp_Alongamento{"Imp_Alongamento"};
inline constexpr QLatin1StringView ImprimeDiasSerie{"ImprimeDiasSerie"};
inline constexpr QLatin1StringView IntegracaoTamsel{"IntegracaoTamsel"};
inline constexpr QLatin1StringView LOGOACADEMIA1{"LOGOACADEMIA1"};
inline constexpr QLatin1StringView MSN_IMP{"MSN_IMP"};
inline constexpr QLatin1StringView MaisUmExercSerie{"MaisUmExercSerie"};
inline constexpr QLatin1StringView NOME_PROVEDOR{"NOME_PROVEDOR"};
inline constexpr QLatin1StringView PARIDADE{"PARIDADE"};
inline constexpr QLatin1StringView PASSWORD{"PASSWORD"};
inline constexpr QLatin1StringView PATH_EXERCICIO{"PATH_EXERCICIO"};
inline constexpr QLatin1StringView PINPAD{"PINPAD"};
inline constexpr QLatin1StringView PORTA_IMP{"PORTA_IMP"};
inline constexpr QLatin1StringView POR_CODIGO_APARELHO{"POR_CODIGO_APARELHO"};
inline constexpr QLatin1StringView Portal_Cenection{"Portal_Cenection"};
inline constexpr QLatin1StringView SAIDAALUNO{"SAIDAALUNO"};
inline constexpr QLatin1StringView SERIEEMVIDEO{"SERIEEMVIDEO"};
inline constexpr QLatin1StringView SMTP_PROVEDOR{"SMTP_PROVEDOR"};
inline constexpr QLatin1StringView STOPBIT{"STOPBIT"};
inline constexpr QLatin1StringView TEMPO_REAVALIACAO{"TEMPO_REAVALIACAO"};
inline constexpr QLatin1StringView TEXTO_AUSENTE{"TEXTO_AUSENTE"};
inline constexpr QLatin1StringView Tec12USB{"Tec12USB"};
inline constexpr QLatin1StringView Tempo_Serie{"Tempo_Serie"};
inline constexpr QLatin1StringView Terminal_Video_Aparelho{"Terminal_Video_Aparelho"};
inline constexpr QLatin1StringView TrocaDataSerie{"TrocaDataSerie"};
inline constexpr QLatin1StringView Troca_Serie{"Troca_Serie"};
inline constexpr QLatin1StringView USERNAME{"USERNAME"};
inline constexpr QLatin1StringView VELOCIDADE{"VELOCIDADE"};
inline constexpr QLatin1StringView Vincula_prof_usu{"Vincula_prof_usu"};
}  // namespace SettingsColumn

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
  int tempoSerie = 60;  // seconds the series stays on screen at the gym floor (60 when unset)

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
