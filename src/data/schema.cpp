#include "data/schema.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>
#include <initializer_list>

#include "data/sql.h"

namespace {

using Columns = QList<ColumnDef>;

// ---------------------------------------------------------------------------------------------
// Building blocks of the definitions below

ColumnDef text(const char* name, int size = 20) {
  return {QString::fromLatin1(name), ColumnType::Text, size};
}

ColumnDef col(const char* name, ColumnType type) {
  return {QString::fromLatin1(name), type, 0};
}

ColumnDef identity(const char* name = "ID") {
  return col(name, ColumnType::Identity);
}

Columns texts(std::initializer_list<const char*> names, int size) {
  Columns columns;
  for (const char* name : names) columns << text(name, size);
  return columns;
}

Columns cols(std::initializer_list<const char*> names, ColumnType type) {
  Columns columns;
  for (const char* name : names) columns << col(name, type);
  return columns;
}

// `prefix` followed by first..last ("G_OUTRA1" ... "G_OUTRA7"), each of `type`.
Columns numbered(const char* prefix, int first, int last, ColumnType type) {
  Columns columns;
  for (int i = first; i <= last; ++i)
    columns << ColumnDef{QString::fromLatin1(prefix) + QString::number(i), type, 0};
  return columns;
}

Columns bits(const QStringList& names) {
  Columns columns;
  for (const QString& name : names) columns << ColumnDef{name, ColumnType::Bit, 0};
  return columns;
}

Columns weekdays() {
  return bits(weekdayColumns());
}

Columns stretches() {
  return bits(stretchColumns());
}

struct Ix {
  QStringList columns;
  bool unique = false;
};

// Index names are unique per database on both servers, so they carry the table's name.
TableDef table(const char* name, const Columns& columns, std::initializer_list<Ix> indexes = {}) {
  TableDef def{QString::fromLatin1(name), columns, {}};
  for (const Ix& ix : indexes)
    def.indexes << IndexDef{
        QStringLiteral("IX_%1_%2").arg(def.name, ix.columns.join(QLatin1Char('_'))), ix.columns,
        ix.unique};
  return def;
}

Ix by(std::initializer_list<const char*> names) {
  Ix ix;
  for (const char* name : names) ix.columns << QString::fromLatin1(name);
  return ix;
}

Ix uniqueBy(const char* name) {
  Ix ix = by({name});
  ix.unique = true;
  return ix;
}

// ---------------------------------------------------------------------------------------------
// Workout database

TableDef secvar() {
  const Columns identification = {text("ACADEMIA", 35),     text("ENDERACADEMIA", 40),
                                  text("COMPLEMENTO1", 40), text("COMPLEMENTO2", 40),
                                  text("CNPJCPF", 40),      col("CLIENTE", ColumnType::Float)};
  const Columns operation = {text("CODIGOSEQ", 3),        text("PATH_EXERCICIO", 3),
                             text("IntegracaoTamsel", 3), text("CAPTURA_WEB", 3),
                             text("Troca_Serie", 5),      text("TEMPO_REAVALIACAO", 2),
                             text("AlunosAtivos", 3),     col("Alunos_Ausentes", ColumnType::Int),
                             text("MaisUmExercSerie", 3), text("SERIEEMVIDEO", 3),
                             text("Portal_Cenection", 3), text("GrupamentoMuscular", 3),
                             text("Vincula_prof_usu", 3), text("TrocaDataSerie", 3)};
  const Columns printing = {text("PORTA_IMP", 200),
                            text("ENDERECO_PORTA", 4),
                            col("ESPACO", ColumnType::Int),
                            text("IMPRESSAOREDUZIDA", 3),
                            col("POR_CODIGO_APARELHO", ColumnType::Bit),
                            text("Caminho_Impressora", 500)};
  const Columns video = {col("Tempo_Serie", ColumnType::Int), text("Terminal_Video_Aparelho", 3),
                         text("Imp_Alongamento", 3), text("ImprimeDiasSerie", 3)};
  const Columns serial = {col("VELOCIDADE", ColumnType::Int),
                          text("DATABIT", 1),
                          text("STOPBIT", 1),
                          text("PARIDADE", 5),
                          text("PINPAD", 4),
                          text("Tec12USB", 3)};
  const Columns email = {text("SMTP_PROVEDOR", 40),
                         text("NOME_PROVEDOR", 40),
                         text("EMAIL_PROVEDOR", 40),
                         text("USERNAME", 40),
                         text("PASSWORD", 40),
                         text("IdSMTP_UseTLS", 20),
                         text("ASSUNTO_AUSENTE", 50),
                         col("TEXTO_AUSENTE", ColumnType::Memo),
                         text("IMAGEM_CORPO_AUSENTE", 500)};
  const Columns logo = {col("LOGOACADEMIA1", ColumnType::Image)};
  // Read by nobody, but kept so that a database copied from an older installation and a new
  // one have the same columns.
  const Columns unused = {col("SAIDAALUNO", ColumnType::SmallInt), text("CAMINHOCOPIA", 45),
                          text("MSN_IMP", 3), text("Caminho_Video", 500)};
  return table("Secvar",
               identification + operation + printing + video + serial + email + logo + unused);
}

TableDef usuarios() {
  // SENHA holds a salted hash ("pbkdf2-sha256$...", about 90 characters), not the six typed
  // characters, so it is wider than the typed password.
  Columns columns = {identity(), text("CODIGO", 2), text("NOME", 18), text("SENHA", 128)};
  columns += texts({"C_ATIVIDADE", "C_EXERCICIOS", "C_ALUNOS", "C_EXCLUI_ALUNOS", "C_FUNCIONARIO",
                    "E_TIPOEXERCICIO", "U_BACKUP", "U_RESTAURACAODOBACKUP",
                    "U_PARAMETRIZACAOSISTEMA", "U_CADASTRODEUSUARIOS", "U_PARAMETRIZACAOUSUARIO",
                    "R_SeriesVencidas", "IMP_SERIE_40", "AGENDA", "R_AvaliacoesFeitas",
                    "R_AvaliacoesAgendadas", "U_REESVAZIARMOVIMENTACAO", "C_GrupamentoMuscular"},
                   3);
  columns << text("Matricula", 10);
  // The users window looks for a taken code itself; the unique index turns away the code
  // another workstation stored in the meantime.
  return table("Usuarios", columns, {uniqueBy("CODIGO")});
}

TableDef alunos() {
  const Columns columns = {text("MATRICULA", 10),
                           text("NOME", 35),
                           text("SEXO", 1),
                           text("ENDERECO", 45),
                           text("BAIRRO", 15),
                           text("CIDADE", 20),
                           text("ESTADO", 2),
                           text("CEP", 9),
                           text("IDENTIDADE", 15),
                           text("CPF", 15),
                           col("SAIDA", ColumnType::DateTime),
                           text("TELEFONE", 14),
                           text("TELEFONECOM", 14),
                           text("TELEFONE_CELULAR", 14),
                           text("RADIO", 20),
                           text("EMAIL", 40),
                           text("PROFISSAO", 20),
                           text("RESPONSAVEL", 20),
                           col("DATA_NASCIMENTO", ColumnType::Date),
                           col("DATA_CADASTRADO", ColumnType::Date),
                           col("DATA_MEDICA", ColumnType::Date),
                           col("DATA_FUNCIONAL", ColumnType::Date)};
  // The member window makes no duplicate test of its own: the unique key refuses the write.
  // The name order's index is one of the grid indexes.
  return table("Alunos", columns, {uniqueBy("MATRICULA")});
}

TableDef funcionarios() {
  const Columns columns = {identity(),
                           text("MATRICULA", 10),
                           text("NOME", 35),
                           text("ENDERECO", 45),
                           text("BAIRRO", 15),
                           text("CIDADE", 20),
                           text("ESTADO", 2),
                           text("CEP", 9),
                           text("SEXO", 1),
                           text("TELEFONE", 15),
                           col("DATA_NASCIMENTO", ColumnType::Date),
                           text("CPF", 12),
                           text("CTPF", 10),
                           text("PIS", 20),
                           col("DATA_ADMISSAO", ColumnType::Date),
                           col("DATA_DEMISSAO", ColumnType::Date),
                           text("ESCOLARIDADE", 2),
                           text("CARGO", 15)};
  return table("Funcionarios", columns, {uniqueBy("MATRICULA")});
}

// One photo row per person, so the registration number is unique.
TableDef photos(const char* name) {
  return table(name, {identity(), text("MATRICULA", 10), col("FOTO1", ColumnType::Image)},
               {uniqueBy("MATRICULA")});
}

TableDef exercicios() {
  const Columns columns = {
      text("Codigo", 3),   text("Descricao", 35), text("DESCRICAOABREVIADA", 15),
      text("Aparelho", 3), text("Tipo", 1),       text("Caminho_Video", 500),
      text("CODIGO_G", 2)};
  // The exercise window tests a taken code itself; the description order's index is one of
  // the grid indexes.
  return table("Exercicios", columns, {uniqueBy("Codigo")});
}

TableDef grupamentoMuscular() {
  // The muscle-group window relies on the database to refuse a code that exists already.
  return table("GrupamentoMuscular", {identity(), text("CODIGO", 2), text("DESCRICAO", 35)},
               {uniqueBy("CODIGO")});
}

// Series rows are read per member and date; the bulk portal run and the purge read by date
// alone, hence the second index on the series tables.
TableDef treino() {
  Columns columns = {identity(),
                     text("Matricula", 10),
                     text("Treino", 1),
                     text("Codigo_exercicio", 3),
                     col("Data", ColumnType::Date),
                     col("Data_Reavaliacao", ColumnType::Date),
                     text("Repeticoes", 11),
                     text("Series", 2),
                     text("Peso", 11),
                     col("Intervalo", ColumnType::SmallInt),
                     text("Obs", 30),
                     text("Professor", 10)};
  columns += weekdays();
  columns << col("Ordem", ColumnType::SmallInt) << text("REGULAGEM", 11);
  return table("Treino", columns, {by({"Matricula", "Data"}), by({"Data"})});
}

TableDef aerobica() {
  Columns columns = {identity(),
                     text("Matricula", 10),
                     text("Codigo_exercicio", 3),
                     col("Data", ColumnType::Date),
                     col("Duracao", ColumnType::SmallInt),
                     col("Velocidade", ColumnType::Float),
                     col("Nivel_dificuldade", ColumnType::Float),
                     text("Professor", 10)};
  columns += weekdays();
  return table("Aerobica", columns, {by({"Matricula", "Data"}), by({"Data"})});
}

TableDef alongamento() {
  Columns columns = {identity(), text("Matricula", 10), text("Treino", 1),
                     col("Data", ColumnType::Date), col("Obs", ColumnType::Memo)};
  columns += stretches();
  return table("Alongamento", columns, {by({"Matricula", "Data"}), by({"Data"})});
}

TableDef agenda() {
  Columns columns = {identity(), text("HORA", 5)};
  columns += texts({"AVALIADOR_SEGUNDA", "AVALIADOR_TERCA", "AVALIADOR_QUARTA", "AVALIADOR_QUINTA",
                    "AVALIADOR_SEXTA", "AVALIADOR_SABADO"},
                   10);
  return table("Agenda", columns);
}

TableDef agendado() {
  const Columns columns = {identity(),         text("MATRICULA", 10),
                           text("TREINO", 1),  col("DATA", ColumnType::Date),
                           text("HORA", 5),    text("AVALIADOR", 10),
                           text("USUARIO", 2), col("DATA_FEITA", ColumnType::Date)};
  return table("Agendado", columns, {by({"MATRICULA", "DATA"})});
}

QList<TableDef> workoutTables() {
  return {secvar(),
          usuarios(),
          alunos(),
          funcionarios(),
          photos("FotosAlunos"),
          photos("FotosFuncionarios"),
          exercicios(),
          grupamentoMuscular(),
          treino(),
          aerobica(),
          alongamento(),
          agenda(),
          agendado()};
}

// ---------------------------------------------------------------------------------------------
// Gym-management database: the tables and columns the program touches

Columns briscaMemberColumns() {
  return {text("MATRICULA", 10),
          text("NOME", 35),
          text("CPF", 15),
          text("EMAIL", 60),
          text("TELEFONE", 14),
          text("TELEFONECOM", 14),
          text("TELEFONE_CELULAR", 14),
          text("RADIO", 20),
          text("ENDERECO", 45),
          text("BAIRRO", 15),
          text("ESTADO", 2),
          text("CEP", 9),
          col("OBSERVACAO", ColumnType::Memo),
          text("SEXO", 1),
          col("DATA_NASCIMENTO", ColumnType::Date),
          col("SAIDA", ColumnType::Date),
          col("BOLSISTA", ColumnType::Bit)};
}

TableDef briscaAlunosAtivos() {
  Columns columns = briscaMemberColumns();
  columns << col("Gympass", ColumnType::Bit) << col("DATA_TRANCAMENTO", ColumnType::Date)
          << col("VALIDADE_BOLSA", ColumnType::Date) << col("REPASSE", ColumnType::Date)
          << col("DIA_VENCIMENTO", ColumnType::SmallInt);
  columns += texts({"TURMA_A", "TURMA_B", "TURMA_C", "TURMA_D", "TURMA_E", "TURMA_F"}, 7);
  columns << text("MODALIDADE", 3) << text("PLANOS", 3);
  return table("ALUNOSATIVOS", columns, {uniqueBy("MATRICULA"), by({"NOME"})});
}

TableDef aulasColetivas() {
  const Columns columns = {identity(),
                           text("Codigo", 2),
                           text("Descricao", 50),
                           text("Atividade", 20),
                           text("Codigo_Atividade", 2),
                           col("Maximo_Alunos", ColumnType::Int),
                           text("Funcionario", 35),
                           text("Usuario", 2),
                           text("Recepcionista", 2),
                           text("Filial", 2),
                           col("Cliente", ColumnType::Float),
                           col("HORA_INICIAL", ColumnType::DateTime),
                           col("HORA_FINAL", ColumnType::DateTime),
                           col("TOLERANCIA_ENTRADA", ColumnType::Float),
                           col("TOLERANCIA_SAIDA", ColumnType::Float)};
  return table("AulasColetivas", columns);
}

TableDef frequenciaAula() {
  const Columns columns = {identity(),
                           col("Data", ColumnType::Date),
                           text("Codigo_Aula", 2),
                           text("Descricao_Aula", 50),
                           text("Matricula", 10),
                           text("Aluno", 35),
                           text("Funcionario", 35),
                           col("Maximo_Alunos", ColumnType::Int),
                           text("Usuario", 2),
                           text("Recepcionista", 2),
                           text("Filial", 2),
                           text("Atividade", 20),
                           col("Cliente", ColumnType::Float)};
  // Bookings are counted per class and day.
  return table("FrequenciaAula", columns, {by({"Data", "Codigo_Aula"})});
}

QList<TableDef> gymManagementTables() {
  Columns turma = {identity(), text("CODIGO", 7)};
  turma += cols({"SEG", "TER", "QUA", "QUI", "SEX", "SAB", "DOM"}, ColumnType::Bit);
  return {
      table("ALUNOS", briscaMemberColumns(), {uniqueBy("MATRICULA"), by({"NOME"})}),
      briscaAlunosAtivos(),
      // An entrance keeps its time of day: the absent-member count rounds on it. The timer's
      // question (anyone whose last entrance was N days ago?) reads one day's entrances from
      // the (DATA, MATRICULA) index alone, and each visitor's later entrances from the other.
      table("ACESSO", {text("MATRICULA", 10), col("DATA", ColumnType::DateTime)},
            {by({"MATRICULA", "DATA"}), by({"DATA", "MATRICULA"})}),
      table("FotosAlunos",
            {identity(), text("MATRICULA", 10), col("FOTO1", ColumnType::Image), text("FILIAL", 2)},
            {by({"MATRICULA"})}),
      table("FUNCIONARIOS",
            {text("MATRICULA", 10), text("NOME", 35), text("CARGO", 15),
             col("DATA_DEMISSAO", ColumnType::Date)},
            {uniqueBy("MATRICULA"), by({"NOME"})}),
      table("SACVAR", {col("PRAZOAVALFUN", ColumnType::SmallInt)}),
      table("Sacvar2", {text("CONTROLEPORRECEPCIONISTA", 3), text("AgendamentoAulaPortal", 3),
                        text("FILIAL", 2), text("Controle_Agendamento_Turma", 3),
                        text("Exclui_Turma_Agendamento", 7)}),
      table("Atividades", {text("CODIGO", 2), text("DESCRICAO", 20),
                           col("VALOR", ColumnType::Decimal), text("FILIAL", 2)}),
      aulasColetivas(),
      frequenciaAula(),
      table("Turma", turma),
      table("AlunosAtividades", {text("MATRICULA", 10), text("ATIVIDADE", 2)}, {by({"MATRICULA"})}),
      // Month and year are compared as the texts "MM" and "YYYY".
      table("Receb",
            {identity(), text("MATRICULA", 10), text("MES", 2), text("ANO", 4),
             col("VALOR", ColumnType::Decimal), col("DATA_VENCIMENTO", ColumnType::Date),
             col("DATA_PAGAMENTO", ColumnType::Date)},
            {by({"MATRICULA", "ANO", "MES"})}),
      table("PLANOS", {text("CODIGO", 3), text("DESCRICAO", 40)}),
      table("MENSALIDADES", {text("CODIGO", 3), text("DESCRICAO", 40)}),
      // The last row is the current opening of the cash register, hence the ID.
      table("Caixa", {identity(), col("DATAABERTURA", ColumnType::Date)}),
  };
}

// ---------------------------------------------------------------------------------------------
// Portal database

TableDef portalTreino() {
  Columns columns = {identity(),
                     text("CPF", 11),
                     text("Matricula", 10),
                     text("Treino", 1),
                     text("Codigo_exercicio", 3),
                     text("Descricao", 35),
                     col("Data", ColumnType::Date),
                     col("Data_Reavaliacao", ColumnType::Date),
                     text("Repeticoes", 11),
                     text("Series", 2),
                     text("Peso", 11),
                     col("Intervalo", ColumnType::SmallInt),
                     text("Obs", 30),
                     text("Professor", 50)};
  columns += weekdays();
  columns << col("Ordem", ColumnType::SmallInt) << text("Regulagem", 11) << text("Aparelho", 3)
          << col("cliente", ColumnType::Int);
  return table("Portal_Treino", columns, {by({"cliente", "Matricula"})});
}

TableDef portalAerobica() {
  Columns columns = {identity(),
                     col("Cliente", ColumnType::Float),
                     text("CPF", 11),
                     text("Matricula", 10),
                     text("Codigo_exercicio", 3),
                     text("Descricao", 35),
                     col("Data", ColumnType::Date),
                     col("Duracao", ColumnType::SmallInt),
                     col("Velocidade", ColumnType::Float),
                     col("Nivel_dificuldade", ColumnType::Float),
                     text("Professor", 50)};
  columns += weekdays();
  columns << text("Aparelho", 3);
  return table("Portal_Aerobica", columns, {by({"Cliente", "Matricula"})});
}

TableDef portalAlongamento() {
  Columns columns = {identity(),
                     col("Cliente", ColumnType::Float),
                     text("CPF", 11),
                     text("Matricula", 10),
                     text("Treino", 1),
                     col("Data", ColumnType::Date),
                     col("Obs", ColumnType::Memo)};
  columns += stretches();
  return table("Portal_Alongamento", columns, {by({"Cliente", "Matricula"})});
}

QList<TableDef> portalTables() {
  const Columns clientes = {identity("id"),
                            col("cod_cliente", ColumnType::Int),
                            text("email", 200),
                            text("password", 191),
                            text("remember_token", 100),
                            col("created_at", ColumnType::DateTime),
                            col("updated_at", ColumnType::DateTime),
                            col("active", ColumnType::Int),
                            col("cod_tipo_usuario", ColumnType::Int),
                            text("nome", 200),
                            text("cpf_cnpj", 20),
                            text("academia", 200)};
  const Columns alunos = {identity(),
                          text("CPF", 11),
                          text("Email", 100),
                          text("Matricula", 50),
                          text("Nome", 100),
                          text("password", 100),
                          text("cod_envio_senha", 10),
                          text("Objetivo", 500),
                          text("Reavaliacao", 10),
                          text("Peso", 50),
                          text("Gordura", 50),
                          col("cliente", ColumnType::Int)};
  return {
      // One row per gym.
      table("Clientes", clientes, {uniqueBy("cod_cliente")}),
      // Publishing finds a member by CPF; a gym's members are read by customer number.
      table("Alunos", alunos, {by({"CPF"}), by({"cliente", "Matricula"})}),
      portalTreino(),
      portalAerobica(),
      portalAlongamento(),
      // Group classes and their bookings live here when booking through the portal is on.
      aulasColetivas(),
      frequenciaAula(),
  };
}

// ---------------------------------------------------------------------------------------------
// Assessment database: the tables and columns the program reads

// Every assessment table carries an ID, the member and the assessment's date, and is read
// by member and date.
TableDef assessment(const char* name, const Columns& columns,
                    const char* dateColumn = "DATAEXAME") {
  Columns all = {identity(), text("MATRICULA", 10), col(dateColumn, ColumnType::Date)};
  all += columns;
  return table(name, all, {by({"MATRICULA", dateColumn})});
}

TableDef savcvar() {
  Columns columns = {text("PATH_AVALIA", 3), text("MOSTRA_RESULTADO_CORPORAL", 3),
                     col("MEMOINTRODUCAO", ColumnType::Memo), text("AlunosAtivos", 3),
                     col("TEMPO_REAVALIACAO", ColumnType::SmallInt)};
  columns += texts(
      {"EXAME_MEDICO", "PRESCRICAO_ATIVIDADE", "ANAMNESE", "TESTE_CARDIACO", "EXAME_MUSCULAR",
       "CORPORAL_POLLOCK3", "CORPORAL_POLLOCK7", "CORPORAL_IMC", "CORPORAL_SLAUGHTER",
       "CORPORAL_CINTURA_QUADRIL", "CORPORAL_FAULKNER", "CORPORAL_LOHMAN", "CORPORAL_TRANS_WELTMAN",
       "EXAME_POSTURAL", "FLEX_TESTE", "VOZ", "FLEXIBILIDADE", "TESTE_ABDOMINAL", "TESTE_FLEXAO"},
      3);
  columns << text("IMC_1_2", 1) << col("LOGOACADEMIA1", ColumnType::Image) << text("ACADEMIA", 35)
          << text("ENDERACADEMIA", 40) << text("COMPLEMENTO1", 40) << text("MOSTRA_MEDICA", 3);
  columns +=
      cols({"IMAGEMFRENTE", "IMAGEMCOSTA", "VistaFrente", "VistaFrente2", "VistaCosta",
            "VistaCosta2", "VistaDireito", "VistaDireito2", "VistaEsquerdo", "VistaEsquerdo2"},
           ColumnType::Image);
  columns += numbered("IMAGEMFLEX", 1, 4, ColumnType::Image);
  return table("Savcvar", columns);
}

TableDef avaliacao() {
  Columns columns = cols({"A_ALTURA", "A_PESO"}, ColumnType::Float);
  columns += cols({"OBS_POSTURAL", "OBS_POSTURAL2"}, ColumnType::Memo);
  columns += cols({"FOTOFRENTE", "FOTOCOSTA", "FOTODIREITO", "FOTOESQUERDO", "FOTOFRENTE2",
                   "FOTOCOSTA2", "FOTODIREITO2", "FOTOESQUERDO2"},
                  ColumnType::Image);
  columns << text("USUARIO", 2) << text("LIBERA_AVALIACAO", 2) << col("VO2MAX", ColumnType::Float)
          << text("VO2MAXRESULTADO", 15) << col("OBS_ERGOMETRICO", ColumnType::Memo);
  return assessment("AVALIACAO", columns);
}

TableDef anamnese() {
  const ColumnType flag = ColumnType::Bit;
  Columns columns = {text("A_RACA", 10),
                     text("A_TABAGISTA", 3),
                     col("A_NCIGARROS", ColumnType::SmallInt),
                     text("A_MEDICAMENTOS", 80),
                     text("A_FREQCARDIACA", 10),
                     col("A_PRESSAOARTERIALMIN", ColumnType::Float),
                     col("A_PRESSAOARTERIALMAX", ColumnType::Float),
                     text("A_BEBIDA"),
                     col("A_DOENCAFAMILIA", flag),
                     text("A_TIPOFAMILIA", 80),
                     col("A_DOENCAPESSOAL", flag),
                     text("A_TIPOPESSOAL", 35),
                     col("A_CIRURGIA", flag),
                     text("A_TIPOCIRURGIA", 80),
                     col("A_ALERGIA", flag),
                     text("A_TIPOALERGIA", 35),
                     col("A_LESAO", flag),
                     text("A_TIPOLESAO", 80),
                     col("A_DIETA11", flag),
                     text("A_DIETA", 1),
                     text("A_TIPODIETA", 35),
                     text("A_HISTORICOOCUPACIONAL", 60)};
  columns +=
      cols({"A_TEMPOMANHA", "A_TEMPOTARDE", "A_TEMPONOITE", "A_TEMPOLIVRE", "A_OBJPOSTURAL",
            "A_OBJTERAPEUTICO", "A_OBJESTETICO", "A_OBJGANHO", "A_OBJPERDA", "A_OBJESTRESS",
            "A_OBJFISICO", "A_OBJOUTROS", "A_OBJDEFINICAO", "A_OBJPEITORAL", "A_OBJENDURECIMENTO"},
           flag);
  columns << text("A_OBJQUAL", 40) << col("A_PRATICAATUAL", flag) << text("A_QUANTOTEMPO")
          << text("A_NVEZES", 15) << text("A_ATIVIDADEATUAL", 15) << col("A_PRATICAANTES", flag)
          << text("A_ATIVIDADEANTES");
  columns += texts({"A_TEMPOPAROU", "A_TEMPOPRATICA", "A_TEMPO_CIGARRO"}, 15);
  columns << col("A_NREFEICOES", ColumnType::SmallInt);
  columns += cols({"A_ABDOMEM", "A_GLUTEO", "A_MMII", "A_MMSS"}, flag);
  columns << text("A_HORASSONO", 10) << text("A_DORESOBS", 80) << text("A_DIADISPONIVEL", 80)
          << text("A_MEDICAPRESSAO", 7) << text("A_ECTOSCOPIA_OUTROS", 50)
          << text("A_CARDIO_OUTROS", 70) << text("A_RESPIRATORIO_OUTROS", 70);
  columns += cols({"A_HPP", "A_ORTOPEDIA", "A_MEDICAMENTOSM"}, ColumnType::Memo);
  columns << col("A_NBEBIDA", ColumnType::Float) << text("A_SONOTIPO", 15);
  columns += cols({"A_HISTORICO_DAC", "A_HISTORICO_DM", "A_HISTORICO_HAS"}, ColumnType::Float);
  columns += cols({"A_QUEIXAS", "A_EXAMES_COMPLEMENTAR"}, ColumnType::Memo);
  columns += cols({"A_EXAMESOLITADO", "A_EXAMEENTREGUE"}, ColumnType::Date);
  columns << col("A_RECOMENDACOES", ColumnType::Memo) << text("A_PRESSAOARTEIRALPOSICAO", 10)
          << text("A_POSICAO", 15) << col("A_OUTROS_OBS", ColumnType::Memo) << text("A_MEDICO", 2);
  return assessment("Anamnese", columns);
}

TableDef cardiaco() {
  Columns columns = texts({"R_IDADE", "R_DOENCA", "R_PESO1", "R_FUMO", "R_TRABALHO", "R_COLESTEROL",
                           "R_PRESSAOARTERIAL1", "R_SEXO1"},
                          1);
  columns << col("R_RESULTADOATUAL", ColumnType::Float);
  return assessment("CARDIACO", columns);
}

TableDef muscular() {
  Columns columns =
      cols({"M_TORAX", "M_CINTURA", "M_ABDOMEM", "M_QUADRIL", "M_BRACO_D", "M_BRACO_E",
            "M_ANTEBRACO_D", "M_ANTEBRACO_E", "M_COXA_D", "M_COXA_E", "M_PERNA_D", "M_PERNA_E"},
           ColumnType::Bit);
  columns += cols({"M_TORAX_MED", "M_CINTURA_MED", "M_ABDOMEM_MED", "M_QUADRIL_MED", "M_BRACO_DMED",
                   "M_BRACO_EMED", "M_ANTEBRACO_DMED", "M_ANTEBRACO_EMED", "M_COXA_DMED",
                   "M_COXA_EMED", "M_PERNA_DMED", "M_PERNA_EMED", "M_TORAX_INS", "M_TORAX_EXP"},
                  ColumnType::Float);
  columns += cols({"M_CAUSA_TRAUMA", "M_CAUSA_FUNCIONAL", "M_CAUSA_DEFICIENCIA", "M_CAUSA_CIRURGIA",
                   "M_COXA_D_P", "M_COXA_E_P"},
                  ColumnType::Bit);
  columns += cols({"M_COXA_DPROX", "M_COXA_EPROX"}, ColumnType::Float);
  columns << col("M_MEMOOBS", ColumnType::Memo);
  return assessment("MUSCULAR", columns);
}

// The seven results of a skinfold protocol ("3DOBRAS", "7DOBRAS"). The ideal fat is a
// two-character text, as the assessment program stores it.
Columns skinfoldResults(const QString& protocol) {
  const auto name = [&](const char* suffix) {
    return QStringLiteral("G_") + protocol + QLatin1String(suffix);
  };
  return {
      {name("GORDURA_A"), ColumnType::Float, 0},   {name("GORDURA_FAIXA"), ColumnType::Text, 15},
      {name("GORDURA_M"), ColumnType::Text, 20},   {name("PESO_GORDO"), ColumnType::Float, 0},
      {name("PESO_MAGRO"), ColumnType::Float, 0},  {name("PESO_IDEAL"), ColumnType::Float, 0},
      {name("GORDURA_IDEAL"), ColumnType::Text, 2}};
}

// The five results of the Faulkner, Lohman and Trans-Weltman protocols.
Columns fatResults(const char* fat, const QString& protocol) {
  const auto name = [&](const char* suffix) {
    return QStringLiteral("G_") + protocol + QLatin1String(suffix);
  };
  return {{QString::fromLatin1(fat), ColumnType::Float, 0},
          {name("PESO_GORDO"), ColumnType::Float, 0},
          {name("PESO_MAGRO"), ColumnType::Float, 0},
          {name("PESO_IDEAL"), ColumnType::Float, 0},
          {name("GORDURA_IDEAL"), ColumnType::Text, 2}};
}

TableDef corporal() {
  Columns columns = {text("G_TIPO", 1)};
  columns += cols({"G_PESO", "G_ALTURA", "G_COXA", "G_PEITORAL", "G_AXILARMEDIA", "G_TRICIPES",
                   "G_SUBESCAPULAR", "G_ABDOMEM", "G_SUPRAILIACA", "G_QUADRIL", "G_CINTURA"},
                  ColumnType::Float);
  columns += skinfoldResults(QStringLiteral("3DOBRAS"));
  columns += skinfoldResults(QStringLiteral("7DOBRAS"));
  columns << text("G_TIPOIDADECRIANCA", 1) << col("G_CRIANCAGORDURA_A", ColumnType::Float)
          << text("G_CRIANCAGORDURA_FAIXA", 15) << text("G_CRIANCAGORDURA_M")
          << col("G_CRIANCAPESO_GORDO", ColumnType::Float)
          << col("G_CRIANCAPESO_MAGRO", ColumnType::Float) << text("G_IMCRESULTADO")
          << col("G_IMCVALOR", ColumnType::Float)
          << col("G_CINTURA_QUADRIL_VALOR", ColumnType::Float) << text("G_RESULTADO_CINTURA");
  columns += numbered("G_OUTRA", 1, 7, ColumnType::Float);
  columns << text("G_TIPOPROTOCOLO", 10);
  columns += fatResults("G_FAULKNER_GORDURA", QStringLiteral("FAULKNER"));
  columns += fatResults("G_LOHMAN_GORDURA", QStringLiteral("LOHMAN"));
  columns += cols({"G_TRANABDOMEM1", "G_TRANABDOMEM2"}, ColumnType::Float);
  columns += fatResults("G_TRAN_GORDURA", QStringLiteral("TRAN"));
  columns << text("G_MEDICO", 2);
  return assessment("CORPORAL", columns);
}

TableDef prescricao() {
  Columns columns = {text("PRESCRICAO", 30)};
  columns += cols({"EXAME_MEDICO", "EXAME_NUTRICIONAL", "EXAME_FISIOTERAPICO", "EXAME_FOTOMETRIA",
                   "EXAME_TRATAMENTO"},
                  ColumnType::Bit);
  columns << text("EXAME_OUTROS", 50) << col("MEMO_RECOMENDACOES", ColumnType::Memo)
          << col("REAVALIACAO", ColumnType::Date);
  // 2X to 5X begin with a digit: sqlIdentifier() quotes them.
  columns += texts({"2X", "3X", "4X", "5X", "DIARIAMENTE"}, 20);
  return assessment("PRESCRICAO", columns);
}

TableDef exerciseTest(const char* name) {
  return assessment(
      name, {col("NUMEROREPETICOES", ColumnType::SmallInt), text("CLASSIFICACAO"), text("META")});
}

QList<TableDef> assessmentTables() {
  Columns flexTeste = texts({"FLEX1", "FLEX2", "FLEX3", "FLEX4"}, 1);
  flexTeste << col("RESULTADO", ColumnType::Float) << text("DESCRICAO");
  return {
      savcvar(),
      avaliacao(),
      anamnese(),
      cardiaco(),
      muscular(),
      corporal(),
      prescricao(),
      assessment("FlexTeste", flexTeste),
      assessment("Ergomatrico",
                 {text("TEMPO", 2), col("CARGA", ColumnType::Float),
                  col("FREQCARDIACA", ColumnType::Float), text("PRESSAOARTERIAL", 7),
                  col("PERCEPCAOESFORCO", ColumnType::Float)},
                 "DATA"),
      assessment("Recuperacao",
                 {text("TEMPO", 2), col("FREQCARDIACA", ColumnType::Float), text("PRESARTERIAL", 7),
                  col("FREQ_CARDIACA_REPOUSO", ColumnType::Float), text("PRES_ARTERIAL_REPOUSO", 7),
                  col("PESO", ColumnType::Float)},
                 "DATA"),
      exerciseTest("TesteFlexibilidade"),
      exerciseTest("TesteFlexao"),
      exerciseTest("TesteAbdominal"),
      assessment("EXAME",
                 {text("POSTURAL", 5), text("POSICAO", 6), col("ORDEM", ColumnType::SmallInt)},
                 "DATA"),
      table("POSTURAL", {text("POSTURAL", 5), text("DESCRICAO", 35)}, {by({"POSTURAL"})}),
      // A member table: no assessment date.
      table("ALUNOS",
            {identity(), text("MATRICULA", 10), text("NOME", 35), text("SEXO", 1),
             col("DATA_NASCIMENTO", ColumnType::Date), col("DATA_MEDICA", ColumnType::Date),
             col("DATA_FUNCIONAL", ColumnType::Date), text("ENDERECO", 45), text("TELEFONE", 14),
             text("PROFISSAO")},
            {uniqueBy("MATRICULA")}),
      table("Usuarios",
            {text("CODIGO", 2), text("NOMECOMPLETO", 35), col("EXAMEMEDICO", ColumnType::Bit)},
            {by({"CODIGO"})}),
      // With PATH_AVALIA "Sim" the report reads the member's photo from this database.
      photos("FotosAlunos"),
  };
}

// ---------------------------------------------------------------------------------------------
// Grid indexes

GridIndex gridIndex(const char* table, std::initializer_list<const char*> columns) {
  const TableDef def = ::table(table, {}, {by(columns)});
  return {def.name, def.indexes.first()};
}

// ---------------------------------------------------------------------------------------------
// Creating

void createTable(const QSqlDatabase& db, const Dialect& dialect, const TableDef& table) {
  try {
    runSql(db, createTableSql(table, dialect));
    for (const QString& sql : createIndexSql(table, dialect)) runSql(db, sql);
  } catch (const SqlError& e) {
    throw SqlError(QStringLiteral("%1: %2").arg(table.name, e.text()));
  }
}

}  // namespace

