// TFRMRELATORIOFREQUENCIAAULASCOLETIVAS, "Relatório de Agenda de Aula Coletiva": the attendance
// report of one class or every class ("99 - TODAS") over a period, members by registration or
// by name, previewed or printed. Opened from the booking window, whose classes and cash
// opening it starts from.
#pragma once

#include <QDate>
#include <QDialog>

#include "classes/class_booking_flow.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFRMRELATORIOFREQUENCIAAULASCOLETIVAS : public QDialog {
  Q_OBJECT

 public:
  TFRMRELATORIOFREQUENCIAAULASCOLETIVAS(const BookingDesk& desk, const QList<GroupClass>& classes,
                                       const QDate& cashOpening, QWidget* parent = nullptr);

  // Reads the choices and previews (or prints) the report; false when a date was refused.
  bool VIDEO_IMPRESSORA(bool preview);

 private:
  BookingDesk desk_;
  QComboBox* CBAULAS = nullptr;
  QLineEdit* EDTDATAINICIAL = nullptr;
  QLineEdit* EDTDATAFINAL = nullptr;
  QRadioButton* byMatricula_ = nullptr;
  QRadioButton* byNome_ = nullptr;
  QPushButton* BBNVIDEO = nullptr;
  QPushButton* BBNIMPRIME = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};
