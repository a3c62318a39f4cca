// A push button of a window, found by its name, that Enter presses when it has the focus (as
// Space does): the keyboard walks a form and confirms it without the mouse.
#pragma once

#include <QPushButton>
#include <QString>

inline QPushButton* namedButton(QWidget* parent, const char* name, const QString& caption,
                                const QString& hint = QString()) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  if (!hint.isEmpty()) b->setToolTip(hint);
  b->setAutoDefault(true);
  return b;
}
