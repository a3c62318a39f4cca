// Reading one assessment of a member from the assessment database, with the member, the gym's
// activities and the evaluators it names: everything the printout shows, read once before it
// is laid out. The assessment database is only ever read.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

#include "assessment/assessment_rules.h"
#include "base/failure.h"
#include "data/settings_record.h"

// A row's value by column name; null when the row or the column is missing (a section whose
// table has no row for the assessment prints its captions with blank values).
QVariant fieldOf(const QSqlRecord& record, const QString& column);
QString textOf(const QSqlRecord& record, const QString& column);
double numberOf(const QSqlRecord& record, const QString& column);
bool flagOf(const QSqlRecord& record, const QString& column);

// The assessment program's settings row (`Savcvar`) and what the selection reads from it.
struct AssessmentSettings {
  QSqlRecord row;

  SectionSwitches switches() const;
  bool memberInAssessmentDb() const;  // PATH_AVALIA "Sim"
  bool activeMembersOnly() const;     // AlunosAtivos "Sim"
  bool showsBodyResults() const;      // MOSTRA_RESULTADO_CORPORAL is not "Não"
  bool showsDoctorFindings() const;   // MOSTRA_MEDICA is not "Não"
  // The report's footer: the gym's name, address and complement.
  QString footer() const;
};

// The settings row; an empty record when the table has none. Throws SqlError.
AssessmentSettings readAssessmentSettings(const QSqlDatabase& assessmentDb);

// The dates of the member's assessments, in date order. Throws SqlError.
QList<QDate> assessmentDates(const QSqlDatabase& assessmentDb, const QString& matricula);

// The protocol text (`G_TIPOPROTOCOLO`) of the assessment's body composition; empty when it has
// none. Throws SqlError.
QString assessmentProtocol(const QSqlDatabase& assessmentDb, const QString& matricula,
                           const QDate& date);

struct AssessmentData {
  QString matricula;
  QDate date;
  QString age;  // as the builder works it out
  AssessmentSettings settings;
  QSqlRecord member;  // MATRICULA, NOME, SEXO, ... of the member
  QByteArray photo;   // the member's photo, JPEG bytes; empty when none
  QSqlRecord avaliacao;
  QSqlRecord anamnese;
  QSqlRecord cardiaco;
  QSqlRecord muscular;
  QSqlRecord corporal;
  QSqlRecord prescricao;
  QSqlRecord flexTeste;
  QSqlRecord testeFlexibilidade;
  QSqlRecord testeAbdominal;
  QSqlRecord testeFlexao;
  QList<QSqlRecord> ergometrico;      // by TEMPO
  QList<QSqlRecord> recuperacao;      // in stored order
  QList<PosturalFinding> findings;    // by ORDEM
  QList<ComparisonRow> comparison;    // the member's compared assessments, in date order
  QMap<QString, QString> activities;  // CODIGO -> DESCRICAO of the gym's activities
  QMap<QString, QString> evaluators;  // CODIGO -> NOMECOMPLETO of the assessment's users
  QString gymName;                    // the workout settings' gym name (the cover)

  QString sex() const { return textOf(member, QStringLiteral("SEXO")); }
};

// What to read: the member, the day, the sections chosen and the builder's values.
struct AssessmentRequest {
  QString matricula;
  QDate date;
  QSet<Section> sections;
  QString age;
  Settings settings;  // the workout settings (the gym's name, where the members are kept)
};

// Reads the assessment and what its chosen sections need. A table that cannot be read is
// "Abertura de tabela !" with its name; an assessment database that cannot be reached is
// "Tamsel não está Ativo ...".
Result<AssessmentData> readAssessment(const AssessmentRequest& request);

// The sections the assessment of `matricula` on `date` offers, by the assessment program's
// switches and the assessment's protocol. "Nenhum resultado encontrado !" when the member has
// no assessment that day; "Abertura de tabela !" with "Controle" or "Avaliacao" when those
// cannot be read.
Result<QSet<Section>> offeredSections(const QString& matricula, const QDate& date);
