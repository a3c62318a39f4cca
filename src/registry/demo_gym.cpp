#include "registry/demo_gym.h"

#include <QColor>
#include <QDate>
#include <QDir>
#include <QPainter>
#include <QRandomGenerator>

#include "base/installation_folder.h"
#include "base/password.h"
#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "registry/jpeg_codec.h"

namespace {

struct Member {
  const char* name;
  const char* sex;
};

const Member kMembers[] = {
    {"ANA BEATRIZ MOREIRA", "F"},    {"BRUNO CARVALHO LIMA", "M"},
    {"CAMILA DUARTE ROCHA", "F"},    {"DANIEL FERREIRA COSTA", "M"},
    {"EDUARDA GOMES PINTO", "F"},    {"FELIPE HENRIQUE ALVES", "M"},
    {"GABRIELA IZIDORO DIAS", "F"},  {"HUGO JARDIM MENDES", "M"},
    {"ISABELA KOPKE NUNES", "F"},    {"JOAO LUCAS MACHADO", "M"},
    {"KARINA LOPES BARROS", "F"},    {"LEONARDO MATOS VIANA", "M"},
    {"MARIANA NOGUEIRA SILVA", "F"}, {"NICOLAS OLIVEIRA REIS", "M"},
    {"OLIVIA PACHECO TAVARES", "F"}, {"PEDRO QUEIROZ FONSECA", "M"},
    {"RAFAELA RIBEIRO CRUZ", "F"},   {"SAMUEL SOARES MOTA", "M"},
    {"TATIANA TEIXEIRA LEAL", "F"},  {"ULISSES VALENTE BRAGA", "M"},
    {"VITORIA XAVIER CAMPOS", "F"},  {"WAGNER ZANETTI SOUZA", "M"},
    {"YASMIN ANDRADE FREITAS", "F"}, {"ARTUR BASTOS MONTEIRO", "M"},
    {"BEATRIZ CUNHA ARAUJO", "F"},   {"CAIO DANTAS FARIAS", "M"},
    {"DEBORA ESTEVES PRADO", "F"},   {"ENZO FIGUEIRA RAMOS", "M"},
    {"FERNANDA GUEDES SALES", "F"},  {"GUSTAVO HOLANDA TORRES", "M"},
    {"O'NEIL SANTANA DA PAZ", "M"},
};

const char* const kStreets[] = {"RUA DAS LARANJEIRAS",       "AV. ATLANTICA",
                                "RUA VOLUNTARIOS DA PATRIA", "RUA CONDE DE BONFIM",
                                "AV. DAS AMERICAS",          "RUA DO CATETE"};
const char* const kDistricts[] = {"LARANJEIRAS", "COPACABANA", "BOTAFOGO",
                                  "TIJUCA",      "BARRA",      "CATETE"};

struct Staff {
  const char* matricula;
  const char* name;
  const char* role;
  const char* sex;
};

const Staff kStaff[] = {
    {"0000000001", "RICARDO AZEVEDO PRADO", "PROF MUSC", "M"},
    {"0000000002", "LUCIANA MARTINS VEIGA", "PROF MUSC", "F"},
    {"0000000003", "MARCOS TULIO BRANDAO", "PROF MUSC", "M"},
    {"0000000004", "PATRICIA SOUTO MAIOR", "RECEPCIONISTA", "F"},
    {"0000000005", "ROBERTO FALCAO NETO", "GERENTE", "M"},
};

struct Group {
  const char* code;
  const char* name;
};

const Group kGroups[] = {
    {"01", "PEITORAL"},
    {"02", "COSTAS"},
    {"03", "OMBROS"},
    {"04", "BICEPS"},
    {"05", "TRICEPS"},
    {"06", "QUADRICEPS"},
    {"07", "POSTERIOR DE COXA"},
    {"08", "GLUTEOS"},
    {"09", "PANTURRILHA"},
    {"10", "ABDOMEN"},
};

struct Exercise {
  const char* code;
  const char* name;
  const char* shortName;
  const char* machine;
  const char* type;  // "N" strength, "S" aerobic
  const char* group;
};

const Exercise kExercises[] = {
    {"001", "SUPINO RETO COM BARRA", "SUPINO RETO", "010", "N", "01"},
    {"002", "SUPINO INCLINADO COM HALTERES", "SUPINO INCL", "011", "N", "01"},
    {"003", "CRUCIFIXO NA MAQUINA", "CRUCIFIXO", "012", "N", "01"},
    {"004", "PUXADA FRENTE NO PULLEY", "PUXADA FRENTE", "020", "N", "02"},
    {"005", "REMADA SENTADA NA MAQUINA", "REMADA SENT", "021", "N", "02"},
    {"006", "REMADA CURVADA COM BARRA", "REMADA CURV", "022", "N", "02"},
    {"007", "DESENVOLVIMENTO COM HALTERES", "DESENVOLVIM", "030", "N", "03"},
    {"008", "ELEVACAO LATERAL", "ELEV LATERAL", "031", "N", "03"},
    {"009", "ROSCA DIRETA COM BARRA", "ROSCA DIRETA", "040", "N", "04"},
    {"010", "ROSCA ALTERNADA", "ROSCA ALTERN", "041", "N", "04"},
    {"011", "TRICEPS NO PULLEY", "TRICEPS PULL", "050", "N", "05"},
    {"012", "TRICEPS FRANCES", "TRIC FRANCES", "051", "N", "05"},
    {"013", "LEG PRESS 45 GRAUS", "LEG PRESS", "060", "N", "06"},
    {"014", "CADEIRA EXTENSORA", "EXTENSORA", "061", "N", "06"},
    {"015", "AGACHAMENTO LIVRE", "AGACHAMENTO", "062", "N", "06"},
    {"016", "MESA FLEXORA", "FLEXORA", "070", "N", "07"},
    {"017", "STIFF COM HALTERES", "STIFF", "071", "N", "07"},
    {"018", "ELEVACAO PELVICA", "ELEV PELVICA", "080", "N", "08"},
    {"019", "PANTURRILHA EM PE", "PANTURRILHA", "090", "N", "09"},
    {"020", "ABDOMINAL SUPRA NO SOLO", "ABD SUPRA", "100", "N", "10"},
    {"021", "PRANCHA ISOMETRICA", "PRANCHA", "101", "N", "10"},
    {"101", "ESTEIRA", "ESTEIRA", "200", "S", nullptr},
    {"102", "BICICLETA ERGOMETRICA", "BICICLETA", "201", "S", nullptr},
    {"103", "ELIPTICO", "ELIPTICO", "202", "S", nullptr},
    {"104", "REMO ERGOMETRO", "REMO", "203", "S", nullptr},
};

QString matricula(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

QString initials(const QString& name) {
  const QStringList parts = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  QString out;
  if (!parts.isEmpty()) out += parts.first().at(0);
  if (parts.size() > 1) out += parts.last().at(0);
  return out;
}

QVariant nullText() {
  return QVariant(QMetaType(QMetaType::QString));
}

void addStaff(const QSqlDatabase& db) {
  int i = 0;
  for (const Staff& s : kStaff) {
    ++i;
    const QString name = QString::fromUtf8(s.name);
    runSql(
        db,
        QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, ENDERECO, BAIRRO, CIDADE, "
                       "ESTADO, CEP, SEXO, TELEFONE, DATA_NASCIMENTO, CPF, DATA_ADMISSAO, "
                       "ESCOLARIDADE, CARGO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {QString::fromUtf8(s.matricula), name,
         QStringLiteral("%1, %2").arg(QString::fromUtf8(kStreets[i % 6])).arg(100 + i * 7),
         QString::fromUtf8(kDistricts[i % 6]), QStringLiteral("RIO DE JANEIRO"),
         QStringLiteral("RJ"), QStringLiteral("22%1-000").arg(100 + i * 11),
         QString::fromUtf8(s.sex), QStringLiteral("(21) 2555-01%1").arg(i, 2, 10, QLatin1Char('0')),
         QDate(1980 + i * 2, i, 10 + i),
         demoCpf(200000000 + i * 7919).remove(QLatin1Char('.')).remove(QLatin1Char('-')),
         QDate(2015 + i, 3, 1), QStringLiteral("%1").arg(i % 2 ? 4 : 6, 2, 10, QLatin1Char('0')),
         QString::fromUtf8(s.role)});
    runSql(db, QStringLiteral("INSERT INTO FotosFuncionarios (MATRICULA, FOTO1) VALUES (?, ?)"),
           {QString::fromUtf8(s.matricula), demoPhoto(name, i + 40)});
  }
}

void addMembers(const QSqlDatabase& db, const QDate& today) {
  int i = 0;
  for (const Member& m : kMembers) {
    ++i;
    const QString name = QString::fromUtf8(m.name);
    const QString first = name.section(QLatin1Char(' '), 0, 0).toLower();
    runSql(db,
           QStringLiteral(
               "INSERT INTO Alunos (MATRICULA, NOME, SEXO, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, "
               "IDENTIDADE, CPF, TELEFONE, TELEFONE_CELULAR, EMAIL, PROFISSAO, DATA_NASCIMENTO, "
               "DATA_CADASTRADO, DATA_MEDICA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
               "?, ?)"),
           {matricula(i), name, QString::fromUtf8(m.sex),
            QStringLiteral("%1, %2").arg(QString::fromUtf8(kStreets[i % 6])).arg(20 + i * 13),
            QString::fromUtf8(kDistricts[i % 6]), QStringLiteral("RIO DE JANEIRO"),
            QStringLiteral("RJ"),
            QStringLiteral("22%1-%2").arg(200 + i * 7).arg(i * 3 % 1000, 3, 10, QLatin1Char('0')),
            QStringLiteral("%1").arg(10000000 + i * 104729), demoCpf(100000000 + i * 104729),
            QStringLiteral("(21) 2222-%1").arg(1000 + i * 37),
            QStringLiteral("(21)99876-%1").arg(1000 + i * 53),
            QStringLiteral("%1.%2@exemplo.com.br").arg(first).arg(i),
            i % 3 ? QStringLiteral("ANALISTA") : QStringLiteral("ESTUDANTE"),
            QDate(1960 + (i * 7) % 45, 1 + i % 12, 1 + (i * 5) % 28), today.addDays(-30 * i),
            today.addDays(-20 * i)});
    runSql(db, QStringLiteral("INSERT INTO FotosAlunos (MATRICULA, FOTO1) VALUES (?, ?)"),
           {matricula(i), demoPhoto(name, i)});
  }
}

void addCatalogue(const QSqlDatabase& db) {
  for (const Group& g : kGroups)
    runSql(db, QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?)"),
           {QString::fromUtf8(g.code), QString::fromUtf8(g.name)});
  for (const Exercise& e : kExercises)
    runSql(
        db,
        QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, DESCRICAOABREVIADA, Aparelho, "
                       "Tipo, Caminho_Video, CODIGO_G) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {QString::fromUtf8(e.code), QString::fromUtf8(e.name), QString::fromUtf8(e.shortName),
         QString::fromUtf8(e.machine), QString::fromUtf8(e.type), nullText(),
         e.group ? QVariant(QString::fromUtf8(e.group)) : nullText()});
}

