#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "printing/port_writer.h"

namespace {

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

struct Step {
  QString efeito;
  QString text;
  int coluna;
  bool fimLinha;
};

TEST(PortWriter, PrintsWholeJobsByteForByte) {
  struct Case {
    const char* name;
    QList<Step> steps;
    QByteArray bytes;
    int column;
    int lines;
  } cases[] = {
      {"an empty line", {{"", "", 0, true}}, "\r\n", 0, 1},
      {"padding from the column",
       {{"", "Nome", 2, false}, {"", "Idade", 10, true}, {"", "fim", 5, true}},
       "  Nome    Idade\r\n     fim\r\n",
       0,
       2},
      // At 30, "abcd" asked at 28 sends no spaces and leaves the counter at 32 while the head
      // is at 34; "z" at 31 sends none either, and "y" at 36 is padded from the counter's 32.
      {"the counter falling behind",
       {{"", PortWriter::Repete('x', 30), 0, false},
        {"", "abcd", 28, false},
        {"", "z", 31, false},
        {"", "y", 36, true}},
       QByteArray(30, 'x') + "abcdz    y\r\n",
       0,
       1},
      // The effect goes out in front of the spaces and takes no column: "x" at 10 is padded
      // from 5, the end of "texto".
      {"an effect",
       {{"Obs.:", "texto", 0, false}, {"", "x", 10, false}},
       "Obs.:texto     x",
       11,
       0},
      {"an effect before the spaces", {{"Obs.:", "a", 3, true}}, "Obs.:   a\r\n", 0, 1},
      // Columns count characters, not bytes of any encoding.
      {"accented text",
       {{"", "Ação", 0, false}, {"", "nº", 6, true}},
       "A\x87\x84o  n\xF8\r\n",
       0,
       1},
  };

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  PortWriter writer;  // one writer for every job: each start must forget the job before
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QStringLiteral("job%1").arg(n++));
    {
      QFile old(path);
      ASSERT_TRUE(old.open(QIODevice::WriteOnly));
      old.write("left over from an earlier job, longer than any of these");
    }
    ASSERT_TRUE(writer.IniciaImpr(path));
    for (const Step& s : c.steps) writer.ImprString(s.efeito, s.text, s.coluna, s.fimLinha);
    EXPECT_EQ(readFile(path), c.bytes);  // already there before the device is closed
    EXPECT_EQ(writer.column(), c.column);
    EXPECT_EQ(writer.lineCount(), c.lines);
    writer.FimImpr();
    EXPECT_EQ(readFile(path), c.bytes);
  }
}

TEST(PortWriter, RepeatsAndMasks) {
  struct Repeat {
    QChar character;
    int count;
    QString text;
  } repeats[] = {
      {'-', 5, "-----"}, {u'ç', 2, "çç"}, {'=', 1, "="}, {'=', 0, ""}, {'*', -3, ""},
  };
  for (const Repeat& r : repeats)
    EXPECT_EQ(PortWriter::Repete(r.character, r.count), r.text) << r.count;

  struct Mask {
    QString mask;
    double value;
    QString text;
  } masks[] = {
      {"####0", 60, "   60"},   {"#####0", 0, "     0"}, {"####0", 123456, "123456"},
      {"####0", 59.5, "   60"}, {"####0", 2.4, "    2"}, {"####0", -12, "  -12"},
      {"#000", 7, " 007"},      {"00", 1234, "1234"},    {"####0", 99999, "99999"},
  };
  for (const Mask& m : masks)
    EXPECT_EQ(PortWriter::MascaraVlr(m.mask, m.value), m.text)
        << m.mask.toStdString() << " " << m.value;
}

