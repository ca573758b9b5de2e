#include "changers/PEResources.h"

#include <cstring>

#include "changers/PEChecksum.h"
#include "changers/PEChecksum.h"
#include "platform/AsciiText.h"
#include "platform/ByteReader.h"

namespace qv {
namespace {

constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kNameBit = 0x80000000u;
constexpr std::size_t kMaxEntries = 65536;  // more entries than any file has: a broken directory

using platform::ByteReader;

struct Section {
  std::uint32_t rva, virtualSize, rawOffset, rawSize;
};

// The resource directory of the image: its file offset and the section table that maps RVAs.
struct ResourceTree {
  std::size_t base = 0;        // file offset of the root directory
  std::uint32_t baseRva = 0;   // its RVA
  std::uint32_t length = 0;    // bytes of the directory as the header states them
  std::vector<Section> sections;
};

bool RvaToOffset(const ResourceTree& tree, std::uint32_t rva, std::size_t* offset) {
  for (const Section& s : tree.sections) {
    std::uint32_t extent = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
    if (rva >= s.rva && rva - s.rva < extent) {
      if (rva - s.rva >= s.rawSize) return false;  // not backed by the file
      *offset = static_cast<std::size_t>(s.rawOffset) + (rva - s.rva);
      return true;
    }
  }
  return false;
}

bool OpenTree(const ByteReader& view, std::size_t size, ResourceTree* tree) {
  const std::size_t nt = view.U32LEAt(kNtHeaderOffsetField);
  if (size < kNtHeaderOffsetField + 4 || !view.Has(nt, 24) || view.U32LEAt(nt) != 0x00004550)
    return false;
  std::size_t sectionCount = view.U16LEAt(nt + 6);
  std::size_t optionalSize = view.U16LEAt(nt + 20);
  std::size_t optional = nt + 24;
  std::uint16_t magic = view.U16LEAt(optional);
  std::size_t directories;
  if (magic == 0x10B) {
    directories = optional + 96;
  } else if (magic == 0x20B) {
    directories = optional + 112;
  } else {
    return false;
  }
  std::uint32_t directoryCount = view.U32LEAt(directories - 4);
  if (directoryCount < 3 || !view.Has(directories, 3 * 8) ||
      directories + 3 * 8 > optional + optionalSize)
    return false;
  tree->baseRva = view.U32LEAt(directories + 2 * 8);
  tree->length = view.U32LEAt(directories + 2 * 8 + 4);
  if (tree->baseRva == 0) return false;
  std::size_t table = optional + optionalSize;
  if (!view.Has(table, sectionCount * 40)) return false;
  for (std::size_t i = 0; i < sectionCount; ++i) {
    std::size_t s = table + 40 * i;
    tree->sections.push_back(
        {view.U32LEAt(s + 12), view.U32LEAt(s + 8), view.U32LEAt(s + 20), view.U32LEAt(s + 16)});
  }
  return RvaToOffset(*tree, tree->baseRva, &tree->base) && view.Has(tree->base, 16);
}

bool NameMatches(const ByteReader& view, const ResourceTree& tree, std::uint32_t entryName,
                 const PEResourceId& id) {
  if (!(entryName & kNameBit)) return id.name.empty() && (entryName & 0xFFFF) == id.id &&
                                        entryName <= 0xFFFF;
  if (id.name.empty()) return false;
  std::size_t at = tree.base + (entryName & ~kNameBit);
  std::size_t length = view.U16LEAt(at);
  if (!view.Has(at + 2, 2 * length) || length != id.name.size()) return false;
  for (std::size_t i = 0; i < length; ++i) {
    // Resource names compare without regard to ASCII case; other code units as they are.
    const std::uint16_t c = view.U16LEAt(at + 2 + 2 * i);
    const char want = id.name[i];
    if (c < 0x80 ? platform::LowerAscii(static_cast<char>(c)) != platform::LowerAscii(want)
                 : c != static_cast<unsigned char>(want))
      return false;
  }
  return true;
}

// The entries of the directory at offset: (name field, target field) pairs.
bool ReadDirectory(const ByteReader& view, std::size_t at,
                   std::vector<std::pair<std::uint32_t, std::uint32_t>>* entries) {
  if (!view.Has(at, 16)) return false;
  std::size_t count = static_cast<std::size_t>(view.U16LEAt(at + 12)) + view.U16LEAt(at + 14);
  if (count > kMaxEntries || !view.Has(at + 16, 8 * count)) return false;
  entries->clear();
  for (std::size_t i = 0; i < count; ++i)
    entries->emplace_back(view.U32LEAt(at + 16 + 8 * i), view.U32LEAt(at + 20 + 8 * i));
  return true;
}

// Follows the entry matching id to its subdirectory; false when there is none.
bool Descend(const ByteReader& view, const ResourceTree& tree, std::size_t at,
             const PEResourceId& id, std::size_t* next, bool* broken) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
  if (!ReadDirectory(view, at, &entries)) {
    *broken = true;
    return false;
  }
  for (const auto& e : entries) {
    if (!NameMatches(view, tree, e.first, id)) continue;
    if (!(e.second & kSubdirectoryBit)) {
      *broken = true;
      return false;
    }
    *next = tree.base + (e.second & ~kSubdirectoryBit);
    return true;
  }
  return false;
}

}  // namespace