// A booked assembly; `done` is the day the series was assembled, none while pending.
void addBooking(const QSqlDatabase& db, int member, const char* letter, const QDate& day,
                const char* hour, const QString& evaluator, const QDate& done) {
  runSql(db,
         QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA, HORA, AVALIADOR, USUARIO, "
                        "DATA_FEITA) VALUES (?, ?, ?, ?, ?, ?, ?)"),
         {matricula(member), QString::fromUtf8(letter), day, QString::fromUtf8(hour), evaluator,
          QStringLiteral("01"),
          done.isValid() ? QVariant(done) : QVariant(QMetaType(QMetaType::QDate))});
}

void addAgenda(const QSqlDatabase& db, const QDate& today) {
  for (int hour = 7; hour <= 21; ++hour) {
    const QString slot = QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0'));
    QVariantList evaluators;
    for (int day = 0; day < 6; ++day)
      evaluators << (day == 5 && hour > 13
                         ? nullText()
                         : QVariant(QString::fromUtf8(kStaff[(hour + day) % 3].matricula)));
    runSql(db,
           QStringLiteral("INSERT INTO Agenda (HORA, AVALIADOR_SEGUNDA, AVALIADOR_TERCA, "
                          "AVALIADOR_QUARTA, AVALIADOR_QUINTA, AVALIADOR_SEXTA, AVALIADOR_SABADO) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?)"),
           QVariantList{slot} + evaluators);
  }
  // Assemblies booked for the coming days, one done last week and one missed two days ago.
  const struct {
    int member;
    const char* letter;
    int inDays;
    const char* hour;
    int evaluator;
    bool done;
  } bookings[] = {{3, "A", 2, "09:00", 0, false},  {7, "B", 3, "18:00", 0, false},
                  {1, "A", -7, "10:00", 0, true},  {9, "A", 1, "10:00", 1, false},
                  {10, "A", 5, "07:00", 2, false}, {11, "A", -2, "16:00", 2, false}};
  // The agenda has no hours on Sunday: a booking that would fall on one goes to Monday.
  for (const auto& b : bookings) {
    QDate day = today.addDays(b.inDays);
    if (day.dayOfWeek() == Qt::Sunday) day = day.addDays(1);
    addBooking(db, b.member, b.letter, day, b.hour,
               QString::fromUtf8(kStaff[b.evaluator].matricula), b.done ? day : QDate());
  }
}

