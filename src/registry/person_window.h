// The twin registry windows of members and staff: the same buttons, search panel, grid,
// photo panel, modes and writes; each window says where it differs.
#pragma once

#include <QTimer>
#include <QVariant>
#include <functional>
#include <optional>

#include "base/globals.h"
#include "base/messages.h"
#include "data/settings_record.h"
#include "forms/registry_window.h"
#include "registry/person_store.h"

class QLabel;
class SearchPanel;

// The fields members and staff share, first in both windows: number, name, sex, address,
// state, CEP and birth date.
const QList<FieldDef>& personFields();

class PersonWindow : public RegistryWindow {
  Q_OBJECT

 public:
  // Captions and message details of one window.
  struct Texts {
    QString browse;                      // "Alunos"
    QString insert;                      // "INCLUSÃO DE ALUNOS"
    QString change;                      // "ALTERAÇÃO DE ALUNOS"
    QString remove;                      // "EXCLUSÃO DE ALUNOS"
    QString searchButton;                // "Procura de Alunos"
    QString emptyOnChange;               // detail of "Tabela vazia !" on "Alterar"
    QString emptyOnDelete;               // ... on "Excluir"
    QString tableDetail;                 // detail of "Abertura de tabela !" for the person table
    bool nameSearchLettersOnly = false;  // the search by name takes letters and blanks only
    // Enter on an empty search text, by number and by name (message, then detail).
    QString emptyNumberSearch = Msg::MatriculaIncorreta;
    QString emptyNameSearch = Msg::DadoIncorreto;
    QString emptyNameSearchDetail = QStringLiteral("Nome");
  };

  PersonWindow(Session& session, const Texts& texts, const PersonTable& table,
               QWidget* parent = nullptr);

  const QString& selectedMatricula() const { return selected_.str(); }

  // Chooses the photo file to import (a file dialog by default, and again after nullptr).
  static void setPhotoFileChooser(std::function<QString(QWidget*)> chooser);

 protected:
  // Lays out the window around `fields` (the Enter chain follows their order).
  void build(const QList<FieldDef>& fields, const char* gridName,
             const QList<std::pair<QString, QString>>& gridColumns);

  bool ABRE_TABELAS() override;

  // Where the windows differ.
  virtual bool openOwnTables() { return true; }
  virtual std::optional<FieldRefusal> confirmChecks(PersonForm& form) = 0;
  // The new person's number: a number, an empty text (the user types it), or nullopt when it
  // cannot be worked out. `rows` is how many people the table holds.
  virtual std::optional<QString> numberForNewPerson(int rows) = 0;
  virtual void newPersonDefaults(PersonForm& fresh, const QSqlRecord& onScreen) = 0;
  virtual bool TESTA_EXCLUSAO() { return true; }
  // The registration number a search text stands for, and whether it must match exactly.
  virtual QString searchNumber(const QString& text) const { return padMatricula(text); }
  virtual bool searchNumberExactly() const { return false; }
  virtual void searchFound() {}
  virtual void afterCancel();
  // Fields not bound to a column (the staff's schooling list).
  virtual void showUnbound(const PersonForm&) {}
  virtual void readUnbound(PersonForm&) const {}
  const Settings& settings() const { return settings_; }

  void currentRowChanged() override;
  void showCurrentPerson();
  void showCurrentFields();
  // The photo of a row the cursor reaches follows once the keys pause; an edit, a save or a
  // capture first takes the photo of the row as it is (holdPhoto).
  void holdPhoto();
  bool lookUpSelected();
  void enterBrowse(const QString& caption);

  FixedText<10> selected_;
  SearchPanel* PNLPROCURA = nullptr;

 private:
  void buildPhotoColumn();
  void buildChain(const QList<FieldDef>& fields);
  void setPhotoButtons(bool enabled);
  void MOSTRA_FOTO();
  void showPicture(const QVariant& photo);

  void SBPROCURAClick();
  void SBINCLUIRClick();
  void SBALTERARClick();
  void SBEXCLUIRClick();
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();
  void BBNFOTOClick();
  bool CARREGA_FOTO();
  void numberingFailed();

  void searchTextEdited(const QString& text);
  void searchEntered(const QString& text);
  void searchReturned();
  void gridDoubleClicked();

  Texts texts_;
  const PersonTable& table_;
  Settings settings_;
  bool photoFollows_ = false;
  QTimer photoTimer_;
  QVariant photo_;               // the photo row being edited
  bool numberProposed_ = false;  // the new person's number came from the numbering
  QLabel* Image1 = nullptr;
};
