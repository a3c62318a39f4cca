// TFRMAGENDARTREINOS, "Agendar Montagem de Série": any member, found by registration or by
// name, booked for a series assembly at a free hour of the weekly grid (letter "A"). A member
// who already has a pending booking is asked whether to change it or delete it. Opened modally
// from its top-level menu entry.
#pragma once

#include "base/globals.h"
#include "registry/member_search.h"
#include "scheduling/agenda_dialog.h"

class QPushButton;
class Session;

class TFRMAGENDARTREINOS : public AgendaDialog {
  Q_OBJECT

 public:
  explicit TFRMAGENDARTREINOS(Session& session, QWidget* parent = nullptr);
  ~TFRMAGENDARTREINOS() override;

  MemberSearch* search() const { return search_; }
  // The registration the next Enter in the search field looks for.
  const QString& remembered() const { return remembered_.str(); }
  // Books the member under the cursor as a double click does.
  void DBGALUNOSDblClick();

 protected:
  Outcome opened() override;

 private:
  void searchTyped(const SearchStep& step);
  void searchEntered(const QString& text);

  FixedText<10> remembered_;
  MemberSearch* search_ = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};
