#include "support/frame_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/window_table.h"

void FrameFixture::SetUp() {
  ShellFixture::SetUp();
  window_ = std::make_unique<TFRMSEPRINCIPAL>(session_);
  installWindows(*window_);
  window_->show();
  ASSERT_TRUE(window_->start());
  QApplication::setActiveWindow(window_.get());
}

void FrameFixture::TearDown() {
  window_.reset();
  ShellFixture::TearDown();
}

void typeEnter(QWidget* w, const char* name, const QString& text) {
  auto* line = w->findChild<QLineEdit*>(QString::fromLatin1(name));
  ASSERT_TRUE(line) << name;
  ASSERT_TRUE(line->isEnabled()) << name << " is disabled";
  line->setFocus();
  QTest::keyClicks(line, text);
  QTest::keyClick(line, Qt::Key_Return);
}

void clickButton(QWidget* w, const char* name) {
  auto* button = w->findChild<QPushButton*>(QString::fromLatin1(name));
  ASSERT_TRUE(button) << name;
  button->click();
}
