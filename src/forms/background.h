// Long work off the window's thread: the window keeps painting (its progress moves, the
// hourglass shows) while the work runs with connections of its own, and the result comes back
// to the window's thread. A result type's default value must mean "failed". The window must stay open until `done` runs: it refuses to close
// while its work runs.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <functional>
#include <exception>
#include <memory>
#include <optional>

#include "base/error_log.h"

template <typename Result>
void runInBackground(QObject* window, std::function<Result()> work,
                     std::function<void(Result)> done) {
  auto result = std::make_shared<std::optional<Result>>();
  QThread* worker = QThread::create([work = std::move(work), result] {
    try {
      *result = work();
    } catch (const std::exception& e) {
      appendToLog(QStringLiteral("Erro em processo demorado: %1").arg(QString::fromLocal8Bit(e.what())));
    }
  });
  QObject::connect(worker, &QThread::finished, window,
                   [worker, result, done = std::move(done)] {
                     worker->deleteLater();
                     // Work that broke off counts as failed: a default result says so.
                     done(result->has_value() ? std::move(**result) : Result{});
                   });
  worker->start();
}

// Tells `window`'s thread something from the work, without waiting for it to be shown.
inline void postToWindow(QObject* window, std::function<void()> update) {
  QMetaObject::invokeMethod(window, std::move(update), Qt::QueuedConnection);
}
