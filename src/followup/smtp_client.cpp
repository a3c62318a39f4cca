#include "followup/smtp_client.h"

#include <curl/curl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QUrl>
#include <QUuid>
#include <mutex>

namespace {

// A connection that cannot be made within this time is reported instead of holding the
// window; so is a transfer that stalls this long.
constexpr long kConnectSeconds = 30;
constexpr long kStalledSeconds = 60;

const char* const kPictureId = "imagem-corpo@vantrel";

void initialiseCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class StringList {
 public:
  StringList() = default;
  StringList(const StringList&) = delete;
  StringList& operator=(const StringList&) = delete;
  ~StringList() { curl_slist_free_all(list_); }
  void add(const QByteArray& text) { list_ = curl_slist_append(list_, text.constData()); }
  curl_slist* get() const { return list_; }
  // Hands the list to a MIME part, which frees it.
  curl_slist* release() { return std::exchange(list_, nullptr); }

 private:
  curl_slist* list_ = nullptr;
};

QString withoutLineBreaks(const QString& text) {
  QString line = text;
  line.remove(QLatin1Char('\r'));
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return line;
}

bool isPlainAscii(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
  return true;
}

// RFC 2047 words, each holding at most 39 bytes of UTF-8 (52 characters of base64), never
// splitting a character: with the header's name in front, a line stays under 78 characters.
QByteArray encodedWords(const QString& text) {
  QList<QByteArray> words;
  QByteArray chunk;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QByteArray character = text.mid(i, length).toUtf8();
    if (chunk.size() + character.size() > 39) {
      words.append(chunk);
      chunk.clear();
    }
    chunk += character;
    i += length;
  }
  if (!chunk.isEmpty()) words.append(chunk);
  QByteArray result;
  for (const QByteArray& word : words) {
    if (!result.isEmpty()) result += "\r\n ";
    result += "=?UTF-8?B?" + word.toBase64() + "?=";
  }
  return result;
}

QByteArray quoted(const QString& text) {
  QString escaped = text;
  escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
  escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
  return '"' + escaped.toLatin1() + '"';
}

// An address between angle brackets, with nothing in it that could end the command or header.
QByteArray angleAddress(const QString& address) {
  QString bare = withoutLineBreaks(address).trimmed();
  bare.remove(QLatin1Char('<')).remove(QLatin1Char('>'));
  return '<' + bare.toUtf8() + '>';
}

QByteArray mailbox(const QString& name, const QString& address) {
  const QString shown = withoutLineBreaks(name).trimmed();
  if (shown.isEmpty()) return angleAddress(address);
  const QByteArray phrase = isPlainAscii(shown) ? quoted(shown) : encodedWords(shown);
  return phrase + ' ' + angleAddress(address);
}

QByteArray messageId(const QString& fromAddress) {
  QString domain = fromAddress.section(QLatin1Char('@'), 1);
  domain.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9.-]")));
  if (domain.isEmpty()) domain = QStringLiteral("vantrel");
  return '<' + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' +
         domain.toLatin1() + '>';
}

QByteArray contentDisposition(const char* kind, const QString& path) {
  const QString name = withoutLineBreaks(QFileInfo(path).fileName());
  QByteArray header = QByteArray("Content-Disposition: ") + kind;
  if (isPlainAscii(name)) return header + "; filename=" + quoted(name);
  return header + "; filename*=UTF-8''" + QUrl::toPercentEncoding(name);
}

QByteArray mimeTypeOf(const QString& path) {
  static const QMimeDatabase types;
  return types.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toLatin1();
}

// Lines ending in CR LF, as mail carries them.
QByteArray mailLines(const QString& text) {
  QString lines = text;
  lines.remove(QLatin1Char('\r'));
  lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return lines.toUtf8();
}

QByteArray htmlWithPicture(const QString& text) {
  QString lines = text;
  lines.remove(QLatin1Char('\r'));
  QString html = QStringLiteral("<html><body><div>");
  html += lines.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>\r\n"));
  html += QStringLiteral("</div>\r\n<p><img src=\"cid:%1\" alt=\"\"></p></body></html>\r\n")
              .arg(QLatin1String(kPictureId));
  return html.toUtf8();
}

