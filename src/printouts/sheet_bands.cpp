#include "printouts/sheet_bands.h"

namespace {

const QColor kSilver(192, 192, 192);
const char* const kDayNames[kWeekdayCount] = {"DOMINGO", "SEGUNDA", "TERÇA", "QUARTA",
                                              "QUINTA",  "SEXTA",   "SÁBADO"};

}  // namespace

void stackBand(ReportBand& band, const ReportBand& below) {
  const double top = band.height;
  for (ReportText t : below.texts) {
    t.box.translate(0, top);
    band.texts << t;
  }
  for (ReportRule r : below.rules) {
    r.from += QPointF(0, top);
    r.to += QPointF(0, top);
    band.rules << r;
  }
  for (ReportPicture p : below.pictures) {
    p.box.translate(0, top);
    band.pictures << p;
  }
  band.height += below.height;
}

QList<ReportColumn> fillingColumns(const QList<std::pair<QString, double>>& fixed, int wide,
                                   double width, Qt::Alignment align) {
  double used = 0;
  for (const auto& [title, w] : fixed) used += w;
  QList<ReportColumn> list;
  for (int i = 0; i < fixed.size(); ++i) {
    ReportColumn column;
    column.title = fixed[i].first;
    column.width = i == wide ? fixed[i].second + (width - used) : fixed[i].second;
    column.align = i == wide ? Qt::AlignLeft : align;
    list << column;
  }
  return list;
}

DetailBand strengthDetail(double width, Qt::Alignment align) {
  DetailBand detail;
  detail.font = reportFont(8);
  detail.rowHeight = 6;
  detail.framed = true;
  detail.columns = fillingColumns({{QStringLiteral("Seq"), 10},
                                   {QStringLiteral("Ap"), 10},
                                   {QStringLiteral("Exercício"), 60},
                                   {QStringLiteral("Séries"), 14},
                                   {QStringLiteral("Repetições"), 22},
                                   {QStringLiteral("Peso"), 22},
                                   {QStringLiteral("Regulagem"), 24},
                                   {QStringLiteral("Intervalo"), 18}},
                                  2, width, align);
  return detail;
}

ReportBand framedTable(const QList<ReportColumn>& cols, const QList<QStringList>& rows) {
  ReportBand band;
  constexpr double kRow = 6;
  band.height = kRow * (rows.size() + 1);
  for (int r = -1; r < rows.size(); ++r) {
    double left = 0;
    const double top = (r + 1) * kRow;
    for (int c = 0; c < cols.size(); ++c) {
      const double w = cols[c].width;
      band.texts << reportText(QRectF(left + 1, top, w - 2, kRow),
                               r < 0 ? cols[c].title : rows[r].value(c), reportFont(8, r < 0),
                               (r < 0 ? Qt::AlignLeft : cols[c].align) | Qt::AlignVCenter);
      band.rules << ReportRule{QPointF(left, top), QPointF(left + w, top), 0.2}
                 << ReportRule{QPointF(left, top + kRow), QPointF(left + w, top + kRow), 0.2}
                 << ReportRule{QPointF(left, top), QPointF(left, top + kRow), 0.2}
                 << ReportRule{QPointF(left + w, top), QPointF(left + w, top + kRow), 0.2};
      left += w;
    }
  }
  return band;
}

void dayNamesLine(ReportBand& band, double left, double top, const WeekdayFlags& days,
                  const QColor& onInk) {
  band.texts << reportText(QRectF(left, top, 11, 6), QStringLiteral("Dias : "),
                           reportFont(8, true));
  for (int d = 0; d < kWeekdayCount; ++d) {
    ReportText name = reportText(QRectF(left + 11 + d * 16, top, 16, 6),
                                 QString::fromUtf8(kDayNames[d]), reportFont(7, true));
    name.ink = days[d] ? onInk : kSilver;
    band.texts << name;
  }
}
