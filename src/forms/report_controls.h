// What the report windows of the member lists share: the evaluator box, and the row of buttons
// that previews, prints, writes the e-mail list and leaves.
#pragma once

#include <QString>

class QComboBox;
class QGridLayout;
class QPushButton;
class QWidget;

// "Avaliador" and CBFUNCIONARIOS, chosen from its list and never typed, on `row` of `grid`.
QComboBox* addEvaluatorBox(QWidget* window, QGridLayout* grid, int row);

struct ReportButtons {
  QPushButton* BBNVIDEO;
  QPushButton* BBNIMPRIME;
  QPushButton* BBNEMAIL;
  QPushButton* BBNRETORNA;
};
// "Vídeo", "Impressora" (its hint `printHint`), "Gerar listagem (email) em formato DOC" and
// "Sair", from the second column of `row` on.
ReportButtons addReportButtons(QWidget* window, QGridLayout* grid, int row,
                               const QString& printHint);
