#include "support/smtp_peer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpServer>
#include <memory>

namespace {

// The server. Python's e-mail package parses what arrives, so the tests read the message as
// a mail program would: headers decoded, parts with their names and contents.
const char* const kServerScript = R"PY(
import argparse, asyncio, base64, email, email.policy, json, os, ssl
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

p = argparse.ArgumentParser()
p.add_argument('--port', type=int, default=0)
p.add_argument('--tls', default='plain')
p.add_argument('--cert')
p.add_argument('--key')
p.add_argument('--user')
p.add_argument('--password', default='')
p.add_argument('--refuse-once', action='append', default=[])
p.add_argument('--out', required=True)
a = p.parse_args()


def tls_context():
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(a.cert, a.key)
    return context


def parts_of(message):
    text = html = None
    parts = []
    for part in message.walk():
        if part.is_multipart():
            continue
        kind = part.get_content_type()
        name = part.get_filename()
        if kind == 'text/plain' and not name and text is None:
            text = part.get_content().replace('\r\n', '\n')
            continue
        if kind == 'text/html' and not name and html is None:
            html = part.get_content().replace('\r\n', '\n')
            continue
        parts.append({
            'filename': name or '',
            'content_type': kind,
            'disposition': part.get_content_disposition() or '',
            'content_id': str(part.get('Content-ID', '')),
            'content': base64.b64encode(part.get_payload(decode=True) or b'').decode(),
        })
    return text, html, parts


class Handler:
    def __init__(self):
        self.count = 0
        self.refuse = list(a.refuse_once)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.refuse:
            self.refuse.remove(address)
            return '451 4.2.0 Caixa ocupada'
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        ssl_object = server.transport.get_extra_info('ssl_object')
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        text, html, parts = parts_of(message)
        header = lambda name: None if message[name] is None else str(message[name])
        record = {
            'mail_from': envelope.mail_from,
            'rcpt_tos': envelope.rcpt_tos,
            'tls': ssl_object.version() if ssl_object else '',
            'authenticated': bool(session.authenticated),
            'login': session.auth_data if session.authenticated else '',
            'subject': header('Subject'), 'from': header('From'), 'to': header('To'),
            'cc': header('Cc'), 'bcc': header('Bcc'),
            'text': text or '', 'html': html or '', 'parts': parts,
            'raw': base64.b64encode(raw).decode(),
        }
        self.count += 1
        path = os.path.join(a.out, '%05d.json' % self.count)
        with open(path + '.tmp', 'w') as f:
            json.dump(record, f)
        os.rename(path + '.tmp', path)
        return '250 OK'


def authenticator(server, session, envelope, mechanism, auth_data):
    if (isinstance(auth_data, LoginPassword) and auth_data.login.decode() == a.user
            and auth_data.password.decode() == a.password):
        return AuthResult(success=True, auth_data=a.user)
    return AuthResult(success=False, handled=False)


async def main():
    loop = asyncio.get_running_loop()
    handler = Handler()

    def protocol():
        options = dict(hostname='correio.teste', loop=loop)
        if a.tls in ('starttls', 'starttls-required'):
            options['tls_context'] = tls_context()
            options['require_starttls'] = a.tls == 'starttls-required'
        if a.user is not None:
            options.update(authenticator=authenticator, auth_required=True,
                           auth_require_tls=False)
        else:
            options['auth_exclude_mechanism'] = ['LOGIN', 'PLAIN']
        return SMTP(handler, **options)

    server = await loop.create_server(
        protocol, '127.0.0.1', a.port,
        ssl=tls_context() if a.tls == 'implicit' else None)
    print('ready', server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()

asyncio.run(main())
)PY";

bool runOpenssl(const QString& folder, const QStringList& arguments, QString* error) {
  QProcess openssl;
  openssl.setWorkingDirectory(folder);
  openssl.setProcessChannelMode(QProcess::MergedChannels);
  openssl.start(QStringLiteral("openssl"), arguments);
  if (openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit &&
      openssl.exitCode() == 0)
    return true;
  *error = QStringLiteral("openssl %1: %2")
               .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(openssl.readAll()));
  return false;
}

