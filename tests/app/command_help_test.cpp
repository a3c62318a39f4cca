// Every subcommand's --help, and what a wrong call answers: a table over the program's command
// table itself, so a command added later is checked too. And the progress line of long runs,
// shown on a terminal only.
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include "app/command_table.h"
#include "base/command_line.h"
#include "support/test_env.h"

namespace {

// What `write` printed on a stream of its own.
QString captured(const std::function<void(FILE*)>& write) {
  char* text = nullptr;
  size_t size = 0;
  FILE* stream = open_memstream(&text, &size);
  write(stream);
  fclose(stream);
  const QString out = QString::fromUtf8(text, qsizetype(size));
  free(text);
  return out;
}

}  // namespace

TEST(CommandHelp, EverySubcommandShowsItsUsageAndExitStatusesAndRefusesAnUnknownOption) {
  ASSERT_FALSE(subcommands().isEmpty());
  for (const Subcommand& command : subcommands()) {
    const CommandSyntax& syntax = command.syntax();
    const std::string name = syntax.name.toStdString();
    int status = -1;
    const QString help = captured([&](FILE* out) {
      status = *settleCall(syntax, CommandArguments(syntax, {QStringLiteral("--help")}), out, out);
    });
    EXPECT_EQ(status, 0) << name;
    EXPECT_TRUE(help.startsWith(QStringLiteral("Uso: vantrel ") + syntax.name)) << name;
    EXPECT_TRUE(help.contains(QStringLiteral("Saída: 0 feito; 1 "))) << name;
    for (const QCommandLineOption& option : syntax.options)
      EXPECT_TRUE(help.contains(QStringLiteral("--") + option.names().first())) << name;

    const QString wrong = captured([&](FILE* err) {
      status = *settleCall(syntax, CommandArguments(syntax, {QStringLiteral("--nao-existe")}),
                           err, err);
    });
    EXPECT_EQ(status, 2) << name;
    EXPECT_TRUE(wrong.contains(QStringLiteral("Uso: vantrel ") + syntax.name)) << name;
    // The command itself answers the same way, before any work.
    EXPECT_EQ(command.run({QStringLiteral("--nao-existe")}), 2) << name;
  }
}

TEST(CommandHelp, TheProgressLineIsForATerminalOnly) {
  const QString toFile = captured([](FILE* out) {
    TerminalProgress progress(out);
    EXPECT_FALSE(progress.shown());
    progress.count(QStringLiteral("Publicando"), 1, 8);
  });
  EXPECT_TRUE(toFile.isEmpty());

  int controller = -1;
  int terminal = -1;
  ASSERT_EQ(openpty(&controller, &terminal, nullptr, nullptr, nullptr), 0);
  FILE* out = fdopen(terminal, "w");
  {
    TerminalProgress progress(out);
    EXPECT_TRUE(progress.shown());
    progress.count(QStringLiteral("Publicando"), 120, 800);
    progress.stage(QStringLiteral("Copiando"));
  }
  fclose(out);
  // The terminal hands its output over in pieces: read until the writer's side is gone.
  QByteArray seen;
  char chunk[256];
  for (ssize_t n; (n = read(controller, chunk, sizeof chunk)) > 0;) seen.append(chunk, n);
  close(controller);
  ASSERT_FALSE(seen.isEmpty());
  const QString text = QString::fromUtf8(seen);
  EXPECT_TRUE(text.contains(QStringLiteral("Publicando 120 de 800 (15%)")));
  EXPECT_TRUE(text.contains(QStringLiteral("Copiando…")));
  EXPECT_TRUE(text.endsWith(QLatin1Char('\r')));  // cleared for the result
}