const ColumnDef* TableDef::column(const QString& name) const {
  for (const ColumnDef& c : columns)
    if (c.name.compare(name, Qt::CaseInsensitive) == 0) return &c;
  return nullptr;
}

const QList<TableDef>& tablesOf(Database database) {
  static const QList<TableDef> workout = workoutTables();
  static const QList<TableDef> gymManagement = gymManagementTables();
  static const QList<TableDef> portal = portalTables();
  static const QList<TableDef> assessment = assessmentTables();
  switch (database) {
    case Database::Workout:
      return workout;
    case Database::GymManagement:
      return gymManagement;
    case Database::Portal:
      return portal;
    case Database::Assessment:
      return assessment;
  }
  return workout;
}

const TableDef* findTable(Database database, const QString& name) {
  for (const TableDef& table : tablesOf(database))
    if (table.name.compare(name, Qt::CaseInsensitive) == 0) return &table;
  return nullptr;
}

QString sqlIdentifier(const QString& name) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
  if (plain.match(name).hasMatch()) return name;
  QString quoted = name.toLower();
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QVariant typedValue(const QVariant& raw, ColumnType type) {
  if (!raw.isValid() || raw.isNull()) return {};
  switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
      return raw.toString();
    case ColumnType::Date:
      return raw.toDate();
    case ColumnType::DateTime:
      return raw.toDateTime();
    case ColumnType::Bit:
      return raw.toBool();
    case ColumnType::SmallInt:
    case ColumnType::Int:
    case ColumnType::Identity:
      return raw.toInt();
    case ColumnType::Float:
      return raw.toDouble();
    case ColumnType::Decimal:
      return raw.toDouble();
    case ColumnType::Image:
      return raw.toByteArray();
  }
  return raw;
}

