#pragma once
// Ports: version resources and icons of files, and the image collection icons go into.

#include <cstdint>
#include <memory>

#include "ports/registry.h"  // Bytes

namespace tarnwick {

// A file's version information, read in one piece (GetFileVersionInfoW).
class VersionBlock {
 public:
  virtual ~VersionBlock() = default;
  // VerQueryValueW of a sub-block: its bytes. False when it is missing.
  [[nodiscard]] virtual bool Query(TextView subBlock, Bytes& value) = 0;
};

class VersionResources {
 public:
  virtual ~VersionResources() = default;
  // nullptr when the file has no version information (size 0) or it cannot be read.
  virtual std::unique_ptr<VersionBlock> Read(TextView path) = 0;
};

// An extracted icon; destroying it releases the handle.
class Icon {
 public:
  virtual ~Icon() = default;
};

class IconSource {
 public:
  virtual ~IconSource() = default;
  // ExtractAssociatedIconW: the file's own icon number `index`, or that of the program
  // associated with its type; nullptr when there is none.
  virtual std::unique_ptr<Icon> ExtractAssociated(TextView file, uint16_t index) = 0;
};

// The images a list draws from (16 x 16 at 96 DPI). Owned by the list, not a platform port.
class ImageCollection {
 public:
  virtual ~ImageCollection() = default;
  virtual int Count() const = 0;
  // Appends the icon under `name`. False when the collection refuses it.
  [[nodiscard]] virtual bool AddIcon(const Icon& icon, TextView name) = 0;
};

}  // namespace tarnwick
