#pragma once
// Port: shell links (.lnk files).

#include "core/text/text.h"

namespace tarnwick {

struct ShortcutTarget {
  Text path;       // the target's path, as stored (not resolved against a moved target)
  Text arguments;  // empty when there are none
};

class ShortcutReader {
 public:
  virtual ~ShortcutReader() = default;
  // Loads the link through the shell's link interface without resolving it (no search, no
  // user interface). False when the file is no link or cannot be read, or the link points
  // to no file-system object (a link to a control panel item, for example).
  // May be called from any thread.
  [[nodiscard]] virtual bool Read(TextView linkPath, ShortcutTarget& target) = 0;
};

}  // namespace tarnwick