// Saved series of a few members: two strength workouts, an aerobic block and stretching.
void addSeries(const QSqlDatabase& db, const QDate& today) {
  const char* const workoutA[] = {"001", "002", "004", "005", "009", "011", "020"};
  const char* const workoutB[] = {"013", "014", "015", "016", "018", "019", "021"};
  for (int member = 1; member <= 8; ++member) {
    const QDate day = today.addDays(-15 * member);
    const QDate due = day.addMonths(3);
    const QString instructor = QString::fromUtf8(kStaff[member % 3].matricula);
    const struct {
      const char* letter;
      const char* const* codes;
      bool days[7];  // Dom .. Sab
    } workouts[] = {{"A", workoutA, {false, true, false, true, false, true, false}},
                    {"B", workoutB, {false, false, true, false, true, false, true}}};
    for (const auto& w : workouts) {
      for (int order = 1; order <= 7; ++order) {
        runSql(
            db,
            QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                           "Data_Reavaliacao, Repeticoes, Series, Peso, Intervalo, Obs, "
                           "Professor, Dom, Seg, Ter, Qua, Qui, Sex, Sab, Ordem, REGULAGEM) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {matricula(member),
             QString::fromUtf8(w.letter),
             QString::fromUtf8(w.codes[order - 1]),
             day,
             due,
             order % 2 ? QStringLiteral("12") : QStringLiteral("10 A 12"),
             QStringLiteral("3"),
             QStringLiteral("%1 KG").arg(10 + order * 5 + member),
             60,
             order == 1 ? QStringLiteral("AQUECER ANTES") : QString(),
             instructor,
             w.days[0],
             w.days[1],
             w.days[2],
             w.days[3],
             w.days[4],
             w.days[5],
             w.days[6],
             order,
             order % 3 ? QString() : QStringLiteral("BANCO 4")});
      }
      QVariantList stretch{matricula(member), QString::fromUtf8(w.letter), day,
                           QStringLiteral("ALONGAR AO FINAL DO TREINO")};
      for (int s = 1; s <= 23; ++s) stretch << ((s + member) % 4 == 0);
      const QStringList& columns = stretchColumns();
      runSql(db,
             QStringLiteral("INSERT INTO Alongamento (Matricula, Treino, Data, Obs, %1) VALUES "
                            "(?, ?, ?, ?%2)")
                 .arg(columns.join(QStringLiteral(", ")), QStringLiteral(", ?").repeated(23)),
             stretch);
    }
    // Saving the series marked the member's booking of A done, a day or two off the booked
    // day, and booked B done on the spot.
    if (member >= 2 && member <= 6) {
      const int offDays[] = {-1, 2, 0, -2, 1};
      addBooking(db, member, "A", day.addDays(offDays[member - 2]), "08:00", instructor, day);
      addBooking(db, member, "B", day, "08:40", instructor, day);
    }
    runSql(db,
           QStringLiteral("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, Duracao, "
                          "Velocidade, Nivel_dificuldade, Professor, Dom, Seg, Ter, Qua, Qui, Sex, "
                          "Sab) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
           {matricula(member), QString::fromUtf8(kExercises[21 + member % 4].code), day,
            20 + member, 6.5 + member * 0.5, 3.0 + member % 4, instructor, false, true, true, true,
            true, true, false});
  }
}

