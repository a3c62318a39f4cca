// The settings row as the configuration window edits it, without the window: the values each
// list offers, the rules of the fields, the defaults a save fills in, what switching the
// equipment-code print does, and the writes (the whole row on Confirm, the immediate saves,
// the logo). After Confirm the settings the running program keeps in process-wide values are
// copied again, so the changes take effect without a restart.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

#include "base/failure.h"

#include "base/field_error.h"

// The edited columns as the window's controls show them: column name (as the table
// definition spells it) -> text. Whole numbers are their digits ("ESPACO" two of them, as its
// list shows them), the equipment-code flag is "true" or "false", a null value is "".
using SettingsTexts = QHash<QString, QString>;

namespace settings {

inline const QString kSim = QStringLiteral("Sim");
inline const QString kNao = QStringLiteral("Não");
inline const QString kMeses = QStringLiteral("Meses");

// What the lists of the window offer, in their order.
const QStringList& yesNo();
const QStringList& intervalUnits();  // Troca_Serie
const QStringList& printerPorts();   // PORTA_IMP
const QStringList& spacings();       // ESPACO, "01" to "30"
const QStringList& speeds();         // VELOCIDADE
const QStringList& dataBits();
const QStringList& stopBits();
const QStringList& parities();
const QStringList& tlsModes();       // IdSMTP_UseTLS
const QStringList& smtpProviders();  // suggestions for SMTP_PROVEDOR: host, " * ", port
// The serial keypad's choices: what the window shows and what is stored ("Nenhum" -> "NADA").
struct Choice {
  QString shown;
  QString stored;
};
const QList<Choice>& pinpadChoices();

// The columns the window edits, as the table definition spells them: everything but the
// gym's identification, the logo (written on its own) and the columns nobody uses.
const QStringList& editedColumns();

// The row as the window shows it.
SettingsTexts textsOf(const QVariantMap& row);
// A shown text as the value written to its column (digits to a number, "" to a null number).
QVariant storedValue(const QString& column, const QString& text);

// Enter in the reassessment interval: an empty field is refused.
std::optional<FieldError> checkIntervalOnEnter(const QString& text);
// Confirm: in months the interval must be 1 to 36; any other unit takes any interval.
std::optional<FieldError> checkInterval(const SettingsTexts& texts);

// What a save fills in: no absence limit is 0 days (the absent-member check is off), no port
// address is "0000", no or a zero series time is 60 seconds.
inline const QString kNoAbsenceCheck = QStringLiteral("0");
void applySaveDefaults(SettingsTexts& texts);

// Switching the print by equipment code on makes the receipt reduced, off makes it full; either
// way the series is no longer shown on the video terminal.
void switchEquipmentCode(SettingsTexts& texts, bool on);

// Copies the confirmed settings into the process-wide values: active-member list, absence
// limit, the five e-mail texts, portal publishing, muscle groups and whether the program runs
// alone. The absent-member test is due again.
void copyToProcessValues(const SettingsTexts& texts);

}  // namespace settings

// The settings row while the configuration window is open: what is stored, and the writes.
// Every write runs in one transaction on `db`; a failure rolls back, shows
// "Gravando na tabela !" with "Controle" and leaves what is stored as it was.
class ConfigurationStore {
 public:
  explicit ConfigurationStore(const QSqlDatabase& db) : db_(db) {}

  // Reads the row; false when it cannot be read (nothing is shown).
  bool open();

  const SettingsTexts& stored() const { return stored_; }
  // The logo's JPEG bytes, or a null QVariant when there is none.
  const QVariant& logo() const { return logo_; }

  // The immediate saves: the window's changes so far are written with them, with the save
  // defaults applied. An interval Confirm would refuse is left as stored, so the check cannot
  // be bypassed this way.
  Outcome post(const SettingsTexts& shown);
  // Stores the JPEG file as the logo (its own bytes; anything else is refused).
  Outcome postLogo(const SettingsTexts& shown, const QString& jpegFile);
  Outcome postClearedLogo(const SettingsTexts& shown);

  // Confirm, once checkInterval passed: writes `shown` with the save defaults (applied to
  // `shown` too) and, when that is stored, copies the settings into the process-wide values.
  Outcome confirm(SettingsTexts& shown);

 private:
  // Writes the columns of `shown` that differ from what is stored and, with `newLogo`, the
  // logo it gives (it may throw, which fails the write like any other error).
  Outcome write(SettingsTexts shown, bool keepRefusedInterval,
                const std::function<QVariant()>& newLogo = {});

  QSqlDatabase db_;
  SettingsTexts stored_;
  QVariant logo_;
};
