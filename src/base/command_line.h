// The command line's subcommands: what each takes, read by QCommandLineParser, and what a
// wrong call says, in the program's own words. Every subcommand answers --help with its usage.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>

struct CommandSyntax {
  QString name;
  QString usage;  // the lines after "Uso: ", e.g. "vantrel sheet MATRICULA LETRA --pdf ARQUIVO"
  QList<QCommandLineOption> options;
  QStringList mayBeEmpty;   // options whose value may be empty ("--to ''": no end)
  bool positionals = true;  // false: anything but options is refused as an unknown option
};

// One line to `stream`, flushed (the commands' output is read line by line by scripts).
void printLine(FILE* stream, const QString& text);

// The arguments of one call (without the program and the subcommand) read against `syntax`.
class CommandArguments {
 public:
  CommandArguments(const CommandSyntax& syntax, const QStringList& args);

  // Why the call is wrong ("Opção desconhecida: --x", "Falta o valor de --pdf"); empty when
  // the options are well formed. What the values mean is each command's to check.
  const QString& error() const { return error_; }
  bool helpAsked() const { return help_; }
  bool isSet(const QString& option) const { return parser_.isSet(option); }
  QString value(const QString& option) const { return parser_.value(option); }
  QStringList positional() const { return parser_.positionalArguments(); }

 private:
  QCommandLineParser parser_;
  QString error_;
  bool help_ = false;
};

// "Uso: " and the usage lines of `syntax`.
QString usageText(const CommandSyntax& syntax);
// A wrong call: the reason, then the usage, on `err`; the status for it (2).
int wrongCall(const CommandSyntax& syntax, const QString& why, FILE* err);
// --help: the usage and the exit statuses on `out`; the status for it (0).
int showHelp(const CommandSyntax& syntax, FILE* out);
// What the exit statuses of every command mean.
QString exitStatusText();

// A progress line for long runs, written over itself on a terminal and not at all when the
// output goes to a file or a pipe (a script reads only the result). Cleared when done.
class TerminalProgress {
 public:
  explicit TerminalProgress(FILE* out);
  ~TerminalProgress();
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  bool shown() const { return shown_; }
  // "Copiando o banco…"
  void stage(const QString& text);
  // "Publicando 120 de 800 (15%)"
  void count(const QString& label, int done, int total);
  // Clears the line, so the result is printed on a clean one.
  void finish();

 private:
  void show(const QString& text);

  FILE* out_;
  bool shown_;
  bool pending_ = false;
  qsizetype width_ = 0;
};
// How a call ends before its work: 0 after --help, 2 after a wrong call (the options' fault,
// else what `read` finds wrong in their values); nothing when the command may go on.
std::optional<int> settleCall(const CommandSyntax& syntax, const CommandArguments& args, FILE* out,
                              FILE* err, const std::function<QString()>& read = {});