void addTextPart(curl_mime* mime, const char* type, const QByteArray& text) {
  curl_mimepart* part = curl_mime_addpart(mime);
  curl_mime_data(part, text.constData(), size_t(text.size()));
  curl_mime_type(part, type);
  curl_mime_encoder(part, "quoted-printable");
}

void addFilePart(curl_mime* mime, const QString& path, const QList<QByteArray>& headers) {
  curl_mimepart* part = curl_mime_addpart(mime);
  curl_mime_filedata(part, QFile::encodeName(path).constData());
  curl_mime_type(part, mimeTypeOf(path).constData());
  curl_mime_encoder(part, "base64");
  StringList list;
  for (const QByteArray& header : headers) list.add(header);
  curl_mime_headers(part, list.release(), 1);
}

// Text, or with a picture the text and an HTML version showing the picture under it.
void addBody(CURL* curl, curl_mime* mime, const MailMessage& message) {
  if (message.picture.isEmpty()) {
    addTextPart(mime, "text/plain; charset=UTF-8", mailLines(message.body));
    return;
  }
  curl_mime* related = curl_mime_init(curl);
  curl_mime* alternative = curl_mime_init(curl);
  addTextPart(alternative, "text/plain; charset=UTF-8", mailLines(message.body));
  addTextPart(alternative, "text/html; charset=UTF-8", htmlWithPicture(message.body));
  curl_mimepart* alternativePart = curl_mime_addpart(related);
  curl_mime_subparts(alternativePart, alternative);
  curl_mime_type(alternativePart, "multipart/alternative");
  addFilePart(related, message.picture,
              {QByteArray("Content-ID: <") + kPictureId + '>',
               contentDisposition("inline", message.picture)});
  curl_mimepart* relatedPart = curl_mime_addpart(mime);
  curl_mime_subparts(relatedPart, related);
  curl_mime_type(relatedPart, "multipart/related");
}

QString certificateProblem(long verifyResult, const QString& host) {
  QString reason;
  switch (verifyResult) {
    // The chain was good and the name check after it failed: the result was never recorded
    // (libcurl starts it at "unspecified") or recorded as good.
    case X509_V_OK:
    case X509_V_ERR_UNSPECIFIED:
      reason = QStringLiteral("o certificado não é do endereço %1").arg(host);
      break;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
      reason = QStringLiteral("certificado autoassinado");
      break;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
      reason = QStringLiteral("emitido por autoridade não reconhecida");
      break;
    case X509_V_ERR_CERT_HAS_EXPIRED:
      reason = QStringLiteral("certificado vencido");
      break;
    case X509_V_ERR_CERT_NOT_YET_VALID:
      reason = QStringLiteral("certificado ainda não válido");
      break;
    case X509_V_ERR_CERT_REVOKED:
      reason = QStringLiteral("certificado revogado");
      break;
    default:
      reason = QString::fromUtf8(X509_verify_cert_error_string(verifyResult));
  }
  return QStringLiteral("Certificado do provedor recusado: %1.").arg(reason);
}

