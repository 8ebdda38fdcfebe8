/// @file
/// CWorkerThread: a long job on a thread of its own, so the windows stay
/// responsive while it runs.
#pragma once

#include <functional>
#include <memory>

/// Runs one job at a time on a thread of its own and carries what the job
/// reports back to the user-interface thread.
///
/// The job reports by posting tasks (Post): each runs later on the
/// user-interface thread, in the order posted, when that thread handles its
/// events. Posting never waits for the user-interface thread, so that thread
/// may wait for the job (Wait) without a deadlock. A job that reports often
/// should gather its reports and post one task for many of them: every task
/// is one event for the user-interface thread.
///
/// How a job is told to stop is the job's own affair (a flag it checks). The
/// object's owner stops the job before the object goes: the destructor waits
/// for the job to return and drops the tasks that have not run.
///
/// Start, Wait, RunPostedTasks and the destructor belong to the
/// user-interface thread; Post, PostAfter and IsJobThread may be called
/// from any thread. RunPostedTasks does not run a delayed task before its
/// time.
///
/// CWorkerThread belongs to the platform layer (`platform_ui`).
/// @ingroup platform_base
class CWorkerThread {
public:
  /// No job yet.
  CWorkerThread();
  /// Waits for a running job to return; tasks not run yet are dropped.
  ~CWorkerThread();
  /// Not copyable: the object stands for its thread.
  CWorkerThread(const CWorkerThread&) = delete;
  /// Not assignable, for the same reason.
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  /// Starts `job` on a new thread. FALSE (and nothing started) while an
  /// earlier job has not returned, for an empty job, or when no thread can
  /// be had.
  bool Start(std::function<void()> job);
  /// TRUE from Start until the job has returned.
  bool IsRunning() const;
  /// TRUE when called on the job's thread while it runs.
  bool IsJobThread() const;
  /// Runs `task` on the user-interface thread after the tasks posted before
  /// it, the next time that thread handles its events. Returns at once.
  void Post(std::function<void()> task);
  /// Runs `task` on the user-interface thread once `milliseconds` have
  /// passed after that thread took it up (a task posted before it, or a
  /// shorter delay posted later, may run first). Returns at once.
  void PostAfter(int milliseconds, std::function<void()> task);
  /// Waits until the job has returned; returns at once when none runs. The
  /// tasks it posted stay queued (RunPostedTasks, or the event loop, runs
  /// them).
  void Wait();
  /// Runs the tasks posted so far that have not run yet, here and now.
  void RunPostedTasks();

private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};
