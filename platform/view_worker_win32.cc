// The view worker on Windows: a thread pool of the run's own, one thread
// that lives as long as the run, makes the slow calls. Each burst of work is
// one callback that holds a reference to the module until it is over, so
// that a host may unload the module whenever it likes: an unload during a
// burst takes effect as the burst ends. Handing work over costs the writer
// a wake-up and no other call into the system: the pool, its thread and its
// work object are made once, when the run first needs them, and let go when
// it ends. No callback waits while no work does, nothing waits under the
// loader lock, and no thread is waited for.
#include <windows.h>

#include <algorithm>
#include <new>

#include "platform/module_end_win32.h"
#include "platform/platform.h"
#include "platform/view_jobs.h"
#include "platform/view_worker.h"

namespace platform {
namespace {

// The size of the pages whose first write is made ahead of the writer.
constexpr std::size_t kPageSize = 4096;

// Takes a reference to this module, whose code runs the callbacks, so that
// it stays loaded; nullptr when none can be taken.
HMODULE referenceThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&referenceThisModule), &module);
  return module;
}

}  // namespace

struct ViewWorker::State {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
  // The jobs waiting; beyond them, views are mapped and unmapped by the caller.
  ViewJobs jobs;
  bool working = false;       // a callback was submitted and is not yet over
  bool mappingAhead = false;  // a view ahead is asked for and not yet mapped
  char* viewAhead = nullptr;  // the view ahead, mapped and not yet taken
  std::size_t viewAheadSize = 0;
  char* preparing = nullptr;  // a view the caller mapped and writes, its pages being got ready
  bool stopping = false;
  HMODULE module = nullptr;            // the reference the work under way holds
  HMODULE referenceForStop = nullptr;  // the reference of a call that stop waited for
  PTP_POOL pool = nullptr;             // the run's pool, its one thread kept
  PTP_WORK burst = nullptr;            // the callback of each burst, in pool

  // Holds the lock, except at the process's end, where a thread killed
  // while holding it would hold it for ever and no other thread is left.
  class Locked {
   public:
    explicit Locked(State* state) : state_(state), held_(moduleEnd() != ModuleEnd::kExiting) {
      if (held_) AcquireSRWLockExclusive(&state_->lock);
    }
    ~Locked() {
      if (held_) ReleaseSRWLockExclusive(&state_->lock);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    // Waits for changed; false where no thread is left to change anything.
    bool wait() {
      return held_ && moduleEnd() == ModuleEnd::kRunning &&
             SleepConditionVariableSRW(&state_->changed, &state_->lock, INFINITE, 0);
    }

   private:
    State* state_;
    bool held_;
  };

  // Adds job after the others, the lock held; false when too many wait, the
  // module is ending or the pool takes no work.
  bool add(const ViewJob& job) {
    if (jobs.full() || moduleEnd() != ModuleEnd::kRunning) return false;
    if (!working && !submit()) return false;
    working = true;
    jobs.add(job);
    return true;
  }

  // Has the pool call work once, with a reference to the module held from
  // now until that call has returned: the pool lets it go then (the module
  // may be unloaded at once).
  bool submit() {
    if (!burst && !openPool()) return false;
    module = referenceThisModule();
    if (!module) return false;
    SubmitThreadpoolWork(burst);
    return true;
  }

  // Makes the run's pool, with its thread, and the work object; false when
  // the system gives none.
  bool openPool() {
    pool = CreateThreadpool(nullptr);
    if (!pool) return false;
    SetThreadpoolThreadMaximum(pool, 1);
    TP_CALLBACK_ENVIRON environment;
    InitializeThreadpoolEnvironment(&environment);
    SetThreadpoolCallbackPool(&environment, pool);
    if (SetThreadpoolThreadMinimum(pool, 1)) {
      burst = CreateThreadpoolWork(&State::work, this, &environment);
    }
    DestroyThreadpoolEnvironment(&environment);
    if (!burst) closePool();
    return burst != nullptr;
  }

  // Lets the pool and the work object go; the pool ends its thread once the
  // call under way, if any, is over. At the process's end the pool's threads
  // are gone, maybe killed holding its locks: nothing of it is touched.
  void closePool() {
    if (moduleEnd() != ModuleEnd::kExiting) {
      if (burst) CloseThreadpoolWork(burst);
      if (pool) CloseThreadpool(pool);
    }
    burst = nullptr;
    pool = nullptr;
  }

  static void CALLBACK work(PTP_CALLBACK_INSTANCE instance, void* state, PTP_WORK) {
    static_cast<State*>(state)->run(instance);
  }

  // Does the jobs until none waits; then lets the module's reference go.
  void run(PTP_CALLBACK_INSTANCE instance) {
    AcquireSRWLockExclusive(&lock);
    while (!jobs.empty()) {
      const ViewJob job = jobs.takeOldest();
      ReleaseSRWLockExclusive(&lock);
      if (job.kind == ViewJob::kUnmap) {
        unmapFileView(job.view, job.size);
      } else if (job.kind == ViewJob::kPrepare) {
        prepareWrittenView(job.view, job.size);
      } else {
        char* view = mapFileView(*job.file, job.offset, job.size);
        AcquireSRWLockExclusive(&lock);
        viewAhead = view;
        viewAheadSize = job.size;
        mappingAhead = false;
        WakeAllConditionVariable(&changed);
        ReleaseSRWLockExclusive(&lock);
        if (view) prepareViewAhead(view, job.size, job.sharedLead);
      }
      AcquireSRWLockExclusive(&lock);
    }
    working = false;
    if (stopping) {
      referenceForStop = module;  // let go once the call has returned
    } else {
      FreeLibraryWhenCallbackReturns(instance, module);
    }
    module = nullptr;
    WakeAllConditionVariable(&changed);
    ReleaseSRWLockExclusive(&lock);
  }

