#include "assessment/demo_assessments.h"

#include <QDate>
#include <QImage>
#include <QPainter>
#include <QVariantMap>

#include "data/schema.h"
#include "data/sql.h"
#include "registry/demo_gym.h"
#include "registry/jpeg_codec.h"

namespace {

void insert(const QSqlDatabase& db, const QString& table, const QVariantMap& values) {
  QStringList columns;
  QStringList marks;
  QVariantList bound;
  for (auto it = values.cbegin(); it != values.cend(); ++it) {
    columns << sqlIdentifier(it.key());
    marks << QStringLiteral("?");
    bound << it.value();
  }
  runSql(db,
         QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
             .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
         bound);
}

// The gym's emblem for the cover sheet.
QByteArray demoLogo() {
  QImage image(480, 320, QImage::Format_RGB888);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 90, 160), 14));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPoint(240, 140), 110, 110);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(230, 120, 30));
  p.drawRect(150, 128, 180, 24);
  p.drawRoundedRect(135, 95, 28, 90, 8, 8);
  p.drawRoundedRect(317, 95, 28, 90, 8, 8);
  p.setPen(QColor(20, 90, 160));
  QFont font = p.font();
  font.setPixelSize(30);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRect(0, 268, 480, 44), Qt::AlignCenter, QStringLiteral("CORPO EM FORMA"));
  p.end();
  return encodeJpeg(image, 90);
}