QStringList newKey(const QString& key) {
  return {QStringLiteral("-newkey"),
          QStringLiteral("ec"),
          QStringLiteral("-pkeyopt"),
          QStringLiteral("ec_paramgen_curve:prime256v1"),
          QStringLiteral("-nodes"),
          QStringLiteral("-keyout"),
          key};
}

// A certificate for `subjectAltName` signed by the test authority.
bool signedCertificate(const QString& folder, const QString& name, const QString& altName,
                       QString* error) {
  QFile extensions(folder + QLatin1Char('/') + name + QStringLiteral(".ext"));
  if (!extensions.open(QIODevice::WriteOnly)) return false;
  extensions.write(QStringLiteral("subjectAltName=%1\nbasicConstraints=CA:FALSE\n"
                                  "extendedKeyUsage=serverAuth\n")
                       .arg(altName)
                       .toUtf8());
  extensions.close();
  return runOpenssl(folder,
                    QStringList{QStringLiteral("req")} + newKey(name + QStringLiteral(".key")) +
                        QStringList{QStringLiteral("-subj"), QStringLiteral("/CN=") + name,
                                    QStringLiteral("-out"), name + QStringLiteral(".csr")},
                    error) &&
         runOpenssl(
             folder,
             {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
              name + QStringLiteral(".csr"), QStringLiteral("-CA"), QStringLiteral("ca.pem"),
              QStringLiteral("-CAkey"), QStringLiteral("ca.key"), QStringLiteral("-set_serial"),
              QString::number(qHash(name) & 0xFFFFFF), QStringLiteral("-days"), QStringLiteral("2"),
              QStringLiteral("-extfile"), name + QStringLiteral(".ext"), QStringLiteral("-out"),
              name + QStringLiteral(".pem")},
             error);
}

struct CertificateStore {
  QTemporaryDir dir;
  TestCertificates files;
  QString error;
};

std::unique_ptr<CertificateStore> makeCertificates() {
  auto store = std::make_unique<CertificateStore>();
  const QString folder = store->dir.path();
  QString& error = store->error;
  const bool made =
      runOpenssl(folder,
                 QStringList{QStringLiteral("req"), QStringLiteral("-x509")} +
                     newKey(QStringLiteral("ca.key")) +
                     QStringList{QStringLiteral("-subj"), QStringLiteral("/CN=Autoridade de teste"),
                                 QStringLiteral("-days"), QStringLiteral("2"),
                                 QStringLiteral("-out"), QStringLiteral("ca.pem")},
                 &error) &&
      signedCertificate(folder, QStringLiteral("servidor"), QStringLiteral("IP:127.0.0.1"),
                        &error) &&
      signedCertificate(folder, QStringLiteral("outro"), QStringLiteral("DNS:correio.outro.test"),
                        &error) &&
      runOpenssl(
          folder,
          QStringList{QStringLiteral("req"), QStringLiteral("-x509")} +
              newKey(QStringLiteral("proprio.key")) +
              QStringList{QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                          QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
                          QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-out"),
                          QStringLiteral("proprio.pem")},
          &error);
  if (!made) qFatal("Certificados de teste: %s", qPrintable(error));
  auto file = [&](const char* name) { return folder + QLatin1Char('/') + QLatin1String(name); };
  store->files = {file("ca.pem"),    file("servidor.pem"), file("servidor.key"), file("outro.pem"),
                  file("outro.key"), file("proprio.pem"),  file("proprio.key")};
  return store;
}

QString tlsArgument(SmtpPeer::Tls tls) {
  switch (tls) {
    case SmtpPeer::Tls::Plain:
      return QStringLiteral("plain");
    case SmtpPeer::Tls::Implicit:
      return QStringLiteral("implicit");
    case SmtpPeer::Tls::StartTls:
      return QStringLiteral("starttls");
    case SmtpPeer::Tls::StartTlsRequired:
      return QStringLiteral("starttls-required");
  }
  return {};
}

