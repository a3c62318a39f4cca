// Sending one e-mail through an SMTP server. Each message travels on a connection of its own:
// connect (with TLS as the server's mode asks), authenticate when there is a login, hand over
// the message, quit. Certificates are always verified and nothing older than TLS 1.2 is
// offered.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

enum class SmtpTls {
  None,                 // plain SMTP
  Implicit,             // TLS from the first byte (smtps)
  StartTlsWhenOffered,  // STARTTLS when the server offers it, plain otherwise
  StartTlsRequired,     // STARTTLS or nothing is sent
};

struct SmtpServer {
  QString host;
  int port = 25;
  SmtpTls tls = SmtpTls::StartTlsWhenOffered;
  std::optional<QString> username;  // no login at all: no authentication
  QString password;
  QString caFile;  // certificates trusted besides the system's; empty: the system's only
};

struct MailMessage {
  QString fromAddress;
  QString fromName;
  QString to;               // the one visible addressee; empty: none
  QStringList blindCopies;  // recipients that no header names
  QString subject;
  QString body;             // plain text; lines end in "\n"
  QStringList attachments;  // files sent as attachments
  QString picture;          // a picture shown in the body after the text; empty: none
};

class SmtpClient {
 public:
  virtual ~SmtpClient() = default;
  // Sends one message; nothing when it went, else why not in the program's words.
  virtual std::optional<QString> send(const MailMessage& message) = 0;
  // Whether the last message that went was encrypted on its way to the server: a server that
  // offers no STARTTLS gets it in clear in the "when offered" mode, and in the plain mode always.
  virtual bool lastWentEncrypted() const = 0;
};

// The client on libcurl with OpenSSL.
class CurlSmtpClient : public SmtpClient {
 public:
  explicit CurlSmtpClient(SmtpServer server) : server_(std::move(server)) {}
  std::optional<QString> send(const MailMessage& message) override;
  bool lastWentEncrypted() const override { return encrypted_; }

 private:
  SmtpServer server_;
  bool encrypted_ = false;
};

std::unique_ptr<SmtpClient> makeSmtpClient(const SmtpServer& server);

// Header text as a mail header may carry it: line breaks dropped; text that is not plain
// ASCII as UTF-8 encoded words of at most 75 characters, folded onto lines of their own.
QByteArray mailHeaderText(const QString& text);
