#include "printouts/receipt.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include "base/routines.h"
#include "data/sql.h"
#include "series/series_store.h"
#include "printing/port_writer.h"

namespace {

const char* const kDayShort[kWeekdayCount] = {"Dom ", "Seg ", "Ter ", "Qua ",
                                              "Qui ", "Sex ", "Sab "};

// The pieces of one receipt on one route.
class Lines {
 public:
  explicit Lines(ReceiptRoute route) : route_(route) {}

  bool port() const { return route_ == ReceiptRoute::Port; }
  // The left edge: column 0 on the port, 1 on the printer.
  int edge() const { return port() ? 0 : 1; }

  void piece(const QString& text, int column, bool lineEnd = false, const QString& efeito = {}) {
    items_ << ReceiptItem{text, column, lineEnd, efeito};
  }
  void line(const QString& text, int column) { piece(text, column, true); }
  void line(const QString& text) { line(text, edge()); }
  void blank() { line(port() ? QString() : QStringLiteral(" ")); }
  void rule() { line(QString(port() ? 40 : 47, QLatin1Char('-'))); }

  QList<ReceiptItem> items() const { return items_; }

 private:
  ReceiptRoute route_;
  QList<ReceiptItem> items_;
};

QString rightAligned(const QString& text, int width) {
  QString aligned = text;
  ALINHA_DIREITA(aligned, width);
  return aligned;
}

// A whole number right-justified: five characters on the port ("####0"), six on the printer.
QString number(double value, bool port, const QString& portMask = QStringLiteral("####0")) {
  if (port) return PortWriter::MascaraVlr(portMask, value);
  return rightAligned(QString::number(qRound64(value)), 5);
}

void aerobicBlock(Lines& out, const ReceiptData& data, const ReceiptLayout& layout) {
  const bool port = out.port();
  out.line(QStringLiteral("ATIVIDADE AEROBICA"), 12);
  const QString days = receiptDayList(data.aerobicDays);
  if (!days.isEmpty()) {
    out.line(QStringLiteral("Dias: ") + days);
    out.blank();
  }
  out.line(QStringLiteral("Aparelho Duracao(min) Velocidade   Nivel"));
  out.rule();
  const bool reduced = layout.impressaoReduzida == QStringLiteral("Sim");
  const bool byName = layout.impressaoReduzida == QStringLiteral("Não");
  for (const ReceiptAerobicRow& row : data.aerobic) {
    const QString name = TIRA_ACENTOS(row.exercicio);
    if (!layout.porCodigoAparelho) {
      if (port || byName)
        out.line(name);
      else if (reduced)
        out.piece(row.abreviada.trimmed(), 1);
      else
        out.piece(row.codigo, 4);
    } else if (reduced) {
      out.piece(row.abreviada.trimmed(), out.edge());
    } else {
      out.piece(row.codigo, port ? 3 : 4);
    }
    out.piece(number(row.duracao, port), 16);
    out.piece(number(row.velocidade, port), 27);
    out.piece(number(row.nivel, port), 35, true);
  }
  out.blank();
}

void strengthRowFull(Lines& out, const ReceiptStrengthRow& row, const ReceiptData& data,
                     const ReceiptLayout& layout) {
  const bool port = out.port();
  if (layout.porCodigoAparelho)
    out.line(row.codigo, port ? 3 : 4);
  else
    out.line(TIRA_ACENTOS(row.exercicio));
  out.piece(rightAligned(row.series, 5), port ? 7 : 8);
  out.piece(rightAligned(row.repeticoes, 8), port ? 15 : 16);
  out.piece(rightAligned(row.peso, 4), port ? 25 : 26);
  out.piece(rightAligned(row.regulagem, 3), port ? 28 : 31);
  const bool letterA = data.letter == QStringLiteral("A");
  out.piece(number(row.intervalo, port,
                   letterA ? QStringLiteral("####0") : QStringLiteral("#####0")),
            port ? 31 : 35, true);
}

void strengthRowReduced(Lines& out, const ReceiptStrengthRow& row, const ReceiptData& data) {
  const bool port = out.port();
  const QString name = (TIRA_ACENTOS(row.abreviada) + QString(15, QLatin1Char(' ')))
                           .left(port ? 15 : 14);
  out.piece(name, out.edge());
  out.piece(rightAligned(row.series, 5), port ? 14 : 16);
  const QString repeticoes = rightAligned(row.repeticoes, 8);
  const bool letterA = data.letter == QStringLiteral("A");
  if (!port)
    out.piece(repeticoes.right(8), 22);
  else if (letterA)
    out.piece(repeticoes.right(8), 21);
  else
    out.piece(repeticoes.left(10), 19);
  out.piece(rightAligned(row.peso, 4), port ? 26 : 32);
  out.piece(rightAligned(row.regulagem, 3), port ? 28 : 37, true);
}

void strengthBlock(Lines& out, const ReceiptData& data, const ReceiptLayout& layout) {
  const bool port = out.port();
  const bool reduced = layout.impressaoReduzida == QStringLiteral("Sim");
  out.line(QStringLiteral("MUSCULACAO"), 16);
  const QString days = receiptDayList(data.strengthDays);
  if (!days.isEmpty()) {
    out.line(QStringLiteral("Treino: %1 Dias: ").arg(data.letter) + days);
    out.blank();
  }
  out.line(reduced ? QStringLiteral("Aparelho         Serie  Repet.  Peso Reg")
                   : QStringLiteral("Aparelho Serie Repeticoes Peso Reg Inter"));
  out.rule();
  for (const ReceiptStrengthRow& row : data.strength) {
    if (reduced)
      strengthRowReduced(out, row, data);
    else
      strengthRowFull(out, row, data, layout);
    if (!row.obs) continue;
    if (port)
      out.piece(TIRA_ACENTOS(*row.obs), 0, true, QStringLiteral("Obs.:"));
    else
      out.line(QStringLiteral("Obs.: ") + TIRA_ACENTOS(*row.obs).left(42));
  }
  // The port feeds a blank line after workouts A and B only.
  if (!port || data.letter == QStringLiteral("A") || data.letter == QStringLiteral("B"))
    out.blank();
}

void stretchingBlock(Lines& out, const ReceiptData& data) {
  out.line(QStringLiteral("ALONGAMENTO"), out.port() ? 15 : 16);
  if (!data.stretchingObs) return;
  // Pieces of 40 characters as they come, line breaks included; the last one even when empty.
  const QString text = TIRA_ACENTOS(*data.stretchingObs);
  qsizetype at = 0;
  for (; at + 40 <= text.size(); at += 40) out.line(text.mid(at, 40));
  out.line(text.mid(at));
}

std::optional<QString> nullable(const QVariant& value) {
  if (value.isNull()) return std::nullopt;
  return value.toString();
}

}  // namespace

