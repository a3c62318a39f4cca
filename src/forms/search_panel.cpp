#include "forms/search_panel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "forms/field_chain.h"
#include "forms/field_keys.h"

SearchPanel::SearchPanel(QWidget* parent, const Order& first, const Order& second,
                         const QString& textName, const QString& returnCaption)
    : QFrame(parent), orders_{first, second} {
  setObjectName(QStringLiteral("PNLPROCURA"));
  setFrameShape(QFrame::StyledPanel);
  auto* layout = new QHBoxLayout(this);
  for (int i = 0; i < 2; ++i) {
    tabs_[i] = new QPushButton(orders_[i].caption, this);
    tabs_[i]->setObjectName(orders_[i].tabName);
    tabs_[i]->setFocusPolicy(Qt::NoFocus);
    connect(tabs_[i], &QPushButton::clicked, this, [this, i] {
      setOrder(i);
      emit orderChosen(i);
    });
    layout->addWidget(tabs_[i]);
  }
  text_ = new QLineEdit(this);
  text_->setObjectName(textName);
  upperCaseField(text_);
  layout->addWidget(text_, 1);
  return_ = new QPushButton(returnCaption, this);
  return_->setObjectName(QStringLiteral("BBNCANCELAP"));
  layout->addWidget(return_);
  acceptOnlyKeys(text_, [this](QChar c) {
    const Order& order = orders_[order_];
    if (order.accepts) return order.accepts(c);
    if (order.digitsOnly) return isDigitKey(c);
    if (order.lettersOnly) return c.isLetter() || c == QLatin1Char(' ');
    return true;
  });
  connect(text_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // Typing again after a result: back to what the order allows.
    if (text_->maxLength() != orders_[order_].maxLength) {
      text_->setMaxLength(orders_[order_].maxLength);
      emit textEdited(text_->text());
      return;
    }
    emit textEdited(text);
  });
  onFieldKeys(text_, [this] { emit entered(text_->text()); }, {});
  connect(return_, &QPushButton::clicked, this, &SearchPanel::returned);
  setOrder(0);
}

void SearchPanel::setOrder(int order) {
  order_ = order;
  text_->setMaxLength(orders_[order].maxLength);
  text_->clear();
  paintTabs();
  text_->setFocus();
}

void SearchPanel::showResult(const QString& text) {
  text_->setMaxLength(32767);
  text_->setText(text);
}

void SearchPanel::open(int order) {
  show();
  setOrder(order);
}

void SearchPanel::paintTabs() {
  for (int i = 0; i < 2; ++i) {
    const bool active = i == order_;
    tabs_[i]->setStyleSheet(active ? QStringLiteral("background-color: #2e9d3a; color: white;")
                                   : QStringLiteral("background-color: #c62828; color: white;"));
    tabs_[i]->setProperty("active", active);
  }
}
