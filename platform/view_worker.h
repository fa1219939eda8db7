// A thread of the module's own that does the slow calls for views of a file
// mapped shared, off the writer's thread: getting a view's pages ready to be
// written before the writer reaches them (on Linux the first write to each
// page goes through the file system and costs microseconds), and unmapping a
// full view (which hands its dirty pages to the file, some 100 microseconds a
// mebibyte).
#ifndef LOGGER_PLATFORM_VIEW_WORKER_H_
#define LOGGER_PLATFORM_VIEW_WORKER_H_

#include <cstddef>
#include <memory>

namespace platform {

// Where the platform offers no way to get pages ready without writing them,
// or no thread can be had, pages are left to the writer and views are
// unmapped at once, on the caller's thread. What the pages hold is never
// changed either way.
class ViewWorker {
 public:
  ViewWorker();
  ViewWorker(const ViewWorker&) = delete;
  ViewWorker& operator=(const ViewWorker&) = delete;
  // Unmaps what it was handed and ends the thread.
  ~ViewWorker();

  // Starts getting the pages of a view that mapFileView returned ready for
  // writing, after the work handed over before, and returns at once; the
  // writer may write the view meanwhile. The thread starts on the first call.
  void prepare(char* view, std::size_t size);

  // Unmaps a view that mapFileView returned, after the work handed over
  // before, and returns at once; the caller no longer touches the view.
  void unmap(char* view, std::size_t size);

  // Unmaps the views handed over, drops the preparations not yet begun and
  // ends the thread, until the next prepare.
  void stop();

 private:
  struct State;

  // The state of this process's worker; nullptr when there is no memory for it.
  State* state();

  std::unique_ptr<State> state_;
};

}  // namespace platform

#endif  // LOGGER_PLATFORM_VIEW_WORKER_H_
