#include <gtest/gtest.h>

#include "base/command_line.h"

namespace {

const CommandSyntax& sheetLike() {
  static const CommandSyntax syntax{
      QStringLiteral("sheet"),
      QStringLiteral("vantrel sheet MATRICULA LETRA --pdf ARQUIVO"),
      {QCommandLineOption(QStringLiteral("landscape")),
       QCommandLineOption(QStringLiteral("pdf"), QString(), QStringLiteral("ARQUIVO"))},
      {}};
  return syntax;
}

TEST(CommandArguments, AWrongCallIsToldInTheProgramsWordsAndTheFirstFaultWins) {
  struct Case {
    QStringList args;
    const char* error;
  } const cases[] = {
      {{"12", "A", "--pdf", "f.pdf"}, ""},
      {{"--pdf=f.pdf", "12", "A", "--landscape"}, ""},
      {{"12", "A", "--bogus", "--pdf"}, "Opção desconhecida: --bogus"},
      {{"12", "-x"}, "Opção desconhecida: -x"},
      {{"12", "A", "--pdf"}, "Falta o valor de --pdf"},
      {{"12", "A", "--pdf", ""}, "Falta o valor de --pdf"},
      {{"--pdf=", "12"}, "Falta o valor de --pdf"},
      {{"--", "--bogus"}, ""},  // after "--" everything is positional
  };
  for (const Case& c : cases) {
    const CommandArguments args(sheetLike(), c.args);
    EXPECT_EQ(args.error(), QString::fromUtf8(c.error)) << c.args.join(' ').toStdString();
  }
}

TEST(CommandArguments, ValuesPositionalsAndHelpAreRead) {
  const CommandArguments args(sheetLike(), {"12", "--landscape", "A", "--pdf", "f.pdf"});
  EXPECT_EQ(args.positional(), (QStringList{"12", "A"}));
  EXPECT_TRUE(args.isSet(QStringLiteral("landscape")));
  EXPECT_EQ(args.value(QStringLiteral("pdf")), QStringLiteral("f.pdf"));
  EXPECT_FALSE(args.helpAsked());
  EXPECT_TRUE(CommandArguments(sheetLike(), {"--help"}).helpAsked());
  EXPECT_EQ(CommandArguments(sheetLike(), {"--", "--bogus"}).positional(), QStringList{"--bogus"});
}

}  // namespace