ReceivedMail mailOf(const QJsonObject& o) {
  ReceivedMail mail;
  mail.mailFrom = o.value(QStringLiteral("mail_from")).toString();
  for (const QJsonValue& r : o.value(QStringLiteral("rcpt_tos")).toArray())
    mail.recipients.append(r.toString());
  mail.tls = o.value(QStringLiteral("tls")).toString();
  mail.authenticated = o.value(QStringLiteral("authenticated")).toBool();
  mail.login = o.value(QStringLiteral("login")).toString();
  mail.subject = o.value(QStringLiteral("subject")).toString();
  mail.from = o.value(QStringLiteral("from")).toString();
  mail.to = o.value(QStringLiteral("to")).toString();
  mail.hasCc = !o.value(QStringLiteral("cc")).isNull();
  mail.hasBcc = !o.value(QStringLiteral("bcc")).isNull();
  mail.text = o.value(QStringLiteral("text")).toString();
  mail.html = o.value(QStringLiteral("html")).toString();
  for (const QJsonValue& value : o.value(QStringLiteral("parts")).toArray()) {
    const QJsonObject p = value.toObject();
    mail.parts.append(
        {p.value(QStringLiteral("filename")).toString(),
         p.value(QStringLiteral("content_type")).toString(),
         p.value(QStringLiteral("disposition")).toString(),
         p.value(QStringLiteral("content_id")).toString(),
         QByteArray::fromBase64(p.value(QStringLiteral("content")).toString().toLatin1())});
  }
  mail.raw = QByteArray::fromBase64(o.value(QStringLiteral("raw")).toString().toLatin1());
  return mail;
}

}  // namespace

const TestCertificates& testCertificates() {
  static const std::unique_ptr<CertificateStore> store = makeCertificates();
  return store->files;
}

SmtpPeer::SmtpPeer(Options options) : options_(std::move(options)) {
  if (options_.certificate.isEmpty()) {
    options_.certificate = testCertificates().server;
    options_.key = testCertificates().serverKey;
  }
}

SmtpPeer::~SmtpPeer() {
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished();
  }
}

bool SmtpPeer::start(QString* error) {
  auto fail = [&](const QString& why) {
    if (error)
      *error = why + QLatin1Char(' ') + QString::fromLocal8Bit(process_.readAllStandardError());
    return false;
  };
  const QString script = dir_.filePath(QStringLiteral("smtp_peer.py"));
  QFile file(script);
  if (!file.open(QIODevice::WriteOnly) || file.write(kServerScript) < 0) return fail(script);
  file.close();
  QDir(dir_.path()).mkpath(QStringLiteral("mail"));

  QStringList arguments{script,
                        QStringLiteral("--out"),
                        dir_.filePath(QStringLiteral("mail")),
                        QStringLiteral("--tls"),
                        tlsArgument(options_.tls),
                        QStringLiteral("--cert"),
                        options_.certificate,
                        QStringLiteral("--key"),
                        options_.key,
                        QStringLiteral("--port"),
                        QString::number(options_.port)};
  if (options_.user)
    arguments << QStringLiteral("--user") << *options_.user << QStringLiteral("--password")
              << options_.password;
  for (const QString& address : options_.refuseOnce)
    arguments << QStringLiteral("--refuse-once") << address;
  // Debian's aiosmtpd is installed for the system's Python, which may not be the first on PATH.
  process_.start(QStringLiteral("/usr/bin/python3"), arguments);
  if (!process_.waitForStarted()) return fail(QStringLiteral("/usr/bin/python3 não iniciou"));
  while (!process_.canReadLine()) {
    if (!process_.waitForReadyRead(60000))
      return fail(QStringLiteral("servidor SMTP não respondeu"));
  }
  const QList<QByteArray> ready = process_.readLine().trimmed().split(' ');
  if (ready.size() != 2 || ready[0] != "ready") return fail(QStringLiteral("servidor SMTP"));
  port_ = ready[1].toInt();
  return port_ > 0;
}

QString SmtpPeer::provider() const {
  return QStringLiteral("127.0.0.1*%1").arg(port_);
}

QList<ReceivedMail> SmtpPeer::received() const {
  QList<ReceivedMail> mails;
  const QDir folder(dir_.filePath(QStringLiteral("mail")));
  for (const QString& name :
       folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    mails.append(mailOf(QJsonDocument::fromJson(file.readAll()).object()));
  }
  return mails;
}

int unusedPort() {
  QTcpServer server;
  if (!server.listen(QHostAddress::LocalHost, 0)) return 0;
  return server.serverPort();
}
