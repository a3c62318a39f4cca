#include "base/failure.h"

#include "base/error_log.h"
#include "base/prompter.h"

void tell(const Failure& failure) {
  if (!failure.log.isEmpty()) appendToLog(failure.log);
  MENSAGEM(QStringLiteral("!"), failure.text, failure.detail);
}
