#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <new>

#include "platform/platform.h"
#include "platform/view_worker.h"

// Linux 5.14 and later; an older kernel refuses it and the pages are left to
// the writer.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace platform {
namespace {

struct Job {
  bool unmap;  // else prepare
  char* view;
  std::size_t size;
};

// The work that may wait at once; beyond it, preparations are left out and
// views unmapped by the caller.
constexpr int kMaxJobs = 4;

// Enough for the thread's few frames and a system call.
constexpr std::size_t kThreadStackSize = std::size_t{256} << 10;

}  // namespace

struct ViewWorker::State {
  const pid_t process = getpid();  // the process the state belongs to
  std::mutex mutex;
  std::condition_variable changed;
  pthread_t thread{};
  bool threadRunning = false;
  Job jobs[kMaxJobs];  // waiting, oldest first
  int jobCount = 0;
  const char* busy = nullptr;  // the view of the job under way
  bool stopping = false;
  bool unavailable = false;  // no thread could be started

  void add(Job job) {
    jobs[jobCount++] = job;
    changed.notify_all();
  }

  void remove(int index) {
    for (int i = index; i + 1 < jobCount; ++i) jobs[i] = jobs[i + 1];
    --jobCount;
  }

  // Drops the waiting preparations of view, or of every view for nullptr.
  void dropPreparations(const char* view) {
    for (int i = jobCount - 1; i >= 0; --i) {
      if (!jobs[i].unmap && (view == nullptr || jobs[i].view == view)) remove(i);
    }
  }

  bool startThread() {
    if (threadRunning) return true;
    if (unavailable) return false;
    stopping = false;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    pthread_attr_setstacksize(&attributes, kThreadStackSize);
    threadRunning = pthread_create(&thread, &attributes, &State::threadMain, this) == 0;
    pthread_attr_destroy(&attributes);
    unavailable = !threadRunning;
    return threadRunning;
  }

  static void* threadMain(void* state) {
    static_cast<State*>(state)->run();
    return nullptr;
  }

  void run() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait(lock, [this] { return stopping || jobCount > 0; });
      if (jobCount == 0) return;
      const Job job = jobs[0];
      remove(0);
      busy = job.view;
      lock.unlock();
      if (job.unmap) {
        unmapFileView(job.view, job.size);
      } else {
        // Faults every page in writable, as a first write would, without
        // touching a byte: the writer may be writing the first of them.
        madvise(job.view, job.size, MADV_POPULATE_WRITE);
      }
      lock.lock();
      busy = nullptr;
      changed.notify_all();
    }
  }
};

ViewWorker::ViewWorker() : state_(new (std::nothrow) State) {}

ViewWorker::~ViewWorker() { stop(); }

ViewWorker::State* ViewWorker::state() {
  // A child forked meanwhile has a copy of the state, its locks as the
  // parent's threads left them, but not the thread: it starts afresh in the
  // same place, without ending the copy (its locks may be held for ever).
  if (state_ && state_->process != getpid()) new (state_.get()) State;
  return state_.get();
}

void ViewWorker::prepare(char* view, std::size_t size) {
  State* state = this->state();
  if (!state || !view) return;
  std::lock_guard<std::mutex> lock(state->mutex);
  if (!state->startThread() || state->jobCount == kMaxJobs) return;
  state->add(Job{false, view, size});
}

void ViewWorker::unmap(char* view, std::size_t size) {
  if (!view) return;
  if (State* state = this->state()) {
    std::unique_lock<std::mutex> lock(state->mutex);
    state->dropPreparations(view);
    if (state->threadRunning && state->jobCount < kMaxJobs) {
      state->add(Job{true, view, size});
      return;
    }
    // Unmapped here, once a preparation of it under way is over.
    state->changed.wait(lock, [&] { return state->busy != view; });
  }
  unmapFileView(view, size);
}

void ViewWorker::stop() {
  State* state = this->state();
  if (!state) return;
  {
    std::lock_guard<std::mutex> lock(state->mutex);
    if (!state->threadRunning) return;
    state->dropPreparations(nullptr);
    state->stopping = true;
    state->changed.notify_all();
  }
  pthread_join(state->thread, nullptr);
  state->threadRunning = false;
}

}  // namespace platform
