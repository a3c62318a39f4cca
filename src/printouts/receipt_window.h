// TFRMIMPSERIE40COLUNAS, "Ficha de Exercícios": at the gym floor a member types his
// registration number and a workout number (1 = A ... 5 = E) and gets his current series of
// that workout on the receipt printer.
#pragma once

#include <QDialog>
#include <memory>

#include "printouts/series_on_screen.h"
#include "registry/people_source.h"

class Session;

class Connection;
class QLabel;
class QLineEdit;

class TFRMIMPSERIE40COLUNAS : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMIMPSERIE40COLUNAS(Session& session, QWidget* parent = nullptr);
  ~TFRMIMPSERIE40COLUNAS() override;

  // Reads the settings and opens the members; false after telling the user (the window then
  // closes).
  bool ABRE_TABELAS();

  // Where the series goes when the settings put it on screen instead of the printer.
  void setSeriesOnScreenOpener(SeriesOnScreenOpener opener) { onScreen_ = std::move(opener); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Session& session_;

  void registrationEntered();
  void workoutEntered();
  void MOSTRA_FOTO(const QString& matricula);
  void IMP_SERIE_40_COLUNOS(const QString& number);
  void backToRegistration();
  void showOnScreen(const QString& letter);

  SeriesOnScreenOpener onScreen_;
  Settings settings_;
  PeopleTables people_;
  std::unique_ptr<Connection> peopleConnection_;
  bool opened_ = false;

  QLineEdit* EDTMATRICULA = nullptr;
  QLabel* LBLNOME = nullptr;
  QLineEdit* EDTTREINO = nullptr;
  QLabel* Image1 = nullptr;
};