QString createTableSql(const TableDef& table, const Dialect& dialect) {
  QStringList columns;
  for (const ColumnDef& c : table.columns)
    columns << sqlIdentifier(c.name) + QLatin1Char(' ') + dialect.columnType(c.type, c.size);
  return QStringLiteral("CREATE TABLE %1 (%2)")
      .arg(sqlIdentifier(table.name), columns.join(QStringLiteral(", ")));
}

QStringList createIndexSql(const TableDef& table, const Dialect& /*dialect*/) {
  QStringList statements;
  for (const IndexDef& index : table.indexes) {
    QStringList columns;
    for (const QString& c : index.columns) columns << sqlIdentifier(c);
    statements << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                      .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(),
                           sqlIdentifier(index.name), sqlIdentifier(table.name),
                           columns.join(QStringLiteral(", ")));
  }
  return statements;
}

QStringList existingTables(const QSqlDatabase& db, const Dialect& dialect) {
  QSqlQuery query = runSql(db, dialect.listTablesSql());
  QStringList names;
  while (query.next()) names << query.value(0).toString().toLower();
  return names;
}

const QList<GridIndex>& gridIndexes() {
  // The key orders name the tables' own key indexes, so a database that has them gets no copy.
  static const QList<GridIndex> indexes = {
      gridIndex("Alunos", {"MATRICULA"}),
      gridIndex("Alunos", {"NOME", "MATRICULA"}),
      gridIndex("Funcionarios", {"MATRICULA"}),
      gridIndex("Funcionarios", {"NOME", "MATRICULA"}),
      gridIndex("Usuarios", {"CODIGO"}),
      gridIndex("Exercicios", {"Codigo"}),
      gridIndex("Exercicios", {"Descricao", "Codigo"}),
      gridIndex("GrupamentoMuscular", {"CODIGO"}),
  };
  return indexes;
}

