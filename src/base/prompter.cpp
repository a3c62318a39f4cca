#include "base/prompter.h"

#include <QCoreApplication>
#include <QThread>

namespace {

Prompter* installed = nullptr;

Prompter& consoleDefault() {
  static ConsolePrompter console;
  return console;
}

}  // namespace

void Prompter::noteMessage(PromptKind, const QString&, const QString&) {}

void installPrompter(Prompter* p) {
  installed = p;
}

Prompter& currentPrompter() {
  return installed ? *installed : consoleDefault();
}

int MENSAGEM(const QString& kind, const QString& text, const QString& detail) {
  // Long work runs on worker threads; what it has to say is shown by the program's own thread,
  // which owns the boxes, and the worker waits for the answer.
  QCoreApplication* app = QCoreApplication::instance();
  if (currentPrompter().boundToProgramThread() && app && QThread::currentThread() != app->thread()) {
    int answer = kAnswerNo;
    QMetaObject::invokeMethod(
        app, [&] { answer = MENSAGEM(kind, text, detail); }, Qt::BlockingQueuedConnection);
    return answer;
  }
  Prompter& prompter = currentPrompter();
  prompter.beep();
  const QString body = detail.isEmpty() ? text : text + QStringLiteral("\n\r") + detail;
  const PromptKind promptKind =
      kind == QStringLiteral("!") ? PromptKind::Information : PromptKind::Question;
  prompter.noteMessage(promptKind, text, detail);
  return prompter.ask(promptKind, QStringLiteral("Vantrel"), body);
}

int ConsolePrompter::ask(PromptKind kind, const QString&, const QString& body) {
  if (out_) {
    const QByteArray line = body.toLocal8Bit();
    std::fprintf(out_, "%s\n", line.constData());
    std::fflush(out_);
  }
  return kind == PromptKind::Information ? kAnswerOk : kAnswerNo;
}

int ScriptedPrompter::ask(PromptKind kind, const QString& caption, const QString& body) {
  Shown shown{kind, caption, body, body, QString()};
  if (pending_) {
    shown.text = pending_->text;
    shown.detail = pending_->detail;
    pending_.reset();
  }
  shown_.append(shown);
  const qsizetype index = shown_.size() - 1;
  const quint64 generation = generation_;

  if (onAsk) onAsk(shown);

  int answer = kAnswerOk;
  bool unscripted = false;
  if (kind == PromptKind::Question) {
    if (answers_.isEmpty()) {
      answer = kAnswerNo;
      unscripted = true;
      ++unscripted_;
    } else {
      answer = answers_.takeFirst();
    }
  }
  // onAsk may have cleared the record; only fill in the answer if this box is still there.
  if (generation == generation_ && index < shown_.size()) {
    shown_[index].answer = answer;
    shown_[index].unscripted = unscripted;
  }
  return answer;
}

void ScriptedPrompter::noteMessage(PromptKind kind, const QString& text, const QString& detail) {
  pending_ = Pending{kind, text, detail};
}

void ScriptedPrompter::clear() {
  shown_.clear();
  answers_.clear();
  pending_.reset();
  beeps_ = 0;
  unscripted_ = 0;
  ++generation_;
}

QStringList ScriptedPrompter::texts() const {
  QStringList result;
  for (const Shown& s : shown_) result.append(s.text);
  return result;
}
