// The view worker on Windows: the system's thread pool makes the slow calls.
// Each burst of work is one callback that holds a reference to the module
// until it is over, so that a host may unload the module whenever it likes:
// an unload during a burst takes effect as the burst ends. No callback waits
// while no work does, nothing waits under the loader lock, and no thread of
// the module's own is ever ended.
#include <windows.h>

#include <algorithm>
#include <new>

#include "platform/module_end_win32.h"
#include "platform/platform.h"
#include "platform/view_worker.h"

namespace platform {
namespace {

struct Job {
  enum Kind { kMapAhead, kUnmap } kind;
  char* view;
  std::size_t size;
  const FileHandle* file;  // the file to map, for kMapAhead
  int64_t offset;          // where the view starts in it
  std::size_t sharedLead;  // bytes at its start the writer may be writing
};

// The work that may wait at once; beyond it, views are mapped and unmapped
// by the caller.
constexpr int kMaxJobs = 4;

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
  Job jobs[kMaxJobs];  // waiting, oldest first
  int jobCount = 0;
  bool working = false;       // a callback was submitted and is not yet over
  bool mappingAhead = false;  // a view ahead is asked for and not yet mapped
  char* viewAhead = nullptr;  // the view ahead, mapped and not yet taken
  std::size_t viewAheadSize = 0;
  bool stopping = false;
  HMODULE module = nullptr;   // the reference the work under way holds
  HANDLE returned = nullptr;  // set once the last call has returned, none of its code left to run
  HMODULE referenceForStop = nullptr;  // the reference of a call that stop waited for

  ~State() {
    if (returned) CloseHandle(returned);
  }

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
  bool add(Job job) {
    if (jobCount == kMaxJobs || moduleEnd() != ModuleEnd::kRunning) return false;
    if (!working && !submit()) return false;
    working = true;
    jobs[jobCount++] = job;
    return true;
  }

  // Has the pool call work once, with a reference to the module held from
  // now until that call has returned: the pool lets it go then, after
  // setting the returned event (the module may be unloaded at once).
  bool submit() {
    if (!returned) returned = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (!returned) return false;
    module = referenceThisModule();
    if (!module) return false;
    ResetEvent(returned);
    const PTP_WORK work = CreateThreadpoolWork(&State::work, this, nullptr);
    if (!work) {
      FreeLibrary(module);
      return false;
    }
    SubmitThreadpoolWork(work);
    CloseThreadpoolWork(work);  // freed once its call is over
    return true;
  }

  static void CALLBACK work(PTP_CALLBACK_INSTANCE instance, void* state, PTP_WORK) {
    static_cast<State*>(state)->run(instance);
  }

  // Does the jobs until none waits; then lets the module's reference go.
  void run(PTP_CALLBACK_INSTANCE instance) {
    AcquireSRWLockExclusive(&lock);
    while (jobCount > 0) {
      const Job job = jobs[0];
      for (int i = 1; i < jobCount; ++i) jobs[i - 1] = jobs[i];
      --jobCount;
      ReleaseSRWLockExclusive(&lock);
      if (job.kind == Job::kUnmap) {
        unmapFileView(job.view, job.size);
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
    SetEventWhenCallbackReturns(instance, returned);
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
  // before, by an atomic addition of nothing, which no write of the writer's
  // can fall into.
  void prepareViewAhead(char* view, std::size_t size, std::size_t sharedLead) {
    const std::size_t lead = std::min(size, (sharedLead + kPageSize - 1) / kPageSize * kPageSize);
    for (std::size_t at = lead; at < size; at += kPageSize) {
      if (!touchUntaken(view, at, [](volatile char* byte) { *byte = *byte; })) return;
    }
    for (std::size_t at = 0; at < lead; at += kPageSize) {
      if (!touchUntaken(view, at, [](volatile char* byte) {
            InterlockedExchangeAdd(reinterpret_cast<volatile LONG*>(byte), 0);
          })) {
        return;
      }
    }
  }

  // Touches the byte at offset of the view ahead while it is not taken;
  // false when it was taken or the work stopped.
  template <typename Touch>
  bool touchUntaken(char* view, std::size_t offset, Touch touch) {
    AcquireSRWLockExclusive(&lock);
    const bool untaken = viewAhead == view && !stopping;
    if (untaken) touch(view + offset);
    ReleaseSRWLockExclusive(&lock);
    return untaken;
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
  if (state->add(Job{Job::kMapAhead, nullptr, size, &file, offset, sharedLead})) {
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

// Views the caller mapped are written at once: their pages are left to it.
void ViewWorker::prepare(char*, std::size_t) {}

void ViewWorker::unmap(char* view, std::size_t size) {
  if (!view) return;
  if (State* state = this->state()) {
    State::Locked locked(state);
    if (state->add(Job{Job::kUnmap, view, size, nullptr, 0, 0})) return;
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
  // The last call may still be on its way out. The reference of a call
  // waited for here goes here, once it has returned, so that none of the
  // pool's outlives Dispose; one that ended before goes in the pool's code.
  if (state->returned && moduleEnd() == ModuleEnd::kRunning) {
    WaitForSingleObject(state->returned, INFINITE);
  }
  if (state->referenceForStop) FreeLibrary(state->referenceForStop);
  state->referenceForStop = nullptr;
  for (int i = 0; i < state->jobCount; ++i) {
    if (state->jobs[i].kind == Job::kUnmap) unmapFileView(state->jobs[i].view, state->jobs[i].size);
  }
  state->jobCount = 0;
  state->working = state->mappingAhead = false;
  if (state->viewAhead) unmapFileView(state->viewAhead, state->viewAheadSize);
  state->viewAhead = nullptr;
}

}  // namespace platform