void addUsers(const QSqlDatabase& db) {
  // An instructor who may prescribe but not maintain users or the system.
  const QStringList allowed{QStringLiteral("C_ATIVIDADE"),
                            QStringLiteral("C_EXERCICIOS"),
                            QStringLiteral("C_ALUNOS"),
                            QStringLiteral("E_TIPOEXERCICIO"),
                            QStringLiteral("IMP_SERIE_40"),
                            QStringLiteral("AGENDA"),
                            QStringLiteral("R_SeriesVencidas"),
                            QStringLiteral("R_AvaliacoesFeitas"),
                            QStringLiteral("R_AvaliacoesAgendadas"),
                            QStringLiteral("C_GrupamentoMuscular")};
  const QStringList denied{QStringLiteral("C_EXCLUI_ALUNOS"),
                           QStringLiteral("C_FUNCIONARIO"),
                           QStringLiteral("U_BACKUP"),
                           QStringLiteral("U_RESTAURACAODOBACKUP"),
                           QStringLiteral("U_PARAMETRIZACAOSISTEMA"),
                           QStringLiteral("U_CADASTRODEUSUARIOS"),
                           QStringLiteral("U_PARAMETRIZACAOUSUARIO"),
                           QStringLiteral("U_REESVAZIARMOVIMENTACAO")};
  QStringList columns{QStringLiteral("CODIGO"), QStringLiteral("NOME"), QStringLiteral("SENHA"),
                      QStringLiteral("Matricula")};
  QVariantList values{QStringLiteral("02"), QStringLiteral("RICARDO"),
                      hashPassword(QStringLiteral("TREINO")),
                      QString::fromUtf8(kStaff[0].matricula)};
  for (const QString& c : allowed) {
    columns << c;
    values << QStringLiteral("Sim");
  }
  for (const QString& c : denied) {
    columns << c;
    values << QStringLiteral("Não");
  }
  runSql(db,
         QStringLiteral("INSERT INTO Usuarios (%1) VALUES (?%2)")
             .arg(columns.join(QStringLiteral(", ")),
                  QStringLiteral(", ?").repeated(columns.size() - 1)),
         values);
}

