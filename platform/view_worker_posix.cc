// The view worker on Linux and other POSIX systems: a thread of its own.
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>

#include "platform/platform.h"
#include "platform/view_jobs.h"
#include "platform/view_worker.h"

// Linux 5.14 and later; an older kernel refuses it and the pages are left to
// the writer.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace platform {
namespace {

// A preparation goes this far at a time, so that one given up (the run
// ended, the view let go) stops soon.
constexpr std::size_t kPreparationPiece = std::size_t{64} << 10;

// What the thread is called where threads are listed (top -H, a debugger).
constexpr char kThreadName[] = "logger views";

// Enough for the thread's few frames and a system call.
constexpr std::size_t kThreadStackSize = std::size_t{256} << 10;

}  // namespace

struct ViewWorker::State {
  const pid_t process = getpid();  // the process the state belongs to
  std::mutex mutex;
  std::condition_variable changed;
  pthread_t thread{};
  bool threadRunning = false;
  // The jobs waiting; beyond them, preparations are left out and views
  // mapped and unmapped by the caller.
  ViewJobs jobs;
  const char* busy = nullptr;  // the view of the job under way
  bool busyDropped = false;    // its preparation is given up
  bool mappingAhead = false;   // a view ahead is asked for and not yet mapped
  char* viewAhead = nullptr;   // the view ahead, mapped and not yet taken
  std::size_t viewAheadSize = 0;
  bool stopping = false;
  bool unavailable = false;  // no thread could be started

  // Adds job after the others; false when too many wait or no thread runs.
  bool add(const ViewJob& job) {
    if (jobs.full() || !startThread()) return false;
    jobs.add(job);
    changed.notify_all();
    return true;
  }

  // Drops the preparations of view, or of every view for nullptr: those
  // waiting at once, the one under way after its current piece.
  void dropPreparations(const char* view) {
    for (int i = jobs.size() - 1; i >= 0; --i) {
      if (jobs[i].kind == ViewJob::kPrepare && (view == nullptr || jobs[i].view == view)) {
        jobs.remove(i);
      }
    }
    if (busy && (view == nullptr || busy == view)) busyDropped = true;
  }

  bool startThread() {
    if (threadRunning) return true;
    if (unavailable) return false;
    stopping = false;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    pthread_attr_setstacksize(&attributes, kThreadStackSize);
    // The thread takes none of the host's signals: it starts with all of
    // them blocked.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &before);
    threadRunning = pthread_create(&thread, &attributes, &State::threadMain, this) == 0;
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    pthread_attr_destroy(&attributes);
    if (threadRunning) pthread_setname_np(thread, kThreadName);
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
      changed.wait(lock, [this] { return stopping || !jobs.empty(); });
      if (jobs.empty()) return;
      ViewJob job = jobs.takeOldest();
      busyDropped = false;
      if (job.kind == ViewJob::kMapAhead) {
        lock.unlock();
        job.view = mapFileView(*job.file, job.offset, job.size);
        lock.lock();
        viewAhead = job.view;
        viewAheadSize = job.size;
        mappingAhead = false;
        changed.notify_all();
      }
      busy = job.view;
      lock.unlock();
      if (job.kind == ViewJob::kUnmap) {
        unmapFileView(job.view, job.size);
      } else if (job.view) {
        prepareView(job.view, job.size);
      }
      lock.lock();
      busy = nullptr;
      changed.notify_all();
    }
  }

  // Faults every page of the view in writable, as a first write would,
  // without touching a byte (the writer may be writing the first of them),
  // a piece at a time until done or dropped. Called unlocked.
  void prepareView(char* view, std::size_t size) {
    for (std::size_t done = 0; done < size; done += kPreparationPiece) {
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (busyDropped || stopping) return;
      }
      madvise(view + done, std::min(kPreparationPiece, size - done), MADV_POPULATE_WRITE);
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

// Getting pages ready changes no byte of them: the lead shared with another
// view needs no care.
void ViewWorker::mapViewAhead(const FileHandle& file, int64_t offset, std::size_t size,
                              std::size_t) {
  State* state = this->state();
  if (!state) return;
  std::unique_lock<std::mutex> lock(state->mutex);
  if (state->mappingAhead || state->viewAhead) return;
  if (state->add(ViewJob{ViewJob::kMapAhead, nullptr, size, &file, offset, 0})) {
    state->mappingAhead = true;
    return;
  }
  lock.unlock();
  char* view = mapFileView(file, offset, size);
  lock.lock();
  state->viewAhead = view;
  state->viewAheadSize = size;
}

char* ViewWorker::takeViewAhead() {
  State* state = this->state();
  if (!state) return nullptr;
  std::unique_lock<std::mutex> lock(state->mutex);
  state->changed.wait(lock, [&] { return !state->mappingAhead; });
  char* view = state->viewAhead;
  state->viewAhead = nullptr;
  return view;
}

void ViewWorker::prepare(char* view, std::size_t size) {
  State* state = this->state();
  if (!state || !view) return;
  std::lock_guard<std::mutex> lock(state->mutex);
  state->add(ViewJob{ViewJob::kPrepare, view, size, nullptr, 0, 0});
}

void ViewWorker::unmap(char* view, std::size_t size) {
  if (!view) return;
  if (State* state = this->state()) {
    std::unique_lock<std::mutex> lock(state->mutex);
    state->dropPreparations(view);
    if (state->add(ViewJob{ViewJob::kUnmap, view, size, nullptr, 0, 0})) return;
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
    if (state->threadRunning) {
      state->dropPreparations(nullptr);
      state->stopping = true;
      state->changed.notify_all();
    }
  }
  if (state->threadRunning) pthread_join(state->thread, nullptr);
  state->threadRunning = false;
  if (state->viewAhead) unmapFileView(state->viewAhead, state->viewAheadSize);
  state->viewAhead = nullptr;
}

}  // namespace platform