bool FindPEResource(const std::uint8_t* image, std::size_t size, const PEResourceId& type,
                    const PEResourceId& name, std::vector<PEResourceData>* out) {
  ByteReader view(image, size);
  ResourceTree tree;
  if (!OpenTree(view, size, &tree)) return false;
  bool broken = false;
  std::size_t names = 0, languages = 0;
  if (!Descend(view, tree, tree.base, type, &names, &broken)) return !broken;
  if (!Descend(view, tree, names, name, &languages, &broken)) return !broken;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
  if (!ReadDirectory(view, languages, &entries)) return false;
  for (const auto& e : entries) {
    if (e.second & kSubdirectoryBit) return false;  // a fourth level does not exist
    std::size_t leaf = tree.base + e.second;
    if (!view.Has(leaf, 16)) return false;
    std::uint32_t dataRva = view.U32LEAt(leaf);
    std::uint32_t dataSize = view.U32LEAt(leaf + 4);
    std::size_t offset = 0;
    if (!RvaToOffset(tree, dataRva, &offset) || !view.Has(offset, dataSize)) return false;
    out->push_back({static_cast<std::uint16_t>(e.first & 0xFFFF), view.At(offset), dataSize});
  }
  return true;
}

bool CheckPatchedImage(const std::uint8_t* image, std::size_t size,
                       const std::vector<ExpectedResource>& expected, std::string* why) {
  std::uint32_t stored = 0, computed = 0;
  if (!ReadPEChecksums(image, size, &stored, &computed)) {
    *why = "no PE headers";
    return false;
  }
  if (stored != computed) {
    *why = "checksum " + std::to_string(stored) + " where " + std::to_string(computed) + " is due";
    return false;
  }
  for (const ExpectedResource& e : expected) {
    std::string what = (e.type.name.empty() ? std::to_string(e.type.id) : e.type.name) + " " +
                       (e.name.name.empty() ? std::to_string(e.name.id) : e.name.name);
    std::vector<PEResourceData> found;
    if (!FindPEResource(image, size, e.type, e.name, &found)) {
      *why = "resource directory unreadable";
      return false;
    }
    const PEResourceData* hit = nullptr;
    for (const PEResourceData& d : found)
      if (d.language == e.language) hit = &d;
    if (!hit) {
      *why = "resource " + what + " missing in language " + std::to_string(e.language);
      return false;
    }
    bool same = e.bytes.empty() ? hit->size >= e.minSize
                                : hit->size == e.bytes.size() &&
                                      std::memcmp(hit->data, e.bytes.data(), hit->size) == 0;
    if (!same) {
      *why = "resource " + what + " holds other bytes";
      return false;
    }
  }
  return true;
}

}  // namespace qv
