// TFRMTIPOEXERCICIO, "Tipo de Exercício": the series builder. The instructor chooses himself
// and a member, opens a workout letter, ticks its weekdays, and picks, edits and orders its
// exercises. The workout being edited is held in memory by this window alone.
#pragma once

#include <QSqlRecord>
#include <QTimer>
#include <QVariantMap>
#include <memory>

#include "base/globals.h"
#include "data/settings_record.h"
#include "forms/child_window.h"
#include "prescription/series_service.h"
#include "registry/people_source.h"
#include "series/series_rules.h"
#include "series/series_store.h"

class AerobicModel;
struct PortalContext;
class Connection;
class PagedTableModel;
class QPlainTextEdit;
class StretchStripWidget;
class VideoPlayer;
class QCheckBox;
class QKeyEvent;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class SearchPanel;
class WorkoutGrid;
class WorkoutModel;

class TFRMTIPOEXERCICIO : public ChildWindow {
  Q_OBJECT

 public:
  explicit TFRMTIPOEXERCICIO(Session& session, QWidget* parent = nullptr);
  ~TFRMTIPOEXERCICIO() override;

  bool hasCloseBox() const override { return false; }
  WorkoutModel* workout() const { return workout_; }
  AerobicModel* aerobic() const { return aerobic_; }
  // The member, instructor and settings the builder works with.
  const SeriesSession& series() const { return series_; }

  bool LIBERA = false;
  bool MLIBERA_ORDEM = false;
  bool pBooVisualiza = false;
  QString pStrCPF;

 protected:
  bool ABRE_TABELAS() override;
  void closeTables() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  void buildSearchArea();
  void buildHeader();
  void buildWeekdays();
  void buildEditing();
  void buildReorder();
  void buildView();
  void buildAerobic();
  void buildStretching();
  QPushButton* headerButton(const char* name, const QString& caption);
  void addConfirmCancel(QFrame* block, const char* confirmName,
                        void (TFRMTIPOEXERCICIO::*onConfirm)(), const char* cancelName,
                        void (TFRMTIPOEXERCICIO::*onCancel)(), bool escape);
  bool openFailed(const QString& text, const QString& detail);

  // The instructor list and its two orders.
  void selectPreferredInstructor();
  void fillInstructors(const QString& order);
  void paintOrderPanels();
  void instructorChosen();
  void instructorDoubleClicked();

  // The member search.
  void searchOrderChosen(int order);
  void searchTextEdited(const QString& text);
  void searchEntered(const QString& text);
  void membersDoubleClicked();
  QSqlRecord memberRecord() const;
  bool locateMember(const QString& matricula);
  void memberCheck();
  void memberSelection();
  void MOSTRA_FOTO(const QString& matricula);

  // The header.
  void ATIVA_BOTOES();
  void DESATIVA_BOTOES();
  void letterChosen();
  void SBEXERCICIOSClick();
  void SBSAIRCABClick();
  void SBZERAClick();
  void BbnTamselClick();
  WeekdayBoxes weekdayBoxes() const;
  void showWeekdays(const WeekdayBoxes& boxes);
  void BBNSAIRClick();
  QString letter() const;

  // The strength editing area.
  bool fillPicking();
  QSqlRecord pickedExercise() const;
  void groupChosen();
  void filterEdited(const QString& text);
  void filterEntered();
  void pickingCursorMoved();
  void addExercise();
  void seriesCursorMoved();
  void showExerciseUnderCursor(const QString& code, const QString& descricao);
  void deleteExercise();
  void rowDropped(WorkoutGrid* grid, int from, int onto);
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();
  void weekdaysCancelled();
  void changeDateEntered();

  // The video of the exercise under the cursor: the button says when there is none; after an
  // exercise is added it plays only when there is one.
  void BBNVIDEOClick();
  bool playExerciseVideo();
  void videoTick();

  // The aerobic and stretching blocks.
  void SBAEROBICAClick();
  void BBNCONFIRMAAEROBICAClick();
  void BBNCANCELAAEROBICAClick();
  void aerobicClicked(const QModelIndex& index);
  void SBALONGAMENTOClick();
  void BBNCONFIRMAALONGAMENTOClick();
  void BBNCANCELAALONGAMENTOClick();
  bool memoKeyRefused(QKeyEvent* event);

  void ImprimeSerie(const QString& tipo);
  SeriesService service() const;
  MemberContact memberContact() const;

  // The reorder and view panels.
  void SBNOVA_ORDEMClick();
  void BBNCONFIRMA_ORDEMClick();
  void BBNCANCELA_ORDEMClick();
  void BBNRETORNAClick();
  void showOnly(QFrame* panel);
  QList<QFrame*> blocks() const;

  SeriesSession series_;
  PeopleTables people_;
  std::unique_ptr<Connection> peopleConnection_;
  PagedTableModel* members_ = nullptr;
  std::optional<QString> linkedStaff_;
  QString userStaff_;
  bool browsingGroups_ = false;  // the group list moved by keys in it, not chosen  // the logged-in
                                 // user's own staff registration, when linked
  QString instructorOrder_ = QStringLiteral("NOME");
  PagedTableModel* picking_ = nullptr;
  WorkoutModel* workout_ = nullptr;
  AerobicModel* aerobic_ = nullptr;
  bool zeroed_ = false;
  bool strengthDays_ = false;

  QWidget* searchArea_ = nullptr;
  QPushButton* PNLPROFMATRICULA = nullptr;
  QPushButton* PNLPROFNOME = nullptr;
  QComboBox* CBFUNCIONARIOS = nullptr;
  SearchPanel* search_ = nullptr;
  QTableView* DBGALUNOS = nullptr;
  QLabel* Image1 = nullptr;

  QFrame* PNLCABECALHO = nullptr;
  QFrame* PNLFUNDO = nullptr;
  QLabel* LBLALUNO = nullptr;
  QLabel* LBLDATA = nullptr;
  QLabel* LBLPROFESSOR = nullptr;
  QComboBox* CBTREINO = nullptr;
  QLineEdit* EDTDATATROCA = nullptr;
  QLabel* Image2 = nullptr;
  QList<QPushButton*> headerButtons_;

  QFrame* PNLDIAS = nullptr;
  QList<QCheckBox*> days_;

  QFrame* PNLFILTRO = nullptr;
  QLabel* LBLGRUPAMENTO = nullptr;
  QComboBox* CBGRUPAMENTOMUSCULAR = nullptr;
  QLineEdit* EDTFILTRO = nullptr;
  WorkoutGrid* DBGEXERCICIO_FILTRADO = nullptr;
  WorkoutGrid* DBGEXERCICIO_SERIE = nullptr;
  QLabel* LBLDESCRICAOVIDEO = nullptr;
  VideoPlayer* WindowsMediaPlayer = nullptr;
  QTimer Timer1;
  QTimer photoTimer_;

  QFrame* PNLNOVA_ORDEM = nullptr;
  WorkoutGrid* DBGNOVA_ORDEM = nullptr;
  QFrame* PNLVISUALIZA = nullptr;
  WorkoutGrid* DBGVISUALIZA = nullptr;
  QFrame* PNLAEROBICA = nullptr;
  WorkoutGrid* DBGAEROBICA = nullptr;
  QFrame* PNLALONGAMENTO = nullptr;
  StretchStripWidget* stretches_ = nullptr;
  QPlainTextEdit* DBMEMOOBS = nullptr;
};
