// A reader of the resources of a PE image held in memory (32-bit and 64-bit images), and the
// read-back check of a program file that the changers have patched: only a file that passes is
// ever named in boot.ini or as the logon host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// A resource type or name: a number, or a text (compared without regard to case).
struct PEResourceId {
  PEResourceId(std::uint16_t number) : id(number) {}  // NOLINT: numbers read naturally
  PEResourceId(const char* text) : name(text) {}      // NOLINT
  std::uint16_t id = 0;
  std::string name;  // empty for a number
};

constexpr std::uint16_t kResourceTypeBitmap = 2;

// One language's data of a resource; data points into the image given to the reader.
struct PEResourceData {
  std::uint16_t language = 0;
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

// Appends every language of resource (type, name), in directory order. False when the bytes
// are not a PE image with a readable resource directory; true (and nothing appended) when the
// directory is there but lacks the resource.
bool FindPEResource(const std::uint8_t* image, std::size_t size, const PEResourceId& type,
                    const PEResourceId& name, std::vector<PEResourceData>* out);

// What a patched file must hold: resource (type, name) in language, with exactly these bytes
// (when bytes is empty, any content of at least minSize bytes).
struct ExpectedResource {
  PEResourceId type;
  PEResourceId name;
  std::uint16_t language;
  std::vector<std::uint8_t> bytes;
  std::size_t minSize = 1;
};

// The read-back check: NT headers in place, the stored checksum equal to the computed one, and
// every expected resource present in its language with its bytes. On failure why says
// what is wrong.
bool CheckPatchedImage(const std::uint8_t* image, std::size_t size,
                       const std::vector<ExpectedResource>& expected, std::string* why);

}  // namespace qv
