// The exercise catalogue's checks and writes, and its listing, on each provider.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "catalogue_fixture.h"
#include "forms/code_range.h"
#include "registry/exercise_store.h"
#include "support/test_env.h"

namespace {

const QString kSim = QStringLiteral("Sim");
const QString kNao = QStringLiteral("Não");

class ExerciseStore : public CatalogueTest {
 protected:
  void addGroups() {
    addGroup(QStringLiteral("01"), QStringLiteral("PEITORAL"));
    addGroup(QStringLiteral("03"), QStringLiteral("OMBROS"));
  }

  Exercise form(const QString& code, const QString& description, const QString& group = {}) {
    Exercise e;
    e.code = code;
    e.description = description;
    e.groupCode = group;
    return e;
  }

  std::optional<Exercise> stored(const QString& code) { return findExercise(db_, code); }
};

TEST_P(ExerciseStore, TheWindowOpensOnlyWithGroupsWhenTheSettingAsksForThem) {
  const struct {
    const char* setting;
    bool groups;
    bool opens;
  } cases[] = {{"Sim", false, false}, {"Sim", true, true}, {"Não", false, true}, {"", false, true}};
  for (const auto& c : cases) {
    testPrompter().clear();
    runSql(db_, QStringLiteral("DELETE FROM GrupamentoMuscular"));
    if (c.groups) addGroups();
    EXPECT_EQ(exerciseTablesUsable(db_, QString::fromUtf8(c.setting)).okOrTell(), c.opens)
        << c.setting << " " << c.groups;
    if (c.opens) {
      EXPECT_TRUE(testPrompter().messages().isEmpty());
    } else {
      ASSERT_EQ(testPrompter().messages().size(), 1);
      EXPECT_EQ(testPrompter().messages()[0].text, Msg::TabelaVazia);
      EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("GrupamentoMuscular"));
    }
  }
}

TEST_P(ExerciseStore, ATableThatCannotBeReadStopsTheWindowWithItsName) {
  runSql(db_, QStringLiteral("DROP TABLE Exercicios"));
  EXPECT_FALSE(exerciseTablesUsable(db_, kNao).okOrTell());
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::AberturaDeTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Exercicios"));
}

TEST_P(ExerciseStore, EnterInTheCodeAndGroupFields) {
  addGroups();
  addExercise(QStringLiteral("007"), QStringLiteral("ROSCA"));
  const struct {
    const char* typed;
    QString text;  // empty: accepted
    bool clear;
  } codes[] = {{"8", {}, false},
               {"7", Msg::CodigoJaCadastrado, true},
               {"007", Msg::CodigoJaCadastrado, true},
               {"", Msg::CodigoIncorreto, false},
               {"1a", Msg::CodigoIncorreto, false},
               {"1000", Msg::CodigoIncorreto, false}};
  for (const auto& c : codes) {
    const std::optional<FieldError> error = checkExerciseCodeField(db_, c.typed);
    EXPECT_EQ(error ? error->text : QString(), c.text) << c.typed;
    if (error) {
      EXPECT_EQ(error->clear, c.clear) << c.typed;
    }
  }

  QString label;
  EXPECT_FALSE(checkExerciseGroupField(db_, QStringLiteral("3"), &label));
  EXPECT_EQ(label, QStringLiteral("OMBROS"));
  const std::optional<FieldError> empty = checkExerciseGroupField(db_, QString());
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->text, Msg::CodigoIncorreto);
  EXPECT_FALSE(empty->clear);
  const std::optional<FieldError> unknown = checkExerciseGroupField(db_, QStringLiteral("99"));
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->text, Msg::CodigoIncorreto);
  EXPECT_TRUE(unknown->clear);
  EXPECT_TRUE(testPrompter().messages().isEmpty()) << "the window shows field refusals";
}

TEST_P(ExerciseStore, ConfirmRefusesTheFirstFailingCheckInOrder) {
  addGroups();
  addExercise(QStringLiteral("007"), QStringLiteral("ROSCA"));
  const struct {
    const char* name;
    bool groupsOn;
    std::function<void(Exercise&)> change;
    const char* field;
    QString text;
    const char* detail;
    bool clear;
  } cases[] = {
      {"no code", true,
       [](Exercise& e) {
         e.code.clear();
         e.description.clear();
       },
       "DBEDTCODIGO", Msg::CodigoIncorreto, "", false},
      {"taken code", true,
       [](Exercise& e) {
         e.code = "7";
         e.description.clear();
       },
       "DBEDTCODIGO", Msg::CodigoJaCadastrado, "", true},
      {"machine not digits", true, [](Exercise& e) { e.machine = "1b"; }, "DBEDTAPARELHO",
       Msg::DadoIncorreto, "Aparelho", false},
      {"no description", true,
       [](Exercise& e) {
         e.description = "  ";
         e.groupCode.clear();
       },
       "DBEDTDESCRICAO", Msg::DadoIncorreto, "Descrição", false},
      {"no group", true, [](Exercise& e) { e.groupCode.clear(); }, "DBEDTCODIGO_G",
       Msg::CodigoIncorreto, "", false},
      {"unknown group", true, [](Exercise& e) { e.groupCode = "99"; }, "DBEDTCODIGO_G",
       Msg::CodigoIncorreto, "", true},
  };
  for (const auto& c : cases) {
    Exercise e = form(QStringLiteral("8"), QStringLiteral("SUPINO"), QStringLiteral("1"));
    c.change(e);
    const Exercise before = e;
    const std::optional<ConfirmRefusal> refusal =
        checkExerciseForConfirm(db_, EditMode::Insert, e, c.groupsOn);
    ASSERT_TRUE(refusal) << c.name;
    EXPECT_EQ(refusal->field, QString::fromLatin1(c.field)) << c.name;
    EXPECT_EQ(refusal->error.text, c.text) << c.name;
    EXPECT_EQ(refusal->error.detail, QString::fromUtf8(c.detail)) << c.name;
    EXPECT_EQ(refusal->error.clear, c.clear) << c.name;
    EXPECT_EQ(e.code, before.code) << c.name << ": a refused form is left as typed";
  }
  // With groups off nothing is asked of the group.
  Exercise noGroup = form(QStringLiteral("8"), QStringLiteral("SUPINO"));
  EXPECT_FALSE(checkExerciseForConfirm(db_, EditMode::Insert, noGroup, false));
}

