// E-mail to members as the e-mail window sends it: where the recipients come from, the
// gym's provider as the settings describe it, and the sending itself (one notice copy to the
// provider's own address, then the message to the recipients as blind copies in groups of
// ten, each failure offering to try again).
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

#include "data/settings_record.h"
#include "followup/smtp_client.h"

// Where the e-mail window takes its recipients from; chosen by the window that opens it.
class EmailRecipients {
 public:
  // One member of the member e-mail list.
  static EmailRecipients member(const QString& address);
  // The members of a report (expired series, reassessments): the address file it wrote.
  static EmailRecipients report();
  // One absent member; subject, text and picture start from the absent-member presets.
  static EmailRecipients absentMember(const QString& address);
  // Every absent member listed ("Todos Alunos"): the address file, with the presets.
  static EmailRecipients allAbsentMembers();

  bool fromAddressFile() const { return fromFile_; }
  bool absentPresets() const { return absent_; }
  const QString& address() const { return address_; }

 private:
  EmailRecipients(bool fromFile, bool absent, QString address)
      : fromFile_(fromFile), absent_(absent), address_(std::move(address)) {}

  bool fromFile_;
  bool absent_;
  QString address_;
};

// The recipient text the window opens with, before cleaning. Nothing when the address file
// cannot be read.
std::optional<QString> openingRecipients(const EmailRecipients& recipients);

// What the window starts with for absent members (ASSUNTO_AUSENTE, TEXTO_AUSENTE,
// IMAGEM_CORPO_AUSENTE).
struct EmailPresets {
  QString subject;
  QString text;
  QString picture;
};
EmailPresets absentMemberPresets(const Settings& settings);

// The gym's mail provider, from the settings row.
struct MailProvider {
  QString smtp;                     // SMTP_PROVEDOR: host "*" port
  QString name;                     // NOME_PROVEDOR
  QString address;                  // EMAIL_PROVEDOR
  std::optional<QString> username;  // USERNAME; null: no authentication (empty still logs in)
  QString password;                 // PASSWORD
  QString tlsMode;                  // IdSMTP_UseTLS
};
MailProvider mailProvider(const Settings& settings);

// "utNoTLSSupport", "utUseImplicitTLS", "utUseRequireTLS", "utUseExplicitTLS"; anything else
// is STARTTLS when offered.
SmtpTls smtpTlsOf(const QString& mode);

// The server to send through: the host before the first "*", trimmed, and the port after
// it. A port that is not a number from 1 to 65535 is told to the user ("Endereço de Porta")
// and gives nothing. Certificates listed in SSL_CERT_FILE are trusted besides the system's.
std::optional<SmtpServer> smtpServerFor(const MailProvider& provider);

// What the user wrote in the window.
struct EmailDraft {
  QString recipients;  // the recipient text, ";" between addresses
  QString subject;
  QString body;
  QStringList files;  // the attachment list
  QString picture;    // the body picture; empty: none
};

// The listed files that go as attachments: pictures (GIF, JPG, JPEG, BMP, ICO, EMF, WMF)
// stay out.
QStringList attachedFiles(const QStringList& files);

enum class SendOutcome {
  Sent,          // every message went, encrypted
  SentInClear,   // every message went, some without encryption (the server offered none)
  Stopped,       // a failure and the user chose not to try again
  BadPort,       // the provider's port does not read; nothing sent
  MissingFile,   // an attachment or the picture is not there; nothing sent
  NoRecipients,  // no address passes the check; nothing sent
};

using SendProgress = std::function<void(int group, int groups)>;
using SmtpClientFactory = std::function<std::unique_ptr<SmtpClient>(const SmtpServer&)>;

// Sends the draft: first the notice copy to the provider's address (subject "Envio de e-mail
// para aluno. " and today's date), then one message per group of ten recipients, all as blind
// copies. `progress` hears of each group before it goes. A message that fails is told with
// its reason and, on "Deseja tentar novamente ?" answered Yes, sent again; No stops there.
SendOutcome sendToMembers(const EmailDraft& draft, const MailProvider& provider,
                          const SendProgress& progress = {},
                          const SmtpClientFactory& clients = makeSmtpClient);
