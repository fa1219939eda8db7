// The view worker on Windows: no thread, every call made at once.
#include <new>

#include "platform/platform.h"
#include "platform/view_worker.h"

namespace platform {

// On Windows views are mapped and unmapped at once and their pages left to
// the writer: a thread of the module's own could not be ended safely where
// the module is unloaded with a run open, because the loader lock is held
// there and a thread's exit waits for it.
struct ViewWorker::State {
  char* viewAhead = nullptr;
  std::size_t viewAheadSize = 0;
};

ViewWorker::State* ViewWorker::state() { return state_.get(); }

ViewWorker::ViewWorker() : state_(new (std::nothrow) State) {}

ViewWorker::~ViewWorker() { stop(); }

void ViewWorker::mapViewAhead(const FileHandle& file, int64_t offset, std::size_t size) {
  State* state = this->state();
  if (!state || state->viewAhead) return;
  state->viewAhead = mapFileView(file, offset, size);
  state->viewAheadSize = size;
}

char* ViewWorker::takeViewAhead() {
  State* state = this->state();
  if (!state) return nullptr;
  char* view = state->viewAhead;
  state->viewAhead = nullptr;
  return view;
}

void ViewWorker::prepare(char*, std::size_t) {}

void ViewWorker::unmap(char* view, std::size_t size) {
  if (view) unmapFileView(view, size);
}

void ViewWorker::stop() {
  State* state = this->state();
  if (state && state->viewAhead) unmap(takeViewAhead(), state->viewAheadSize);
}

}  // namespace platform
