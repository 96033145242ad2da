#include "core/catalogue/task_lock.h"

namespace tarnwick {

std::recursive_mutex TaskLock;

}  // namespace tarnwick
