// The member list of the windows that pick one member out of the whole member table (the
// series builder, the member e-mail list): the panels "Matrícula" and "Nome" (PNLMATRICULA,
// PNLNOME) with the search field EDTMATRICULA, over the grid DBGALUNOS ("Matrícula", "Nome").
// Typing moves the grid as member_lookup.h says; what the typing remembers, what Enter and a
// double click lead to, and the member's photo belong to the window.
#pragma once

#include <QSqlRecord>
#include <QWidget>
#include <optional>

#include "registry/member_lookup.h"

class Connection;
class PagedTableModel;
class QImage;
class QLabel;
class QLineEdit;
class QSqlDatabase;
class QTableView;
class SearchPanel;

class MemberSearch : public QWidget {
  Q_OBJECT

 public:
  // `fieldCaption` titles a group around the search field; none without it.
  MemberSearch(UnmatchedName unmatched, QWidget* parent, const QString& fieldCaption = QString());
  ~MemberSearch() override;

  // Lists the members of `table` on `people` in registration order; false when they cannot be
  // read. The connection stays the caller's: close() the list before it goes.
  bool open(const Connection& people, const QString& table);
  void close();

  MemberKey key() const;
  // As clicking its panel, without reading the table again: the order, the field's length, the
  // field cleared and focused.
  void setKey(MemberKey key);
  QLineEdit* text() const;
  QTableView* grid() const { return grid_; }
  PagedTableModel* members() const { return members_; }

  // The member under the cursor; empty when none.
  QSqlRecord current() const;
  void goToRow(int row);
  // The list in registration order, on the member `matricula`; false when no member has it.
  bool locate(const QString& matricula);
  // Enter with `typed` in the field: the list on the member `remembered` and that member, or
  // nothing once the user is told why (the field cleared when no member has it).
  std::optional<QSqlRecord> enter(const QString& typed, const QString& remembered);
  // Shows the member found in the field: "0000000012 - ANA LIMA".
  void showFound(const QSqlRecord& member);

 signals:
  // A keystroke in the field moved the list as `step` says.
  void typed(const SearchStep& step);
  void entered(const QString& text);
  // A key went to the grid (Insert and Delete never do), once it has moved the cursor.
  void gridKeyReleased();
  void currentRowChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Puts the list in the key's order, on the member it stood on; `reread` reads it again first.
  void orderBy(MemberKey key, bool reread);
  void textEdited(const QString& text);

  UnmatchedName unmatched_;
  SearchPanel* panel_ = nullptr;
  QTableView* grid_ = nullptr;
  PagedTableModel* members_ = nullptr;
};

// Shows `picture` fitted in `frame`; a null picture empties the frame.
void showPhoto(QLabel* frame, const QImage& picture);

// Shows in `frame` the photo of `matricula` kept in `photos` on `db` (see pictureToShow): what
// was shown, or nothing when the frame was left as it was (no photo row, or it could not be
// read).
std::optional<QImage> showMemberPhoto(QLabel* frame, const QSqlDatabase& db, const QString& photos,
                                      const QString& matricula);
