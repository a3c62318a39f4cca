// The listing windows of the code catalogues (users, muscle groups, exercises): an initial
// and a final code chosen by Enter or by a double click on the grid, then a preview ("Vídeo")
// or a print ("Impressora") of the range.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include "base/failure.h"

#include "forms/code_range.h"
#include "printing/report.h"
#include "printing/report_output.h"

class Connection;
class PagedTableModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;

class RangeListingWindow : public QDialog {
  Q_OBJECT

 public:
  using ReportBuilder = std::function<Result<Report>(const QSqlDatabase&, const CodeRange&)>;
  // What "Vídeo" and "Impressora" do with the report (tests replace the preview and the printer).
  using ReportOutput = ::ReportOutput;

  // `codeWidth`: how many characters a code takes.
  RangeListingWindow(const QString& caption, const CodeCatalogue& catalogue, int codeWidth,
                     ReportBuilder build, QWidget* parent = nullptr);
  ~RangeListingWindow() override;

  static void setReportOutput(ReportOutput output);
  // Whether the grid and the list were read; false after telling the user.
  bool isOpen() const { return open_; }

 protected:
  QVBoxLayout* extraArea() const { return extra_; }
  void showEvent(QShowEvent* event) override;

 private:
  void initialEntered();
  void finalEntered();
  void acceptEnd(bool initial, const RangeEnd& end);
  void gridDoubleClicked();
  void output(bool preview);
  void resetWindow();

  const CodeCatalogue& catalogue_;
  ReportBuilder build_;
  std::unique_ptr<Connection> connection_;
  PagedTableModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QLineEdit* initial_ = nullptr;
  QLineEdit* final_ = nullptr;
  QLabel* initialName_ = nullptr;
  QLabel* finalName_ = nullptr;
  QPushButton* video_ = nullptr;
  QPushButton* printer_ = nullptr;
  QVBoxLayout* extra_ = nullptr;
  bool open_ = false;
};
