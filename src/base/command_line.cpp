#include "base/command_line.h"

#include <unistd.h>

#include <algorithm>

namespace {

// The option an argument names, without its dashes and any "=value".
QString optionName(const QString& arg) {
  QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
  const qsizetype equals = name.indexOf(QLatin1Char('='));
  return equals < 0 ? name : name.left(equals);
}

bool takesValue(const QList<QCommandLineOption>& options, const QString& name, bool* known) {
  for (const QCommandLineOption& option : options)
    if (option.names().contains(name)) {
      *known = true;
      return !option.valueName().isEmpty();
    }
  *known = false;
  return false;
}

// Qt's own reasons are in English; the user reads these instead. Checked in the order the
// arguments come, so the first fault is the one reported.
QString firstFault(const QList<QCommandLineOption>& options, const QStringList& mayBeEmpty,
                   const QStringList& args) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--")) break;
    if (!arg.startsWith(QLatin1Char('-')) || arg.size() == 1) continue;
    bool known = false;
    const QString name = optionName(arg);
    const bool valued = takesValue(options, name, &known);
    if (!known) return QStringLiteral("Opção desconhecida: %1").arg(arg);
    if (!valued) continue;
    const bool inlined = arg.contains(QLatin1Char('='));
    if (!inlined && i + 1 >= args.size()) return QStringLiteral("Falta o valor de --%1").arg(name);
    const QString value = inlined ? arg.section(QLatin1Char('='), 1) : args[++i];
    if (value.isEmpty() && !mayBeEmpty.contains(name))
      return QStringLiteral("Falta o valor de --%1").arg(name);
  }
  return QString();
}

}  // namespace

void printLine(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

CommandArguments::CommandArguments(const CommandSyntax& syntax, const QStringList& args) {
  QList<QCommandLineOption> options = syntax.options;
  options << QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser_.addOptions(options);
  error_ = firstFault(options, syntax.mayBeEmpty, args);
  if (!error_.isEmpty()) return;
  if (!parser_.parse(QStringList{QStringLiteral("vantrel")} + args)) {
    error_ = parser_.errorText();
    return;
  }
  help_ = parser_.isSet(QStringLiteral("help"));
  if (!syntax.positionals && !parser_.positionalArguments().isEmpty())
    error_ = QStringLiteral("Opção desconhecida: %1").arg(parser_.positionalArguments().first());
}

QString usageText(const CommandSyntax& syntax) {
  return QStringLiteral("Uso: ") + syntax.usage;
}

int wrongCall(const CommandSyntax& syntax, const QString& why, FILE* err) {
  printLine(err, why);
  printLine(err, usageText(syntax));
  return 2;
}

int showHelp(const CommandSyntax& syntax, FILE* out) {
  printLine(out, usageText(syntax));
  printLine(out, exitStatusText());
  return 0;
}

QString exitStatusText() {
  return QStringLiteral(
      "Saída: 0 feito; 1 o trabalho não pôde ser feito (o motivo na saída de erro);\n"
      "       2 chamada errada (opção desconhecida ou valor que falta), com o uso do comando.");
}

TerminalProgress::TerminalProgress(FILE* out) : out_(out), shown_(out && isatty(fileno(out))) {}

TerminalProgress::~TerminalProgress() {
  finish();
}

void TerminalProgress::show(const QString& text) {
  if (!shown_) return;
  // The line is written over itself: blanks clear what a longer line before it left.
  const QString padded = text.leftJustified(std::max<qsizetype>(width_, text.size()));
  width_ = text.size();
  fputs(("\r" + padded).toLocal8Bit().constData(), out_);
  fflush(out_);
  pending_ = true;
}

void TerminalProgress::stage(const QString& text) {
  show(text + QStringLiteral("…"));
}

void TerminalProgress::count(const QString& label, int done, int total) {
  const int percent = total > 0 ? done * 100 / total : 100;
  show(QStringLiteral("%1 %2 de %3 (%4%)").arg(label).arg(done).arg(total).arg(percent));
}

void TerminalProgress::finish() {
  if (!pending_) return;
  fputs(("\r" + QString(width_, QLatin1Char(' ')) + "\r").toLocal8Bit().constData(), out_);
  fflush(out_);
  pending_ = false;
  width_ = 0;
}

std::optional<int> settleCall(const CommandSyntax& syntax, const CommandArguments& args, FILE* out,
                              FILE* err, const std::function<QString()>& read) {
  if (args.helpAsked()) return showHelp(syntax, out);
  const QString wrong = !args.error().isEmpty() ? args.error() : read ? read() : QString();
  if (!wrong.isEmpty()) return wrongCall(syntax, wrong, err);
  return std::nullopt;
}
