#include "assessment/assessment_report.h"

#include <QLocale>
#include <QRegularExpression>

#include "assessment/assessment_figures.h"
#include "registry/jpeg_codec.h"

namespace {

const QColor kPurple(128, 0, 128);
const QColor kRed(200, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBarFill(70, 110, 170);
const QColor kMarkerFill(200, 30, 30);
const QString kSim = QStringLiteral("Sim");
const QString kNao = QStringLiteral("Não");

constexpr double kLine = 4.6;        // mm: one line of fields
constexpr double kBodyHeight = 244;  // mm: what a portrait page holds between its frame bands

ReportFont plain(double points = 9) {
  return reportFont(points);
}
ReportFont bold(double points = 9) {
  return reportFont(points, true);
}

QString dateText(const QVariant& value) {
  const QDate date = value.toDate();
  return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString numberText(double value, int decimals = 1) {
  static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  return brazil.toString(value, 'f', decimals);
}

// A stored figure as the page shows it: blank when not stored.
QString figure(const QSqlRecord& row, const QString& column, int decimals = 1) {
  const QVariant value = fieldOf(row, column);
  if (value.isNull() || !value.isValid()) return QString();
  return numberText(value.toDouble(), decimals);
}

QImage picture(const QVariant& stored) {
  const QByteArray bytes = stored.toByteArray();
  return bytes.isEmpty() ? QImage() : decodeJpeg(bytes);
}

// The content of a section, laid out from the top down.
class Sheet {
 public:
  double y = 0;
  ReportBand band;

  void text(const QRectF& box, const QString& value, const ReportFont& font = plain(),
            const QColor& ink = QColor(), Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    ReportText item = reportText(box, value, font, align);
    item.ink = ink;
    band.texts << item;
  }
  // A wrapped text of `lines` lines at the current line.
  void wrapped(double x, double width, int lines, const QString& value) {
    ReportText item = reportText(QRectF(x, y, width, lines * 4.0), value, plain(8.5),
                                 Qt::AlignLeft | Qt::AlignTop);
    item.wrap = true;
    band.texts << item;
    y += lines * 4.0 + 1;
  }
  void title(const QString& value, const QString& subtitle = QString()) {
    text(QRectF(0, y, kWidth, 8), value, bold(14), QColor(), Qt::AlignCenter);
    y += 8;
    if (!subtitle.isEmpty()) {
      text(QRectF(0, y, kWidth, 6), subtitle, plain(10), QColor(), Qt::AlignCenter);
      y += 6;
    }
    y += 2;
  }
  void heading(const QString& value) {
    y += 1.5;
    text(QRectF(0, y, kWidth, 5.5), value, bold(10));
    band.rules << ReportRule{QPointF(0, y + 5.5), QPointF(kWidth, y + 5.5), 0.2};
    y += 7;
  }
  // A caption and its value on the current line, at `x`.
  void field(double x, const QString& caption, const QString& value, double captionWidth = 42,
             double valueWidth = 50, const QColor& ink = QColor()) {
    text(QRectF(x, y, captionWidth, kLine), caption, bold(8.5));
    text(QRectF(x + captionWidth, y, valueWidth, kLine), value, plain(9), ink);
  }
  void line(const QString& caption, const QString& value, double captionWidth = 42) {
    field(0, caption, value, captionWidth, kWidth - captionWidth);
    next();
  }
  void next(double lines = 1) { y += kLine * lines; }
  void gap(double mm) { y += mm; }
  void picture(const QRectF& box, const QImage& image) {
    if (!image.isNull()) band.pictures << ReportPicture{box, image};
  }
  void shape(const QPainterPath& path, const QColor& fill, const QColor& line = QColor(),
             double width = 0.3) {
    band.shapes << ReportShape{path, fill, line, width};
  }

  static constexpr double kWidth = 190;
};

// The member's frame of every page but the cover.
ReportBand pageHeader(const AssessmentData& d, const QDateTime& at) {
  ReportBand band;
  band.height = 16;
  const auto put = [&](double x, double y, double w, const QString& value, const ReportFont& f) {
    band.texts << reportText(QRectF(x, y, w, 5), value, f);
  };
  put(0, 1, 22, QStringLiteral("Matrícula  :"), bold(8.5));
  put(22, 1, 30, d.matricula, plain());
  put(55, 1, 12, QStringLiteral("Nome :"), bold(8.5));
  put(67, 1, 90, textOf(d.member, QStringLiteral("NOME")), plain());
  put(0, 7, 28, QStringLiteral("Data do Exame : "), bold(8.5));
  put(28, 7, 25, d.date.toString(QStringLiteral("dd/MM/yyyy")), plain());
  put(122, 7, 11, QStringLiteral("Data :"), bold(8.5));
  put(133, 7, 22, at.date().toString(QStringLiteral("dd/MM/yyyy")), plain());
  put(160, 7, 11, QStringLiteral("Hora :"), bold(8.5));
  put(171, 7, 19, at.time().toString(QStringLiteral("HH:mm:ss")), plain());
  band.rules << ReportRule{QPointF(0, 14), QPointF(Sheet::kWidth, 14), 0.4};
  return band;
}

ReportBand pageFooter(const AssessmentData& d) {
  ReportBand band;
  band.height = 8;
  band.rules << ReportRule{QPointF(0, 1), QPointF(Sheet::kWidth, 1), 0.3};
  band.texts << reportText(QRectF(0, 2, 160, 5), d.settings.footer(), plain(8));
  ReportText page =
      reportText(QRectF(160, 2, 30, 5), QString(), plain(8), Qt::AlignRight | Qt::AlignVCenter);
  page.source = TextSource::PageNumber;
  band.texts << reportText(QRectF(150, 2, 25, 5), QStringLiteral("Página:"), plain(8),
                           Qt::AlignRight | Qt::AlignVCenter);
  band.texts << page;
  return band;
}

Report sectionReport(const AssessmentData& d, const QDateTime& at, const QString& name, Sheet sheet,
                     bool framed = true) {
  Report report;
  report.name = name;
  if (framed) report.pageHeader = pageHeader(d, at);
  report.pageFooter = pageFooter(d);
  sheet.band.height = qMin(qMax(sheet.y, 1.0), kBodyHeight);
  report.title = sheet.band;
  return report;
}

QString yesNo(bool flag) {
  return flag ? kSim : kNao;
}

QString evaluatorName(const AssessmentData& d, const QString& code) {
  return d.evaluators.value(code);
}

// --- The sections

Report cover(const AssessmentData& d, const QDateTime& at) {
  Sheet s;
  s.gap(40);
  s.text(QRectF(0, s.y, Sheet::kWidth, 12), d.gymName, bold(20), QColor(), Qt::AlignCenter);
  s.gap(20);
  s.picture(QRectF(35, s.y, 120, 90),
            picture(fieldOf(d.settings.row, QStringLiteral("LOGOACADEMIA1"))));
  s.gap(100);
  s.text(QRectF(0, s.y, Sheet::kWidth, 10), QStringLiteral("Avaliação Física"), bold(16), QColor(),
         Qt::AlignCenter);
  s.gap(12);
  return sectionReport(d, at, QStringLiteral("Folha de Rosto"), s, false);
}

Report introduction(const AssessmentData& d, const QDateTime& at) {
  Sheet s;
  s.heading(QStringLiteral("DADOS PESSOAIS"));
  const double top = s.y;
  s.line(QStringLiteral("Nome"), textOf(d.member, QStringLiteral("NOME")), 24);
  s.line(QStringLiteral("Matrícula"), d.matricula, 24);
  s.line(QStringLiteral("Idade  "), d.age, 24);
  s.line(QStringLiteral("Endereço"), textOf(d.member, QStringLiteral("ENDERECO")), 24);
  s.line(QStringLiteral("Profissão"), textOf(d.member, QStringLiteral("PROFISSAO")), 24);
  s.line(QStringLiteral("Telefone"), textOf(d.member, QStringLiteral("TELEFONE")), 24);
  s.picture(QRectF(150, top, 40, 50), picture(d.photo));
  s.y = qMax(s.y, top + 52);
  s.gap(4);
  s.wrapped(0, Sheet::kWidth, 40,
            memoText(textOf(d.settings.row, QStringLiteral("MEMOINTRODUCAO"))));
  return sectionReport(d, at, QStringLiteral("Introdução"), s);
}

Report medical(const AssessmentData& d, const QDateTime& at) {
  const QSqlRecord& a = d.anamnese;
  const auto t = [&](const char* column) { return textOf(a, QString::fromLatin1(column)); };
  Sheet s;
  s.title(QStringLiteral("Exame Médico"));
  s.line(QStringLiteral("Queixas :"), memoText(t("A_QUEIXAS")));
  s.line(QStringLiteral("HPP:"), memoText(t("A_HPP")));
  s.line(QStringLiteral("Intercorrências Ortopédicas :"), memoText(t("A_ORTOPEDIA")), 52);
  s.line(QStringLiteral("Medicamentos :"), memoText(t("A_MEDICAMENTOSM")));
  s.field(0, QStringLiteral("Tabagista : "), t("A_TABAGISTA"), 35, 55);
  s.field(95, QStringLiteral("Nº Cigarros/Dia :"), t("A_NCIGARROS"), 40, 55);
  s.next();
  s.field(0, QStringLiteral("Bebida : "), t("A_BEBIDA"), 35, 55);
  s.field(95, QStringLiteral("Quantidade / Semana : "), figure(a, QStringLiteral("A_NBEBIDA"), 0),
          40, 55);
  s.next();
  s.field(0, QStringLiteral("Qualidade do Sono : "), t("A_SONOTIPO"), 35, 55);
  s.field(95, QStringLiteral("Horas / dia : "), t("A_HORASSONO"), 40, 55);
  s.next();
  s.heading(QStringLiteral("Historico Familiar "));
  s.field(0, QStringLiteral("DAC : "), figure(a, QStringLiteral("A_HISTORICO_DAC"), 0), 12, 40);
  s.field(60, QStringLiteral("DM :"), figure(a, QStringLiteral("A_HISTORICO_DM"), 0), 12, 40);
  s.field(120, QStringLiteral("HAS : "), figure(a, QStringLiteral("A_HISTORICO_HAS"), 0), 12, 40);
  s.next();
  s.line(QStringLiteral("Exames complementares :"), memoText(t("A_EXAMES_COMPLEMENTAR")), 45);
  s.field(0, QStringLiteral("Solicitado em :"),
          dateText(fieldOf(a, QStringLiteral("A_EXAMESOLITADO"))), 30, 40);
  s.field(95, QStringLiteral("Entregue em :"),
          dateText(fieldOf(a, QStringLiteral("A_EXAMEENTREGUE"))), 30, 40);
  s.next();
  if (d.settings.showsDoctorFindings()) {
    s.heading(QStringLiteral("Exame Clínico"));
    s.line(QStringLiteral("Ectoscopia :"), t("A_ECTOSCOPIA_OUTROS"), 45);
    s.line(QStringLiteral("Aparelho Cardiovascular :"), t("A_CARDIO_OUTROS"), 45);
    s.line(QStringLiteral("Aparelho Respiratório :"), t("A_RESPIRATORIO_OUTROS"), 45);
    s.field(0, QStringLiteral("P.A. :"), t("A_MEDICAPRESSAO") + QStringLiteral(" mmHg"), 12, 40);
    s.field(60, QStringLiteral("Posição :"), t("A_POSICAO"), 18, 40);
    s.field(120, QStringLiteral("Freq. Cardiaca :"), t("A_FREQCARDIACA") + QStringLiteral(" Bpm"),
            28, 40);
    s.next();
    s.line(QStringLiteral("Outros :"), memoText(t("A_OUTROS_OBS")), 45);
    s.text(QRectF(0, s.y, Sheet::kWidth, kLine),
           QStringLiteral("Observaçoes e Recomendações Médicas :"), bold(8.5));
    s.next();
    s.wrapped(0, Sheet::kWidth, 8, memoText(t("A_RECOMENDACOES")));
    s.line(QStringLiteral("Médico : "), evaluatorName(d, t("A_MEDICO")), 18);
  }
  s.gap(20);
  s.band.rules << ReportRule{QPointF(60, s.y), QPointF(130, s.y), 0.3};
  s.text(QRectF(60, s.y, 70, 5), QStringLiteral("Médico Responsável"), plain(), QColor(),
         Qt::AlignCenter);
  s.gap(6);
  return sectionReport(d, at, QStringLiteral("Exame Médico"), s);
}

Report prescription(const AssessmentData& d, const QDateTime& at) {
  const QSqlRecord& p = d.prescricao;
  Sheet s;
  s.title(QStringLiteral("Prescrição de Atividade Física"));
  s.heading(QStringLiteral("Atividades"));
  const QStringList activities =
      prescribedActivities(textOf(p, QStringLiteral("PRESCRICAO")), d.activities);
  for (const QString& activity : activities) {
    s.text(QRectF(4, s.y, 120, kLine), activity);
    s.next();
  }
  s.next(kPrescribedActivities - activities.size());
  QStringList weekly;
  for (const char* column : {"2X", "3X", "4X", "5X", "DIARIAMENTE"}) {
    const QString value = textOf(p, QString::fromLatin1(column)).trimmed();
    if (!value.isEmpty()) weekly << value;
  }
  s.line(QStringLiteral("Aulas / Semanas : "), weekly.join(QStringLiteral("   ")), 32);
  s.line(QStringLiteral("Reavaliação :"), dateText(fieldOf(p, QStringLiteral("REAVALIACAO"))), 32);
  s.heading(QStringLiteral("Recomendações"));
  s.wrapped(0, Sheet::kWidth, 10, memoText(textOf(p, QStringLiteral("MEMO_RECOMENDACOES"))));
  s.heading(QStringLiteral("Solicitação de Exames :"));
  const auto exam = [&](double x, const QString& caption, bool asked) {
    s.text(QRectF(x, s.y, 60, kLine), caption, asked ? bold() : plain(),
           asked ? kPurple : QColor());
  };
  exam(0, QStringLiteral("Exame Médico"), flagOf(p, QStringLiteral("EXAME_MEDICO")));
  exam(63, QStringLiteral("Exame Fisoterápico"), flagOf(p, QStringLiteral("EXAME_FISIOTERAPICO")));
  exam(126, QStringLiteral("Exame Nutricional"), flagOf(p, QStringLiteral("EXAME_NUTRICIONAL")));
  s.next();
  exam(0, QStringLiteral("Fotometria"), flagOf(p, QStringLiteral("EXAME_FOTOMETRIA")));
  exam(63, QStringLiteral("Tratamento Fisioterápico "),
       flagOf(p, QStringLiteral("EXAME_TRATAMENTO")));
  s.next();
  const QString others = textOf(p, QStringLiteral("EXAME_OUTROS")).trimmed();
  exam(0, QStringLiteral("Outros : ") + others, !others.isEmpty());
  s.next();
  s.gap(20);
  s.band.rules << ReportRule{QPointF(60, s.y), QPointF(130, s.y), 0.3};
  s.text(QRectF(40, s.y, 110, 5), QStringLiteral("Responsável da Avaliação"), plain(), QColor(),
         Qt::AlignCenter);
  s.next();
  s.text(QRectF(40, s.y, 110, 5), evaluatorName(d, textOf(d.avaliacao, QStringLiteral("USUARIO"))),
         plain(), QColor(), Qt::AlignCenter);
  s.next();
  return sectionReport(d, at, QStringLiteral("Prescrição de Atividade Física"), s);
}

Report anamnesis(const AssessmentData& d, const QDateTime& at) {
  const QSqlRecord& a = d.anamnese;
  const auto t = [&](const char* column) { return textOf(a, QString::fromLatin1(column)); };
  const auto f = [&](const char* column) { return flagOf(a, QString::fromLatin1(column)); };
  Sheet s;
  s.title(QStringLiteral("Anamnese"));
  s.heading(QStringLiteral("Objetivos"));
  struct Objective {
    const char* caption;
    const char* column;
  };
  const Objective objectives[] = {
      {"Postural", "A_OBJPOSTURAL"},
      {"Terapêutico", "A_OBJTERAPEUTICO"},
      {"Estético", "A_OBJESTETICO"},
      {"Ganho de Massa Muscular", "A_OBJGANHO"},
      {"Perda de Gordura", "A_OBJPERDA"},
      {"Condicionamento Físico", "A_OBJFISICO"},
      {"Definição Muscular", "A_OBJDEFINICAO"},
      {"Anti-Estress", "A_OBJESTRESS"},
      {"Enrijecimento Muscular", "A_OBJENDURECIMENTO"},
  };
  int i = 0;
  for (const Objective& o : objectives) {
    const bool set = f(o.column);
    s.text(QRectF((i % 3) * 63, s.y, 62, kLine), QString::fromUtf8(o.caption),
           set ? bold() : plain(), set ? kPurple : QColor());
    if (++i % 3 == 0) s.next();
  }
  const bool others = f("A_OBJOUTROS");
  s.text(QRectF(0, s.y, 190, kLine), QStringLiteral("Outros : ") + t("A_OBJQUAL"),
         others ? bold() : plain(), others ? kPurple : QColor());
  s.next();
  s.text(QRectF(0, s.y, 190, kLine), QStringLiteral("Segmentos corporais a definir "), bold(8.5));
  s.next();
  const Objective segments[] = {{"Membros Superiores", "A_MMSS"},
                                {"Membros Inferiores", "A_MMII"},
                                {"Abdomem", "A_ABDOMEM"},
                                {"Glúteo", "A_GLUTEO"},
                                {"Peitoral", "A_OBJPEITORAL"}};
  i = 0;
  for (const Objective& o : segments) {
    const bool set = f(o.column);
    s.text(QRectF(i++ * 38, s.y, 38, kLine), QString::fromUtf8(o.caption), set ? bold(8) : plain(8),
           set ? kPurple : QColor());
  }
  s.next();
  s.heading(QStringLiteral("Histórico"));
  struct Question {
    const char* caption;
    const char* flag;
    const char* which;
  };
  const Question questions[] = {{"Doença na família : ", "A_DOENCAFAMILIA", "A_TIPOFAMILIA"},
                                {"Doença pessoal : ", "A_DOENCAPESSOAL", "A_TIPOPESSOAL"},
                                {"Cirurgia :  ", "A_CIRURGIA", "A_TIPOCIRURGIA"},
                                {"Alergia :", "A_ALERGIA", "A_TIPOALERGIA"},
                                {"Lesão :  ", "A_LESAO", "A_TIPOLESAO"}};
  for (const Question& q : questions) {
    const bool set = f(q.flag);
    s.field(0, QString::fromUtf8(q.caption), yesNo(set), 35, 15);
    if (set) s.field(52, QStringLiteral("Qual ? : "), t(q.which), 16, 120);
    s.next();
  }
  const QString diet = t("A_DIETA");
  s.field(0, QStringLiteral("Dieta :"),
          diet == QLatin1String("0")   ? QStringLiteral("Ganhar peso")
          : diet == QLatin1String("1") ? QStringLiteral("Perder peso")
                                       : QString(),
          35, 30);
  s.field(70, QStringLiteral("Motivo : "), t("A_TIPODIETA"), 16, 100);
  s.next();
  const QString smoker = t("A_TABAGISTA");
  s.field(0, QStringLiteral("Tabagista : "), smoker, 35, 15);
  if (smoker != kNao) {
    s.field(52, QStringLiteral("Número de cigarros : "), t("A_NCIGARROS"), 38, 15);
    s.field(108, QStringLiteral("Há quanto tempo? "), t("A_TEMPO_CIGARRO"), 32, 50);
  }
  s.next();
  s.field(0, QStringLiteral("Prática atividade atualmente? "), yesNo(f("A_PRATICAATUAL")), 52, 10);
  s.field(65, QStringLiteral("Qual :"), t("A_ATIVIDADEATUAL"), 12, 35);
  s.field(112, QStringLiteral("Há quanto tempo :"), t("A_TEMPOPRATICA"), 32, 46);
  s.next();
  s.field(0, QStringLiteral("Prática atividade antes?  "), yesNo(f("A_PRATICAANTES")), 52, 10);
  s.field(65, QStringLiteral("Qual :"), t("A_ATIVIDADEANTES"), 12, 35);
  s.field(112, QStringLiteral("Parou há :"), t("A_TEMPOPAROU"), 32, 46);
  s.next();
  s.field(0, QStringLiteral("Vezes por semana :"), t("A_NVEZES"), 35, 30);
  s.field(95, QStringLiteral("Quanto tempo :"), t("A_QUANTOTEMPO"), 30, 60);
  s.next();
  s.heading(QStringLiteral("Dados Clínicos"));
  s.field(0, QStringLiteral("Raça :"), t("A_RACA"), 35, 50);
  s.field(95, QStringLiteral("Freq. Cardíaca :"), t("A_FREQCARDIACA") + QStringLiteral(" Bpm"), 35,
          50);
  s.next();
  s.field(0, QStringLiteral("P.A. Sistólica :"),
          figure(a, QStringLiteral("A_PRESSAOARTERIALMAX"), 0) + QStringLiteral(" mmHg"), 35, 50);
  s.field(95, QStringLiteral("P.A. Diastólica :"),
          figure(a, QStringLiteral("A_PRESSAOARTERIALMIN"), 0) + QStringLiteral(" mmHg"), 35, 50);
  s.next();
  s.field(0, QStringLiteral("Bebida :"), t("A_BEBIDA"), 35, 50);
  s.field(95, QStringLiteral("Horas de sono :"), t("A_HORASSONO"), 35, 50);
  s.next();
  s.line(QStringLiteral("Medicamentos :"), t("A_MEDICAMENTOS"), 35);
  s.line(QStringLiteral("Dores :"), t("A_DORESOBS"), 35);
  s.field(0, QStringLiteral("Refeições por dia :"), t("A_NREFEICOES"), 35, 50);
  s.next();
  s.line(QStringLiteral("Histórico ocupacional :"), t("A_HISTORICOOCUPACIONAL"), 40);
  QStringList periods;
  if (f("A_TEMPOMANHA")) periods << QStringLiteral("Manhã");
  if (f("A_TEMPOTARDE")) periods << QStringLiteral("Tarde");
  if (f("A_TEMPONOITE")) periods << QStringLiteral("Noite");
  if (f("A_TEMPOLIVRE")) periods << QStringLiteral("Livre");
  s.line(QStringLiteral("Horário disponível :"), periods.join(QStringLiteral(", ")), 40);
  s.line(QStringLiteral("Dias disponíveis :"), t("A_DIADISPONIVEL"), 40);
  s.gap(2);
  s.line(QStringLiteral("Médico : "), evaluatorName(d, t("A_MEDICO")), 18);
  return sectionReport(d, at, QStringLiteral("Anamnese"), s);
}

Report cardiac(const AssessmentData& d, const QDateTime& at) {
  Sheet s;
  s.title(QStringLiteral("Teste de Risco Cardíaco"));
  for (const CardiacFactor& factor : cardiacFactors()) {
    s.field(0, factor.caption + QStringLiteral(" :"),
            cardiacFactorText(factor.column, textOf(d.cardiaco, factor.column).trimmed()), 35, 155);
    s.next(1.4);
  }
  s.gap(4);
  s.heading(QStringLiteral("Resultado do Exame de Risco Cardíaco"));
  const QVariant score = fieldOf(d.cardiaco, QStringLiteral("R_RESULTADOATUAL"));
  s.field(0, QStringLiteral("Pontos :"), figure(d.cardiaco, QStringLiteral("R_RESULTADOATUAL"), 1),
          35, 30);
  s.next();
  s.text(QRectF(0, s.y, Sheet::kWidth, 6),
         score.isNull() ? QStringLiteral(" - ") : cardiacResultText(score.toDouble()), bold(11));
  s.gap(7);
  return sectionReport(d, at, QStringLiteral("Teste de Risco Cardíaco"), s);
}

Report perimetry(const AssessmentData& d, const QDateTime& at) {
  const QSqlRecord& m = d.muscular;
  Sheet s;
  s.title(QStringLiteral("Exame Muscular - Perimetria"));
  const double top = s.y;
  const QRectF front(10, top + 6, 70, 95);
  const QRectF back(110, top + 6, 70, 95);
  s.text(QRectF(front.left(), top, front.width(), 5), QStringLiteral("Vista de Frente (cm)"),
         bold(9), QColor(), Qt::AlignCenter);
  s.text(QRectF(back.left(), top, back.width(), 5), QStringLiteral("Vista de Costas (cm)"), bold(9),
         QColor(), Qt::AlignCenter);
  // The gym's own body pictures when it stored them; otherwise the program's outlines, the
  // front one with the numbers of the sites.
  const QImage storedFront = picture(fieldOf(d.settings.row, QStringLiteral("IMAGEMFRENTE")));
  const QImage storedBack = picture(fieldOf(d.settings.row, QStringLiteral("IMAGEMCOSTA")));
  if (!storedFront.isNull()) {
    s.picture(front, storedFront);
  } else {
    s.shape(bodyOutline(BodyView::Front, front), QColor(240, 240, 240), Qt::black, 0.35);
    const QList<QPointF> sites = perimetrySites(front);
    for (int i = 0; i < sites.size(); ++i)
      s.text(QRectF(sites[i].x() - 3, sites[i].y() - 2, 6, 4), QString::number(i + 1), bold(7),
             kRed, Qt::AlignCenter);
  }
  if (!storedBack.isNull())
    s.picture(back, storedBack);
  else
    s.shape(bodyOutline(BodyView::Back, back), QColor(240, 240, 240), Qt::black, 0.35);
  s.y = front.bottom() + 4;
  struct Site {
    const char* caption;
    const char* measure;
    const char* flag;
  };
  const Site table[] = {
      {"Torax", "M_TORAX_MED", "M_TORAX"},
      {"Cintura", "M_CINTURA_MED", "M_CINTURA"},
      {"Abdomem", "M_ABDOMEM_MED", "M_ABDOMEM"},
      {"Quadril", "M_QUADRIL_MED", "M_QUADRIL"},
      {"Braço Direito", "M_BRACO_DMED", "M_BRACO_D"},
      {"Braço Esquerdo", "M_BRACO_EMED", "M_BRACO_E"},
      {"Antebraço Direito", "M_ANTEBRACO_DMED", "M_ANTEBRACO_D"},
      {"Antebraço Esquerdo", "M_ANTEBRACO_EMED", "M_ANTEBRACO_E"},
      {"Coxa Medial Direita", "M_COXA_DMED", "M_COXA_D"},
      {"Coxa Medial Esquerda", "M_COXA_EMED", "M_COXA_E"},
      {"Perna Direita", "M_PERNA_DMED", "M_PERNA_D"},
      {"Perna Esquerda", "M_PERNA_EMED", "M_PERNA_E"},
      {"Coxa Proximal Direita", "M_COXA_DPROX", "M_COXA_D_P"},
      {"Coxa Proximal Esquerda", "M_COXA_EPROX", "M_COXA_E_P"},
  };
  const double columns[] = {10, 30, 95, 130};
  const char* titles[] = {"Posição", "Descrição", "Medida (cm)", "Assimetria"};
  for (int c = 0; c < 4; ++c)
    s.text(QRectF(columns[c], s.y, 35, kLine), QString::fromUtf8(titles[c]), bold(8.5));
  s.band.rules << ReportRule{QPointF(10, s.y + kLine), QPointF(165, s.y + kLine), 0.2};
  s.next();
  int position = 0;
  for (const Site& site : table) {
    const bool asymmetric = flagOf(m, QString::fromLatin1(site.flag));
    s.text(QRectF(columns[0], s.y, 18, kLine), QString::number(++position));
    s.text(QRectF(columns[1], s.y, 60, kLine), QString::fromUtf8(site.caption));
    s.text(QRectF(columns[2], s.y, 30, kLine), figure(m, QString::fromLatin1(site.measure)));
    s.text(QRectF(columns[3], s.y, 30, kLine),
           asymmetric ? QStringLiteral("Positivo") : QStringLiteral("Negativo"), plain(),
           asymmetric ? kRed : kGreen);
    s.next();
  }
  s.gap(2);
  const double inspired = numberOf(m, QStringLiteral("M_TORAX_INS"));
  const double expired = numberOf(m, QStringLiteral("M_TORAX_EXP"));
  const bool both = inspired > 0 && expired > 0;
  s.field(0, QStringLiteral("Torax Expirado"), both ? numberText(expired) : QString(), 30, 25);
  s.field(60, QStringLiteral("Torax Inspirado"), both ? numberText(inspired) : QString(), 30, 25);
  s.field(120, QStringLiteral("Diferença Ventilatória"),
          both ? numberText(inspired - expired) : QString(), 40, 25);
  s.next();
  QString cause;
  if (flagOf(m, QStringLiteral("M_CAUSA_TRAUMA"))) cause += QStringLiteral("  Atrofia ");
  if (flagOf(m, QStringLiteral("M_CAUSA_FUNCIONAL"))) cause += QStringLiteral(" Funcional ");
  if (flagOf(m, QStringLiteral("M_CAUSA_DEFICIENCIA")))
    cause += QStringLiteral(" Deficiência Congenita");
  if (flagOf(m, QStringLiteral("M_CAUSA_CIRURGIA"))) cause += QStringLiteral(" Cirurgia ");
  s.line(QStringLiteral("Causa da Atrofia"), cause, 30);
  s.text(QRectF(0, s.y, 60, kLine), QStringLiteral("Observações:"), bold(8.5));
  s.next();
  s.wrapped(0, Sheet::kWidth, 6, memoText(textOf(m, QStringLiteral("M_MEMOOBS"))));
  return sectionReport(d, at, QStringLiteral("Exame Muscular - Perimetria"), s);
}

// One picture of the postural examination with its markers and legend; `origin` is where the
// report units start (the picture itself begins at units 28, 120).
void posturalPicture(Sheet& s, const QPointF& origin, const QString& caption, const QImage& image,
                     BodyView fallback, const QList<PlacedFinding>& findings) {
  const QRectF box(origin.x() + 28 * kReportUnit, origin.y() + 120 * kReportUnit, 300 * kReportUnit,
                   420 * kReportUnit);
  s.text(QRectF(box.left(), box.top() - 6, box.width(), 5), caption, bold(9), QColor(),
         Qt::AlignCenter);
  if (!image.isNull())
    s.picture(box, image);
  else  // neither the member's picture nor the gym's default: the outline keeps the marks readable
    s.shape(bodyOutline(fallback, box), QColor(245, 245, 245), Qt::gray, 0.3);
  for (const PlacedFinding& finding : findings) {
    if (!finding.place) continue;
    const QPointF at(origin.x() + finding.place->x() * kReportUnit,
                     origin.y() + finding.place->y() * kReportUnit);
    QPainterPath dot;
    dot.addEllipse(at + QPointF(2, 2), 2.2, 2.2);
    s.shape(dot, kMarkerFill);
    s.text(QRectF(at.x(), at.y(), 4, 4), finding.marker, bold(6.5), Qt::white, Qt::AlignCenter);
  }
  double y = box.bottom() + 2;
  for (int line = 0; line < kFindingsPerPicture; ++line) {
    s.text(QRectF(box.left(), y, box.width() + 10, 4),
           line < findings.size() ? findings[line].legend : QString(), plain(8));
    y += 4;
  }
}

Report postural(const AssessmentData& d, const QDateTime& at, bool frontBack) {
  const bool man = d.sex() == QLatin1String("M");
  const QString suffix = man ? QString() : QStringLiteral("2");
  const auto shown = [&](const char* own, const char* standard) {
    QImage image = picture(fieldOf(d.avaliacao, QString::fromLatin1(own) + suffix));
    if (image.isNull())
      image = picture(fieldOf(d.settings.row, QString::fromLatin1(standard) + suffix));
    return image;
  };
  Sheet s;
  s.title(
      QStringLiteral("Exame Postural"),
      QStringLiteral("Análise da postura corporal, segundo o modelo teórico de Kendall e Kendall"));
  const QPointF left(0, s.y + 8 - 120 * kReportUnit);
  const QPointF right(96, s.y + 8 - 120 * kReportUnit);
  if (frontBack) {
    posturalPicture(s, left, QStringLiteral("Vista Frente"), shown("FOTOFRENTE", "VistaFrente"),
                    BodyView::Front, placeFindings(d.findings, QLatin1Char('F')));
    posturalPicture(s, right, QStringLiteral("Vista Costa"), shown("FOTOCOSTA", "VistaCosta"),
                    BodyView::Back, placeFindings(d.findings, QLatin1Char('C')));
  } else {
    posturalPicture(s, left, QStringLiteral("Vista Direita"), shown("FOTODIREITO", "VistaDireito"),
                    BodyView::Side, placeFindings(d.findings, QLatin1Char('D')));
    posturalPicture(s, right, QStringLiteral("Vista Esquerda"),
                    shown("FOTOESQUERDO", "VistaEsquerdo"), BodyView::Side,
                    placeFindings(d.findings, QLatin1Char('E')));
  }
  s.y += 8 + 420 * kReportUnit + 2 + kFindingsPerPicture * 4 + 3;
  s.text(QRectF(0, s.y, 60, kLine), QStringLiteral("Observações:"), bold(8.5));
  s.next();
  s.wrapped(0, Sheet::kWidth, 6,
            memoText(textOf(d.avaliacao, frontBack ? QStringLiteral("OBS_POSTURAL")
                                                   : QStringLiteral("OBS_POSTURAL2"))));
  return sectionReport(
      d, at,
      frontBack ? QStringLiteral("Exame Postural (F/C)") : QStringLiteral("Exame Postural (D/E)"),
      s);
}

Report flexTest(const AssessmentData& d, const QDateTime& at) {
  const QSqlRecord& f = d.flexTeste;
  Sheet s;
  s.title(QStringLiteral("Flextest"), QStringLiteral("Padua Adaptado"));
  const char* movements[] = {"Flexão do quadril", "Flexão do tronco",
                             "Extensão + adução posterior do ombro",
                             " Adução posterior a partir da abdução de 180º no ombro"};
  for (int i = 0; i < 4; ++i) {
    const double top = s.y;
    s.text(QRectF(0, top, 120, 5), QString::fromUtf8(movements[i]), bold(9));
    s.text(QRectF(0, top + 6, 30, kLine), QStringLiteral("Escala :"), plain(8.5));
    const QString score = textOf(f, QStringLiteral("FLEX%1").arg(i + 1)).trimmed();
    for (int v = 0; v <= 4; ++v) {
      const bool chosen = score == QString::number(v);
      const QRectF box(32 + v * 10, top + 6, 8, 5);
      if (chosen) {
        QPainterPath ring;
        ring.addRoundedRect(box, 1, 1);
        s.shape(ring, QColor(230, 210, 240), kPurple, 0.3);
      }
      s.text(box, QString::number(v), chosen ? bold() : plain(), chosen ? kPurple : QColor(),
             Qt::AlignCenter);
    }
    s.text(QRectF(90, top + 6, 30, kLine), QStringLiteral("Pontos : ") + score, plain(8.5));
    s.picture(QRectF(130, top, 55, 38),
              picture(fieldOf(d.settings.row, QStringLiteral("IMAGEMFLEX%1").arg(i + 1))));
    s.y = top + 42;
  }
  if (d.settings.showsBodyResults()) {
    s.heading(QStringLiteral("Resultado Flextest"));
    const QVariant result = fieldOf(f, QStringLiteral("RESULTADO"));
    s.field(0, QStringLiteral("Pontos :"), figure(f, QStringLiteral("RESULTADO"), 0), 30, 30);
    s.field(70, QStringLiteral("Classificação :"),
            result.isNull() ? QString() : flexTestClass(result.toDouble()), 30, 60);
    s.next();
  }
  return sectionReport(d, at, QStringLiteral("Flex Teste"), s);
}

// A bar chart in report units from `origin`: one bar per value (an empty place for none).
void barChart(Sheet& s, const QPointF& origin, const QStringList& captions,
              const QList<std::optional<int>>& values, int barTop, QList<int> labelTops,
              const QColor& fill) {
  const double base = origin.y() + (barTop + 200) * kReportUnit;
  const double width = captions.size() * 44 * kReportUnit;
  s.band.rules << ReportRule{QPointF(origin.x(), base), QPointF(origin.x() + width, base), 0.3};
  for (int i = 0; i < captions.size(); ++i) {
    const double x = origin.x() + (10 + i * 44) * kReportUnit;
    s.text(QRectF(x - 2.5, base + 0.5, 28 * kReportUnit + 5, 4), captions[i], plain(6), QColor(),
           Qt::AlignCenter);
    if (i >= values.size() || !values[i]) continue;
    const ChartBar bar =
        chartBar(qMax(0, *values[i]), barTop, labelTops.value(i, labelTops.last()));
    QPainterPath path;
    path.addRect(
        QRectF(x, origin.y() + bar.top * kReportUnit, 28 * kReportUnit, bar.height * kReportUnit));
    s.shape(path, fill, fill.darker(150), 0.2);
    s.text(QRectF(x - 3, origin.y() + bar.labelTop * kReportUnit, 28 * kReportUnit + 6,
                  (106 - 85) * kReportUnit),
           bar.label, plain(7.5), QColor(), Qt::AlignCenter);
  }
}

Report ergometric(const AssessmentData& d, const QDateTime& at) {
  Sheet s;
  s.title(QStringLiteral("Ergométrico"), QStringLiteral("Protocolo de Astrand"));
  QList<std::optional<int>> effort(5);
  QSqlRecord fifth;
  for (const QSqlRecord& row : d.ergometrico) {
    const int minute = textOf(row, QStringLiteral("TEMPO")).trimmed().toInt();
    if (minute < 1 || minute > 5) continue;
    effort[minute - 1] = wholeUnits(numberOf(row, QStringLiteral("FREQCARDIACA")));
    if (minute == 5) fifth = row;
  }
  QList<std::optional<int>> recovery(4);
  const QSqlRecord first = d.recuperacao.value(0);
  if (!d.recuperacao.isEmpty())
    recovery[0] = wholeUnits(numberOf(first, QStringLiteral("FREQ_CARDIACA_REPOUSO")));
  for (const QSqlRecord& row : d.recuperacao) {
    const int minute = textOf(row, QStringLiteral("TEMPO")).trimmed().toInt();
    if (minute < 1 || minute > 3) continue;
    recovery[minute] = wholeUnits(numberOf(row, QStringLiteral("FREQCARDIACA")));
  }
  const double top = s.y;
  s.text(QRectF(0, top, 95, 5), QStringLiteral("Escala de Esforço"), bold(9.5), QColor(),
         Qt::AlignCenter);
  s.text(QRectF(100, top, 90, 5), QStringLiteral("Escala de Repouso"), bold(9.5), QColor(),
         Qt::AlignCenter);
  const QPointF effortOrigin(2, top + 6 - 80 * kReportUnit);
  const QPointF restOrigin(102, top + 6 - 80 * kReportUnit);
  barChart(s, effortOrigin,
           {QStringLiteral("1º"), QStringLiteral("2º"), QStringLiteral("3º"), QStringLiteral("4º"),
            QStringLiteral("5º")},
           effort, 106, {85}, kBarFill);
  barChart(
      s, restOrigin,
      {QStringLiteral("Repouso"), QStringLiteral("1º"), QStringLiteral("2º"), QStringLiteral("3º")},
      recovery, 106, {90, 85}, QColor(90, 160, 100));
  s.y = top + 6 + (306 - 80) * kReportUnit + 8;
  s.field(0, QStringLiteral("F.C. Máxima               :"),
          fifth.isEmpty()
              ? QString()
              : figure(fifth, QStringLiteral("FREQCARDIACA"), 0) + QStringLiteral(" Bpm"),
          45, 40);
  s.field(95, QStringLiteral("F.C. Repouso             :"),
          first.isEmpty()
              ? QString()
              : figure(first, QStringLiteral("FREQ_CARDIACA_REPOUSO"), 0) + QStringLiteral(" Bpm"),
          45, 40);
  s.next();
  s.field(0, QStringLiteral("P. Esforço 5º Tempo :"),
          fifth.isEmpty()
              ? QString()
              : figure(fifth, QStringLiteral("PERCEPCAOESFORCO"), 0) + QStringLiteral(" Bpm"),
          45, 40);
  s.field(95, QStringLiteral("P.A. Repouso             :"),
          textOf(first, QStringLiteral("PRES_ARTERIAL_REPOUSO")), 45, 40);
  s.next();
  s.field(0, QStringLiteral("V02 Máx Rel.              :"),
          figure(d.avaliacao, QStringLiteral("VO2MAX"), 2) + QStringLiteral(" ml/Kgxmin-1"), 45,
          50);
  s.next();
  s.field(0, QStringLiteral("RESULTADO             :"),
          textOf(d.avaliacao, QStringLiteral("VO2MAXRESULTADO")), 45, 60);
  s.next();
  s.text(QRectF(0, s.y, 60, kLine), QStringLiteral("Observação :"), bold(8.5));
  s.next();
  s.wrapped(0, Sheet::kWidth, 6, memoText(textOf(d.avaliacao, QStringLiteral("OBS_ERGOMETRICO"))));
  return sectionReport(d, at, QStringLiteral("Vo2 Max"), s);
}

void referenceChart(Sheet& s, const ReferenceTable& table) {
  const double left = 19;  // centred under the results
  const double ages = 22;
  const double cell = 26;
  s.text(QRectF(left, s.y, ages + cell * table.classes.size(), 5), table.source, bold(9), QColor(),
         Qt::AlignCenter);
  s.next(1.2);
  const double top = s.y;
  s.text(QRectF(left, s.y, ages, 5), QStringLiteral("Idade"), bold(8), QColor(), Qt::AlignCenter);
  for (int c = 0; c < table.classes.size(); ++c)
    s.text(QRectF(left + ages + c * cell, s.y, cell, 5), table.classes[c], bold(7.5), QColor(),
           Qt::AlignCenter);
  s.y += 5;
  for (const ReferenceTable::AgeRow& row : table.rows) {
    s.text(QRectF(left, s.y, ages, 5), row.ages, plain(8), QColor(), Qt::AlignCenter);
    for (int c = 0; c < row.cells.size(); ++c)
      s.text(QRectF(left + ages + c * cell, s.y, cell, 5), row.cells[c], plain(8), QColor(),
             Qt::AlignCenter);
    s.y += 5;
  }
  const double right = left + ages + cell * table.classes.size();
  for (double y = top; y <= s.y + 0.01; y += 5)
    s.band.rules << ReportRule{QPointF(left, y), QPointF(right, y), 0.2};
  s.band.rules << ReportRule{QPointF(left, top), QPointF(left, s.y), 0.2};
  for (int c = 0; c <= table.classes.size(); ++c)
    s.band.rules << ReportRule{QPointF(left + ages + c * cell, top),
                               QPointF(left + ages + c * cell, s.y), 0.2};
}

Report exerciseTest(const AssessmentData& d, const QDateTime& at, Section section) {
  Sheet s;
  const QSqlRecord* row = &d.testeFlexibilidade;
  ReferenceTest test = ReferenceTest::Flexibility;
  QString name;
  QString count = QStringLiteral("Número de Repetições:");
  switch (section) {
    case Section::Flexibility:
      name = QStringLiteral("Flexibilidade - Banco de Wells");
      s.title(QStringLiteral("Flexibilidade - Banco Wells"),
              QStringLiteral("Sentar e Alcancar em centímetros"));
      s.text(QRectF(0, s.y, Sheet::kWidth, 5),
             QStringLiteral("Fonte: Canadian Standardized Teste Of Fitness (CSTF)"), plain(8.5),
             QColor(), Qt::AlignCenter);
      count = QStringLiteral("Alcance (cm):");
      break;
    case Section::SitUp:
      name = QStringLiteral("Teste Abdominal (1 minuto)");
      row = &d.testeAbdominal;
      test = ReferenceTest::SitUp;
      s.title(QStringLiteral("Resistência Muscular Localizada - Teste Abdominal (1 minuto)"),
              QStringLiteral("Força e Resistência Muscular"));
      s.text(QRectF(0, s.y, Sheet::kWidth, 5),
             QStringLiteral("Fonte: Pollock, M.L. & Wilmore J.H., (1993)"), plain(8.5), QColor(),
             Qt::AlignCenter);
      break;
    default:
      name = QStringLiteral("Teste Flexão de Braço (1 minuto)");
      row = &d.testeFlexao;
      test = ReferenceTest::PushUp;
      s.title(QStringLiteral("Resistência Muscular Localizada - Teste Flexão de Braço (1 minuto)"),
              QStringLiteral("Força e Resistência Muscular"));
      s.text(QRectF(0, s.y, Sheet::kWidth, 5),
             QStringLiteral("Fonte: Pollock, M.L. & Wilmore J.H., (1993)"), plain(8.5), QColor(),
             Qt::AlignCenter);
      break;
  }
  s.gap(8);
  s.field(10, count, textOf(*row, QStringLiteral("NUMEROREPETICOES")), 45, 40);
  s.next(1.3);
  s.field(10, QStringLiteral("Classificação:"), textOf(*row, QStringLiteral("CLASSIFICACAO")), 45,
          80);
  s.next(1.3);
  s.field(10, QStringLiteral("Meta:"), textOf(*row, QStringLiteral("META")), 45, 80);
  s.next(2);
  referenceChart(s, referenceTable(test, d.sex() == QLatin1String("M")));
  s.gap(4);
  return sectionReport(d, at, name, s);
}

// --- Body composition

struct Figure {
  const char* caption;
  const char* column;
  const char* unit;
};

void figures(Sheet& s, const QSqlRecord& row, const QString& heading,
             std::initializer_list<Figure> list) {
  s.heading(heading);
  int i = 0;
  for (const Figure& f : list) {
    const double x = (i % 2) * 95;
    const QString column = QString::fromLatin1(f.column);
    const QVariant stored = fieldOf(row, column);
    // Ranges and ideal fats are kept as texts by the assessment program.
    QString text = stored.typeId() == QMetaType::QString ? stored.toString() : figure(row, column);
    if (!text.isEmpty() && *f.unit) text += QLatin1Char(' ') + QString::fromUtf8(f.unit);
    s.field(x, QString::fromUtf8(f.caption), text, 32, 55);
    if (++i % 2 == 0) s.next();
  }
  if (i % 2) s.next();
}

Report bodyPage(const AssessmentData& d, const QDateTime& at, const BodyPage& page) {
  const QSqlRecord& c = d.corporal;
  const bool results = d.settings.showsBodyResults();
  Sheet s;
  if (page.heading) s.title(QStringLiteral("Composição Corporal"));
  const auto subtitle = [&](const QString& text) {
    s.text(QRectF(0, s.y, Sheet::kWidth, 6), text, bold(10.5), QColor(), Qt::AlignCenter);
    s.gap(8);
  };
  const auto resultBand = [&](const QString& caption, const char* column) {
    if (!results) return;
    s.heading(caption);
    s.text(QRectF(0, s.y, Sheet::kWidth, 6), textOf(c, QString::fromLatin1(column)), bold(11));
    s.gap(7);
  };
  const auto basics = [&](bool height) {
    if (height)
      figures(s, c, QStringLiteral("Dados Básicos"),
              {{"Peso Atual :", "G_PESO", "Kg"}, {"Altura :", "G_ALTURA", "cm"}});
    else
      figures(s, c, QStringLiteral("Dados Básicos"), {{"Peso Atual :", "G_PESO", "Kg"}});
  };
  QString name;
  switch (page.section) {
    case Section::Pollock3: {
      name = QStringLiteral("Pollock (3 dobras)");
      subtitle(QStringLiteral("Pollock (3 dobras - masculino 18-64 e feminino 18-55 anos)"));
      basics(true);
      figures(s, c, QStringLiteral("Dobras Cutaneas (mm)"),
              {{"Peitoral :", "G_PEITORAL", ""},
               {"Abdomem :", "G_ABDOMEM", ""},
               {"Supra-ilíaca :", "G_SUPRAILIACA", ""},
               {"Coxa :", "G_COXA", ""},
               {"Tríceps :", "G_TRICIPES", ""}});
      bool others = false;
      for (int i = 1; i <= 7; ++i)
        others = others || numberOf(c, QStringLiteral("G_OUTRA%1").arg(i)) != 0;
      if (others)
        figures(s, c, QStringLiteral("Outras Dobras (mm)"),
                {{"Subescapular :", "G_OUTRA1", ""},
                 {"Tríceps :", "G_OUTRA2", ""},
                 {"Axilar :", "G_OUTRA3", ""},
                 {"Crista-ilíaca :", "G_OUTRA4", ""},
                 {"Perna :", "G_OUTRA5", ""},
                 {"", "G_OUTRA6", ""},
                 {"", "G_OUTRA7", ""}});
      figures(s, c, QStringLiteral("Percentual de Gordura"),
              {{"Gordura Atual :", "G_3DOBRASGORDURA_A", "%"},
               {"Gordura Média :", "G_3DOBRASGORDURA_FAIXA", ""},
               {"Gordura Ideal :", "G_3DOBRASGORDURA_IDEAL", "%"},
               {"Peso Gordo :", "G_3DOBRASPESO_GORDO", "Kg"},
               {"Peso Magro :", "G_3DOBRASPESO_MAGRO", "Kg"},
               {"Peso Ideal :", "G_3DOBRASPESO_IDEAL", "Kg"}});
      resultBand(QStringLiteral("Resultado Gordura Média"), "G_3DOBRASGORDURA_M");
      break;
    }
    case Section::Pollock7:
      name = QStringLiteral("Pollock /Jackson (7 dobras)");
      subtitle(QStringLiteral("Pollock e Jackson (7 dobras)"));
      basics(true);
      figures(s, c, QStringLiteral("Dobras Cutaneas (mm)"),
              {{"Subescapular :", "G_SUBESCAPULAR", ""},
               {"Tríceps :", "G_TRICIPES", ""},
               {"Peitoral :", "G_PEITORAL", ""},
               {"Axilar Média :", "G_AXILARMEDIA", ""},
               {"Supra-ilíaca :", "G_SUPRAILIACA", ""},
               {"Abdomem :", "G_ABDOMEM", ""},
               {"Coxa :", "G_COXA", ""}});
      figures(s, c, QStringLiteral("Percentual de Gordura"),
              {{"Gordura Atual :", "G_7DOBRASGORDURA_A", "%"},
               {"Gordura Média :", "G_7DOBRASGORDURA_FAIXA", ""},
               {"Gordura Ideal :", "G_7DOBRASGORDURA_IDEAL", "%"},
               {"Peso Gordo :", "G_7DOBRASPESO_GORDO", "Kg"},
               {"Peso Magro :", "G_7DOBRASPESO_MAGRO", "Kg"},
               {"Peso Ideal :", "G_7DOBRASPESO_IDEAL", "Kg"}});
      resultBand(QStringLiteral("Resultado Gordura Média"), "G_7DOBRASGORDURA_M");
      break;
    case Section::BodyMassIndex:
      name = QStringLiteral("Índice de Massa Corporal (IMC)");
      subtitle(textOf(d.settings.row, QStringLiteral("IMC_1_2")) == QLatin1String("0")
                   ? QStringLiteral(
                         "Índice de Massa Corporal (IMC) - Organização Mundial de Saúde - Simples")
                   : QStringLiteral("Índice de Massa Corporal (IMC) - Organização Mundial de Saúde "
                                    "- NHANES II Survey"));
      basics(true);
      figures(s, c, QStringLiteral("Índice"), {{"IMC :", "G_IMCVALOR", "Kg /cm2"}});
      resultBand(QStringLiteral("Resultado Índice de Massa Corporea"), "G_IMCRESULTADO");
      break;
    case Section::Children:
      name = QStringLiteral("Protocolo para Crianças (7 a 17 anos)");
      subtitle(QStringLiteral("Protocolo  de Slaughter et alii para Crianças (7 a 17 anos)"));
      basics(false);
      figures(s, c, QStringLiteral("Dobras Cutaneas (mm)"),
              {{"Subescapular :", "G_SUBESCAPULAR", ""}, {"Tríceps :", "G_TRICIPES", ""}});
      figures(s, c, QStringLiteral("Percentual de Gordura"),
              {{"Gordura Atual :", "G_CRIANCAGORDURA_A", "%"},
               {"Gordura Média :", "G_CRIANCAGORDURA_FAIXA", ""},
               {"Peso Gordo :", "G_CRIANCAPESO_GORDO", "Kg"},
               {"Peso Magro :", "G_CRIANCAPESO_MAGRO", "Kg"}});
      resultBand(QStringLiteral("Resultado Gordura Média"), "G_CRIANCAGORDURA_M");
      break;
    case Section::WaistHip:
      name = QStringLiteral("Relação Cintura Quadril");
      subtitle(QStringLiteral("Relação Cintura Quadril"));
      figures(s, c, QStringLiteral("Circunferências (cm)"),
              {{"Circ. Cintura :", "G_CINTURA", "cm"}, {"Circ. Quadril :", "G_QUADRIL", "cm"}});
      s.field(0, QStringLiteral("Relação :"),
              figure(c, QStringLiteral("G_CINTURA_QUADRIL_VALOR"), 2), 32, 55);
      s.next();
      resultBand(QStringLiteral("Resultado Cintura Quadril"), "G_RESULTADO_CINTURA");
      break;
    case Section::Faulkner:
      name = QStringLiteral("Faulkner");
      subtitle(QStringLiteral("Faulkner"));
      basics(true);
      figures(s, c, QStringLiteral("Dobras Cutaneas (mm)"),
              {{"Triceps :", "G_TRICIPES", ""},
               {"Subescapular :", "G_SUBESCAPULAR", ""},
               {"Supra-ilíaca :", "G_SUPRAILIACA", ""},
               {"Abdomem :", "G_ABDOMEM", ""}});
      figures(s, c, QStringLiteral("Percentual de Gordura"),
              {{"Gordura Atual :", "G_FAULKNER_GORDURA", "%"},
               {"Gordura Ideal :", "G_FAULKNERGORDURA_IDEAL", "%"},
               {"Peso Gordo :", "G_FAULKNERPESO_GORDO", "Kg"},
               {"Peso Magro :", "G_FAULKNERPESO_MAGRO", "Kg"},
               {"Peso Ideal :", "G_FAULKNERPESO_IDEAL", "Kg"}});
      break;
    case Section::Lohman:
      name = QStringLiteral("Lohman");
      subtitle(QStringLiteral("Lohman para Crianças (7 a 16 anos)"));
      basics(true);
      figures(s, c, QStringLiteral("Dobras Cutaneas (mm)"),
              {{"Triceps :", "G_TRICIPES", ""}, {"Subescapular :", "G_SUBESCAPULAR", ""}});
      figures(s, c, QStringLiteral("Percentual de Gordura"),
              {{"Gordura Atual :", "G_LOHMAN_GORDURA", "%"},
               {"Gordura Ideal :", "G_LOHMANGORDURA_IDEAL", "%"},
               {"Peso Gordo :", "G_LOHMANPESO_GORDO", "Kg"},
               {"Peso Magro :", "G_LOHMANPESO_MAGRO", "Kg"},
               {"Peso Ideal :", "G_LOHMANPESO_IDEAL", "Kg"}});
      break;
    default:
      name = QStringLiteral("Trans & Weltman");
      subtitle(QStringLiteral("Trans & Weltmam para Idosos (62 a 79)"));
      basics(true);
      // The hip girth is the waist-to-hip page's: G_QUADRIL.
      figures(s, c, QStringLiteral("Circunferências (cm)"),
              {{"Abdomem1 :", "G_TRANABDOMEM1", ""},
               {"Abdomem2 :", "G_TRANABDOMEM2", ""},
               {"Quadril :", "G_QUADRIL", ""}});
      figures(s, c, QStringLiteral("Percentual de Gordura"),
              {{"Gordura Atual :", "G_TRAN_GORDURA", "%"},
               {"Gordura Ideal :", "G_TRANGORDURA_IDEAL", "%"},
               {"Peso Gordo :", "G_TRANPESO_GORDO", "Kg"},
               {"Peso Magro :", "G_TRANPESO_MAGRO", "Kg"},
               {"Peso Ideal :", "G_TRANPESO_IDEAL", "Kg"}});
      break;
  }
  return sectionReport(d, at, name, s);
}

Report comparisonPage(const AssessmentData& d, const QDateTime& at, QChar letter) {
  const QList<std::optional<ComparisonColumn>> columns = comparisonColumns(d.comparison, letter);
  Sheet s;
  s.title(QStringLiteral("Comparativo"), letter == QLatin1Char('3')
                                             ? QStringLiteral("Pollock (3 dobras)")
                                             : QStringLiteral("Pollock /Jackson (7 dobras)"));
  QStringList dates;
  for (const auto& column : columns)
    dates << (column ? column->date.toString(QStringLiteral("dd/MM/yy")) : QString());
  struct Series {
    QString caption;
    QColor fill;
    std::function<std::optional<int>(const ComparisonColumn&)> value;
  };
  const Series series[] = {
      {QStringLiteral("Peso Atual"), QColor(70, 110, 170),
       [](const ComparisonColumn& c) { return std::optional<int>(c.weight); }},
      {QStringLiteral("Peso Ideal"), QColor(90, 160, 100),
       [](const ComparisonColumn& c) { return c.idealWeight; }},
      {QStringLiteral("Massa Magra"), QColor(200, 150, 60),
       [](const ComparisonColumn& c) { return c.leanMass; }},
      {QStringLiteral("% de Gordura"), QColor(190, 70, 70),
       [](const ComparisonColumn& c) { return c.fat; }},
  };
  const double chartHeight = (22 + 200 + 42 - 22) * kReportUnit + 14;
  for (int i = 0; i < 4; ++i) {
    const double x = (i % 2) * 96;
    const double y = s.y + (i / 2) * (chartHeight + 8);
    s.text(QRectF(x, y, 90, 5), series[i].caption, bold(9.5), QColor(), Qt::AlignCenter);
    QList<std::optional<int>> values;
    for (const auto& column : columns) values << (column ? series[i].value(*column) : std::nullopt);
    barChart(s, QPointF(x + 2, y + 6 - 10 * kReportUnit), dates, values, 42, {22}, series[i].fill);
  }
  s.y += 2 * (chartHeight + 8);
  return sectionReport(d, at, QStringLiteral("Comparativo"), s);
}

}  // namespace

QString memoText(const QString& stored) {
  if (!stored.startsWith(QLatin1String("{\\rtf"))) return stored;
  QString text = stored;
  // Groups of fonts, colours and styles hold no text of the memo.
  static const QRegularExpression tables(
      QStringLiteral("\\{\\\\(fonttbl|colortbl|stylesheet|\\*)[^{}]*(\\{[^{}]*\\}[^{}]*)*\\}"));
  text.remove(tables);
  static const QRegularExpression breaks(QStringLiteral("\\\\(par|line)\\b ?"));
  text.replace(breaks, QStringLiteral("\n"));
  static const QRegularExpression hex(QStringLiteral("\\\\'([0-9a-fA-F]{2})"));
  QRegularExpressionMatch match;
  while ((match = hex.match(text)).hasMatch())
    text.replace(match.capturedStart(), match.capturedLength(),
                 QChar(match.captured(1).toInt(nullptr, 16)));
  static const QRegularExpression words(QStringLiteral("\\\\[a-zA-Z]+-?\\d* ?"));
  text.remove(words);
  text.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
  return text.trimmed();
}

CompositeReport assessmentReport(const AssessmentData& d, const QSet<Section>& sections,
                                 const QDateTime& at) {
  CompositeReport composite;
  composite.name = QStringLiteral("Avaliação %1 %2")
                       .arg(d.matricula, d.date.toString(QStringLiteral("dd-MM-yyyy")));
  QList<Report>& parts = composite.parts;
  const auto has = [&](Section section) { return sections.contains(section); };
  if (has(Section::Cover)) parts << cover(d, at);
  if (has(Section::Introduction)) parts << introduction(d, at);
  if (has(Section::Medical)) parts << medical(d, at);
  if (has(Section::Prescription)) parts << prescription(d, at);
  if (has(Section::Anamnesis)) parts << anamnesis(d, at);
  if (has(Section::Cardiac)) parts << cardiac(d, at);
  if (has(Section::Perimetry)) parts << perimetry(d, at);
  for (const BodyPage& page : bodyCompositionPages(sections, !d.comparison.isEmpty())) {
    if (page.section == Section::Comparison3)
      parts << comparisonPage(d, at, QLatin1Char('3'));
    else if (page.section == Section::Comparison7)
      parts << comparisonPage(d, at, QLatin1Char('7'));
    else
      parts << bodyPage(d, at, page);
  }
  if (has(Section::PosturalFrontBack)) parts << postural(d, at, true);
  if (has(Section::PosturalSides)) parts << postural(d, at, false);
  if (has(Section::FlexTest)) parts << flexTest(d, at);
  if (has(Section::Ergometric)) parts << ergometric(d, at);
  for (Section test : {Section::Flexibility, Section::SitUp, Section::PushUp})
    if (has(test)) parts << exerciseTest(d, at, test);
  return composite;
}
