// CWorkerThread on Qt: the job runs on a std::thread; its tasks are queued
// calls on an object that lives on the user-interface thread, so Qt runs
// them there in the order posted, and drops them when the object goes.
#include "platform/WorkerThread.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <system_error>
#include <thread>

struct CWorkerThread::Impl {
  QObject context;  // receives the tasks; belongs to the thread that made it
  std::thread thread;
  std::atomic<bool> running{false};
  // Set by the job's thread itself: the std::thread object may not have it
  // yet when the job starts reporting.
  std::atomic<std::thread::id> jobId{};
};

CWorkerThread::CWorkerThread() : m_impl(std::make_unique<Impl>()) {}

CWorkerThread::~CWorkerThread() {
  if (m_impl->thread.joinable()) m_impl->thread.join();
  // The context goes with m_impl, and with it every task not run yet.
}

bool CWorkerThread::Start(std::function<void()> job) {
  if (!job || m_impl->running.load()) return false;
  if (m_impl->thread.joinable()) m_impl->thread.join();  // an earlier job, returned
  m_impl->running.store(true);
  try {
    m_impl->thread = std::thread([impl = m_impl.get(), job = std::move(job)] {
      impl->jobId.store(std::this_thread::get_id());
      try {
        job();
      } catch (const std::exception& error) {
        std::fprintf(stderr, "A background job failed: %s\n", error.what());
      } catch (...) {
        std::fprintf(stderr, "A background job failed.\n");
      }
      impl->jobId.store(std::thread::id());
      impl->running.store(false);
    });
  } catch (const std::system_error&) {
    m_impl->running.store(false);
    return false;
  }
  return true;
}

bool CWorkerThread::IsRunning() const { return m_impl->running.load(); }

bool CWorkerThread::IsJobThread() const {
  return m_impl->jobId.load() == std::this_thread::get_id();
}

void CWorkerThread::Post(std::function<void()> task) {
  if (!task) return;
  QMetaObject::invokeMethod(&m_impl->context, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

void CWorkerThread::PostAfter(int milliseconds, std::function<void()> task) {
  if (!task) return;
  QObject* context = &m_impl->context;
  // The timer starts on the user-interface thread, and belongs to the
  // context: it goes with it.
  QMetaObject::invokeMethod(
      context,
      [context, milliseconds, task = std::move(task)] {
        QTimer::singleShot(std::max(0, milliseconds), context, [task] { task(); });
      },
      Qt::QueuedConnection);
}

void CWorkerThread::Wait() {
  if (m_impl->thread.joinable()) m_impl->thread.join();
}

void CWorkerThread::RunPostedTasks() {
  // The tasks are events of the context: deliver those now, and only those.
  QCoreApplication::sendPostedEvents(&m_impl->context, QEvent::MetaCall);
}
