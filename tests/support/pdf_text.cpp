#include "support/pdf_text.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

namespace {

QString run(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed on " << args.join(' ').toStdString() << ": "
                  << process.readAllStandardError().toStdString();
    return QString();
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

QString pdfText(const QString& file, int first, int last) {
  QStringList args{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
  if (first > 0) args << QStringLiteral("-f") << QString::number(first);
  if (last > 0) args << QStringLiteral("-l") << QString::number(last);
  args << file << QStringLiteral("-");
  return run(QStringLiteral("pdftotext"), args);
}

QStringList pdfLines(const QString& file, int first, int last) {
  QStringList lines;
  for (const QString& line : pdfText(file, first, last).split(QLatin1Char('\n'))) {
    // Page breaks come out as form feeds in front of the next page's first line.
    const QString trimmed = QString(line).remove(QLatin1Char('\f')).trimmed();
    if (!trimmed.isEmpty()) lines << trimmed;
  }
  return lines;
}

int pdfPageCount(const QString& file) {
  static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                        QRegularExpression::MultilineOption);
  const QRegularExpressionMatch match = pages.match(run(QStringLiteral("pdfinfo"), {file}));
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}
