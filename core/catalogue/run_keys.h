#pragma once
// The three Run keys the catalogue reads, and how a Run entry's Target is taken apart again.

#include <array>

#include "core/text/text.h"
#include "ports/registry.h"

namespace tarnwick {

struct RunKey {
  RootKey root;
  TextView path;  // begins with "\"
};

// In the order they are read; the current user's 32-bit key is not read.
inline constexpr std::array<RunKey, 3> kRunKeys = {{
    {root::kLocalMachine, u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {root::kLocalMachine, u"\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {root::kCurrentUser, u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
}};

// Root, key path and value name of a registry Target. A Target inside one of the Run keys
// keeps everything after the key as the value name, so a value named "C:\Tools\a.exe" stays
// one name; any other text is split at its last "\" as TReg::Parse does.
bool SplitRegistryTarget(TextView target, RootKey& root, Text& key, Text& name);

}  // namespace tarnwick