QString receiptDayList(const WeekdayFlags& days) {
  QString list;
  for (int d = 0; d < kWeekdayCount; ++d)
    if (days[d]) list += QString::fromLatin1(kDayShort[d]);
  return list;
}

std::optional<QString> typedRegistration(const QString& typed) {
  const QString digits = QString(typed).remove(QLatin1Char(' '));
  bool number = false;
  const qlonglong value = digits.toLongLong(&number);
  if (!number || value < 0 || digits.size() > 10) return std::nullopt;
  return QStringLiteral("%1").arg(value, 10, 10, QLatin1Char('0'));
}

QString receiptLetter(const QString& number) {
  static const QStringList numbers{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                   QStringLiteral("4"), QStringLiteral("5")};
  const int index = int(numbers.indexOf(number.trimmed()));
  return index < 0 ? QString() : kWorkoutLetters[index];
}

QList<ReceiptItem> receiptItems(const ReceiptData& data, const ReceiptLayout& layout,
                                ReceiptRoute route) {
  Lines out(route);
  const bool letterA = data.letter == QStringLiteral("A");
  out.blank();
  out.rule();
  out.line(data.matricula + QStringLiteral(" - ") + TIRA_ACENTOS(data.nome).left(27));
  out.rule();
  if (letterA && !data.aerobic.isEmpty()) aerobicBlock(out, data, layout);
  if (!data.strength.isEmpty()) strengthBlock(out, data, layout);
  if (letterA && data.hasStretching) stretchingBlock(out, data);
  out.rule();
  for (int i = 0; i < layout.espaco; ++i) out.blank();
  return out.items();
}

