// The palette builder of the changers: an octree over the picture's colours that is pruned from
// its deepest reducible level until no more than the wanted number of leaves remain; each leaf
// is one palette entry, the mean of the colours that fell into it.
#pragma once

#include <cstdint>

#include "image/CxDefs.h"

class CxImage;

namespace qv {

class OctreeQuantizer {
 public:
  // levels = min(colourBits, 8); a colour is followed down the tree until it meets a leaf.
  OctreeQuantizer(uint32_t maxColours, uint32_t colourBits);
  ~OctreeQuantizer();
  OctreeQuantizer(const OctreeQuantizer&) = delete;
  OctreeQuantizer& operator=(const OctreeQuantizer&) = delete;

  // Adds every pixel of the picture, bottom row first, left to right, pruning the tree whenever
  // it holds more leaves than wanted. False for an invalid picture or a depth of 0 or above 24.
  bool ProcessImage(const CxImage& image);

  // Leaves in the tree now.
  uint32_t GetColorCount() const { return leafCount_; }

  // Fills the table from entry 0 with the leaves in depth-first order (children 0 to 7). The
  // table must hold 256 entries; entries past the leaves are left untouched.
  void SetColorTable(CxRgbQuad* table) const;

 private:
  struct Node;

  void AddColour(uint8_t r, uint8_t g, uint8_t b);
  // The leaf that a colour's path (its bits interleaved, red highest) leads to, made if missing.
  Node* FindLeaf(uint32_t path);
  // Merges the children of the deepest reducible node into it. False when nothing is left.
  bool ReduceTree();
  static void FreeTree(Node* node);
  static void WalkLeaves(const Node* node, CxRgbQuad* table, uint32_t* index);

  uint32_t maxColours_;
  uint32_t levels_;
  uint32_t leafCount_ = 0;
  Node* root_ = nullptr;
  Node* reducible_[9] = {};  // one list per level 0..levels, newest first
  // The leaf of the last colour added, and the bits of the path that lead to it.
  Node* lastLeaf_ = nullptr;
  uint32_t lastPath_ = 0;
  uint32_t lastShift_ = 0;
};

}  // namespace qv
