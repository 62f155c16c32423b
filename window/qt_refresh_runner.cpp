#include "window/qt_refresh_runner.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// How often the waiting loop looks whether the job has ended or was stopped.
constexpr int kPollMilliseconds = 5;

struct TJobState {
  std::mutex Mutex;
  std::condition_variable Ended;
  bool Done = false;
};

}  // namespace

struct TQtRefreshRunner::THold {
  std::mutex Mutex;
  std::condition_variable Released;
  bool Held = false;
};

TQtRefreshRunner::TQtRefreshRunner(QObject* parent) : QObject(parent), hold_(std::make_shared<THold>()) {
  // An abandoned job may still be on its way out when the next one starts.
  pool_.setMaxThreadCount(3);
  pool_.setExpiryTimeout(30000);
}

TQtRefreshRunner::~TQtRefreshRunner() {
  Hold(false);
  pool_.waitForDone();
}

void TQtRefreshRunner::Hold(bool held) {
  {
    std::lock_guard lock(hold_->Mutex);
    hold_->Held = held;
  }
  hold_->Released.notify_all();
}

bool TQtRefreshRunner::Run(std::function<void()> job, const std::shared_ptr<TRefreshProgress>& progress) {
  return Run(std::move(job), progress, ExpectsLongJob && ExpectsLongJob() ? 0 : quietMilliseconds_);
}

bool TQtRefreshRunner::Run(std::function<void()> job, const std::shared_ptr<TRefreshProgress>& progress,
                           int quietMilliseconds) {
  auto state = std::make_shared<TJobState>();
  pool_.start([state, hold = hold_, job = std::move(job)] {
    {
      std::unique_lock lock(hold->Mutex);
      hold->Released.wait(lock, [&] { return !hold->Held; });
    }
    job();
    std::lock_guard lock(state->Mutex);
    state->Done = true;
    state->Ended.notify_all();
  });
  auto done = [&] {
    std::lock_guard lock(state->Mutex);
    return state->Done;
  };
  {
    std::unique_lock lock(state->Mutex);
    if (state->Ended.wait_for(lock, std::chrono::milliseconds(quietMilliseconds), [&] { return state->Done; }))
      return !progress->StopRequested();
  }
  // From here on the window answers while it waits; WhenIdle's checks come
  // in this loop too, every few milliseconds at most.
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(kPollMilliseconds);
  connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done() || progress->StopRequested()) loop.quit();
  });
  poll.start();
  if (++waiting_ == 1) emit waiting(true);
  if (!done() && !progress->StopRequested()) loop.exec();
  if (--waiting_ == 0) emit waiting(false);
  return done() && !progress->StopRequested();
}

void TQtRefreshRunner::Release(std::shared_ptr<const void> replaced) {
  if (!replaced) return;
  pendingReleases_.fetch_add(1);
  pool_.start([this, replaced = std::move(replaced)]() mutable {
    replaced.reset();
#if defined(__GLIBC__)
    // A large state frees hundreds of megabytes, made on other threads: give
    // the free pages of every heap back to the system, or the process keeps
    // them resident. Once for the states let go of together: trimming holds
    // each heap's lock, which the window's thread may be waiting for.
    if (pendingReleases_.fetch_sub(1) == 1) malloc_trim(0);
#else
    pendingReleases_.fetch_sub(1);
#endif
  });
}

void TQtRefreshRunner::WhenIdle(QObject* context, std::function<void()> action) {
  QTimer::singleShot(Waiting() ? kPollMilliseconds : 0, context, [this, context, action = std::move(action)]() mutable {
    if (Waiting())
      WhenIdle(context, std::move(action));
    else
      action();
  });
}