// The members whose last visit was exactly as many days ago as the absent-member warning
// counts (demoGymSettings): the shortcut blinks and the list shows them.
constexpr int kAbsentDays = 15;
bool absentInDemo(int member) {
  return member == 3 || member == 9 || member == 14;
}

// The same members and staff in the gym-management program's tables, with their photos and
// the entrance log of the last four months: everyone came in during the last days, except the
// absent ones.
void addGymManagementPeople(const QSqlDatabase& gymDb, const QDate& today) {
  int i = 0;
  for (const Member& m : kMembers) {
    ++i;
    const QString name = QString::fromUtf8(m.name);
    const QString first = name.section(QLatin1Char(' '), 0, 0).toLower();
    const QVariantList values{matricula(i),
                              name,
                              QString::fromUtf8(m.sex),
                              QStringLiteral("(21) 2222-%1").arg(1000 + i * 37),
                              QStringLiteral("(21)99876-%1").arg(1000 + i * 53),
                              QStringLiteral("%1.%2@exemplo.com.br").arg(first).arg(i),
                              demoCpf(100000000 + i * 104729),
                              false};
    for (const char* table : {"ALUNOS", "ALUNOSATIVOS"})
      runSql(gymDb,
             QStringLiteral("INSERT INTO %1 (MATRICULA, NOME, SEXO, TELEFONE, TELEFONE_CELULAR, "
                            "EMAIL, CPF, BOLSISTA) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(QString::fromLatin1(table)),
             values);
    runSql(gymDb, QStringLiteral("INSERT INTO FotosAlunos (MATRICULA, FOTO1) VALUES (?, ?)"),
           {matricula(i), demoPhoto(name, i)});
    const int lastVisit = absentInDemo(i) ? kAbsentDays : i % 4;
    for (int back = lastVisit; back <= 120; back += 2 + i % 3)
      runSql(gymDb, QStringLiteral("INSERT INTO ACESSO (MATRICULA, DATA) VALUES (?, ?)"),
             {matricula(i), QDateTime(today.addDays(-back), QTime(7 + i % 12, (i * 7) % 60))});
  }
  for (const Staff& st : kStaff)
    runSql(
        gymDb, QStringLiteral("INSERT INTO FUNCIONARIOS (MATRICULA, NOME, CARGO) VALUES (?, ?, ?)"),
        {QString::fromUtf8(st.matricula), QString::fromUtf8(st.name), QString::fromUtf8(st.role)});
}

// Group classes the reception can book: the gym-management program's settings for them, the
// cash register opened today, three activities and their classes, two class groups, which
// member belongs to what and who paid this month (two did not, one is frozen), and a few
// bookings for today.
void addGroupClasses(const QSqlDatabase& gymDb, const QDate& today) {
  runSql(gymDb,
         QStringLiteral("INSERT INTO Sacvar2 (CONTROLEPORRECEPCIONISTA, AgendamentoAulaPortal, "
                        "FILIAL, Controle_Agendamento_Turma, Exclui_Turma_Agendamento) VALUES "
                        "('Não', 'Não', '01', 'Sim', 'LIVRE')"));
  runSql(gymDb, QStringLiteral("INSERT INTO Caixa (DATAABERTURA) VALUES (?)"), {today});
  const struct {
    const char* code;
    const char* name;
  } activities[] = {{"01", "MUSCULACAO"}, {"02", "CICLISMO"}, {"03", "YOGA"}};
  for (const auto& a : activities)
    runSql(gymDb, QStringLiteral("INSERT INTO Atividades (CODIGO, DESCRICAO, FILIAL) VALUES (?, ?, '01')"),
           {a.code, a.name});
  const struct {
    const char* code;
    const char* name;
    const char* activity;
    int capacity;
    QTime start;
    int staff;
  } classes[] = {{"01", "SPINNING MANHA", "02-CICLISMO", 12, QTime(7, 0), 0},
                 {"02", "SPINNING NOITE", "02-CICLISMO", 12, QTime(19, 0), 1},
                 {"03", "YOGA", "03-YOGA", 8, QTime(18, 0), 2}};
  for (const auto& c : classes)
    runSql(gymDb,
           QStringLiteral("INSERT INTO AulasColetivas (Codigo, Descricao, Atividade, "
                          "Codigo_Atividade, Maximo_Alunos, Funcionario, Usuario, Filial, Cliente, "
                          "HORA_INICIAL, HORA_FINAL, TOLERANCIA_ENTRADA, TOLERANCIA_SAIDA) VALUES "
                          "(?, ?, ?, ?, ?, ?, '01', '01', 1001, ?, ?, 10, 10)"),
           {c.code, c.name, c.activity, QString::fromLatin1(c.activity).left(2), c.capacity,
            QString::fromUtf8(kStaff[c.staff].name), QDateTime(QDate(1899, 12, 30), c.start),
            QDateTime(QDate(1899, 12, 30), c.start.addSecs(3600))});
  runSql(gymDb, QStringLiteral("INSERT INTO Turma (CODIGO, SEG, TER, QUA, QUI, SEX, SAB, DOM) "
                               "VALUES ('SEGQUA', ?, ?, ?, ?, ?, ?, ?), "
                               "('LIVRE', ?, ?, ?, ?, ?, ?, ?)"),
         {true, false, true, false, false, false, false,  //
          true, true, true, true, true, true, false});
  const int members = int(std::size(kMembers));
  for (int i = 1; i <= members; ++i) {
    runSql(gymDb,
           QStringLiteral("UPDATE ALUNOSATIVOS SET TURMA_A = ?, DIA_VENCIMENTO = 10, PLANOS = '001', "
                          "DATA_TRANCAMENTO = ? WHERE MATRICULA = ?"),
           {i % 2 ? QStringLiteral("SEGQUA") : QStringLiteral("LIVRE"),
            i == 5 ? QVariant(today.addMonths(-1)) : QVariant(QMetaType(QMetaType::QDate)),
            matricula(i)});
    for (const char* activity : {"01", "02", "03"})
      if (i % 3 != 0 || QString::fromLatin1(activity) != QLatin1String("03"))
        runSql(gymDb, QStringLiteral("INSERT INTO AlunosAtividades (MATRICULA, ATIVIDADE) VALUES (?, ?)"),
               {matricula(i), activity});
    if (i == 4 || i == 8) continue;  // in arrears
    runSql(gymDb, QStringLiteral("INSERT INTO Receb (MATRICULA, MES, ANO) VALUES (?, ?, ?)"),
           {matricula(i), today.toString(QStringLiteral("MM")), today.toString(QStringLiteral("yyyy"))});
  }
  runSql(gymDb, QStringLiteral("INSERT INTO PLANOS (CODIGO, DESCRICAO) VALUES ('001', 'PLANO MENSAL')"));
  for (int i = 1; i <= 6; ++i)
    runSql(gymDb,
           QStringLiteral("INSERT INTO FrequenciaAula (Data, Codigo_Aula, Descricao_Aula, "
                          "Maximo_Alunos, Matricula, Aluno, Funcionario, Atividade, Filial, "
                          "Usuario, Cliente) SELECT ?, Codigo, Descricao, Maximo_Alunos, ?, ?, "
                          "Funcionario, Atividade, Filial, '01', Cliente FROM AulasColetivas "
                          "WHERE Codigo = ?"),
           {today, matricula(i), QString::fromUtf8(kMembers[i - 1].name),
            i <= 4 ? QStringLiteral("01") : QStringLiteral("03")});
}

}  // namespace

