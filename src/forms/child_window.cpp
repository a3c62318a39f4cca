#include "forms/child_window.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QTimer>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "forms/session.h"

ChildWindow::ChildWindow(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::closeWindow() {
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
    frame->close();
  else
    close();
}

void ChildWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (opened_) return;
  opened_ = true;
  G().GBOL_FALHA_ABERTURA = false;
  if (!ABRE_TABELAS()) {
    // The opener looks at the flag right after showing us; the close comes later.
    G().GBOL_FALHA_ABERTURA = true;
    QTimer::singleShot(0, this, &ChildWindow::closeWindow);
  }
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  closed_ = true;
  closeTables();
  emit windowClosed();
  if (!VOLTA_USUARIO(session_))
    MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado, QStringLiteral("Usuarios"));
  event->accept();
}
