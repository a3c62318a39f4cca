// TFRMPARAMETRIZACAODOSISTEMA ("Configuração do Sistema"): the settings row on three pages,
// "Controle", "Logotipo" and "E-mail". Confirm writes it, copies the settings the program keeps
// in process-wide values and refreshes the main menu, so the changes take effect at once.
#pragma once

#include <QHash>
#include <functional>
#include <memory>

#include "forms/child_window.h"
#include "maintenance/configuration_store.h"

class FieldChain;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFRMPARAMETRIZACAODOSISTEMA : public ChildWindow {
  Q_OBJECT

 public:
  enum Page { Controle, Logotipo, Email };

  explicit TFRMPARAMETRIZACAODOSISTEMA(Session& session, QWidget* parent = nullptr);
  ~TFRMPARAMETRIZACAODOSISTEMA() override;

  // Chooses a JPEG file (a file dialog by default, and again after nullptr).
  using FileChooser =
      std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>;
  static void setFileChooser(FileChooser chooser);

  Page page() const { return page_; }

 protected:
  bool ABRE_TABELAS() override;

 private:
  QWidget* buildControlePage();
  QWidget* buildLogoPage();
  QWidget* buildEmailPage();
  QGroupBox* buildPrintingGroup(QWidget* parent);
  QGroupBox* buildVideoGroup(QWidget* parent);
  QGroupBox* buildSerialGroup(QWidget* parent);
  void buildPageSelector(QWidget* parent, QLayout* layout);

  // Bound controls: each shows one column of the row.
  QComboBox* addList(QGridLayout* grid, int row, QLatin1StringView column, const char* name,
                     const QString& label, const QStringList& items);
  QLineEdit* addEdit(QGridLayout* grid, int row, QLatin1StringView column, const char* name,
                     const QString& label, int maxLength);
  QLineEdit* addDigits(QGridLayout* grid, int row, QLatin1StringView column, const char* name,
                       const QString& label, int maxLength);
  void bind(QLatin1StringView column, QWidget* control);

  void showTexts(const SettingsTexts& texts);
  SettingsTexts readTexts() const;
  void MOSTRA_LOGO();

  void RGGERALClick(int page);
  void DBCBPOR_CODIGO_APARELHOClick(bool checked);
  void DBCIMPRESSAO40COLUNASClick();
  void BBNLOGOTIPOClick();
  void PNLLIMPAACADEMIAClick();
  void BBNCORPOEMAILMEDICAClick();
  void BBNCONFIRMAClick();

  std::unique_ptr<ConfigurationStore> TBLCONTROLE;
  QHash<QString, QWidget*> bound_;  // column -> the control that shows it
  Page page_ = Controle;
  QWidget* pages_[3] = {};
  QButtonGroup* RGGERAL = nullptr;
  QButtonGroup* DBRGPINPAD = nullptr;
  QComboBox* CBSMTP = nullptr;
  QComboBox* CBUseTLS = nullptr;
  QCheckBox* DBCBPOR_CODIGO_APARELHO = nullptr;
  QComboBox* DBCIMPRESSAO40COLUNAS = nullptr;
  QLineEdit* DBEDTTEMPO_REAVALIACAO = nullptr;
  QLineEdit* DBEDTIMAGEM_CORPO_AUSENTE = nullptr;
  QLabel* IMGLOGOTIPO = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  FieldChain* controleChain_ = nullptr;
  FieldChain* emailChain_ = nullptr;
};
