// A grid over a table of any size: one row of text per record, the rows all of one height.
#pragma once

class QTableView;

// Readies `grid` for a paged model: no row header (hidden, fixed rows, so a million rows cost
// the header no measuring), rows the height of a line of text, and cells of one line of plain
// text drawn straight, so that painting a screenful of rows costs little beyond its text.
void makePagedGrid(QTableView* grid);