  // Makes the first write to each page of the view ahead (under the Windows
  // emulation on Linux, the first write to a page of a file goes through the
  // file system), writing back what the page holds: a page at a time, under
  // the lock, until done, the view taken or the work stopped. The pages past
  // sharedLead, which no one else touches until the view is taken, first;
  // then those of the lead, which the writer may be writing through the view
  // before.
  void prepareViewAhead(char* view, std::size_t size, std::size_t sharedLead) {
    const std::size_t lead = std::min(size, (sharedLead + kPageSize - 1) / kPageSize * kPageSize);
    const auto untaken = [this, view] { return viewAhead == view; };
    for (std::size_t at = lead; at < size; at += kPageSize) {
      if (!touchWhile(untaken, [&] { rewriteByte(view + at); })) return;
    }
    for (std::size_t at = 0; at < lead; at += kPageSize) {
      if (!touchWhile(untaken, [&] { addNothing(view + at); })) return;
    }
  }

  // The same for a view the writer is writing meanwhile, every page by
  // addNothing, until done, the view handed back or the work stopped.
  void prepareWrittenView(char* view, std::size_t size) {
    const auto written = [this, view] { return preparing == view; };
    for (std::size_t at = 0; at < size; at += kPageSize) {
      if (!touchWhile(written, [&] { addNothing(view + at); })) break;
    }
    AcquireSRWLockExclusive(&lock);
    if (preparing == view) preparing = nullptr;
    ReleaseSRWLockExclusive(&lock);
  }

  // Writes back what byte holds; for a page no one else writes meanwhile.
  static void rewriteByte(volatile char* byte) { *byte = *byte; }

  // Adds nothing to the word at a page's start atomically, which no write of
  // another thread's can fall into.
  static void addNothing(char* pageStart) {
    InterlockedExchangeAdd(reinterpret_cast<volatile LONG*>(pageStart), 0);
  }

  // Calls touch, the lock held, if stillWanted holds and the work is not
  // stopped; false where it was not called.
  template <typename StillWanted, typename Touch>
  bool touchWhile(StillWanted stillWanted, Touch touch) {
    AcquireSRWLockExclusive(&lock);
    const bool wanted = stillWanted() && !stopping;
    if (wanted) touch();
    ReleaseSRWLockExclusive(&lock);
    return wanted;
  }
};

ViewWorker::State* ViewWorker::state() { return state_.get(); }

ViewWorker::ViewWorker() : state_(new (std::nothrow) State) {}

ViewWorker::~ViewWorker() { stop(); }

void ViewWorker::mapViewAhead(const FileHandle& file, int64_t offset, std::size_t size,
                              std::size_t sharedLead) {
  State* state = this->state();
  if (!state) return;
  State::Locked locked(state);
  if (state->mappingAhead || state->viewAhead) return;
  if (state->add(ViewJob{ViewJob::kMapAhead, nullptr, size, &file, offset, sharedLead})) {
    state->mappingAhead = true;
    return;
  }
  state->viewAhead = mapFileView(file, offset, size);
  state->viewAheadSize = size;
}

char* ViewWorker::takeViewAhead() {
  State* state = this->state();
  if (!state) return nullptr;
  State::Locked locked(state);
  while (state->mappingAhead && locked.wait()) {
  }
  char* view = state->viewAhead;
  state->viewAhead = nullptr;
  return view;
}

void ViewWorker::prepare(char* view, std::size_t size) {
  State* state = this->state();
  if (!state || !view) return;
  State::Locked locked(state);
  if (!state->preparing && state->add(ViewJob{ViewJob::kPrepare, view, size, nullptr, 0, 0})) {
    state->preparing = view;
  }
}

void ViewWorker::unmap(char* view, std::size_t size) {
  if (!view) return;
  if (State* state = this->state()) {
    State::Locked locked(state);
    if (state->add(ViewJob{ViewJob::kUnmap, view, size, nullptr, 0, 0})) return;
    // Unmapped here, at once: its preparation, if any, touches it no more.
    if (state->preparing == view) state->preparing = nullptr;
  }
  unmapFileView(view, size);
}

void ViewWorker::stop() {
  State* state = this->state();
  if (!state) return;
  State::Locked locked(state);
  // A module being unloaded has no callback under way or waiting: each keeps
  // it loaded. At the process's end, one under way was cut short; what it
  // held is left.
  state->stopping = true;
  while (state->working && locked.wait()) {
  }
  state->stopping = false;
  // The last call may still be on its way out, and the reference of one
  // that ended before may still be let go in the pool's code: both are over
  // once the callbacks are, so that none of the pool's references outlives
  // Dispose. The reference of a call waited for here goes here. Where the
  // module is being unloaded, the only call that can be under way is the
  // one whose reference is being let go on this very thread.
  if (state->burst && moduleEnd() == ModuleEnd::kRunning) {
    WaitForThreadpoolWorkCallbacks(state->burst, FALSE);
  }
  state->closePool();
  if (state->referenceForStop) FreeLibrary(state->referenceForStop);
  state->referenceForStop = nullptr;
  for (int i = 0; i < state->jobs.size(); ++i) {
    const ViewJob& job = state->jobs[i];
    if (job.kind == ViewJob::kUnmap) unmapFileView(job.view, job.size);
  }
  state->jobs.clear();
  state->working = state->mappingAhead = false;
  state->preparing = nullptr;
  if (state->viewAhead) unmapFileView(state->viewAhead, state->viewAheadSize);
  state->viewAhead = nullptr;
}

}  // namespace platform