TEST(PortWriter, ConvertsToThePrintersBytes) {
  struct Letter {
    char16_t character;
    unsigned char byte;
  } letters[] = {
      {u'á', 0xA0}, {u'Á', 0x41}, {u'ã', 0x84}, {u'Ã', 0x8E}, {u'â', 0x83}, {u'Â', 0x41},
      {u'ä', 0x84}, {u'Ä', 0x8E}, {u'à', 0x85}, {u'À', 0xB7}, {u'é', 0x82}, {u'É', 0x45},
      {u'ê', 0x88}, {u'Ê', 0x45}, {u'ë', 0x89}, {u'Ë', 0xD3}, {u'í', 0xA1}, {u'Í', 0xD6},
      {u'î', 0x8C}, {u'Î', 0xD7}, {u'ï', 0x8B}, {u'Ï', 0xD8}, {u'ó', 0xA2}, {u'Ó', 0x4F},
      {u'õ', 0x94}, {u'Õ', 0xE5}, {u'ô', 0x93}, {u'Ô', 0xE2}, {u'ö', 0x94}, {u'Ö', 0x99},
      {u'ú', 0xA3}, {u'Ú', 0xE9}, {u'û', 0x96}, {u'Û', 0xEA}, {u'ü', 0x81}, {u'Ü', 0x9A},
      {u'ç', 0x87}, {u'Ç', 0x80}, {u'º', 0xF8},
      // Not in the printer's table: their Windows-1252 byte.
      {u'€', 0x80}, {u'–', 0x96}, {u'Ñ', 0xD1}, {u'ª', 0xAA}, {u'Ÿ', 0x9F},
      // No Windows-1252 byte at all.
      {u'Ω', '?'}, {u'ą', '?'}, {u'\u0080', '?'},
  };
  QString all;
  QByteArray allBytes;
  for (const Letter& l : letters) {
    const QString text(QChar{l.character});
    EXPECT_EQ(PortWriter::ConvASC(text), QByteArray(1, char(l.byte))) << text.toStdString();
    all += text;
    allBytes += char(l.byte);
  }
  // Each character is replaced once: "Ë" becomes 0xD3 (U+00D3 is "Ó") and "Í" 0xD6 ("Ö"), and
  // neither may be looked up a second time, in a string as much as alone.
  EXPECT_EQ(PortWriter::ConvASC(all), allBytes);

  QString ascii;
  for (char c = 0x01; c < 0x7F; ++c) ascii += QLatin1Char(c);
  EXPECT_EQ(PortWriter::ConvASC(ascii), ascii.toLatin1());
  EXPECT_EQ(PortWriter::ConvASC(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), "a?b");  // one '?'
}

// A pipe stands in for the printer: nothing reaches the reader unless the writer hands each
// piece over at once, and the reader sees the bytes in the order they were printed.
TEST(PortWriter, WritesThroughToADevice) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("lp")));
  ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);

  const QByteArray firstLine = "  Treino A\r\n";
  std::promise<void> firstArrived;
  std::future<void> firstSeen = firstArrived.get_future();
  QByteArray received;
  std::thread reader([&] {
    const int fd = ::open(fifo.constData(), O_RDONLY);  // waits for the writer to open
    if (fd < 0) return;
    bool announced = false;
    char buffer[256];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
      received.append(buffer, got);
      if (!announced && received.size() >= firstLine.size()) {
        announced = true;
        firstArrived.set_value();
      }
    }
    ::close(fd);
  });

  PortWriter writer;
  const bool opened = writer.IniciaImpr(QString::fromLocal8Bit(fifo));
  EXPECT_TRUE(opened);
  if (opened) {
    writer.ImprString("", "Treino A", 2, true);
    EXPECT_EQ(firstSeen.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "the first line did not reach the device before the job went on";
    writer.ImprString("", "Supino ç", 0, true);
  } else {
    ::close(::open(fifo.constData(), O_WRONLY | O_NONBLOCK));  // lets the reader go
  }
  writer.FimImpr();  // the reader sees the end of the pipe
  reader.join();
  EXPECT_EQ(received, firstLine + "Supino \x87\r\n");
}

TEST(PortWriter, ADeviceThatCannotBeOpenedGetsNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.filePath(QStringLiteral("missing"));
  PortWriter writer;
  EXPECT_FALSE(writer.IniciaImpr(folder + QStringLiteral("/lp0")));
  writer.ImprString("", "texto", 0, true);
  writer.FimImpr();
  EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(PortWriter, TheFirstFailedWriteIsKeptAndNothingFollowsIt) {
  PortWriter writer;
  ASSERT_TRUE(writer.IniciaImpr(QStringLiteral("/dev/full")));
  EXPECT_FALSE(writer.failed());
  writer.ImprString("", "texto", 0, true);
  EXPECT_TRUE(writer.failed());
  const QString first = writer.errorText();
  EXPECT_FALSE(first.isEmpty());
  writer.ImprString("", "mais", 0, true);
  EXPECT_EQ(writer.errorText(), first);
  // A new job starts clean; a receipt printed to a file is the owner's alone.
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("recibo"));
  ASSERT_TRUE(writer.IniciaImpr(file));
  EXPECT_FALSE(writer.failed());
  EXPECT_EQ(QFileInfo(file).permissions() & (QFile::ReadGroup | QFile::ReadOther),
            QFile::Permissions());
}

TEST(PortWriter, NamesTheDeviceOfAPort) {
  struct Case {
    QString setting;
    QString path;
  } cases[] = {
      {"LPT1", "/dev/lp0"},          {"LPT2", "/dev/lp1"},
      {"LPT1  ", "/dev/lp0"},        {"/dev/usb/lp0", "/dev/usb/lp0"},
      {"USBX", "USBX"},              {"/tmp/recibo.txt", "/tmp/recibo.txt"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(portDevicePath(c.setting), c.path) << c.setting.toStdString();
}

}  // namespace
