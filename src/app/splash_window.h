// TFRMVERSAO: the splash shown for four seconds before the main window.
#pragma once

#include <QDialog>
#include <QTimer>

class TFRMVERSAO : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMVERSAO(int milliseconds = 4000, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;  // cannot be dismissed early
  void reject() override {}

 private:
  QTimer timer_;
};
