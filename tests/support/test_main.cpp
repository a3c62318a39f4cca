// Entry point of every test program: a QApplication (offscreen) and the scripted
// prompter that records what the program would have shown the user.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/application.h"
#include "base/prompter.h"
#include "support/test_env.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  describeApplication();
  installPrompter(&testPrompter());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
