#include "app/about.h"

#include <QLocale>

#include "base/messages.h"
#include "base/prompter.h"
#include "base/version.h"

namespace {

struct ReleaseNote {
  const char* version;
  const char* date;
  QStringList items;
};

QList<ReleaseNote> notes() {
  return {
      {"Versão 9.27",
       "02 de julho de 2020.",
       {QStringLiteral("- Agendamento de Aula Coletiva com controle no Acesso.")}},
      {"Versão 9.22",
       "20 de Setembro de 2018.",
       {QStringLiteral("- Vincula usuário ao professor;"),
        QStringLiteral("- Troca de Data na  Série.")}},
      {"Versão 9.19",
       "20 de Setembro de 2018.",
       {QStringLiteral("- Exclusão Treino no Histórico de Séries;"),
        QStringLiteral("- Relatório de Séries Feitas por Sintético.")}},
      {"Versão 9.14", "06 de Junho de 2018.", {QStringLiteral("- Grupamento Muscular.")}},
      {"Versão 9.13", "04 de Junho de 2018.", {QStringLiteral("- Troca de Série por dias.")}},
      {"Versão 9.11", "30 de Agosto de 2017.", {QStringLiteral("- Série na Web.")}},
      {"Versão 9.08",
       "03 de Janeiro de 2017.",
       {QStringLiteral("- Filtro de professores, cargo igual 'PROF MUSC'.")}},
      {"Versão 9.04",
       "14 de Janeiro de 2016.",
       {QStringLiteral("- Envido de E-mail por Séries Feitas e Agendadas.")}},
      {"Versão 9.00",
       "31 de Janeiro de 2015.",
       {QStringLiteral("- Banco de Dados SQL 2014; "),
        QStringLiteral("- Teclado numérico no terminal de acesso da academia.")}},
  };
}

}  // namespace

const MakerContacts& makerContacts() {
  // The maker's own lines. The names under .example belong to nobody else, so a click or a
  // support request never reaches a stranger.
  static const MakerContacts contacts{
      QStringLiteral("www.vantrel.example"), QStringLiteral("https://www.vantrel.example"),
      QStringLiteral("suporte@vantrel.example"), QStringLiteral("(11) 3456-7100"),
      QStringLiteral("(11) 93456-7100")};
  return contacts;
}

QString versionText() {
  return QStringLiteral("Versão: " VANTREL_VERSION);
}

QString releaseNotes() {
  QString text;
  for (const ReleaseNote& note : notes()) {
    text += QString::fromUtf8(note.version) + QLatin1Char('\n');
    text += QString::fromUtf8(note.date) + QLatin1Char('\n');
    for (const QString& item : note.items) text += item + QLatin1Char('\n');
    text += QLatin1Char('\n');
  }
  return text;
}

QString clienteText(std::optional<double> cliente) {
  if (!cliente) return QString();
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale.toString(*cliente, 'g', 15);
}

QStringList supportRequestLines(const Settings& settings) {
  return {clienteText(settings.cliente) + QStringLiteral(" - ") + settings.academia,
          settings.complemento1};
}

SupportOutcome sendSupportRequest(const QString& body, const Settings& settings,
                                  const SmtpClientFactory& clients) {
  if (MENSAGEM(QStringLiteral("?"), QStringLiteral("Solicitação de Suporte"),
               Msg::ConfirmaEnvioEmail) != kAnswerYes)
    return SupportOutcome::Declined;
  const MailProvider provider = mailProvider(settings);
  const std::optional<SmtpServer> server = smtpServerFor(provider);
  if (!server) return SupportOutcome::BadPort;
  MailMessage message;
  message.fromAddress = provider.address;
  message.fromName = provider.name;
  message.blindCopies = {makerContacts().supportAddress};
  message.subject = QStringLiteral("Suporte Urgente - Vantrel !!!");
  message.body = body;
  if (const std::optional<QString> failure = clients(*server)->send(message)) {
    MENSAGEM(QStringLiteral("!"), Msg::ProblemaEmailConfiguracaoProvedor, *failure);
    return SupportOutcome::Failed;
  }
  MENSAGEM(QStringLiteral("!"), Msg::EmailEnviadoComSucesso);
  return SupportOutcome::Sent;
}
