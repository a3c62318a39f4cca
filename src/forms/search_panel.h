// The search panel of the registry windows: two search orders shown as tabs (the active one
// green, the other red), the search text, and "Retorno".
#pragma once

#include <QFrame>
#include <functional>

class QLineEdit;
class QPushButton;

class SearchPanel : public QFrame {
  Q_OBJECT

 public:
  struct Order {
    QString tabName;  // objectName of the tab, e.g. "PNLMATRICULA"
    QString caption;  // e.g. "Matrícula"
    int maxLength;
    bool digitsOnly = false;
    bool lettersOnly = false;  // letters and blanks
    // The printable keys taken, when an order is narrower than the two above.
    std::function<bool(QChar)> accepts = {};
  };

  SearchPanel(QWidget* parent, const Order& first, const Order& second,
              const QString& textName = QStringLiteral("EDTMATRICULA"),
              const QString& returnCaption = QStringLiteral("Retorno"));

  // 0 or 1: which order is active. Choosing one clears the text and focuses it.
  int order() const { return order_; }
  void setOrder(int order);
  QLineEdit* text() const { return text_; }
  // Shows the panel with an empty text, in the given order.
  void open(int order);
  // Shows what was found ("0000000012 - MARIA"), which may be longer than what can be typed.
  void showResult(const QString& text);

 signals:
  void orderChosen(int order);
  void textEdited(const QString& text);
  void entered(const QString& text);
  void returned();

 private:
  void paintTabs();

  QPushButton* tabs_[2] = {};
  Order orders_[2];
  QLineEdit* text_ = nullptr;
  QPushButton* return_ = nullptr;
  int order_ = 0;
};