QString failureText(CURL* curl, CURLcode code, const char* buffer, const SmtpServer& server) {
  const QString technical =
      QString::fromUtf8(buffer[0] ? buffer : curl_easy_strerror(code)).trimmed();
  const QString place = QStringLiteral("%1:%2").arg(server.host).arg(server.port);
  QString text;
  switch (code) {
    case CURLE_PEER_FAILED_VERIFICATION: {
      long verifyResult = X509_V_OK;
      curl_easy_getinfo(curl, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
      text = certificateProblem(verifyResult, server.host);
      break;
    }
    case CURLE_SSL_CACERT_BADFILE:
      text = QStringLiteral("Arquivo de certificados confiáveis ilegível: %1.").arg(server.caFile);
      break;
    case CURLE_COULDNT_RESOLVE_HOST:
      text = QStringLiteral("Provedor não encontrado: %1.").arg(server.host);
      break;
    case CURLE_COULDNT_CONNECT:
      text = QStringLiteral("Sem conexão com o provedor %1.").arg(place);
      break;
    case CURLE_OPERATION_TIMEDOUT:
      text = QStringLiteral("O provedor %1 não respondeu a tempo.").arg(place);
      break;
    case CURLE_LOGIN_DENIED:
      text = QStringLiteral("O provedor recusou o usuário ou a senha.");
      break;
    case CURLE_USE_SSL_FAILED:
      text = QStringLiteral("O provedor não oferece conexão segura (STARTTLS).");
      break;
    case CURLE_SSL_CONNECT_ERROR:
      text = QStringLiteral("A conexão segura com o provedor falhou.");
      break;
    default:
      return technical;
  }
  return text + QStringLiteral(" (") + technical + QLatin1Char(')');
}

QByteArray serverUrl(const SmtpServer& server) {
  const QString host = server.host.contains(QLatin1Char(':'))
                           ? QLatin1Char('[') + server.host + QLatin1Char(']')
                           : server.host;
  const QString scheme =
      server.tls == SmtpTls::Implicit ? QStringLiteral("smtps") : QStringLiteral("smtp");
  return QStringLiteral("%1://%2:%3").arg(scheme, host).arg(server.port).toUtf8();
}

long useSsl(SmtpTls tls) {
  switch (tls) {
    case SmtpTls::None:
      return CURLUSESSL_NONE;
    case SmtpTls::StartTlsWhenOffered:
      return CURLUSESSL_TRY;
    case SmtpTls::Implicit:
    case SmtpTls::StartTlsRequired:
      break;
  }
  return CURLUSESSL_ALL;
}

// libcurl hands TLS records to the debug callback only once a connection is encrypted: seeing
// one is proof that the message did not travel in clear.
int watchEncryption(CURL*, curl_infotype type, char*, size_t, void* encrypted) {
  if (type == CURLINFO_SSL_DATA_OUT || type == CURLINFO_SSL_DATA_IN)
    *static_cast<bool*>(encrypted) = true;
  return 0;
}

}  // namespace

QByteArray mailHeaderText(const QString& text) {
  const QString line = withoutLineBreaks(text);
  return isPlainAscii(line) ? line.toLatin1() : encodedWords(line);
}

std::optional<QString> CurlSmtpClient::send(const MailMessage& message) {
  initialiseCurl();
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
  if (!handle) return QStringLiteral("Sem memória para preparar o e-mail.");
  CURL* curl = handle.get();
  char error[CURL_ERROR_SIZE] = {};

  const QByteArray url = serverUrl(server_);
  curl_easy_setopt(curl, CURLOPT_URL, url.constData());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStalledSeconds);

  encrypted_ = false;
  bool sawTls = false;
  curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);  // only to the callback, never to the terminal
  curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, watchEncryption);
  curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &sawTls);
  curl_easy_setopt(curl, CURLOPT_USE_SSL, useSsl(server_.tls));
  curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  const QByteArray caFile = QFile::encodeName(server_.caFile);
  if (!caFile.isEmpty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());

  const QByteArray username = server_.username.value_or(QString()).toUtf8();
  const QByteArray password = server_.password.toUtf8();
  if (server_.username) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, username.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
  }

  const QByteArray from = angleAddress(message.fromAddress);
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
  StringList recipients;
  if (!message.to.isEmpty()) recipients.add(angleAddress(message.to));
  for (const QString& address : message.blindCopies) recipients.add(angleAddress(address));
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients.get());

  StringList headers;
  headers.add("Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
  headers.add("From: " + mailbox(message.fromName, message.fromAddress));
  headers.add(message.to.isEmpty() ? QByteArray("To: undisclosed-recipients:;")
                                   : "To: " + angleAddress(message.to));
  headers.add("Subject: " + mailHeaderText(message.subject));
  headers.add("Message-ID: " + messageId(message.fromAddress));
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());

  std::unique_ptr<curl_mime, decltype(&curl_mime_free)> mime(curl_mime_init(curl), curl_mime_free);
  addBody(curl, mime.get(), message);
  for (const QString& path : message.attachments)
    addFilePart(mime.get(), path, {contentDisposition("attachment", path)});
  curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime.get());

  const CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) {
    encrypted_ = sawTls;
    return std::nullopt;
  }
  return failureText(curl, code, error, server_);
}

std::unique_ptr<SmtpClient> makeSmtpClient(const SmtpServer& server) {
  return std::make_unique<CurlSmtpClient>(server);
}
