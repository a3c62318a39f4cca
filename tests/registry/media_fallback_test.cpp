// The windows with a player or a camera on a machine whose media backend has no plugins.
// CTest runs these alone, with GStreamer's plugin folders pointed at an empty folder.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "base/messages.h"
#include "data/paged_table_model.h"
#include "data/sql.h"
#include "forms/media_backend.h"
#include "forms/video_player.h"
#include "registry/exercise_window.h"
#include "registry/photo_capture_window.h"
#include "support/frame_fixture.h"
#include "support/test_env.h"

namespace {

class WithoutMediaBackend : public FrameFixture {
 protected:
  void SetUp() override {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("GST_PLUGIN_SYSTEM_PATH_1_0"))
        << "run through CTest (registry_without_media)";
    FrameFixture::SetUp();
  }
};

TEST_F(WithoutMediaBackend, TheExerciseWindowWorksAndSaysTheVideoCannotPlay) {
  EXPECT_FALSE(playerBackend().ready);
  EXPECT_TRUE(playerBackend().missing.contains(QStringLiteral("videoconvert")));
  runSql(workout(),
         QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Caminho_Video) "
                        "VALUES (?, ?, ?, ?)"),
         {QStringLiteral("001"), QStringLiteral("SUPINO"), QStringLiteral("N"),
          QStringLiteral("/tmp/supino.avi")});
  auto* w = openEntry<TFRMCADASTROEXERCICIOS>("MNEXERCICIOS");
  ASSERT_TRUE(w);
  w->findChild<QTableView*>(QStringLiteral("DBGEXERCICIOS"))
      ->setCurrentIndex(w->model()->index(0, 0));
  clickButton(w, "SBALTERAR");
  testPrompter().clear();
  clickButton(w, "BBNVIDEO");
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages().first().text, Msg::ArquivoVideoIncompativel);
  EXPECT_EQ(w->videoPlayer()->player(), nullptr);
  EXPECT_FALSE(w->videoPlayer()->isVisible());
  EXPECT_FALSE(w->videoTimer()->isActive());
  // The window goes on as before: the change can still be confirmed.
  EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("BBNVIDEO"))->isEnabled());
  clickButton(w, "BBNCONFIRMA");
  EXPECT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Exercícios"));
}

TEST_F(WithoutMediaBackend, TheCaptureWindowSaysThereIsNoCameraAndStoresNothing) {
  EXPECT_FALSE(captureBackend().ready);
  QVariant photo(QByteArray("photo before"));
  int shown = 0;
  TFRMCAPTURA window(QStringLiteral("0000000042"), &photo, [&shown](const QImage&) { ++shown; });
  window.show();
  QTest::qWait(50);
  auto* label = window.findChild<QLabel*>(QStringLiteral("LBLCAMERA"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), TFRMCAPTURA::kNenhumaCamera);
  EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("BBNCONFIRMA"))->isEnabled());
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("BBNRETORNA")), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(photo, QVariant(QByteArray("photo before")));
  EXPECT_EQ(shown, 0);
}

}  // namespace
