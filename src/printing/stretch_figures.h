// The stretches a series can prescribe, as the program's own drawings: 23 simple figures in one
// dark ink on white, drawn with QPainter straight from joint coordinates, so the same picture
// serves the builder window's strip of tick boxes, the printed series sheet and the full-screen
// window at whatever size each needs. The strip puts 01..13 along its top row and 14..23 along
// its bottom row; the functions below say where each cell and its tick box go, so a window can
// lay check boxes over the picture and the printed sheet can draw its boxes in the same place.
#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

class QPainter;

inline constexpr int kStretchCount = 23;
inline constexpr int kStretchesOnTop = 13;  // 01..13 along the top row, 14..23 along the bottom
inline constexpr QSize kStretchStripSize{702, 119};  // the strip's natural size in pixels

// The stretch's short name, as the instructor knows it; empty outside 1..kStretchCount.
QString stretchName(int number);

// Draws stretch `number` (1..kStretchCount) fitted inside `area`: the drawing is square, kept
// square and centred, and its lines scale with it. Outside 1..kStretchCount: nothing. The figure
// relies on a white background (its nearer limbs are outlined in white).
void drawStretchFigure(QPainter& painter, const QRectF& area, int number);

// Where figure `number` sits on a strip of `size` whose top-left corner is the origin: 13 equal
// cells on the top half, 10 on the bottom half, as wide as the top ones and centred. Empty
// outside 1..kStretchCount.
QRectF stretchCellArea(int number, const QSizeF& size);

// The tick box of figure `number` on a strip of `size`: a small square in the top-left corner of
// its cell, which the strip keeps free of ink. Empty outside 1..kStretchCount.
QRectF stretchTickArea(int number, const QSizeF& size);

// Draws the whole strip in `area`: each cell lightly framed, its figure and its number ("01" to
// "23") small in the bottom-right corner. The tick boxes are left to the caller. Assumes a white
// background.
void drawStretchStrip(QPainter& painter, const QRectF& area);

// The strip on a white image of `size`.
QImage stretchStrip(const QSize& size = kStretchStripSize);
