#pragma once
// The one exception type the system lets through to the program's general error handler.

#include <stdexcept>
#include <string>

#include "core/text/text.h"

namespace tarnwick {

class TarnwickError : public std::runtime_error {
 public:
  explicit TarnwickError(const Text& message)
      : std::runtime_error(ToUtf8(message)), message_(message) {}

  const Text& Message() const noexcept { return message_; }

 private:
  Text message_;
};

}  // namespace tarnwick
