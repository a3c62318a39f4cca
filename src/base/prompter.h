// MENSAGEM, the one way the program speaks to the user, and the prompters it speaks through.
// The GUI installs a prompter that shows message boxes; the command line keeps the console
// default; tests install a ScriptedPrompter that records every message and answers from a
// script. Logic code only ever calls MENSAGEM.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>

enum class PromptKind { Information, Question };

// Answers a box returns, as the callers of MENSAGEM compare them.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void beep() = 0;
  // Shows one box and returns 1 (OK), 6 (Yes) or 7 (No).
  virtual int ask(PromptKind kind, const QString& caption, const QString& body) = 0;
  // Called by MENSAGEM just before ask() with the text and detail the body was built from,
  // for prompters that want them apart. Nothing to do by default.
  virtual void noteMessage(PromptKind kind, const QString& text, const QString& detail);
  // A prompter that may only be used from the program's thread (it shows windows): MENSAGEM
  // called from a worker thread hands the box to that thread and waits for the answer. The
  // program's thread must then not be waiting for that worker.
  virtual bool boundToProgramThread() const { return false; }
};

// The prompter MENSAGEM uses from now on; not owned. nullptr puts the console default back.
void installPrompter(Prompter* p);
Prompter& currentPrompter();

// Beeps, then shows `text` (and, when `detail` is not empty, "\n\r" and the detail) in a box
// captioned "Vantrel": kind exactly "!" is an information box with OK, anything else a Yes/No
// question. Returns 1 for OK, 6 for Yes, 7 for No.
int MENSAGEM(const QString& kind, const QString& text, const QString& detail = QString());

// For the command line: writes each message body to a stream (stderr by default) and never
// agrees to anything on the user's behalf, so a question is always answered No.
class ConsolePrompter : public Prompter {
 public:
  explicit ConsolePrompter(FILE* out = stderr) : out_(out) {}
  // A bell in a batch run's output or log helps nobody, so the console stays quiet.
  void beep() override {}
  int ask(PromptKind kind, const QString& caption, const QString& body) override;

 private:
  FILE* out_;
};

// For tests: records every box, counts beeps and answers questions from a queue.
class ScriptedPrompter : public Prompter {
 public:
  struct Shown {
    PromptKind kind;
    QString caption;
    QString body;
    QString text;    // as MENSAGEM received it (the body when ask() was called directly)
    QString detail;  // likewise; empty when ask() was called directly
    int answer = 0;
    bool unscripted = false;  // a question answered No because the queue was empty
  };

  void beep() override { ++beeps_; }
  int ask(PromptKind kind, const QString& caption, const QString& body) override;
  void noteMessage(PromptKind kind, const QString& text, const QString& detail) override;

  // Queues the answer (6 or 7) for the next question. Information boxes always answer 1 and
  // leave the queue alone; a question with nothing queued answers 7 and is marked unscripted.
  void answerNext(int answer) { answers_.append(answer); }
  // Forgets messages, beeps, queued answers and the pending text; onAsk stays.
  void clear();

  const QList<Shown>& messages() const { return shown_; }
  QStringList texts() const;
  int beeps() const { return beeps_; }
  int pendingAnswers() const { return int(answers_.size()); }
  int unscriptedQuestions() const { return unscripted_; }

  // Runs while a box is "up", after it is recorded and before its answer is taken, so a test
  // can act at that moment or queue the answer for this very box.
  std::function<void(const Shown&)> onAsk;

 private:
  struct Pending {
    PromptKind kind;
    QString text;
    QString detail;
  };

  QList<Shown> shown_;
  QList<int> answers_;
  std::optional<Pending> pending_;
  int beeps_ = 0;
  int unscripted_ = 0;
  quint64 generation_ = 0;  // bumped by clear(), so ask() knows its record is gone
};