QString createGridIndexSql(const GridIndex& grid) {
  QStringList columns;
  for (const QString& c : grid.index.columns) columns << sqlIdentifier(c);
  return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
      .arg(sqlIdentifier(grid.index.name), sqlIdentifier(grid.table),
           columns.join(QStringLiteral(", ")));
}

QStringList existingIndexes(const QSqlDatabase& db, const Dialect& dialect) {
  QSqlQuery query = runSql(db, dialect.listIndexesSql());
  QStringList names;
  while (query.next()) names << query.value(0).toString().toLower();
  return names;
}

namespace {

SchemaReport createTables(const QSqlDatabase& db, const Dialect& dialect,
                          const QList<TableDef>& tables, bool withGridIndexes) {
  SchemaReport report;
  try {
    const QStringList existing = existingTables(db, dialect);
    Transaction transaction(db);
    for (const TableDef& table : tables) {
      if (existing.contains(table.name.toLower())) continue;
      createTable(db, dialect, table);
      report.created << table.name;
      if (!withGridIndexes) continue;
      for (const GridIndex& grid : gridIndexes())
        if (grid.table.compare(table.name, Qt::CaseInsensitive) == 0)
          runSql(db, createGridIndexSql(grid));
    }
    transaction.commit();
  } catch (const SqlError& e) {
    // The transaction guard has rolled back whatever this call created.
    report.created.clear();
    report.error = e.text();
  }
  return report;
}

}  // namespace

SchemaReport createMissingTables(const QSqlDatabase& db, const Dialect& dialect,
                                 Database database) {
  return createTables(db, dialect, tablesOf(database), database == Database::Workout);
}

SchemaReport createMissingTables(const QSqlDatabase& db, const Dialect& dialect,
                                 const QList<TableDef>& tables) {
  return createTables(db, dialect, tables, false);
}

const QStringList& weekdayColumns() {
  static const QStringList columns{QStringLiteral("Dom"), QStringLiteral("Seg"),
                                   QStringLiteral("Ter"), QStringLiteral("Qua"),
                                   QStringLiteral("Qui"), QStringLiteral("Sex"),
                                   QStringLiteral("Sab")};
  return columns;
}

const QStringList& stretchColumns() {
  static const QStringList columns = [] {
    QStringList names;
    for (int i = 1; i <= 23; ++i)
      names << QStringLiteral("Alogamento_%1").arg(i, 2, 10, QLatin1Char('0'));
    return names;
  }();
  return columns;
}
