// `vantrel assessment`: a member's assessment printout written to PDF without a window.
//
//   vantrel assessment MATRICULA DD/MM/AAAA [--sections LISTA|all] --pdf ARQUIVO
#pragma once

#include <QStringList>
#include <cstdio>

#include "base/command_line.h"

// Reads the assessment of the member on that day and writes the chosen sections (every section
// the assessment offers with "all" or without --sections) to ARQUIVO. 0 on success; 1 when the
// assessment cannot be read, a section is not offered by it, or the file cannot be written;
// 2 for wrong arguments (with the usage on `err`).
const CommandSyntax& assessmentCommand();
int runAssessmentCommand(const QStringList& args, FILE* out = stdout, FILE* err = stderr);
