// The catalogue's rules that need no database: padding, Tipo both ways, the group setting, the
// order of codes in a listing range and the checks of single fields.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "registry/exercise_store.h"
#include "registry/muscle_group_store.h"

namespace {

const QString kNone = QStringLiteral("<refused>");

TEST(CatalogueRules, Padding) {
  const struct {
    QString (*rule)(const QString&);
    const char* name;
    const char* typed;
    const char* stored;
  } cases[] = {
      {&padGroupCode, "group", "4", "04"},          {&padGroupCode, "group", "04", "04"},
      {&padGroupCode, "group", "a", "0A"},  // group codes need not be digits; stored upper case
      {&padGroupCode, "group", " 7 ", "07"},        {&padGroupCode, "group", "", ""},
      {&padGroupCode, "group", "123", "123"},  // never cut into another code
      {&padExerciseCode, "exercise", "7", "007"},   {&padExerciseCode, "exercise", "07", "007"},
      {&padExerciseCode, "exercise", "007", "007"}, {&padExerciseCode, "exercise", " 12", "012"},
      {&padExerciseCode, "exercise", "", ""},       {&padExerciseCode, "exercise", "1234", "1234"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.rule(QString::fromUtf8(c.typed)), QString::fromUtf8(c.stored))
        << c.name << " '" << c.typed << "'";
}

TEST(CatalogueRules, MachineIsItsIntegerInThreeDigitsOrEmpty) {
  const struct {
    const char* typed;
    QString stored;
  } cases[] = {
      {"5", "005"}, {"05", "005"}, {"000", "000"}, {"120", "120"},
      {"", ""},     {"  ", ""},    {"a5", kNone},  {"1234", kNone},
  };
  for (const auto& c : cases) {
    const std::optional<QString> stored = machineText(QString::fromUtf8(c.typed));
    EXPECT_EQ(stored.value_or(kNone), c.stored) << "'" << c.typed << "'";
    EXPECT_EQ(checkMachineField(QString::fromUtf8(c.typed)).has_value(), c.stored == kNone);
  }
  const std::optional<FieldError> refused = checkMachineField(QStringLiteral("x"));
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->text, Msg::DadoIncorreto);
  EXPECT_EQ(refused->detail, QStringLiteral("Aparelho"));
}

TEST(CatalogueRules, TipoShownAndStored) {
  const struct {
    const char* stored;
    const char* shown;
  } shown[] = {{"S", "Sim"}, {"N", "Não"}, {"", "Não"}, {"s", "Não"}, {"Sx", "Sim"}};
  for (const auto& c : shown)
    EXPECT_EQ(tipoShown(QString::fromUtf8(c.stored)), QString::fromUtf8(c.shown)) << c.stored;

  const struct {
    const char* shown;
    const char* stored;
  } stored[] = {{"Sim", "S"}, {"Não", "N"}, {"", "N"}, {"sim", "N"}};
  for (const auto& c : stored)
    EXPECT_EQ(tipoStored(QString::fromUtf8(c.shown)), QString::fromUtf8(c.stored)) << c.shown;

  for (const char* value : {"S", "N"})
    EXPECT_EQ(tipoStored(tipoShown(QString::fromLatin1(value))), QString::fromLatin1(value));
  EXPECT_EQ(Exercise().tipo, QStringLiteral("N")) << "a new exercise is not aerobic";
}

TEST(CatalogueRules, OnlySimSwitchesMuscleGroupsOn) {
  EXPECT_TRUE(muscleGroupsOn(QStringLiteral("Sim")));
  for (const char* other : {"Não", "sim", "SIM", "", "S"})
    EXPECT_FALSE(muscleGroupsOn(QString::fromUtf8(other))) << other;
}

TEST(CatalogueRules, OrderOfCodesInARange) {
  const struct {
    bool (*sortsBefore)(const QString&, const QString&);
    const char* a;
    const char* b;
    bool before;
  } cases[] = {
      {&groupCodeSortsBefore, "01", "02", true},
      {&groupCodeSortsBefore, "02", "02", false},
      {&groupCodeSortsBefore, "10", "09", false},
      {&groupCodeSortsBefore, "9", "10", true},    // as integers, not as text
      {&groupCodeSortsBefore, "AB", "10", false},  // not numbers: as text, like the query
      {&groupCodeSortsBefore, "02", "AB", true},
      {&groupCodeSortsBefore, "", "", false},
      {&exerciseCodeSortsBefore, "005", "010", true},
      {&exerciseCodeSortsBefore, "010", "005", false},
      {&exerciseCodeSortsBefore, "010", "010", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.sortsBefore(QString::fromLatin1(c.a), QString::fromLatin1(c.b)), c.before)
        << c.a << " before " << c.b;
}

TEST(CatalogueRules, RequiredFieldsRefuseEmptyAndBlank) {
  const struct {
    std::optional<FieldError> (*check)(const QString&);
    const char* name;
    QString text;
    QString detail;
    bool clear;
  } cases[] = {
      {&checkGroupCodeField, "group code", Msg::CodigoIncorreto, QString(), true},
      {&checkGroupDescriptionField, "group description", Msg::DadoIncorreto,
       QStringLiteral("Descrição"), true},
      {&checkExerciseDescriptionField, "exercise description", Msg::DadoIncorreto,
       QStringLiteral("Descrição"), false},
  };
  for (const auto& c : cases) {
    for (const char* empty : {"", "   "}) {
      const std::optional<FieldError> error = c.check(QString::fromLatin1(empty));
      ASSERT_TRUE(error) << c.name;
      EXPECT_EQ(error->text, c.text) << c.name;
      EXPECT_EQ(error->detail, c.detail) << c.name;
      EXPECT_EQ(error->clear, c.clear) << c.name;
    }
    EXPECT_FALSE(c.check(QStringLiteral("4"))) << c.name;
  }
}

TEST(CatalogueRules, GroupConfirmChecks) {
  const struct {
    const char* name;
    EditMode mode;
    const char* code;
    const char* description;
    const char* field;  // "" when accepted
    QString text;
    const char* storedCode;
    const char* storedDescription;
  } cases[] = {
      {"no code", EditMode::Insert, "", "PEITO", "DBEDTCODIGO", Msg::CodigoIncorreto, "", ""},
      {"no description", EditMode::Insert, "4", " ", "DBEDTDESCRICAO", Msg::DadoIncorreto, "", ""},
      {"code too long", EditMode::Insert, "123", "PEITO", "DBEDTCODIGO", Msg::CodigoIncorreto, "",
       ""},
      {"new code padded", EditMode::Insert, "4", "peitoral", "", {}, "04", "PEITORAL"},
      {"stored code kept", EditMode::Change, "4", "ombros", "", {}, "4", "OMBROS"},
      {"delete checks too", EditMode::Delete, "04", "", "DBEDTDESCRICAO", Msg::DadoIncorreto, "",
       ""},
  };
  for (const auto& c : cases) {
    MuscleGroup form{QString::fromUtf8(c.code), QString::fromUtf8(c.description)};
    const std::optional<ConfirmRefusal> refusal = checkGroupForConfirm(c.mode, form);
    if (*c.field) {
      ASSERT_TRUE(refusal) << c.name;
      EXPECT_EQ(refusal->field, QString::fromLatin1(c.field)) << c.name;
      EXPECT_EQ(refusal->error.text, c.text) << c.name;
    } else {
      EXPECT_FALSE(refusal) << c.name;
      EXPECT_EQ(form.code, QString::fromUtf8(c.storedCode)) << c.name;
      EXPECT_EQ(form.description, QString::fromUtf8(c.storedDescription)) << c.name;
    }
  }
}

}  // namespace
