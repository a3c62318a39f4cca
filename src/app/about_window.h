// TFRMSOBRE ("Sobre"): the version, the gym the installation is registered to and the maker's
// contact lines; a double click on the support line e-mails a support request, one on the
// site line opens the site. TFRMNOVIDADES ("Novidades"): the release notes.
#pragma once

#include <QDialog>
#include "data/settings_record.h"

class Session;

class QLabel;
class QPlainTextEdit;

class TFRMSOBRE : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMSOBRE(Session& session, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Session& session_;

  void FormShow();
  void Label4DblClick();
  void Label6DblClick();
  QLabel* dataText(const char* name);

  Settings settings_;
  bool opened_ = false;

  QLabel* Image1 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label6 = nullptr;
  QPlainTextEdit* MemMensagem = nullptr;
};

class TFRMNOVIDADES : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMNOVIDADES(Session& session, QWidget* parent = nullptr);
  void done(int result) override;

 private:
  Session& session_;
  bool closed_ = false;
};

// MNSOBRE: the about window, modal. It does not count among the open windows.
void showAboutWindow(Session& session, QWidget* parent);

// SBNOVIDADES: the news window, modal, counted among the open windows while it is shown;
// `shortcut` (the button that opened it) is disabled meanwhile.
void showNewsWindow(Session& session, QWidget* parent, QWidget* shortcut);
