// The series on screen and its videos: the hand-over from the receipt window, the countdown
// that closes the series window and starts again after a video, and the video window with a
// real (generated) video, a missing file and a file that is no video.
#include "prescription/video_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "base/messages.h"
#include "data/sql.h"
#include "forms/media_backend.h"
#include "forms/video_player.h"
#include "prescription/video_lookup.h"
#include "printouts/receipt_window.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"
#include "support/test_video.h"

namespace {

class VideoWindows : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    testPrompter().clear();
    setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("3"));
    run("INSERT INTO Alunos (MATRICULA, NOME) VALUES ('0000000012', 'ANA LIMA')");
    run("INSERT INTO Funcionarios (MATRICULA, NOME) VALUES ('0000000003', 'CARLOS')");
    notVideo_ = dir_.filePath(QStringLiteral("texto.avi"));
    QFile text(notVideo_);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("isto nao e um video\n");
    text.close();
    const struct {
      const char* code;
      const char* name;
      const char* tipo;
      QString path;
    } exercises[] = {{"001", "SUPINO RETO", "N", QString()},
                     {"002", "ROSCA DIRETA", "N", dir_.filePath(QStringLiteral("sumiu.avi"))},
                     {"003", "REMADA", "N", notVideo_},
                     {"101", "ESTEIRA", "S", QString()}};
    for (const auto& e : exercises)
      runSql(workout(),
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Caminho_Video) "
                            "VALUES (?, ?, ?, ?)"),
             {e.code, e.name, e.tipo, e.path});
    int ordem = 0;
    for (const char* code : {"001", "002", "003"})
      runSql(workout(),
             QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                            "Data_Reavaliacao, Series, Obs, Professor, Ordem, Seg) VALUES "
                            "('0000000012', 'A', ?, '2026-11-02', '2027-02-02', '3', 'LENTO', "
                            "'0000000003', ?, 1)"),
             {QString::fromLatin1(code), ++ordem});
    run("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, Duracao, Ter) VALUES "
        "('0000000012', '101', '2026-11-02', 20, 1)");
  }

  void run(const char* sql) { runSql(workout(), QString::fromUtf8(sql)); }

  // The series the receipt window hands over for workout number `number`.
  std::optional<SeriesOnScreen> handedOver(const char* number) {
    std::optional<SeriesOnScreen> handed;
    TFRMIMPSERIE40COLUNAS receipt(session_);
    receipt.setSeriesOnScreenOpener(
        [&](Session&, const SeriesOnScreen& series, QWidget*) { handed = series; });
    receipt.show();
    QApplication::processEvents();
    auto* field = receipt.findChild<QLineEdit*>(QStringLiteral("EDTMATRICULA"));
    QTest::keyClicks(field, QStringLiteral("12"));
    QTest::keyClick(field, Qt::Key_Return);
    auto* letter = receipt.findChild<QLineEdit*>(QStringLiteral("EDTTREINO"));
    QTest::keyClicks(letter, QString::fromLatin1(number));
    QTest::keyClick(letter, Qt::Key_Return);
    return handed;
  }

  // Enter on the row of the strength grid `row` of `window`.
  void enterOnExercise(TFRMSERIEVIDEO& window, int row) {
    auto* grid = window.findChild<QTableView*>(QStringLiteral("DBGEXERCICIOS"));
    grid->setCurrentIndex(grid->model()->index(row, 0));
    QTest::keyClick(grid, Qt::Key_Return);
  }

  QString label(QWidget& window, const char* name) {
    auto* found = window.findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found ? found->text() : QString();
  }

  QTemporaryDir dir_;
  QString notVideo_;
};

TEST_F(VideoWindows, TheReceiptWindowHandsTheCurrentSeriesToTheScreenInsteadOfPrinting) {
  setSetting(QStringLiteral("SERIEEMVIDEO"), QStringLiteral("Sim"));
  setSetting(QStringLiteral("Tempo_Serie"), 30);
  const std::optional<SeriesOnScreen> series = handedOver("1");
  ASSERT_TRUE(series);
  EXPECT_EQ(series->tempoSerie, 30);
  TFRMSERIEVIDEO window(session_, *series);
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Série Video "));
  EXPECT_EQ(label(window, "LBLMATRICULA"), QStringLiteral("0000000012"));
  EXPECT_EQ(label(window, "LBLNOME"), QStringLiteral("ANA LIMA"));
  EXPECT_EQ(label(window, "LBLPROFESSOR"), QStringLiteral("CARLOS"));
  EXPECT_EQ(label(window, "LBLDATAINICIO"), QStringLiteral("02 / novembro / 2026"));
  EXPECT_EQ(label(window, "LBLTREINO"), QStringLiteral("A"));
  EXPECT_EQ(label(window, "LBLREAVALIACAO"), QStringLiteral("02/02/2027"));
  EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("PNLAEROBICO")));
  EXPECT_EQ(window.findChild<QTableView*>(QStringLiteral("DBGEXERCICIOS"))->model()->rowCount(), 3);
  EXPECT_TRUE(window.countdown()->isActive());
  EXPECT_EQ(window.countdown()->interval(), 30000);

  // No reassessment: the date is left blank.
  setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("0"));
  EXPECT_EQ(handedOver("1")->reavaliacao, QStringLiteral("    /       /"));
}

