#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/printer_status.h"

namespace {

TEST(PrinterStatus, DecodesTheStatusRegister) {
  struct Case {
    unsigned char status;
    PortLines lines;  // ack, busy, error, paperEnd, select
    bool ready;
  } cases[] = {
      // On line, idle, no error, with paper, not acknowledging.
      {0xD8, {false, false, false, false, false}, true},
      {0xDF, {false, false, false, false, false}, true},  // the low bits mean nothing here
      {0x98, {true, false, false, false, false}, false},  // nAck low
      {0x58, {false, true, false, false, false}, false},  // busy
      {0xD0, {false, false, true, false, false}, false},  // nError low
      {0xF8, {false, false, false, true, false}, false},  // paper out
      {0xC8, {false, false, false, false, true}, false},  // off line
      {0x00, {true, true, true, false, true}, false},     // nothing connected
      {0xFF, {false, false, false, true, false}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.status));
    const PortLines lines = decodePortStatus(c.status);
    EXPECT_EQ(lines.ack, c.lines.ack);
    EXPECT_EQ(lines.busy, c.lines.busy);
    EXPECT_EQ(lines.error, c.lines.error);
    EXPECT_EQ(lines.paperEnd, c.lines.paperEnd);
    EXPECT_EQ(lines.select, c.lines.select);
    EXPECT_EQ(linesSayReady(lines), c.ready);
  }
}

TEST(PrinterStatus, ReadsThePortAddressAsHexadecimal) {
  struct Case {
    QString text;
    int address;
  } cases[] = {
      {"", 632},      {"278", 0x278}, {"378", 888},   {"3BC", 0x3BC}, {"3bc", 0x3BC}, {"0000", 0},
      {" 378 ", 888}, {"XYZ", 632},   {"0x378", 632}, {"-1", 632},    {"37 8", 632},
  };
  for (const Case& c : cases)
    EXPECT_EQ(parsePortAddress(c.text), c.address) << c.text.toStdString();
}

// A fake /proc/sys/dev/parport and /dev: parport0 at 0x378, parport1 at 0x278.
class FakePorts : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    proc_ = root_.filePath("proc");
    dev_ = root_.filePath("dev");
    ASSERT_TRUE(QDir().mkpath(dev_));
    writeFile(proc_ + "/parport0/base-addr", "888\t1912\n");
    writeFile(proc_ + "/parport1/base-addr", "632\t0\n");
    writeFile(proc_ + "/default/base-addr", "956\t0\n");  // not a port, only defaults
    writeFile(dev_ + "/parport1", "");  // a plain file: the driver calls fail on it
  }

  static void writeFile(const QString& path, const QByteArray& data) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
  }

  QTemporaryDir root_;
  QString proc_, dev_;
};

TEST_F(FakePorts, FindsTheDeviceByItsBaseAddress) {
  EXPECT_EQ(findPortDevice(parsePortAddress(""), proc_, dev_), dev_ + "/parport1");
  EXPECT_EQ(findPortDevice(parsePortAddress("378"), proc_, dev_), dev_ + "/parport0");
  EXPECT_TRUE(findPortDevice(0x3BC, proc_, dev_).isEmpty());
  EXPECT_TRUE(findPortDevice(0x278, root_.filePath("missing"), dev_).isEmpty());
}

TEST_F(FakePorts, AnyFailureReadsAsNotReady) {
  EXPECT_FALSE(IMPRESSORA_PRONTA("3BC", proc_, dev_));  // no port at that address
  EXPECT_FALSE(IMPRESSORA_PRONTA("378", proc_, dev_));  // port listed, no device file
  EXPECT_FALSE(IMPRESSORA_PRONTA("", proc_, dev_));     // device that refuses the driver calls
  EXPECT_FALSE(IMPRESSORA_PRONTA("278", root_.filePath("missing"), dev_));
}

}  // namespace
