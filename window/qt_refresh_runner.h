// The desktop's refresh runner: the job runs on a thread of its own while
// the window's thread waits in a local event loop, so the window repaints,
// its timers run and Stop is heard. A refresh that ends within a moment is
// waited for without the loop, so a small change looks as it always did.
// While the loop runs, `waiting` has been emitted with true; user input is
// the window's to filter (TMainFormEvaluation lets through only what may
// interrupt a refresh).
#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>

#include "refresh/refresh_runner.h"

class TQtRefreshRunner : public QObject, public TRefreshRunner {
  Q_OBJECT

 public:
  explicit TQtRefreshRunner(QObject* parent = nullptr);
  // Waits for abandoned jobs, which stop at their next check.
  ~TQtRefreshRunner() override;

  bool Run(std::function<void()> job, const std::shared_ptr<TRefreshProgress>& progress) override;
  // The same, waiting `quietMilliseconds` instead of the usual quiet time
  // before the window answers again (0 for a job known to take long).
  bool Run(std::function<void()> job, const std::shared_ptr<TRefreshProgress>& progress, int quietMilliseconds);
  void Release(std::shared_ptr<const void> replaced) override;

  // Whether the window's thread is waiting for a refresh now.
  bool Waiting() const { return waiting_ > 0; }
  // Runs `action` from the event loop once no refresh is waited for (a
  // command that came while one was built), unless `context` is gone.
  void WhenIdle(QObject* context, std::function<void()> action);
  // How long a refresh is waited for before the event loop runs (tests
  // that look at the window while a refresh is built set 0).
  void SetQuietMilliseconds(int milliseconds) { quietMilliseconds_ = milliseconds; }
  // Whether the coming refresh is known to take long (the theory shown is
  // large): then the window answers at once rather than after the quiet time.
  std::function<bool()> ExpectsLongJob;
  // For tests: while held, started jobs wait before they begin.
  void Hold(bool held);

 signals:
  void waiting(bool waiting);

 private:
  QThreadPool pool_;
  int waiting_ = 0;
  int quietMilliseconds_ = 40;
  std::atomic<int> pendingReleases_{0};  // release jobs not yet ended
  struct THold;
  std::shared_ptr<THold> hold_;
};