TEST_F(VideoWindows, TheVideoOfAnExerciseIsItsKindsPathWhenTheFileIsThere) {
  run("UPDATE Exercicios SET Caminho_Video = '' WHERE Codigo = '101'");
  const struct {
    const char* code;
    bool aerobic;
    VideoToShow::Kind kind;
  } cases[] = {{"001", false, VideoToShow::None},    {"002", false, VideoToShow::Missing},
               {"003", false, VideoToShow::Play},    {"003", true, VideoToShow::None},
               {"101", true, VideoToShow::None},     {"999", false, VideoToShow::None}};
  for (const auto& c : cases)
    EXPECT_EQ(videoToShow(workout(), QString::fromLatin1(c.code), c.aerobic).kind, c.kind)
        << c.code << (c.aerobic ? " S" : " N");
}

TEST_F(VideoWindows, TheSeriesWindowClosesWhenItsTimeIsUp) {
  SeriesOnScreen series;
  series.tempoSerie = 1;
  TFRMSERIEVIDEO window(session_, series);
  window.show();
  EXPECT_TRUE(window.isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 30000);
}

TEST_F(VideoWindows, AMissingVideoIsSaidAndTheCountdownStartsAgain) {
  setSetting(QStringLiteral("SERIEEMVIDEO"), QStringLiteral("Sim"));
  TFRMSERIEVIDEO window(session_, *handedOver("1"));
  window.show();
  enterOnExercise(window, 1);  // ROSCA DIRETA: a path to no file
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::ArquivoVideoInexistente});
  EXPECT_TRUE(window.countdown()->isActive());
  testPrompter().clear();
  enterOnExercise(window, 0);  // SUPINO RETO: no video at all
  EXPECT_TRUE(testPrompter().texts().isEmpty());
  EXPECT_TRUE(window.isVisible());
}

TEST_F(VideoWindows, AVideoPlaysToItsEndAndTheSeriesCountdownStartsAfresh) {
  if (!playerBackend().ready) GTEST_FAIL() << "GStreamer sem os elementos do player";
  const QString file = testVideo();
  ASSERT_FALSE(file.isEmpty());
  run("UPDATE Exercicios SET Caminho_Video = NULL");
  runSql(workout(), QStringLiteral("UPDATE Exercicios SET Caminho_Video = ? WHERE Codigo = '001'"),
         {file});
  setSetting(QStringLiteral("SERIEEMVIDEO"), QStringLiteral("Sim"));
  TFRMSERIEVIDEO window(session_, *handedOver("1"));
  window.show();
  bool countdownStopped = false;
  bool moved = false;
  QTimer::singleShot(0, [&] {
    auto* video = qobject_cast<TFRMVIDEO*>(QApplication::activeModalWidget());
    ASSERT_TRUE(video);
    EXPECT_EQ(video->windowTitle(), QStringLiteral("Video Aula"));
    countdownStopped = !window.countdown()->isActive();
    QMediaPlayer* player = video->videoPlayer()->player();
    ASSERT_TRUE(player);
    EXPECT_TRUE(video->videoPlayer()->isVisible());
    QObject::connect(player, &QMediaPlayer::positionChanged, [&](qint64 at) { moved |= at > 0; });
  });
  enterOnExercise(window, 0);  // returns once the video window has closed by itself
  EXPECT_TRUE(countdownStopped);
  EXPECT_TRUE(moved);
  EXPECT_TRUE(testPrompter().texts().isEmpty()) << testPrompter().texts().join('|').toStdString();
  EXPECT_TRUE(window.countdown()->isActive());
}

TEST_F(VideoWindows, AFileThatIsNoVideoIsSaidAndTheVideoWindowCloses) {
  if (!playerBackend().ready) GTEST_FAIL() << "GStreamer sem os elementos do player";
  TFRMVIDEO video(notVideo_);
  video.show();
  QTRY_VERIFY_WITH_TIMEOUT(!video.isVisible(), 30000);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::ArquivoVideoIncompativel});
  EXPECT_FALSE(video.videoPlayer()->isVisible());
}

}  // namespace

namespace {

// CTest runs these alone (prescription_without_media), with GStreamer's plugin folders pointed
// at an empty folder: the video window says this machine plays no video and goes.
class WithoutMediaBackend : public ShellFixture {
 protected:
  void SetUp() override {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("GST_PLUGIN_SYSTEM_PATH_1_0"))
        << "run through CTest (prescription_without_media)";
    ShellFixture::SetUp();
  }
};

TEST_F(WithoutMediaBackend, TheVideoWindowSaysItCannotPlayAndCloses) {
  EXPECT_FALSE(playerBackend().ready);
  testPrompter().clear();
  TFRMVIDEO video(QStringLiteral("/qualquer/aula.avi"));
  video.show();
  QTRY_VERIFY_WITH_TIMEOUT(!video.isVisible(), 30000);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::ArquivoVideoIncompativel});
  EXPECT_EQ(video.videoPlayer()->player(), nullptr);
}

}  // namespace
