#include "forms/report_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "forms/field_chain.h"
#include "forms/named_button.h"

QComboBox* addEvaluatorBox(QWidget* window, QGridLayout* grid, int row) {
  grid->addWidget(new QLabel(QStringLiteral("Avaliador"), window), row, 0);
  auto* box = new QComboBox(window);
  box->setObjectName(QStringLiteral("CBFUNCIONARIOS"));
  chooseOnlyList(box);
  grid->addWidget(box, row, 1, 1, 4);
  return box;
}

ReportButtons addReportButtons(QWidget* window, QGridLayout* grid, int row,
                               const QString& printHint) {
  const ReportButtons buttons{
      namedButton(window, "BBNVIDEO", QStringLiteral("Vídeo"), QStringLiteral("Vídeo")),
      namedButton(window, "BBNIMPRIME", QStringLiteral("Impressora"), printHint),
      namedButton(window, "BBNEMAIL", QStringLiteral("Gerar listagem (email) em formato DOC")),
      namedButton(window, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"))};
  int column = 1;
  for (QPushButton* b :
       {buttons.BBNVIDEO, buttons.BBNIMPRIME, buttons.BBNEMAIL, buttons.BBNRETORNA})
    grid->addWidget(b, row, column++);
  grid->setColumnStretch(1, 1);
  return buttons;
}