TEST_P(ExerciseStore, ANewExerciseIsStoredInItsStoredForm) {
  addGroups();
  const struct {
    const char* name;
    bool groupsOn;
    const char* code;
    const char* machine;
    const char* group;
    QString aerobic;  // what the "Aeróbica" list shows
    const char* storedCode;
    const char* storedMachine;
    const char* storedGroup;
    const char* storedTipo;
  } cases[] = {
      {"padded, untouched Aeróbica", true, "7", "5", "1", kNao, "007", "005", "01", "N"},
      {"empty machine stays empty", true, "8", "", "3", kNao, "008", "", "03", "N"},
      {"aerobic", true, "101", "200", "03", kSim, "101", "200", "03", "S"},
      {"groups off: no group written", false, "9", "12", "3", kNao, "009", "012", "", "N"},
  };
  for (const auto& c : cases) {
    Exercise e = form(c.code, QStringLiteral("supino reto"), c.group);
    e.machine = c.machine;
    e.shortDescription = QStringLiteral("supino");
    QString groupLabel;
    ASSERT_FALSE(checkExerciseForConfirm(db_, EditMode::Insert, e, c.groupsOn, &groupLabel))
        << c.name;
    e.tipo = tipoStored(c.aerobic);
    EXPECT_EQ(saveExercise(db_, EditMode::Insert, QString(), e, c.groupsOn), ConfirmResult::Written)
        << c.name;
    const std::optional<Exercise> row = stored(c.storedCode);
    ASSERT_TRUE(row) << c.name;
    EXPECT_EQ(row->machine, QString::fromLatin1(c.storedMachine)) << c.name;
    EXPECT_EQ(row->groupCode, QString::fromLatin1(c.storedGroup)) << c.name;
    EXPECT_EQ(row->tipo, QString::fromLatin1(c.storedTipo)) << c.name;
    EXPECT_EQ(row->description, QStringLiteral("SUPINO RETO")) << c.name;
    EXPECT_EQ(row->shortDescription, QStringLiteral("SUPINO")) << c.name;
    EXPECT_EQ(groupLabel.isEmpty(), !c.groupsOn) << c.name;
  }
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_P(ExerciseStore, ACodeSavedMeanwhileIsADuplicateAtTheWrite) {
  Exercise e = form(QStringLiteral("8"), QStringLiteral("SUPINO"));
  ASSERT_FALSE(checkExerciseForConfirm(db_, EditMode::Insert, e, false));
  addExercise(QStringLiteral("008"), QStringLiteral("OUTRO"));  // another workstation
  EXPECT_EQ(told(saveExercise(db_, EditMode::Insert, QString(), e, false)),
            ConfirmResult::Duplicate);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::CodigoJaCadastrado});
  EXPECT_EQ(count(QStringLiteral("Exercicios")), 1);
}

TEST_P(ExerciseStore, ChangeWithGroupsOffLeavesTheStoredGroupAlone) {
  addGroups();
  addExercise(QStringLiteral("010"), QStringLiteral("ROSCA"), QStringLiteral("N"),
              QStringLiteral("03"));
  Exercise e = *stored(QStringLiteral("010"));
  e.description = QStringLiteral("rosca alternada");
  e.groupCode = QStringLiteral("01");  // whatever the hidden field holds
  ASSERT_FALSE(checkExerciseForConfirm(db_, EditMode::Change, e, false));
  e.tipo = tipoStored(kSim);
  EXPECT_EQ(saveExercise(db_, EditMode::Change, QStringLiteral("010"), e, false),
            ConfirmResult::Written);
  const Exercise row = *stored(QStringLiteral("010"));
  EXPECT_EQ(row.description, QStringLiteral("ROSCA ALTERNADA"));
  EXPECT_EQ(row.groupCode, QStringLiteral("03"));
  EXPECT_EQ(row.tipo, QStringLiteral("S"));
}

