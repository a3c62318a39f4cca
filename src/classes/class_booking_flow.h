// Booking one member into a class as the booking window does it, question by question: the
// member's situation (a warning only), the class's activity, a member already booked (who may
// be taken out instead), the weekly limit, the places left and the last "Agendar Aluno(a) ?".
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include "classes/class_rules.h"
#include "classes/class_store.h"

struct BookingDesk {
  QSqlDatabase gymDb;    // members, payments, groups, activities
  QSqlDatabase classDb;  // classes and bookings (the portal's database when booked there)
  ClassSettings settings;
  double cliente = 0;
  QString usuario;
};

enum class BookingEnd {
  Booked,
  Cancelled,  // the member was booked already and was taken out
  Left,       // nothing written: a refusal, or No to a question
  Failed,     // a write failed (told): the window closes
};

BookingEnd bookThroughQuestions(const BookingDesk& desk, const GroupClass& groupClass,
                                const QDate& date, const QString& matricula);