QByteArray demoPhoto(const QString& name, int seed) {
  QImage image(240, 320, QImage::Format_RGB888);
  const QColor base = QColor::fromHsv((seed * 47) % 360, 90, 200);
  image.fill(base);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(base.darker(140));
  p.drawEllipse(QPoint(120, 120), 62, 70);
  p.drawRoundedRect(QRect(35, 205, 170, 140), 70, 70);
  p.setPen(Qt::white);
  QFont font = p.font();
  font.setPixelSize(54);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRect(58, 50, 124, 140), Qt::AlignCenter, initials(name));
  p.end();
  return encodeJpeg(image, 90);
}

QString demoCpf(int seed) {
  QString digits = QStringLiteral("%1").arg(seed % 1000000000, 9, 10, QLatin1Char('0'));
  for (int round = 0; round < 2; ++round) {
    int sum = 0;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) sum += digits[i].digitValue() * (n + 1 - i);
    const int r = sum % 11;
    digits += QString::number(r < 2 ? 0 : 11 - r);
  }
  return QStringLiteral("%1.%2.%3-%4")
      .arg(digits.mid(0, 3), digits.mid(3, 3), digits.mid(6, 3), digits.mid(9, 2));
}

QVariantMap demoGymSettings() {
  return {
      {QString(SettingsColumn::ACADEMIA), QStringLiteral("ACADEMIA CORPO EM FORMA")},
      {QString(SettingsColumn::ENDERACADEMIA), QStringLiteral("RUA DAS LARANJEIRAS, 350")},
      {QString(SettingsColumn::COMPLEMENTO1), QStringLiteral("LARANJEIRAS - RIO DE JANEIRO - RJ")},
      {QString(SettingsColumn::CNPJCPF), QStringLiteral("12.345.678/0001-95")},
      {QString(SettingsColumn::CLIENTE), 1001.0},
      {QString(SettingsColumn::GrupamentoMuscular), QStringLiteral("Sim")},
      // Everything can be tried without printers or servers: the receipt printer is a file in
      // the installation folder and the portal is the installation's own embedded database.
      {QString(SettingsColumn::PORTA_IMP),
       QDir(installationFolder()).filePath(QStringLiteral("recibo.txt"))},
      {QString(SettingsColumn::Portal_Cenection), QStringLiteral("Sim")},
      // The assessment database holds the demonstration's assessments: the builder's
      // "Avaliação" button prints them.
      {QString(SettingsColumn::IntegracaoTamsel), QStringLiteral("Sim")},
      {QString(SettingsColumn::Alunos_Ausentes), kAbsentDays},
  };
}

void addDemoGym(const QSqlDatabase& db) {
  const QDate today = QDate::currentDate();
  addStaff(db);
  addMembers(db, today);
  addCatalogue(db);
  addAgenda(db, today);
  addSeries(db, today);
  addUsers(db);
}

void addDemoGymManagement(const QSqlDatabase& gymDb) {
  addGymManagementPeople(gymDb, QDate::currentDate());
  addGroupClasses(gymDb, QDate::currentDate());
}
