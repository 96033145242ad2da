#pragma once
// A small reader for the XML files Windows writes about its own work (boot measurements,
// task definitions): elements, attributes, character data and CDATA. No DTDs, no
// namespaces beyond the names as written. Input from outside: malformed or too deep
// documents are refused, never half-read.

#include <utility>
#include <vector>

#include "core/text/text.h"

namespace tarnwick {

struct XmlElement {
  Text name;
  std::vector<std::pair<Text, Text>> attributes;
  Text text;  // character data and CDATA directly inside, entities decoded, concatenated
  std::vector<XmlElement> children;

  // nullptr when there is no attribute or child of that name (compared exactly).
  const Text* Attribute(TextView attributeName) const;
  const XmlElement* Child(TextView childName) const;
};

// The document's root element. False with a reason for anything that is not well-formed
// enough to trust, or nested deeper than 64 elements.
[[nodiscard]] bool ParseXml(TextView document, XmlElement& root, Text& error);

}  // namespace tarnwick
