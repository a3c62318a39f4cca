// What the about and news windows say: the program's version, the maker's contact lines, the
// release notes, and the support request that the about window e-mails to the maker through
// the gym's own provider.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "data/settings_record.h"
#include "followup/email_sending.h"

struct MakerContacts {
  QString site;            // as shown
  QString siteUrl;         // what the browser opens
  QString supportAddress;  // where support requests go
  QString phone1;
  QString phone2;
};
const MakerContacts& makerContacts();

// "Versão: " and the program's version (9.30).
QString versionText();

// The release notes, newest first: each a version line, a date line, its items and an empty
// line.
QString releaseNotes();

// CLIENTE as the about window shows it: a number in the Brazilian way, without grouping
// ("1001", "7,5"); empty when the settings have none.
QString clienteText(std::optional<double> cliente);

// The body of a support request: "<CLIENTE> - <ACADEMIA>", then COMPLEMENTO1.
QStringList supportRequestLines(const Settings& settings);

enum class SupportOutcome { Declined, BadPort, Failed, Sent };

// Asks "Solicitação de Suporte" / "Confirma envio do e-mail ?"; on Yes sends `body` to the
// maker's support address as the only, blind, addressee, subject "Suporte Urgente - Vantrel
// !!!", from the gym's provider address and name. Tells the user how it went.
SupportOutcome sendSupportRequest(const QString& body, const Settings& settings,
                                  const SmtpClientFactory& clients = makeSmtpClient);
