// TFRMCADASTROEXERCICIOS ("Exercícios"), its listing TFRMCONSULTAEXERCICIOS and its help
// window TFRMAJUDAEXERCICIOS.
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

#include "base/globals.h"
#include "forms/range_listing_window.h"
#include "forms/registry_window.h"

class QFrame;
class QLabel;
class QRadioButton;
class QTableView;
class VideoPlayer;
class PagedTableModel;
class SearchPanel;

class TFRMCADASTROEXERCICIOS : public RegistryWindow {
  Q_OBJECT

 public:
  explicit TFRMCADASTROEXERCICIOS(Session& session, QWidget* parent = nullptr);
  ~TFRMCADASTROEXERCICIOS() override;

  const QString& selectedCode() const { return selected_.str(); }
  VideoPlayer* videoPlayer() const { return video_; }
  QTimer* videoTimer() { return &Timer1; }

  // Chooses the video file (a file dialog by default, and again after nullptr).
  static void setVideoFileChooser(std::function<QString(QWidget*)> chooser);

 protected:
  bool ABRE_TABELAS() override;
  void currentRowChanged() override;

 private:
  bool groupsOn() const;
  void buildSide();
  void buildGroupPanel();
  void buildChain();
  void showCurrentExercise();
  void showGroupLabel();
  void setEditControls(bool enabled);

  void SBPROCURAClick();
  void SBINCLUIRClick();
  void SBALTERARClick();
  void SBEXCLUIRClick();
  void SBCONSULTARClick();
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();
  void SBVIDEOClick();
  void BBNVIDEOClick();
  void videoTick();
  void stopVideo();
  void backToBrowse();

  void searchTextEdited(const QString& text);
  void searchEntered(const QString& text);
  void searchReturned();

  FixedText<3> selected_;
  QString storedCode_;  // the code of the row being changed or deleted
  SearchPanel* PNLPROCURA = nullptr;
  QFrame* PNLMUSCULAR = nullptr;
  QTableView* groupGrid_ = nullptr;
  PagedTableModel* groups_ = nullptr;
  QLabel* LBLDESCRICAOMUSCULAR = nullptr;
  VideoPlayer* video_ = nullptr;
  QTimer Timer1;
};

class TFRMCONSULTAEXERCICIOS : public RangeListingWindow {
  Q_OBJECT

 public:
  explicit TFRMCONSULTAEXERCICIOS(QWidget* parent = nullptr);

 private:
  QRadioButton* byDescription_ = nullptr;  // in "Ordenado por " (RGORDENADO)
};

class TFRMAJUDAEXERCICIOS : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMAJUDAEXERCICIOS(QWidget* parent = nullptr);
};
