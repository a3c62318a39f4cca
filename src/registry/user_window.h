// TFRMCADASTRODEUSUARIOS ("Usuários"): the people who log in, their passwords and the
// instructor each one is linked to.
#pragma once

#include "forms/registry_window.h"
#include "registry/user_store.h"

class TFRMCADASTRODEUSUARIOS : public RegistryWindow {
  Q_OBJECT

 public:
  explicit TFRMCADASTRODEUSUARIOS(Session& session, QWidget* parent = nullptr);

 protected:
  bool ABRE_TABELAS() override;
  void currentRowChanged() override;

 private:
  bool openTables();
  bool linksStaff() const { return linkStaff_; }
  void showCurrentUser();
  void showPasswordEdits(bool current, bool fresh);

  void SBINCLUIRClick();
  void SBALTERARClick();
  void SBEXCLUIRClick();
  void SBCONSULTARClick();
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();
  void backToBrowse();

  void codeEntered();
  void nameEntered();
  void staffEntered();
  void currentPasswordEntered();
  void newPasswordEntered();
  void retypeEntered();

  bool linkStaff_ = false;
  QString staffTable_;
  int passwordAttempts_ = 1;
};
