// "Copiar de": finds another member (by registration or by name, as every member list does) and
// a letter of that member's series, whose current workout the builder then brings into the
// letter being edited.
#pragma once

#include <QDialog>
#include <memory>

#include "base/globals.h"
#include "registry/member_search.h"
#include "registry/people_source.h"

class Connection;
class QComboBox;
class QPushButton;

class TFRMCOPIARDE : public QDialog {
  Q_OBJECT

 public:
  TFRMCOPIARDE(const PeopleTables& people, QWidget* parent = nullptr);
  ~TFRMCOPIARDE() override;

  MemberSearch* search() const { return search_; }
  QComboBox* letters() const { return CBTREINOCOPIA; }
  // The member and the letter chosen, once accepted.
  QString matricula() const;
  QString letter() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  PeopleTables people_;
  std::unique_ptr<Connection> connection_;
  FixedText<10> remembered_;
  bool opened_ = false;
  MemberSearch* search_ = nullptr;
  QComboBox* CBTREINOCOPIA = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  QPushButton* BBNCANCELA = nullptr;
};
