#pragma once

#include <mutex>

namespace tarnwick {

// Guards the one shared Task Scheduler connection. Taken only by the task source and
// the task toggle, each around its whole use of the connection. Re-entrant, like the
// critical section it stands for. Lives from program start to program end.
extern std::recursive_mutex TaskLock;

}  // namespace tarnwick
