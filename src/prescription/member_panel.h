// The builder's first panel: the instructor (in one of two orders) and the member looked up by
// number or name, with the member's photo. Choosing both hands the member to the header.
#pragma once

#include <QSqlRecord>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "prescription/series_block.h"
#include "registry/member_search.h"
#include "registry/people_source.h"

class Connection;
class QComboBox;
class QGridLayout;
class QImage;
class QLabel;
class QPushButton;

class MemberPanel : public QWidget {
  Q_OBJECT

 public:
  MemberPanel(const BuilderContext& context, QWidget* parent);
  ~MemberPanel() override;

  // Opens the members and the instructors as the settings place them; what failed otherwise.
  std::optional<Failure> open();
  // Lets go of the members and their connection.
  void close();
  // Once open: the preferred instructor, the first member, the search by number.
  void ready();
  // Back from the header: the list from its first member, the search text empty.
  void startOver();
  void focusSearch();
  // The member under the cursor; empty when none.
  QSqlRecord memberRecord() const;
  // "Avaliação": the member's age for the assessment.
  void startAssessment();

 signals:
  // The member and the instructor entry chosen ("0000000003 - CARLOS").
  void memberChosen(const QSqlRecord& member, const QString& instructor);
  // The member's photo, or a null picture when the member has none that can be shown.
  void photoRead(const QImage& picture);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildInstructors(QGridLayout* layout);

  // The instructor list and its two orders.
  void selectPreferredInstructor();
  void fillInstructors(const QString& order);
  void paintOrderPanels();
  void instructorChosen();
  void instructorDoubleClicked();

  // The member search.
  void searchTyped(const SearchStep& step);
  void searchEntered(const QString& text);
  void membersDoubleClicked();
  void takeCpf(const QSqlRecord& member);
  void memberCheck();
  void memberSelection();
  void MOSTRA_FOTO(const QString& matricula);

  BuilderContext ctx_;
  PeopleTables people_;
  std::unique_ptr<Connection> peopleConnection_;
  std::optional<QString> linkedStaff_;
  QString userStaff_;  // the logged-in user's own staff registration, when linked
  QString instructorOrder_ = QStringLiteral("NOME");
  QTimer photoTimer_;

  QPushButton* PNLPROFMATRICULA = nullptr;
  QPushButton* PNLPROFNOME = nullptr;
  QComboBox* CBFUNCIONARIOS = nullptr;
  MemberSearch* search_ = nullptr;
  QLabel* Image1 = nullptr;
};
