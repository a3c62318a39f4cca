#include <gtest/gtest.h>

#include <QDate>
#include <QString>

#include "base/routines.h"

namespace {

QDate d(int day, int month, int year) {
  return QDate(year, month, day);
}

TEST(AjustaDia, LowersTheDayUntilTheDateExists) {
  struct Case {
    int year, month, day;
    QDate expected;
  } cases[] = {
      {2021, 1, 15, d(15, 1, 2021)},   {2020, 2, 31, d(29, 2, 2020)},
      {2021, 2, 31, d(28, 2, 2021)},   {2021, 4, 31, d(30, 4, 2021)},
      {2021, 12, 31, d(31, 12, 2021)}, {2021, 5, 1000, d(31, 5, 2021)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AJUSTA_DIA(c.year, c.month, c.day), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(AjustaDia, OutOfRangeMonthOrDayGivesAnInvalidDate) {
  const int bad[][3] = {{2021, 0, 1}, {2021, 13, 1}, {2021, -1, 10}, {2021, 5, 0}, {2021, 5, -3}};
  for (const auto& b : bad) EXPECT_FALSE(AJUSTA_DIA(b[0], b[1], b[2]).isValid()) << b[1] << b[2];
}

TEST(SubtraiMeses, GoesBackMonthsAndAdjustsTheDay) {
  struct Case {
    int months;
    bool sameDay;
    QDate from, expected;
  } cases[] = {
      {1, true, d(15, 3, 2020), d(15, 2, 2020)},
      {1, false, d(15, 3, 2020), d(16, 2, 2020)},
      {1, true, d(31, 3, 2020), d(29, 2, 2020)},
      {1, true, d(31, 3, 2021), d(28, 2, 2021)},
      {13, true, d(10, 1, 2020), d(10, 12, 2018)},
      {12, false, d(29, 2, 2020), d(1, 3, 2019)},  // 28/02/2019 plus one day
      {3, true, d(15, 3, 2020), d(15, 12, 2019)},  // month reaches 0: borrow a year
      {14, true, d(15, 2, 2020), d(15, 12, 2018)},
      {24, true, d(31, 1, 2020), d(31, 1, 2018)},
      {0, true, d(31, 3, 2021), d(31, 3, 2021)},
      {0, false, d(31, 12, 2021), d(1, 1, 2022)},
      {-1, true, d(31, 1, 2021), d(28, 2, 2021)},  // negative months move forward
      {-13, true, d(15, 12, 2020), d(15, 1, 2022)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SUBTRAI_MESES(c.months, c.sameDay, c.from), c.expected)
        << c.from.toString("dd/MM/yyyy").toStdString() << " - " << c.months << " same day "
        << c.sameDay;
  }
  EXPECT_FALSE(SUBTRAI_MESES(1, true, QDate()).isValid());
}

TEST(CalculaIdade, CountsTheYearOnTheBirthdayItself) {
  struct Case {
    QDate birth, today;
    int expected;
  } cases[] = {
      {d(15, 6, 2000), d(14, 6, 2020), 19}, {d(15, 6, 2000), d(15, 6, 2020), 20},
      {d(15, 6, 2000), d(31, 5, 2020), 19}, {d(15, 6, 2000), d(1, 7, 2020), 20},
      {d(15, 6, 2000), d(1, 1, 2021), 20},  {d(29, 2, 2000), d(28, 2, 2021), 20},
      {d(29, 2, 2000), d(1, 3, 2021), 21},  {d(15, 6, 2000), d(15, 6, 2000), 0},
      {QDate(), d(1, 1, 2021), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CALCULA_IDADE(c.birth, c.today), c.expected)
        << c.birth.toString("dd/MM/yyyy").toStdString() << " on "
        << c.today.toString("dd/MM/yyyy").toStdString();
  }
  EXPECT_EQ(CALCULA_IDADE(QDate::currentDate().addYears(-30)), 30);
}

TEST(AlinhaDireita, PadsInFrontToOneMoreThanTheWidth) {
  struct Case {
    QString text;
    int width;
    QString expected;
  } cases[] = {
      {"abc", 5, "   abc"},    {"abcdefg", 5, "abcdefg"}, {"abcde", 5, " abcde"},
      {"abcdef", 5, "abcdef"}, {"3", 5, "     3"},        {"12", 8, "       12"},
      {"", 3, "    "},
  };
  for (const Case& c : cases) {
    QString text = c.text;
    EXPECT_TRUE(ALINHA_DIREITA(text, c.width));
    EXPECT_EQ(text, c.expected) << c.text.toStdString() << " at " << c.width;
  }
}

TEST(PreencheBrancos, PadsOnTheChosenSideToOneMoreThanTheWidth) {
  struct Case {
    QString text;
    int width;
    QString side, expected;
  } cases[] = {
      {"ab", 3, "D", "ab  "},   {"ab", 3, "", "ab  "},   {"ab", 3, "e", "ab  "},
      {"ab", 3, "E", "  ab"},   {"abc", 3, "E", " abc"}, {"abcd", 3, "E", "abcd"},
      {"abcd", 3, "D", "abcd"}, {"", 0, "D", " "},
  };
  for (const Case& c : cases) {
    QString text = c.text;
    PREENCHE_BRANCOS(text, c.width, c.side);
    EXPECT_EQ(text, c.expected) << c.text.toStdString() << " at " << c.width << " side "
                                << c.side.toStdString();
  }
}

TEST(TiraAcentos, ReplacesEachAccentedLetterByItsPlainOne) {
  // Built from code points so a wrongly decoded source file cannot hide a mismatch.
  const char16_t accented[] = {0xE0, 0xE2, 0xEA, 0xF4, 0xFB, 0xE3, 0xF5, 0xE1, 0xE9, 0xED,
                               0xF3, 0xFA, 0xE7, 0xFC, 0xC0, 0xC2, 0xCA, 0xD4, 0xDB, 0xC3,
                               0xD5, 0xC1, 0xC9, 0xCD, 0xD3, 0xDA, 0xC7, 0xDC};
  const QString input(reinterpret_cast<const QChar*>(accented), std::size(accented));
  EXPECT_EQ(TIRA_ACENTOS(input), QStringLiteral("aaeouaoaeioucuAAEOUAOAEIOUCU"));

  EXPECT_EQ(TIRA_ACENTOS(QStringLiteral("Extensão de Perna Açúcar")),
            QStringLiteral("Extensao de Perna Acucar"));
  // Letters outside the list are left for the printer's own conversion.
  const QString others = QStringLiteral("ñÑäÄèëº 12-x");
  EXPECT_EQ(TIRA_ACENTOS(others), others);
  EXPECT_EQ(TIRA_ACENTOS(QString()), QString());
}

TEST(TiraMascara, RemovesTheFirstThreeDotsThenTheFirstThreeDashes) {
  struct Case {
    QString text, expected;
  } cases[] = {
      {"123.456.789-09", "12345678909"},
      {"12345678909", "12345678909"},
      {"1.2.3.4.5", "1234.5"},
      {"1-2-3-4-5", "1234-5"},
      {"-.-.-.-.", "-."},
      {"12.34-5", "12345"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TIRA_MASCARA(c.text), c.expected) << c.text.toStdString();
}

TEST(ValidaCpf, AcceptsOnlyElevenDigitsWithRightCheckDigits) {
  struct Case {
    QString cpf;
    bool valid;
  } cases[] = {
      {"123.456.789-09", true},
      {"12345678909", true},
      {"529.982.247-25", true},
      {"10000000604", true},  // first check digit from a remainder of 0
      {"10000000280", true},  // second check digit from a remainder of 0
      {"123.456.789-19", false},
      {"123.456.789-08", false},
      {"1234567890", false},
      {"123456789090", false},
      {"123.456.789-0A", false},
      {"123.456.789-09 ", false},
      {"1.2.3.4.5.6.7.8.9.0.9", false},  // a fourth dot stays and spoils it
      {"", false},
      {QString::fromUtf16(u"١٢٣٤٥٦٧٨٩٠٩"), false},  // digits, but not ours
  };
  for (const Case& c : cases) EXPECT_EQ(VALIDA_CPF(c.cpf), c.valid) << c.cpf.toStdString();

  // All digits equal passes the check-digit arithmetic but is no CPF.
  for (char digit = '0'; digit <= '9'; ++digit) {
    EXPECT_FALSE(VALIDA_CPF(QString(11, QLatin1Char(digit)))) << digit;
  }
  EXPECT_FALSE(VALIDA_CPF(QStringLiteral("111.111.111-11")));
}

}  // namespace
