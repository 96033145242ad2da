#pragma once
// The console companion's commands, independent of the console they print to.

#include <span>
#include <string>

#include "core/text/text.h"
#include "core/app_context.h"

namespace tarnwick {

struct CliResult {
  int exitCode = 0;
  std::string out;  // UTF-8
  std::string err;  // UTF-8
};

// `args` are the arguments after the program name.
CliResult RunTarnwickc(std::span<const Text> args, const AppContext& app);

}  // namespace tarnwick
