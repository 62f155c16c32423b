#include "window/qt_evaluation_runner.h"

TQtEvaluationRunner::TQtEvaluationRunner(QObject* parent) : QObject(parent) {
  // A superseded evaluation may still be on its way out when the next starts.
  pool_.setMaxThreadCount(4);
  pool_.setExpiryTimeout(30000);
}

TQtEvaluationRunner::~TQtEvaluationRunner() {
  Hold(false);
  pool_.waitForDone();
}

void TQtEvaluationRunner::Start(std::function<void()> job, std::function<void()> finished) {
  pool_.start([this, job = std::move(job), finished = std::move(finished)]() mutable {
    {
      std::unique_lock lock(mutex_);
      released_.wait(lock, [this] { return !held_; });
    }
    job();
    // The runner outlives every job (its destructor waits), so `this` is
    // safe here; a queued call to a runner that is gone is dropped.
    QMetaObject::invokeMethod(this, std::move(finished), Qt::QueuedConnection);
  });
}

void TQtEvaluationRunner::Hold(bool held) {
  {
    std::lock_guard lock(mutex_);
    held_ = held;
  }
  released_.notify_all();
}
