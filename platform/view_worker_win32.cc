#include "platform/platform.h"
#include "platform/view_worker.h"

namespace platform {

// On Windows the pages are left to the writer and views are unmapped at
// once: a thread of the module's own could not be ended safely where the
// module is unloaded with a run open, because the loader lock is held there
// and a thread's exit waits for it.
struct ViewWorker::State {};

ViewWorker::State* ViewWorker::state() { return nullptr; }

ViewWorker::ViewWorker() = default;

ViewWorker::~ViewWorker() = default;

void ViewWorker::prepare(char*, std::size_t) {}

void ViewWorker::unmap(char* view, std::size_t size) { unmapFileView(view, size); }

void ViewWorker::stop() {}

}  // namespace platform
