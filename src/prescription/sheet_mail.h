// The series sheet sent to the member: the sheet of one workout written as a PDF and e-mailed
// to the member's address through the gym's provider, as the e-mail window sends (a notice copy
// to the gym, the member as a blind copy, the address checks), the gym's name in the subject.
#pragma once

#include <QString>

#include "base/failure.h"
#include "data/settings_record.h"
#include "followup/email_sending.h"

struct SheetMail {
  QString matricula;
  QString letter;
  bool landscape = false;
};

// Sends the sheet; true when it went (in clear too, when the provider offered no encryption).
// Otherwise the user was told why: "E-mail do aluno não cadastrado !" for a member without an
// address, the sheet's own refusal when there is nothing to print, or what the sending said.
bool mailSeriesSheet(const Settings& settings, const SheetMail& mail,
                        const SmtpClientFactory& clients = makeSmtpClient);

// The member's e-mail address from where the settings keep the members; empty when none.
Result<QString> memberAddress(const Settings& settings, const QString& matricula);

// For the command line: reads the installation's settings and sends the sheet.
bool mailSheetFromCommandLine(const QString& matricula, const QString& letter, bool landscape);
