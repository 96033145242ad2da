#include "core/web/web_address.h"

namespace tarnwick {
namespace {

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }

}  // namespace

bool IsWebAddress(TextView address) {
  bool scheme = false;
  for (TextView prefix : {TextView(u"http://"), TextView(u"https://")}) {
    if (address.size() > prefix.size() && SameTextAscii(address.substr(0, prefix.size()), prefix)) scheme = true;
  }
  if (!scheme) return false;
  for (char16_t c : address) {
    if (IsControl(c) || c == u'"') return false;
  }
  return true;
}

bool OpenWebAddress(Shell& shell, TextView address) {
  if (!IsWebAddress(address)) return false;
  shell.Open(address);
  return true;
}

Text EncodeAddressPart(TextView part) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  static constexpr TextView kEncoded = u"\"<>`{}|^%";
  Text out;
  out.reserve(part.size());
  for (char16_t c : part) {
    if (IsControl(c) || kEncoded.find(c) != TextView::npos) {
      out += u'%';
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tarnwick