QString registration(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

void addSettings(const QSqlDatabase& db) {
  QVariantMap row{
      {QStringLiteral("PATH_AVALIA"), QStringLiteral("Sim")},
      {QStringLiteral("MOSTRA_RESULTADO_CORPORAL"), QStringLiteral("Sim")},
      {QStringLiteral("MEMOINTRODUCAO"),
       QStringLiteral(
           "Esta avaliação física reúne as informações sobre a sua saúde, a sua composição "
           "corporal, a sua postura e o seu condicionamento. Ela orienta a prescrição do seu "
           "treino e, repetida periodicamente, mostra a sua evolução. Guarde este relatório e "
           "traga-o na sua próxima reavaliação.")},
      {QStringLiteral("AlunosAtivos"), QStringLiteral("Não")},
      {QStringLiteral("TEMPO_REAVALIACAO"), 3},
      {QStringLiteral("IMC_1_2"), QStringLiteral("1")},
      {QStringLiteral("LOGOACADEMIA1"), demoLogo()},
      {QStringLiteral("ACADEMIA"), QStringLiteral("ACADEMIA CORPO EM FORMA")},
      {QStringLiteral("ENDERACADEMIA"), QStringLiteral("RUA DAS LARANJEIRAS, 350")},
      {QStringLiteral("COMPLEMENTO1"), QStringLiteral("LARANJEIRAS - RIO DE JANEIRO - RJ")},
      {QStringLiteral("MOSTRA_MEDICA"), QStringLiteral("Sim")},
  };
  for (const char* flag :
       {"EXAME_MEDICO", "PRESCRICAO_ATIVIDADE", "ANAMNESE", "TESTE_CARDIACO", "EXAME_MUSCULAR",
        "CORPORAL_POLLOCK3", "CORPORAL_POLLOCK7", "CORPORAL_IMC", "CORPORAL_CINTURA_QUADRIL",
        "EXAME_POSTURAL", "FLEX_TESTE", "VOZ", "FLEXIBILIDADE", "TESTE_ABDOMINAL", "TESTE_FLEXAO"})
    row.insert(QString::fromLatin1(flag), QStringLiteral("Sim"));
  for (const char* flag :
       {"CORPORAL_SLAUGHTER", "CORPORAL_FAULKNER", "CORPORAL_LOHMAN", "CORPORAL_TRANS_WELTMAN"})
    row.insert(QString::fromLatin1(flag), QStringLiteral("Não"));
  insert(db, QStringLiteral("Savcvar"), row);
}

void addReferenceTables(const QSqlDatabase& db) {
  const std::pair<const char*, const char*> users[] = {
      {"01", "RICARDO AZEVEDO PRADO"}, {"02", "LUCIANA MARTINS VEIGA"}, {"03", "DR. HELIO CAMPOS"}};
  for (const auto& [code, name] : users)
    insert(db, QStringLiteral("Usuarios"),
           {{QStringLiteral("CODIGO"), QString::fromLatin1(code)},
            {QStringLiteral("NOMECOMPLETO"), QString::fromUtf8(name)},
            {QStringLiteral("EXAMEMEDICO"), QByteArray(code) == "03"}});
  const std::pair<const char*, const char*> findings[] = {
      {"F01", "Cabeça inclinada à direita"},
      {"F02", "Ombro direito elevado"},
      {"F03", "Joelhos valgos"},
      {"F04", "Pés planos"},
      {"C01", "Escápula esquerda alada"},
      {"C02", "Escoliose torácica direita"},
      {"C03", "Calcâneo valgo"},
      {"D01", "Anteriorização da cabeça"},
      {"D02", "Hipercifose torácica"},
      {"D03", "Hiperlordose lombar"},
      {"E01", "Joelho hiperestendido"},
      {"E02", "Ombros protusos"},
  };
  for (const auto& [code, text] : findings)
    insert(db, QStringLiteral("POSTURAL"),
           {{QStringLiteral("POSTURAL"), QString::fromLatin1(code)},
            {QStringLiteral("DESCRICAO"), QString::fromUtf8(text)}});
}

struct DemoMember {
  int number;
  const char* name;
  const char* sex;
  QDate birth;
  const char* address;
  const char* phone;
  const char* job;
};

void addMember(const QSqlDatabase& db, const DemoMember& m) {
  const QString name = QString::fromUtf8(m.name);
  insert(db, QStringLiteral("ALUNOS"),
         {{QStringLiteral("MATRICULA"), registration(m.number)},
          {QStringLiteral("NOME"), name},
          {QStringLiteral("SEXO"), QString::fromLatin1(m.sex)},
          {QStringLiteral("DATA_NASCIMENTO"), m.birth},
          {QStringLiteral("ENDERECO"), QString::fromUtf8(m.address)},
          {QStringLiteral("TELEFONE"), QString::fromLatin1(m.phone)},
          {QStringLiteral("PROFISSAO"), QString::fromUtf8(m.job)}});
  insert(db, QStringLiteral("FotosAlunos"),
         {{QStringLiteral("MATRICULA"), registration(m.number)},
          {QStringLiteral("FOTO1"), demoPhoto(name, m.number)}});
}

// One body composition, the results worked out from the weight and the fat as the assessment
// program would store them.
void addBodyComposition(const QSqlDatabase& db, const QString& matricula, const QDate& day,
                        const QString& protocol, double weight, double height, double fat3,
                        double fat7, double idealFat) {
  QVariantMap row{{QStringLiteral("MATRICULA"), matricula},
                  {QStringLiteral("DATAEXAME"), day},
                  {QStringLiteral("G_TIPOPROTOCOLO"), protocol},
                  // The protocol whose fat the series sheet prints.
                  {QStringLiteral("G_TIPO"), protocol.left(1)},
                  {QStringLiteral("G_PESO"), weight},
                  {QStringLiteral("G_ALTURA"), height},
                  {QStringLiteral("G_PEITORAL"), 8 + fat3 / 3},
                  {QStringLiteral("G_ABDOMEM"), 12 + fat3 / 2},
                  {QStringLiteral("G_SUPRAILIACA"), 10 + fat3 / 3},
                  {QStringLiteral("G_COXA"), 11 + fat3 / 3},
                  {QStringLiteral("G_TRICIPES"), 9 + fat3 / 4},
                  {QStringLiteral("G_SUBESCAPULAR"), 12 + fat3 / 4},
                  {QStringLiteral("G_AXILARMEDIA"), 9 + fat3 / 4},
                  {QStringLiteral("G_CINTURA"), 60 + weight / 4},
                  {QStringLiteral("G_QUADRIL"), 80 + weight / 5}};
  const double ratio = (60 + weight / 4) / (80 + weight / 5);
  row.insert(QStringLiteral("G_CINTURA_QUADRIL_VALOR"), ratio);
  row.insert(QStringLiteral("G_RESULTADO_CINTURA"),
             ratio < 0.85 ? QStringLiteral("Risco baixo") : QStringLiteral("Risco moderado"));
  const double imc = weight / ((height / 100) * (height / 100));
  row.insert(QStringLiteral("G_IMCVALOR"), imc);
  row.insert(QStringLiteral("G_IMCRESULTADO"),
             imc < 25 ? QStringLiteral("Normal") : QStringLiteral("Sobrepeso"));
  const auto results = [&](const QString& prefix, double fat) {
    const double lean = weight * (1 - fat / 100);
    row.insert(QStringLiteral("G_%1GORDURA_A").arg(prefix), fat);
    row.insert(QStringLiteral("G_%1GORDURA_FAIXA").arg(prefix), QStringLiteral("15 a 18 %"));
    row.insert(QStringLiteral("G_%1GORDURA_M").arg(prefix),
               fat > 20 ? QStringLiteral("Acima da média") : QStringLiteral("Na média"));
    row.insert(QStringLiteral("G_%1PESO_GORDO").arg(prefix), weight - lean);
    row.insert(QStringLiteral("G_%1PESO_MAGRO").arg(prefix), lean);
    row.insert(QStringLiteral("G_%1PESO_IDEAL").arg(prefix), lean / (1 - idealFat / 100));
    row.insert(QStringLiteral("G_%1GORDURA_IDEAL").arg(prefix), QString::number(int(idealFat)));
  };
  results(QStringLiteral("3DOBRAS"), fat3);
  results(QStringLiteral("7DOBRAS"), fat7);
  for (int i = 1; i <= 7; ++i) row.insert(QStringLiteral("G_OUTRA%1").arg(i), 0.0);
  insert(db, QStringLiteral("CORPORAL"), row);
  insert(
      db, QStringLiteral("AVALIACAO"),
      {{QStringLiteral("MATRICULA"), matricula},
       {QStringLiteral("DATAEXAME"), day},
       {QStringLiteral("A_PESO"), weight},
       {QStringLiteral("A_ALTURA"), height},
       {QStringLiteral("USUARIO"), QStringLiteral("01")},
       {QStringLiteral("LIBERA_AVALIACAO"), QStringLiteral("S")},
       {QStringLiteral("VO2MAX"), 38.5 + fat7 / 10},
       {QStringLiteral("VO2MAXRESULTADO"), QStringLiteral("Bom")},
       {QStringLiteral("OBS_POSTURAL"),
        QStringLiteral("Desvios leves; exercícios de fortalecimento do core indicados.")},
       {QStringLiteral("OBS_POSTURAL2"), QStringLiteral("Alongar peitorais e cadeia posterior.")},
       {QStringLiteral("OBS_ERGOMETRICO"),
        QStringLiteral("Teste em cicloergômetro sem intercorrências.")}});
}

// Everything else of one assessment: the sections besides the body composition.
void addFullAssessment(const QSqlDatabase& db, const QString& m, const QDate& day, bool man) {
  insert(
      db, QStringLiteral("Anamnese"),
      {{QStringLiteral("MATRICULA"), m},
       {QStringLiteral("DATAEXAME"), day},
       {QStringLiteral("A_RACA"), QStringLiteral("Parda")},
       {QStringLiteral("A_TABAGISTA"), man ? QStringLiteral("Sim") : QStringLiteral("Não")},
       {QStringLiteral("A_NCIGARROS"), man ? 5 : 0},
       {QStringLiteral("A_TEMPO_CIGARRO"), man ? QStringLiteral("3 anos") : QString()},
       {QStringLiteral("A_MEDICAMENTOS"), QStringLiteral("Nenhum")},
       {QStringLiteral("A_FREQCARDIACA"), QStringLiteral("72")},
       {QStringLiteral("A_PRESSAOARTERIALMIN"), 80.0},
       {QStringLiteral("A_PRESSAOARTERIALMAX"), 120.0},
       {QStringLiteral("A_BEBIDA"), QStringLiteral("Socialmente")},
       {QStringLiteral("A_DOENCAFAMILIA"), true},
       {QStringLiteral("A_TIPOFAMILIA"), QStringLiteral("Hipertensão (pai)")},
       {QStringLiteral("A_DOENCAPESSOAL"), false},
       {QStringLiteral("A_CIRURGIA"), !man},
       {QStringLiteral("A_TIPOCIRURGIA"), man ? QString() : QStringLiteral("Apendicectomia")},
       {QStringLiteral("A_ALERGIA"), false},
       {QStringLiteral("A_LESAO"), man},
       {QStringLiteral("A_TIPOLESAO"), man ? QStringLiteral("Entorse de tornozelo") : QString()},
       {QStringLiteral("A_DIETA"), man ? QStringLiteral("1") : QStringLiteral("0")},
       {QStringLiteral("A_TIPODIETA"), QStringLiteral("Orientação nutricional")},
       {QStringLiteral("A_HISTORICOOCUPACIONAL"), QStringLiteral("Trabalho em escritório")},
       {QStringLiteral("A_TEMPOMANHA"), true},
       {QStringLiteral("A_TEMPONOITE"), true},
       {QStringLiteral("A_OBJPERDA"), man},
       {QStringLiteral("A_OBJFISICO"), true},
       {QStringLiteral("A_OBJGANHO"), !man},
       {QStringLiteral("A_OBJPOSTURAL"), !man},
       {QStringLiteral("A_MMSS"), true},
       {QStringLiteral("A_ABDOMEM"), man},
       {QStringLiteral("A_GLUTEO"), !man},
       {QStringLiteral("A_PRATICAATUAL"), true},
       {QStringLiteral("A_ATIVIDADEATUAL"), QStringLiteral("Corrida")},
       {QStringLiteral("A_TEMPOPRATICA"), QStringLiteral("6 meses")},
       {QStringLiteral("A_NVEZES"), QStringLiteral("3")},
       {QStringLiteral("A_PRATICAANTES"), true},
       {QStringLiteral("A_ATIVIDADEANTES"), QStringLiteral("Natação")},
       {QStringLiteral("A_TEMPOPAROU"), QStringLiteral("2 anos")},
       {QStringLiteral("A_NREFEICOES"), 5},
       {QStringLiteral("A_HORASSONO"), QStringLiteral("7")},
       {QStringLiteral("A_SONOTIPO"), QStringLiteral("Bom")},
       {QStringLiteral("A_DORESOBS"), QStringLiteral("Lombalgia ocasional")},
       {QStringLiteral("A_DIADISPONIVEL"), QStringLiteral("Segunda a sexta")},
       {QStringLiteral("A_MEDICAPRESSAO"), QStringLiteral("12x8")},
       {QStringLiteral("A_ECTOSCOPIA_OUTROS"), QStringLiteral("Sem alterações")},
       {QStringLiteral("A_CARDIO_OUTROS"), QStringLiteral("Ritmo regular, bulhas normofonéticas")},
       {QStringLiteral("A_RESPIRATORIO_OUTROS"), QStringLiteral("Murmúrio vesicular presente")},
       {QStringLiteral("A_HPP"), QStringLiteral("Sem doenças prévias relevantes")},
       {QStringLiteral("A_ORTOPEDIA"), QStringLiteral("Nenhuma")},
       {QStringLiteral("A_MEDICAMENTOSM"), QStringLiteral("Nenhum")},
       {QStringLiteral("A_NBEBIDA"), 2.0},
       {QStringLiteral("A_HISTORICO_DAC"), 0.0},
       {QStringLiteral("A_HISTORICO_DM"), 0.0},
       {QStringLiteral("A_HISTORICO_HAS"), 1.0},
       {QStringLiteral("A_QUEIXAS"), QStringLiteral("Cansaço ao subir escadas")},
       {QStringLiteral("A_EXAMES_COMPLEMENTAR"), QStringLiteral("Hemograma e perfil lipídico")},
       {QStringLiteral("A_EXAMESOLITADO"), day.addDays(-20)},
       {QStringLiteral("A_EXAMEENTREGUE"), day.addDays(-5)},
       {QStringLiteral("A_RECOMENDACOES"),
        QStringLiteral("Apto para atividade física; aumentar a intensidade aos poucos.")},
       {QStringLiteral("A_POSICAO"), QStringLiteral("Sentado")},
       {QStringLiteral("A_OUTROS_OBS"), QStringLiteral("-")},
       {QStringLiteral("A_MEDICO"), QStringLiteral("03")}});
  insert(db, QStringLiteral("CARDIACO"),
         {{QStringLiteral("MATRICULA"), m},
          {QStringLiteral("DATAEXAME"), day},
          {QStringLiteral("R_IDADE"), QStringLiteral("3")},
          {QStringLiteral("R_DOENCA"), QStringLiteral("2")},
          {QStringLiteral("R_PESO1"), QStringLiteral("3")},
          {QStringLiteral("R_FUMO"), man ? QStringLiteral("3") : QStringLiteral("1")},
          {QStringLiteral("R_TRABALHO"), QStringLiteral("4")},
          {QStringLiteral("R_COLESTEROL"), QStringLiteral("2")},
          {QStringLiteral("R_PRESSAOARTERIAL1"), QStringLiteral("2")},
          {QStringLiteral("R_SEXO1"), man ? QStringLiteral("4") : QStringLiteral("1")},
          {QStringLiteral("R_RESULTADOATUAL"), man ? 23.0 : 16.0}});
  insert(db, QStringLiteral("MUSCULAR"),
         {{QStringLiteral("MATRICULA"), m},
          {QStringLiteral("DATAEXAME"), day},
          {QStringLiteral("M_TORAX_MED"), man ? 98.5 : 86.0},
          {QStringLiteral("M_CINTURA_MED"), man ? 86.0 : 68.5},
          {QStringLiteral("M_ABDOMEM_MED"), man ? 90.0 : 74.0},
          {QStringLiteral("M_QUADRIL_MED"), man ? 99.0 : 97.0},
          {QStringLiteral("M_BRACO_DMED"), man ? 33.5 : 27.0},
          {QStringLiteral("M_BRACO_EMED"), man ? 32.0 : 26.5},
          {QStringLiteral("M_BRACO_D"), man},
          {QStringLiteral("M_ANTEBRACO_DMED"), man ? 28.0 : 23.0},
          {QStringLiteral("M_ANTEBRACO_EMED"), man ? 27.5 : 23.0},
          {QStringLiteral("M_COXA_DMED"), man ? 55.0 : 54.0},
          {QStringLiteral("M_COXA_EMED"), man ? 55.5 : 53.0},
          {QStringLiteral("M_PERNA_DMED"), man ? 37.0 : 35.0},
          {QStringLiteral("M_PERNA_EMED"), man ? 37.0 : 34.5},
          {QStringLiteral("M_COXA_DPROX"), man ? 60.0 : 59.0},
          {QStringLiteral("M_COXA_EPROX"), man ? 59.0 : 58.0},
          {QStringLiteral("M_TORAX_INS"), man ? 101.0 : 89.0},
          {QStringLiteral("M_TORAX_EXP"), man ? 96.0 : 85.0},
          {QStringLiteral("M_CAUSA_FUNCIONAL"), man},
          {QStringLiteral("M_MEMOOBS"), QStringLiteral("Medidas tomadas pela manhã.")}});
  insert(
      db, QStringLiteral("PRESCRICAO"),
      {{QStringLiteral("MATRICULA"), m},
       {QStringLiteral("DATAEXAME"), day},
       {QStringLiteral("PRESCRICAO"), man ? QStringLiteral("010203") : QStringLiteral("0104")},
       {QStringLiteral("EXAME_MEDICO"), true},
       {QStringLiteral("EXAME_NUTRICIONAL"), man},
       {QStringLiteral("EXAME_OUTROS"), man ? QString() : QStringLiteral("Avaliação podológica")},
       {QStringLiteral("MEMO_RECOMENDACOES"),
        QStringLiteral("Hidratar-se bem e respeitar os intervalos de descanso.")},
       {QStringLiteral("REAVALIACAO"), day.addMonths(3)},
       {QStringLiteral("3X"), QStringLiteral("Musculação")},
       {QStringLiteral("2X"), QStringLiteral("Natação")}});
  insert(db, QStringLiteral("FlexTeste"),
         {{QStringLiteral("MATRICULA"), m},
          {QStringLiteral("DATAEXAME"), day},
          {QStringLiteral("FLEX1"), QStringLiteral("2")},
          {QStringLiteral("FLEX2"), QStringLiteral("3")},
          {QStringLiteral("FLEX3"), QStringLiteral("2")},
          {QStringLiteral("FLEX4"), QStringLiteral("2")},
          {QStringLiteral("RESULTADO"), 9.0},
          {QStringLiteral("DESCRICAO"), QStringLiteral("Média(+)")}});
  const int effort[] = {112, 128, 141, 155, 168};
  for (int minute = 1; minute <= 5; ++minute)
    insert(db, QStringLiteral("Ergomatrico"),
           {{QStringLiteral("MATRICULA"), m},
            {QStringLiteral("DATA"), day},
            {QStringLiteral("TEMPO"), QString::number(minute)},
            {QStringLiteral("CARGA"), 50.0 + 25 * minute},
            {QStringLiteral("FREQCARDIACA"), effort[minute - 1] + (man ? 0.0 : 6.4)},
            {QStringLiteral("PRESSAOARTERIAL"), QStringLiteral("13x8")},
            {QStringLiteral("PERCEPCAOESFORCO"), 11.0 + minute}});
  const int recovery[] = {142, 118, 101};
  for (int minute = 1; minute <= 3; ++minute)
    insert(db, QStringLiteral("Recuperacao"),
           {{QStringLiteral("MATRICULA"), m},
            {QStringLiteral("DATA"), day},
            {QStringLiteral("TEMPO"), QString::number(minute)},
            {QStringLiteral("FREQCARDIACA"), double(recovery[minute - 1])},
            {QStringLiteral("PRESARTERIAL"), QStringLiteral("12x8")},
            {QStringLiteral("FREQ_CARDIACA_REPOUSO"), man ? 68.0 : 74.0},
            {QStringLiteral("PRES_ARTERIAL_REPOUSO"), QStringLiteral("12x8")},
            {QStringLiteral("PESO"), man ? 82.0 : 61.0}});
  const struct {
    const char* table;
    int count;
    const char* grade;
  } tests[] = {{"TesteFlexibilidade", man ? 31 : 35, "Média"},
               {"TesteAbdominal", man ? 38 : 30, "Acima da Média"},
               {"TesteFlexao", man ? 24 : 16, "Média"}};
  for (const auto& test : tests)
    insert(db, QString::fromLatin1(test.table),
           {{QStringLiteral("MATRICULA"), m},
            {QStringLiteral("DATAEXAME"), day},
            {QStringLiteral("NUMEROREPETICOES"), test.count},
            {QStringLiteral("CLASSIFICACAO"), QString::fromUtf8(test.grade)},
            {QStringLiteral("META"), QStringLiteral("Acima da Média")}});
  const struct {
    const char* code;
    const char* position;
  } findings[] = {{"F01", "160150"}, {"F02", "120190"}, {"F03", "170420"}, {"C01", "200210"},
                  {"C02", "150260"}, {"D01", "180140"}, {"D03", "140300"}, {"E02", "190200"}};
  int order = 0;
  for (const auto& finding : findings)
    insert(db, QStringLiteral("EXAME"),
           {{QStringLiteral("MATRICULA"), m},
            {QStringLiteral("DATA"), day},
            {QStringLiteral("POSTURAL"), QString::fromLatin1(finding.code)},
            {QStringLiteral("POSICAO"), QString::fromLatin1(finding.position)},
            {QStringLiteral("ORDEM"), ++order}});
}

}  // namespace

