#include "printouts/receipt_output.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include "base/messages.h"
#include "base/printer_status.h"
#include "base/prompter.h"
#include "printing/port_writer.h"

namespace {

Failure printerNotReady() {
  return {QStringLiteral("A impressora não esta pronta !\r Deseja continuar ?"), {}, {}};
}

Outcome printOnPort(const ReceiptData& data, const ReceiptLayout& layout,
                    const ReceiptRouteSettings& route, const std::optional<QString>& device) {
  const QString path = device ? *device : portDevicePath(route.portaImp);
  if (!device && isParallelPort(path) && !IMPRESSORA_PRONTA(route.enderecoPorta)) {
    return Failure{Msg::DadoIncorreto,
                   QStringLiteral("Endereço de Porta da Impressora Recibo\r"
                                  "A impressora do recibo é definida em Configuração do Sistema."),
                   {}};
  }
  PortWriter writer;
  if (!writer.IniciaImpr(path)) return Failure{kImpressoraNaoPronta, {}, {}};
  for (const ReceiptItem& item : receiptItems(data, layout, ReceiptRoute::Port))
    writer.ImprString(item.efeito, item.text, item.column, item.lineEnd);
  writer.FimImpr();
  if (writer.failed()) return Failure{kImpressoraNaoPronta, writer.errorText(), {}};
  return Done{};
}

// Fixed-pitch cells on the named printer, one page, never broken.
Outcome printOnPrinter(const ReceiptData& data, const ReceiptLayout& layout,
                       const ReceiptRouteSettings& route) {
  if (route.caminhoImpressora.trimmed().isEmpty()) {
    return printerNotReady();
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(route.caminhoImpressora);
  printer.setDocName(QStringLiteral("Ficha de Exercícios"));
  printer.setFullPage(true);
  if (!printer.isValid()) {
    return printerNotReady();
  }
  if (!drawReceipt(receiptItems(data, layout, ReceiptRoute::Printer), printer))
    return printerNotReady();
  return Done{};
}

}  // namespace

ReceiptLayout receiptLayout(const Settings& settings) {
  ReceiptLayout layout;
  layout.impressaoReduzida = settings.impressaoReduzida;
  layout.porCodigoAparelho = settings.porCodigoAparelho;
  layout.espaco = settings.espaco;
  return layout;
}

ReceiptRouteSettings receiptRouteSettings(const Settings& settings) {
  return {settings.portaImp.trimmed(), settings.enderecoPorta, settings.caminhoImpressora};
}

bool drawReceipt(const QList<ReceiptItem>& items, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  QFont font(QStringLiteral("Courier New"), 10);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetricsF metrics(font, &device);
  const double cell = metrics.horizontalAdvance(QLatin1Char(' '));
  const double step = metrics.height() + metrics.leading() + metrics.height() / 10;
  double baseline = metrics.ascent();
  for (const ReceiptItem& item : items) {
    // Each piece at its own cell: a later one overdraws whatever ran into its cells.
    painter.drawText(QPointF(item.column * cell, baseline), item.text);
    if (item.lineEnd) baseline += step;
  }
  return painter.end();
}

bool isParallelPort(const QString& devicePath) {
  static const QRegularExpression parallel(QStringLiteral("^/dev/(lp|parport)\\d+$"));
  return parallel.match(devicePath).hasMatch();
}

Outcome printReceipt(const ReceiptData& data, const ReceiptLayout& layout,
                     const ReceiptRouteSettings& route, const std::optional<QString>& device) {
  if (!device && route.portaImp.trimmed() == QStringLiteral("USBX"))
    return printOnPrinter(data, layout, route);
  return printOnPort(data, layout, route, device);
}
