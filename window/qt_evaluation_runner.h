// The desktop's evaluation runner: jobs run on a thread pool of their own,
// and their `finished` step is queued to the event loop of the thread that
// made the runner. Destroying the runner waits for the jobs still running
// (the document asks them to stop first, so that is quick).
#pragma once

#include <QObject>
#include <QThreadPool>
#include <condition_variable>
#include <mutex>

#include "refresh/evaluation_runner.h"

class TQtEvaluationRunner : public QObject, public TEvaluationRunner {
  Q_OBJECT

 public:
  explicit TQtEvaluationRunner(QObject* parent = nullptr);
  ~TQtEvaluationRunner() override;

  void Start(std::function<void()> job, std::function<void()> finished) override;

  // For tests: while held, started jobs wait before they begin, so that a
  // test can look at the window while an evaluation is under way.
  void Hold(bool held);
  // Jobs started and not yet returned.
  int ActiveJobs() const { return pool_.activeThreadCount(); }

 private:
  QThreadPool pool_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
};
