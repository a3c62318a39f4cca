// The receipt printer's writer: a narrow text printer (40 columns) driven by writing plain
// bytes straight to its device file, a parallel port, a USB printer node or any path. Text is
// placed by column with spaces, lines end in CR LF, and accented letters are turned into the
// printer's own character set. Every piece goes out at once, so what was printed before a
// failure is already on paper.
#pragma once

#include <QByteArray>
#include <QChar>
#include <QFile>
#include <QString>

// Shown by the caller when the device cannot be opened.
inline const QString kImpressoraNaoPronta =
    QStringLiteral("Impressora sendo utilizada ou não Pronta.");

// The device file for the configured printer port: "LPT1" is /dev/lp0, "LPT2" is /dev/lp1, any
// other value is a device path of its own. Blanks around the setting are ignored; an empty
// setting gives an empty path.
QString portDevicePath(const QString& portSetting);

// One print job on the receipt printer.
class PortWriter {
 public:
  PortWriter() = default;
  PortWriter(const PortWriter&) = delete;
  PortWriter& operator=(const PortWriter&) = delete;
  ~PortWriter();

  // Opens `device` for writing (a regular file is emptied) and starts at column 0 of the first
  // line. False when it cannot be opened; kImpressoraNaoPronta is the warning to show.
  bool IniciaImpr(const QString& device);

  // Prints `aString` from column `coluna` of the current line, spaces filling the gap from the
  // current column. A non-empty `efeito` (a control sequence or a label) goes out in front of
  // the spaces and takes no column. With `fimLinha` the line is ended (CR LF) afterwards.
  void ImprString(const QString& efeito, const QString& aString, int coluna, bool fimLinha);

  // Closes the device.
  void FimImpr();

  // True once a piece could not be handed to the device whole (a printer unplugged, a full
  // disk): the job did not print, and what failed is in errorText(). Nothing more is sent after
  // the first failure.
  bool failed() const { return failed_; }
  const QString& errorText() const { return error_; }

  int column() const { return column_; }
  int lineCount() const { return lineCount_; }

  // `nCaracteres` copies of `caractere`; empty when the count is 0 or less.
  static QString Repete(QChar caractere, int nCaracteres);

  // `value` as a whole number (rounded) laid into a mask of '#' (optional digit) and '0'
  // (required digit): at least as many digits as the mask has '0's, spaces in front up to the
  // mask's length. A number longer than the mask comes back whole.
  static QString MascaraVlr(const QString& mascara, double value);

  // The bytes the printer takes for `text`: accented letters through the printer's table, any
  // other character as its Windows-1252 byte, '?' for characters that have none.
  static QByteArray ConvASC(const QString& text);

 private:
  void send(const QByteArray& bytes);

  QFile file_;
  bool failed_ = false;
  QString error_;
  int column_ = 0;
  int lineCount_ = 0;
};
