// A real SMTP server on loopback for the e-mail tests: Debian's aiosmtpd run by
// /usr/bin/python3, in the TLS mode and with the login a test asks for. Every message it
// accepts is written to a folder, read back here as parsed by Python's e-mail package.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

// Throw-away certificates made with the openssl command once per test program: a test
// authority, a server certificate it signed for 127.0.0.1, one it signed for another name,
// and a self-signed one for 127.0.0.1.
struct TestCertificates {
  QString authority;  // the authority's certificate: what the client is told to trust
  QString server, serverKey;
  QString otherName, otherNameKey;
  QString selfSigned, selfSignedKey;
};
const TestCertificates& testCertificates();

struct ReceivedPart {
  QString filename;
  QString contentType;
  QString disposition;  // "attachment", "inline" or empty
  QString contentId;
  QByteArray content;
};

struct ReceivedMail {
  QString mailFrom;
  QStringList recipients;  // the envelope's
  QString tls;             // the TLS version of the session; empty: plain
  bool authenticated = false;
  QString login;  // who logged in
  QString subject, from, to;
  bool hasCc = false, hasBcc = false;
  QString text, html;
  QList<ReceivedPart> parts;  // everything but the text and its HTML version
  QByteArray raw;
  QByteArray rawHeaders() const { return raw.left(raw.indexOf("\r\n\r\n")); }
};

class SmtpPeer {
 public:
  enum class Tls { Plain, Implicit, StartTls, StartTlsRequired };
  struct Options {
    Tls tls = Tls::Plain;
    std::optional<QString> user;  // nothing: no AUTH offered
    QString password;
    QString certificate, key;  // default: the test authority's server certificate
    QStringList refuseOnce;    // recipients refused (451) the first time they are given
    int port = 0;              // 0: any free port
  };

  explicit SmtpPeer(Options options);
  ~SmtpPeer();

  // Starts the server and waits until it listens; false (with the reason) when it does not.
  bool start(QString* error = nullptr);
  int port() const { return port_; }
  // "127.0.0.1*<port>", as SMTP_PROVEDOR holds it.
  QString provider() const;
  // The messages accepted so far, in order.
  QList<ReceivedMail> received() const;

 private:
  Options options_;
  QTemporaryDir dir_;
  QProcess process_;
  int port_ = 0;
};

// A loopback port nobody listens on (a connection to it is refused).
int unusedPort();