ReceiptData readReceiptData(const QSqlDatabase& workoutDb, const QString& matricula,
                            const QString& letter) {
  ReceiptData data;
  data.matricula = matricula;
  data.letter = letter;
  const bool letterA = letter == QStringLiteral("A");
  if (letterA) {
    QSqlQuery aerobic = runSql(
        workoutDb,
        QStringLiteral("SELECT A.*, C.DESCRICAOABREVIADA AS ABREVIADA, C.DESCRICAO AS EXERCICIO "
                       "FROM AEROBICA A, EXERCICIOS C WHERE A.CODIGO_EXERCICIO = C.CODIGO AND "
                       "A.MATRICULA = ? AND A.DATA IN (SELECT MAX(DATA) FROM AEROBICA WHERE "
                       "MATRICULA = ?) ORDER BY A.ID"),
        {matricula, matricula});
    while (aerobic.next()) {
      const QSqlRecord r = aerobic.record();
      if (data.aerobic.isEmpty()) data.aerobicDays = storedWeekdays(r);
      data.aerobic << ReceiptAerobicRow{r.value(QStringLiteral("Codigo_exercicio")).toString(),
                                        r.value(QStringLiteral("EXERCICIO")).toString(),
                                        r.value(QStringLiteral("ABREVIADA")).toString(),
                                        r.value(QStringLiteral("Duracao")).toDouble(),
                                        r.value(QStringLiteral("Velocidade")).toDouble(),
                                        r.value(QStringLiteral("Nivel_dificuldade")).toDouble()};
    }
  }
  QSqlQuery strength = runSql(
      workoutDb,
      QStringLiteral("SELECT A.*, C.DESCRICAOABREVIADA AS ABREVIADA, C.DESCRICAO AS EXERCICIO "
                     "FROM TREINO A, EXERCICIOS C WHERE A.CODIGO_EXERCICIO = C.CODIGO AND "
                     "A.MATRICULA = ? AND A.TREINO = ? AND A.DATA IN (SELECT MAX(DATA) FROM "
                     "TREINO WHERE MATRICULA = ? AND TREINO = ?) ORDER BY A.ORDEM, A.ID"),
      {matricula, letter, matricula, letter});
  while (strength.next()) {
    const QSqlRecord r = strength.record();
    if (data.strength.isEmpty()) data.strengthDays = storedWeekdays(r);
    data.strength << ReceiptStrengthRow{r.value(QStringLiteral("Codigo_exercicio")).toString(),
                                        r.value(QStringLiteral("EXERCICIO")).toString(),
                                        r.value(QStringLiteral("ABREVIADA")).toString(),
                                        r.value(QStringLiteral("Series")).toString(),
                                        r.value(QStringLiteral("Repeticoes")).toString(),
                                        r.value(QStringLiteral("Peso")).toString(),
                                        r.value(QStringLiteral("REGULAGEM")).toString(),
                                        r.value(QStringLiteral("Intervalo")).toInt(),
                                        nullable(r.value(QStringLiteral("Obs")))};
  }
  QSqlQuery stretching = runSql(
      workoutDb,
      QStringLiteral("SELECT Obs FROM ALONGAMENTO WHERE MATRICULA = ? AND TREINO = ? AND DATA IN "
                     "(SELECT MAX(DATA) FROM ALONGAMENTO WHERE MATRICULA = ? AND TREINO = ?) "
                     "ORDER BY ID DESC"),
      {matricula, letter, matricula, letter});
  if (stretching.next()) {
    data.hasStretching = true;
    data.stretchingObs = nullable(stretching.value(0));
  }
  return data;
}