void addDemoAssessments(const QSqlDatabase& db) {
  const QDate today = QDate::currentDate();
  addSettings(db);
  addReferenceTables(db);
  const DemoMember bruno{2,
                         "BRUNO CARVALHO LIMA",
                         "M",
                         QDate(1988, 5, 14),
                         "AV. ATLANTICA, 46",
                         "(21) 2222-1074",
                         "ANALISTA"};
  const DemoMember ana{1,
                       "ANA BEATRIZ MOREIRA",
                       "F",
                       QDate(1993, 9, 2),
                       "RUA VOLUNTARIOS DA PATRIA, 33",
                       "(21) 2222-1037",
                       "ANALISTA"};
  addMember(db, bruno);
  addMember(db, ana);
  // Bruno: nine assessments two months apart, losing fat; the newest has every section.
  for (int k = 8; k >= 0; --k) {
    const QDate day = today.addDays(-60 * k);
    const double weight = 80.4 + k * 1.35;
    addBodyComposition(db, registration(2), day,
                       k == 0 ? QStringLiteral("37IQ") : QStringLiteral("37"), weight, 178,
                       17.2 + k * 0.9, 18.1 + k * 0.9, 15);
    if (k == 0 || k == 4) addFullAssessment(db, registration(2), day, true);
  }
  // Ana: four assessments three months apart.
  for (int k = 3; k >= 0; --k) {
    const QDate day = today.addDays(-90 * k - 7);
    addBodyComposition(db, registration(1), day, QStringLiteral("37I"), 61.2 + k * 0.8, 165,
                       23.5 + k * 0.7, 24.2 + k * 0.7, 20);
    if (k == 0) addFullAssessment(db, registration(1), day, false);
  }
}

void addDemoActivities(const QSqlDatabase& gymDb) {
  if (scalarSql(gymDb, QStringLiteral("SELECT COUNT(*) FROM Atividades")).toInt() > 0) return;
  const std::pair<const char*, const char*> activities[] = {{"01", "MUSCULACAO"},
                                                            {"02", "NATACAO"},
                                                            {"03", "SPINNING"},
                                                            {"04", "PILATES"},
                                                            {"05", "HIDROGINASTICA"}};
  for (const auto& [code, description] : activities)
    runSql(gymDb, QStringLiteral("INSERT INTO Atividades (CODIGO, DESCRICAO) VALUES (?, ?)"),
           {QString::fromLatin1(code), QString::fromLatin1(description)});
}
