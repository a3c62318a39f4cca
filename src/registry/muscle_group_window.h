// TFRMGRUPAMENTOMUSCULAR ("Grupamento Muscular") and its listing window.
#pragma once

#include "forms/range_listing_window.h"
#include "forms/registry_window.h"

class TFRMGRUPAMENTOMUSCULAR : public RegistryWindow {
  Q_OBJECT

 public:
  explicit TFRMGRUPAMENTOMUSCULAR(Session& session, QWidget* parent = nullptr);

 protected:
  bool ABRE_TABELAS() override;
  void currentRowChanged() override;

 private:
  bool openTable();
  void showCurrentGroup();
  void startInsert();
  void SBALTERARClick();
  void SBEXCLUIRClick();
  void SBCONSULTARClick();
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();
  void backToBrowse();
};

class TFRMCONSULTAGRUPAMENTOMUSCULAR : public RangeListingWindow {
  Q_OBJECT

 public:
  explicit TFRMCONSULTAGRUPAMENTOMUSCULAR(QWidget* parent = nullptr);
};
