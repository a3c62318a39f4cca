#include "followup/email_sending.h"

#include <QDate>
#include <QFileInfo>

#include "base/messages.h"
#include "base/prompter.h"
#include "followup/email_address.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kQuestion = QStringLiteral("?");

// The first file of the message that is not there to be read, if any.
std::optional<QString> missingFile(const QStringList& files) {
  for (const QString& path : files) {
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) return path;
  }
  return std::nullopt;
}

// Sends until the message goes or the user gives up.
bool sendTryingAgain(SmtpClient& client, const MailMessage& message) {
  for (;;) {
    const std::optional<QString> failure = client.send(message);
    if (!failure) return true;
    MENSAGEM(kInfo, Msg::ProblemaEmailProvedor, *failure);
    if (MENSAGEM(kQuestion, Msg::DesejaTentarNovamente) != kAnswerYes) return false;
  }
}

MailMessage messageOf(const EmailDraft& draft, const MailProvider& provider,
                      const QStringList& attachments) {
  MailMessage message;
  message.fromAddress = provider.address;
  message.fromName = provider.name;
  message.subject = draft.subject;
  message.body = draft.body;
  message.attachments = attachments;
  message.picture = draft.picture;
  return message;
}

}  // namespace

EmailRecipients EmailRecipients::member(const QString& address) {
  return EmailRecipients(false, false, address);
}

EmailRecipients EmailRecipients::report() {
  return EmailRecipients(true, false, QString());
}

EmailRecipients EmailRecipients::absentMember(const QString& address) {
  return EmailRecipients(false, true, address);
}

EmailRecipients EmailRecipients::allAbsentMembers() {
  return EmailRecipients(true, true, QString());
}

std::optional<QString> openingRecipients(const EmailRecipients& recipients) {
  if (recipients.fromAddressFile()) return readAddressFile();
  return recipients.address();
}

EmailPresets absentMemberPresets(const Settings& settings) {
  return {settings.assuntoAusente, settings.textoAusente, settings.imagemCorpoAusente};
}

MailProvider mailProvider(const Settings& settings) {
  MailProvider provider;
  provider.smtp = settings.smtpProvedor;
  provider.name = settings.nomeProvedor;
  provider.address = settings.emailProvedor;
  provider.username = settings.username;
  provider.password = settings.password;
  provider.tlsMode = settings.useTls;
  return provider;
}

SmtpTls smtpTlsOf(const QString& mode) {
  if (mode == QLatin1String("utNoTLSSupport")) return SmtpTls::None;
  if (mode == QLatin1String("utUseImplicitTLS")) return SmtpTls::Implicit;
  if (mode == QLatin1String("utUseRequireTLS")) return SmtpTls::StartTlsRequired;
  return SmtpTls::StartTlsWhenOffered;
}

std::optional<SmtpServer> smtpServerFor(const MailProvider& provider) {
  const qsizetype star = provider.smtp.indexOf(QLatin1Char('*'));
  bool isNumber = false;
  const int port = provider.smtp.mid(star + 1).trimmed().toInt(&isNumber);
  if (!isNumber || port < 1 || port > 65535) {
    MENSAGEM(kInfo, Msg::ProblemaEmailProvedor, Msg::EnderecoDePorta);
    return std::nullopt;
  }
  SmtpServer server;
  server.host = star < 0 ? QString() : provider.smtp.left(star).trimmed();
  server.port = port;
  server.tls = smtpTlsOf(provider.tlsMode);
  server.username = provider.username;
  server.password = provider.password;
  server.caFile = qEnvironmentVariable("SSL_CERT_FILE");
  return server;
}

QStringList attachedFiles(const QStringList& files) {
  static const QStringList pictures{
      QStringLiteral("GIF"), QStringLiteral("JPG"), QStringLiteral("JPEG"), QStringLiteral("BMP"),
      QStringLiteral("ICO"), QStringLiteral("EMF"), QStringLiteral("WMF")};
  QStringList attached;
  for (const QString& path : files)
    if (!pictures.contains(QFileInfo(path).suffix().toUpper())) attached.append(path);
  return attached;
}

SendOutcome sendToMembers(const EmailDraft& draft, const MailProvider& provider,
                          const SendProgress& progress, const SmtpClientFactory& clients) {
  const QStringList addresses = cleanRecipients(draft.recipients);
  if (addresses.isEmpty()) {
    MENSAGEM(kInfo, Msg::EmailsInvalidos, Msg::Destinatario);
    return SendOutcome::NoRecipients;
  }
  const QStringList attachments = attachedFiles(draft.files);
  QStringList files = attachments;
  if (!draft.picture.isEmpty()) files.append(draft.picture);
  if (const std::optional<QString> missing = missingFile(files)) {
    MENSAGEM(kInfo, Msg::ArquivoNaoEncontrado, *missing);
    return SendOutcome::MissingFile;
  }
  const std::optional<SmtpServer> server = smtpServerFor(provider);
  if (!server) return SendOutcome::BadPort;
  const std::unique_ptr<SmtpClient> client = clients(*server);

  const MailMessage message = messageOf(draft, provider, attachments);
  const QList<QStringList> groups = groupsOfTen(addresses);
  bool inClear = false;
  const auto deliver = [&](const MailMessage& mail) {
    if (!sendTryingAgain(*client, mail)) return false;
    inClear = inClear || !client->lastWentEncrypted();
    return true;
  };
  for (int k = 0; k < groups.size(); ++k) {
    if (progress) progress(k + 1, int(groups.size()));
    if (k == 0) {
      MailMessage notice = message;
      notice.to = provider.address;
      notice.subject = QStringLiteral("Envio de e-mail para aluno. ") +
                       QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
      if (!deliver(notice)) return SendOutcome::Stopped;
    }
    MailMessage group = message;
    group.blindCopies = groups[k];
    if (!deliver(group)) return SendOutcome::Stopped;
  }
  return inClear ? SendOutcome::SentInClear : SendOutcome::Sent;
}
