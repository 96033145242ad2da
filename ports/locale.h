#pragma once
// Port: the user's locale and its text rules.

#include "core/text/text.h"

namespace tarnwick {

class Locale {
 public:
  virtual ~Locale() = default;
  // LOCALE_SISO639LANGNAME of the user's default locale (the one for formats). False when
  // the platform cannot say.
  [[nodiscard]] virtual bool UserIso639Name(Text& name) = 0;
  // <0, 0, >0 comparing without regard to case by the user's locale rules.
  virtual int CompareIgnoreCase(TextView a, TextView b) = 0;
  // Upper case by the system's rules for all letters.
  virtual Text Upper(TextView text) = 0;
};

}  // namespace tarnwick
