#pragma once

#include "ports/locale.h"
#include "ports/program_resources.h"

namespace tarnwick::win32 {

class Win32Locale final : public Locale {
 public:
  bool UserIso639Name(Text& name) override;
  int CompareIgnoreCase(TextView a, TextView b) override;
  Text Upper(TextView text) override;
};

// The resources of the running executable.
class Win32Resources final : public ProgramResources {
 public:
  bool ReadRcData(TextView name, Bytes& data) override;
};

}  // namespace tarnwick::win32
