// TFRMHISTORICOSERIES, "Histórico de Séries": finds a member (by registration or by name, as
// every member list does), shows the member's photo and every workout still stored for the
// member, one row per day and letter, newest first. A double click prints that workout again
// as it was stored; Delete removes it with the blocks of its day that belong to it.
//
// The main window opens it modally from its "Histórico de Séries" shortcut, counting it among
// the open windows and disabling the shortcut meanwhile; closing gives both back.
#pragma once

#include <optional>

#include "base/globals.h"
#include "prescription/history_store.h"
#include "registry/member_list_dialog.h"

class QPushButton;
class QStandardItemModel;
class QTableView;

class TFRMHISTORICOSERIES : public MemberListDialog {
  Q_OBJECT

 public:
  TFRMHISTORICOSERIES(Session& session, QWidget* shortcut, QWidget* parent = nullptr);

  // The member every list, print and deletion is for.
  const QString& selected() const { return selected_.str(); }
  // The dated workout under the cursor of the list; nothing when the list is empty.
  std::optional<DatedWorkout> currentWorkout() const;

 protected:
  void firstShown() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void searchTyped(const SearchStep& step);
  void searchEntered(const QString& text);
  void DBGALUNOSDblClick();
  // Shows the photo and the list of the selected member, or says there is nothing stored.
  void showMember();
  bool TREINOS();
  void BBNRETORNAClick();
  void DBGTREINODblClick();
  void DBGTREINODelete();
  void Excluir_TREINO(const DatedWorkout& workout);
  void MOSTRA_FOTO();

  FixedText<10> selected_;
  bool closing_ = false;

  QWidget* PNLTREINO = nullptr;
  QTableView* DBGTREINO = nullptr;
  QStandardItemModel* workouts_ = nullptr;
  QPushButton* BBNRETORNA = nullptr;
  QPushButton* BBNSAIR = nullptr;
};
