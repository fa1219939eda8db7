// A thread of the module's own that makes the slow calls for views of a file
// mapped shared, off the writer's thread: mapping the next view ahead
// (reserving its room on the disk too), getting its pages ready to be written
// before the writer reaches them (on Linux the first write to each page goes
// through the file system and costs microseconds), and unmapping a full view
// (which hands its dirty pages to the file, some 100 microseconds a
// mebibyte).
#ifndef LOGGER_PLATFORM_VIEW_WORKER_H_
#define LOGGER_PLATFORM_VIEW_WORKER_H_

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/file_handle.h"

namespace platform {

// Where the platform offers no way to get pages ready without writing them,
// or no thread can be had, views are mapped and unmapped on the caller's
// thread and their pages left to the writer. What the pages hold is never
// changed either way.
class ViewWorker {
 public:
  ViewWorker();
  ViewWorker(const ViewWorker&) = delete;
  ViewWorker& operator=(const ViewWorker&) = delete;
  // Does what stop does.
  ~ViewWorker();

  // Starts mapping size bytes of file from offset on, as mapFileView does,
  // and getting their pages ready, after the work handed over before, and
  // returns at once; takeViewAhead hands the view over. The first sharedLead
  // bytes may be written meanwhile through another view. One view ahead at a
  // time; file stays open until it is taken. The thread starts on the first
  // call that needs it.
  void mapViewAhead(const FileHandle& file, int64_t offset, std::size_t size,
                    std::size_t sharedLead = 0);

  // The view mapViewAhead was asked for, once mapped (waiting for it), for
  // the caller to write and to hand back to unmap; nullptr when it could not
  // be mapped or none was asked for.
  char* takeViewAhead();

  // Starts getting the pages of a view that mapFileView returned ready for
  // writing, after the work handed over before, and returns at once; the
  // writer may write the view meanwhile.
  void prepare(char* view, std::size_t size);

  // Unmaps a view that mapFileView or takeViewAhead returned, after the work
  // handed over before, and returns at once; the caller no longer touches it.
  void unmap(char* view, std::size_t size);

  // Unmaps the views handed over and a view ahead not taken, drops the
  // preparations not yet done and ends the thread, until it is needed again.
  void stop();

 private:
  struct State;

  // The state of this process's worker; nullptr when there is no memory for it.
  State* state();

  std::unique_ptr<State> state_;
};

}  // namespace platform

#endif  // LOGGER_PLATFORM_VIEW_WORKER_H_
