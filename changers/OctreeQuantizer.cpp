#include "changers/OctreeQuantizer.h"

#include "image/CxImage.h"

namespace qv {

struct OctreeQuantizer::Node {
  bool leaf = false;
  uint32_t pixelCount = 0;
  uint32_t redSum = 0;
  uint32_t greenSum = 0;
  uint32_t blueSum = 0;
  Node* child[8] = {};
  Node* nextReducible = nullptr;
};

OctreeQuantizer::OctreeQuantizer(uint32_t maxColours, uint32_t colourBits)
    : maxColours_(maxColours), levels_(colourBits < 8 ? colourBits : 8) {}

OctreeQuantizer::~OctreeQuantizer() { FreeTree(root_); }

void OctreeQuantizer::FreeTree(Node* node) {
  if (!node) return;
  for (Node* c : node->child) FreeTree(c);
  delete node;
}

bool OctreeQuantizer::ProcessImage(const CxImage& image) {
  const uint32_t bpp = image.GetBpp();
  if (!image.IsValid() || bpp == 0 || bpp > 24) return false;
  const uint32_t width = image.GetWidth();
  const uint32_t height = image.GetHeight();
  for (uint32_t y = 0; y < height; ++y) {
    if (bpp == 24) {
      // Straight from the row: blue, green, red per pixel; the row's filler bytes are not read.
      const uint8_t* p = image.GetBits(y);
      for (uint32_t x = 0; x < width; ++x, p += 3) {
        AddColour(p[2], p[1], p[0]);
        while (leafCount_ > maxColours_ && ReduceTree()) {
        }
      }
    } else {
      for (uint32_t x = 0; x < width; ++x) {
        CxRgbQuad c = image.GetPixelColor(static_cast<long>(x), static_cast<long>(y), false);
        AddColour(c.rgbRed, c.rgbGreen, c.rgbBlue);
        while (leafCount_ > maxColours_ && ReduceTree()) {
        }
      }
    }
  }
  return true;
}

namespace {

// The bits of a byte spread three apart (bit i to bit 3 i), so that one colour's child index at
// every level of the tree is three neighbouring bits of one number.
struct SpreadBits {
  uint32_t of[256];
  SpreadBits() {
    for (uint32_t v = 0; v < 256; ++v) {
      of[v] = 0;
      for (uint32_t bit = 0; bit < 8; ++bit) of[v] |= ((v >> bit) & 1u) << (3 * bit);
    }
  }
};
const SpreadBits kSpread;

}  // namespace

void OctreeQuantizer::AddColour(uint8_t r, uint8_t g, uint8_t b) {
  // The child index at level l (red, green, blue: bits 2, 1, 0) is bits 3 (7 - l) and up.
  const uint32_t path = (kSpread.of[r] << 2) | (kSpread.of[g] << 1) | kSpread.of[b];
  // Neighbouring pixels mostly end in the same leaf: the leaf at depth d takes every colour whose
  // path begins with the same 3 d bits.
  Node* node = lastLeaf_;
  if (!node || (path ^ lastPath_) >> lastShift_) node = FindLeaf(path);
  ++node->pixelCount;
  node->redSum += r;
  node->greenSum += g;
  node->blueSum += b;
}

OctreeQuantizer::Node* OctreeQuantizer::FindLeaf(uint32_t path) {
  Node** link = &root_;
  for (uint32_t level = 0;; ++level) {
    Node* node = *link;
    if (!node) {
      node = new Node;
      *link = node;
      if (level == levels_) {
        node->leaf = true;
        ++leafCount_;
      } else {
        node->nextReducible = reducible_[level];
        reducible_[level] = node;
      }
    }
    if (node->leaf) {
      lastLeaf_ = node;
      lastPath_ = path;
      lastShift_ = 24 - 3 * level;
      return node;
    }
    link = &node->child[(path >> (21 - 3 * level)) & 7u];
  }
}

bool OctreeQuantizer::ReduceTree() {
  int level = levels_ > 0 ? static_cast<int>(levels_) - 1 : 0;
  while (level > 0 && !reducible_[level]) --level;
  Node* node = reducible_[level];
  lastLeaf_ = nullptr;  // it may be merged away
  // Only when the whole tree is one leaf already (a wanted count of 0): nothing more to merge.
  if (!node) return false;
  reducible_[level] = node->nextReducible;
  node->nextReducible = nullptr;
  uint32_t children = 0;
  for (Node*& c : node->child) {
    if (!c) continue;
    node->pixelCount += c->pixelCount;
    node->redSum += c->redSum;
    node->greenSum += c->greenSum;
    node->blueSum += c->blueSum;
    FreeTree(c);
    c = nullptr;
    ++children;
  }
  node->leaf = true;
  // The deepest reducible level is taken first, so every child merged here is a leaf.
  leafCount_ = leafCount_ + 1 - children;
  return true;
}

void OctreeQuantizer::SetColorTable(CxRgbQuad* table) const {
  uint32_t index = 0;
  WalkLeaves(root_, table, &index);
}

void OctreeQuantizer::WalkLeaves(const Node* node, CxRgbQuad* table, uint32_t* index) {
  if (!node) return;
  if (node->leaf) {
    if (*index >= 256 || node->pixelCount == 0) return;
    CxRgbQuad& entry = table[(*index)++];
    entry.rgbRed = static_cast<uint8_t>(node->redSum / node->pixelCount);
    entry.rgbGreen = static_cast<uint8_t>(node->greenSum / node->pixelCount);
    entry.rgbBlue = static_cast<uint8_t>(node->blueSum / node->pixelCount);
    entry.rgbReserved = 0;
    return;
  }
  for (const Node* c : node->child) WalkLeaves(c, table, index);
}

}  // namespace qv