TEST_P(ExerciseStore, ChangingAnOldUnpaddedCodeFindsItsRowAndPadsIt) {
  addExercise(QStringLiteral("7"), QStringLiteral("ROSCA"));
  Exercise e = *stored(QStringLiteral("7"));
  ASSERT_FALSE(checkExerciseForConfirm(db_, EditMode::Change, e, false));
  EXPECT_EQ(e.code, QStringLiteral("007"));
  EXPECT_EQ(saveExercise(db_, EditMode::Change, QStringLiteral("7"), e, false),
            ConfirmResult::Written);
  EXPECT_TRUE(stored(QStringLiteral("007")));
  EXPECT_FALSE(stored(QStringLiteral("7")));
}

TEST_P(ExerciseStore, AChangeOfAnExerciseThatIsGoneIsAFailedWrite) {
  Exercise e = form(QStringLiteral("012"), QStringLiteral("STIFF"));
  EXPECT_EQ(told(saveExercise(db_, EditMode::Change, QStringLiteral("012"), e, false)),
            ConfirmResult::Failed);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Exercicios"));
}

TEST_P(ExerciseStore, DeleteRunsTheChecksOnTheStoredRow) {
  addGroups();
  addExercise(QStringLiteral("001"), QStringLiteral("SUPINO"), QStringLiteral("N"),
              QStringLiteral("01"));
  addExercise(QStringLiteral("002"), QStringLiteral("CRUCIFIXO"), QStringLiteral("N"),
              QStringLiteral("02"));  // its group no longer exists

  Exercise orphan = *stored(QStringLiteral("002"));
  const std::optional<ConfirmRefusal> refused =
      checkExerciseForConfirm(db_, EditMode::Delete, orphan, true);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->field, QStringLiteral("DBEDTCODIGO_G"));
  EXPECT_FALSE(checkExerciseForConfirm(db_, EditMode::Delete, orphan, false));

  Exercise used = *stored(QStringLiteral("001"));
  ASSERT_FALSE(checkExerciseForConfirm(db_, EditMode::Delete, used, true));
  EXPECT_EQ(saveExercise(db_, EditMode::Delete, QStringLiteral("001"), used, true),
            ConfirmResult::Written);
  EXPECT_FALSE(stored(QStringLiteral("001")));
  EXPECT_EQ(count(QStringLiteral("Exercicios")), 1);
}

TEST_P(ExerciseStore, ListingRange) {
  for (const char* code : {"001", "005", "010", "101"}) addExercise(code, QStringLiteral("X"));
  const struct {
    const char* name;
    const char* from;
    const char* to;
    QString error;
    const char* expectFrom;
    const char* expectTo;
  } cases[] = {
      {"empty is the whole catalogue", "", "", {}, "001", "101"},
      {"a typed 5 is 005", "5", "10", {}, "005", "010"},
      {"final before initial", "10", "5", Msg::IntervaloInvalido, "", ""},
      {"initial not in the catalogue", "2", "", Msg::CodigoNaoCadastrado, "", ""},
      {"final not in the catalogue", "", "100", Msg::CodigoNaoCadastrado, "", ""},
  };
  for (const auto& c : cases) {
    testPrompter().clear();
    const std::optional<CodeRange> range = resolveCodeRange(
        db_, exerciseCatalogue(), QString::fromLatin1(c.from), QString::fromLatin1(c.to));
    if (c.error.isEmpty()) {
      ASSERT_TRUE(range) << c.name;
      EXPECT_EQ(range->from, QString::fromLatin1(c.expectFrom)) << c.name;
      EXPECT_EQ(range->to, QString::fromLatin1(c.expectTo)) << c.name;
    } else {
      EXPECT_FALSE(range) << c.name;
      EXPECT_EQ(testPrompter().texts(), QStringList{c.error}) << c.name;
    }
  }
}

TEST_P(ExerciseStore, ListingInEitherOrder) {
  addExercise(QStringLiteral("003"), QStringLiteral("CRUCIFIXO"), QStringLiteral("N"));
  addExercise(QStringLiteral("001"), QStringLiteral("SUPINO"), QStringLiteral("N"));
  addExercise(QStringLiteral("101"), QStringLiteral("ESTEIRA"), QStringLiteral("S"));
  addExercise(QStringLiteral("002"), QStringLiteral("CRUCIFIXO"), QStringLiteral("N"));
  addExercise(QStringLiteral("200"), QStringLiteral("ABDOMINAL"), QStringLiteral("N"));
  const auto codes = [&](ListingOrder order) {
    QStringList result;
    for (const ExerciseListRow& r :
         listExercises(db_, {QStringLiteral("001"), QStringLiteral("101")}, order))
      result << r.code + QLatin1Char(':') + r.tipo;
    return result;
  };
  EXPECT_EQ(codes(ListingOrder::Code), (QStringList{"001:N", "002:N", "003:N", "101:S"}));
  EXPECT_EQ(codes(ListingOrder::Description), (QStringList{"002:N", "003:N", "101:S", "001:N"}));
}

INSTANTIATE_TEST_SUITE_P(Providers, ExerciseStore, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
