#include "app/splash_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TFRMVERSAO::TFRMVERSAO(int milliseconds, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFRMVERSAO"));
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  setFixedSize(520, 300);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
  timer_.setSingleShot(true);
  timer_.setInterval(milliseconds);
  connect(&timer_, &QTimer::timeout, this, &QDialog::accept);
}

void TFRMVERSAO::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_.start();
}

void TFRMVERSAO::keyPressEvent(QKeyEvent* event) {
  event->accept();
}

void TFRMVERSAO::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(rect().topLeft(), rect().bottomRight());
  sky.setColorAt(0, QColor(0x0b, 0x3d, 0x5c));
  sky.setColorAt(1, QColor(0x1f, 0x8a, 0x70));
  p.fillRect(rect(), sky);
  p.setPen(QColor(255, 255, 255, 40));
  for (int x = -height(); x < width(); x += 24) p.drawLine(x, height(), x + height(), 0);
  p.setPen(Qt::white);
  QFont title = font();
  title.setPointSize(40);
  title.setBold(true);
  p.setFont(title);
  p.drawText(rect().adjusted(0, 0, 0, -60), Qt::AlignCenter, QStringLiteral("Vantrel"));
  QFont sub = font();
  sub.setPointSize(14);
  p.setFont(sub);
  p.drawText(rect().adjusted(0, 90, 0, 0), Qt::AlignCenter, QStringLiteral("Sistema de Exercício"));
  sub.setPointSize(9);
  p.setFont(sub);
  p.drawText(rect().adjusted(12, 0, -12, -10), Qt::AlignRight | Qt::AlignBottom,
             QStringLiteral("Versão %1").arg(QCoreApplication::applicationVersion()));
}
