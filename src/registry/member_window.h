// TFRMALUNOS ("Alunos"): the members of the gym, kept when the program runs alone.
#pragma once

#include <QHash>
#include <QVariant>
#include <functional>

#include "app/child_window.h"
#include "app/globals.h"

class FieldChain;
class PagedTableModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class SearchPanel;
struct MemberForm;

class TFRMALUNOS : public ChildWindow {
  Q_OBJECT

 public:
  enum class Mode { Browse, Search, Insert, Change, Delete };

  explicit TFRMALUNOS(QWidget* parent = nullptr);
  ~TFRMALUNOS() override;

  bool hasCloseBox() const override { return false; }
  Mode mode() const { return mode_; }
  const QString& selectedMatricula() const { return selected_.str(); }
  PagedTableModel* model() const { return model_; }

  // Chooses the photo file to import (a file dialog by default; tests give a path).
  static void setPhotoFileChooser(std::function<QString(QWidget*)> chooser);

 protected:
  bool ABRE_TABELAS() override;

 private:
  void buildWindow();
  void buildFields(QWidget* area);
  void buildChain();
  QLineEdit* edit(const char* name) const;
  QWidget* field(const QString& name) const { return fields_.value(name); }

  void ATIVA_BOTOES();
  void DESATIVA_BOTOES();
  void setFieldsEnabled(bool enabled);
  void setEditButtons(bool confirmCancel, bool photoButtons);
  void enterBrowse();

  void showCurrentMember();
  void showForm(const MemberForm& form);
  MemberForm readForm() const;
  void MOSTRA_FOTO();
  void showPicture(const QVariant& photo);
  int currentRow() const;
  void selectRow(int row);

  void SBPROCURAClick();
  void SBINCLUIRClick();
  void SBALTERARClick();
  void SBEXCLUIRClick();
  bool TESTA_EXCLUSAO();
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();
  void BBNFOTOClick();
  bool CARREGA_FOTO();
  void numberingFailed();

  void searchTextEdited(const QString& text);
  void searchEntered(const QString& text);
  void searchReturned();
  void gridDoubleClicked();
  bool lookUpSelected();

  Mode mode_ = Mode::Browse;
  FixedText<10> selected_;
  bool photoFollows_ = false;
  QVariant photo_;  // the photo row being edited
  QString numbering_;  // CODIGOSEQ
  QString capture_;    // CAPTURA_WEB

  PagedTableModel* model_ = nullptr;
  QTableView* DBGALUNOS = nullptr;
  SearchPanel* PNLPROCURA = nullptr;
  FieldChain* chain_ = nullptr;
  QHash<QString, QWidget*> fields_;
  QHash<QString, QPushButton*> buttons_;
  QLabel* Image1 = nullptr;
  QPushButton* PNLLIMPA = nullptr;
};
