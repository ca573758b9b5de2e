#include "imageinfo/JpgSummaryInfoPicker.h"

#include <cstring>

#include "imageinfo/ByteSource.h"
#include "platform/ByteReader.h"
#include "platform/Log.h"

namespace qv {
namespace {

bool IsFrameMarker(std::uint8_t code) {
  return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// Reads count bytes and throws them away, one read at a time as the table segments need.
bool ReadAndDrop(ByteSource& source, std::size_t count) {
  std::uint8_t scratch[128];
  while (count > 0) {
    std::size_t n = count < sizeof scratch ? count : sizeof scratch;
    if (source.Read(scratch, n) != n) return false;
    count -= n;
  }
  return true;
}

}  // namespace

JpgSummaryInfoPicker::JpgSummaryInfoPicker() : SummaryInfoPicker(SourceName(__FILE__), __LINE__) {}

bool JpgSummaryInfoPicker::InitExtensions() {
  extensions_ = {"jpg", "jpeg"};
  return true;
}

void JpgSummaryInfoPicker::ClearHeader() {
  frames_.clear();
  jfifUnits_ = 0;
  jfifDensityX_ = 0;
  jfifDensityY_ = 0;
  width_ = 0;
  height_ = 0;
}

bool JpgSummaryInfoPicker::Parse(ByteSource& source) {
  for (;;) {
    std::uint8_t byte = 0;
    // Bytes before a marker are passed over until the next 0xFF.
    do {
      if (!source.ReadU8(byte)) return false;
    } while (byte != 0xFF);
    // 0xFF fill bytes before the marker code.
    std::uint8_t code = 0xFF;
    while (code == 0xFF)
      if (!source.ReadU8(code)) return false;

    bool ok = true;
    if (IsFrameMarker(code)) {
      ok = ReadFrameHeader(source, code);
    } else {
      std::uint16_t length = 0, word = 0;
      switch (code) {
        case 0xC4:
          ok = ReadHuffmanTables(source);
          break;
        case 0xDB:
          ok = ReadQuantTables(source);
          break;
        case 0xDA:
          if (!ReadScanHeader(source) || frames_.empty()) return false;
          width_ = frames_.front().width;
          height_ = frames_.front().height;
          return true;
        case 0xDC:  // number of lines
        case 0xDD:  // restart interval
          ok = source.ReadU16BE(length) && source.ReadU16BE(word);
          break;
        case 0xDF: {  // expand
          std::uint8_t expand = 0;
          ok = source.ReadU16BE(length) && source.ReadU8(expand);
          break;
        }
        case 0xE0:
          ok = ReadJfifHeader(source);
          break;
        default:
          if ((code >= 0xE1 && code <= 0xEF) || code == 0xFE) {
            // Application and comment segments are skipped by their length, which counts its
            // own two bytes. A length of 0 or 1 would step back over those bytes (0x00, 0x01,
            // never a marker), which is the same as not moving at all.
            ok = source.ReadU16BE(length) && (length < 2 || source.Skip(length - 2u));
          }
          // Every other code stands alone (or is not known); its bytes are searched for the
          // next 0xFF like any others.
          break;
      }
    }
    if (!ok) return false;
  }
}

bool JpgSummaryInfoPicker::ReadFrameHeader(ByteSource& source, std::uint8_t marker) {
  FrameRecord frame;
  frame.frameType = marker - 0xC0;
  std::uint8_t count = 0;
  if (!source.ReadU16BE(frame.length) || !source.ReadU8(frame.precision) ||
      !source.ReadU16BE(frame.height) || !source.ReadU16BE(frame.width) || !source.ReadU8(count))
    return false;
  if (count == 0) return false;
  frame.components.resize(count);
  for (Component& c : frame.components) {
    std::uint8_t sampling = 0;
    if (!source.ReadU8(c.id) || !source.ReadU8(sampling) || !source.ReadU8(c.quantTable))
      return false;
    c.horizontalFactor = static_cast<std::uint8_t>(sampling >> 4);
    c.verticalFactor = static_cast<std::uint8_t>(sampling & 0x0F);
  }
  frames_.push_back(std::move(frame));
  return true;
}

bool JpgSummaryInfoPicker::ReadHuffmanTables(ByteSource& source) {
  std::uint16_t length = 0;
  if (!source.ReadU16BE(length)) return false;
  std::int32_t remaining = static_cast<std::int32_t>(length) - 2;
  while (remaining > 0) {
    std::uint8_t classAndId = 0;
    std::uint8_t counts[16];
    if (!source.ReadU8(classAndId) || source.Read(counts, sizeof counts) != sizeof counts)
      return false;
    remaining -= 17;
    for (std::uint8_t count : counts) {
      if (!ReadAndDrop(source, count)) return false;
      remaining -= count;
    }
  }
  return true;
}

bool JpgSummaryInfoPicker::ReadQuantTables(ByteSource& source) {
  std::uint16_t length = 0;
  if (!source.ReadU16BE(length)) return false;
  std::int32_t remaining = static_cast<std::int32_t>(length) - 2;
  while (remaining > 0) {
    std::uint8_t precisionAndId = 0;
    if (!source.ReadU8(precisionAndId)) return false;
    if (precisionAndId >> 4) {
      if (!ReadAndDrop(source, 128)) return false;
      remaining -= 129;
    } else {
      if (!ReadAndDrop(source, 64)) return false;
      remaining -= 65;
    }
  }
  return true;
}

bool JpgSummaryInfoPicker::ReadScanHeader(ByteSource& source) {
  std::uint16_t length = 0;
  std::uint8_t count = 0;
  if (!source.ReadU16BE(length) || !source.ReadU8(count)) return false;
  // Two bytes per component (selector, table selectors), then spectral start, spectral end
  // and approximation.
  return ReadAndDrop(source, 2u * count + 3u);
}

bool JpgSummaryInfoPicker::ReadJfifHeader(ByteSource& source) {
  // Read field by field, not skipped by its length.
  std::uint8_t lengthBytes[2] = {0, 0};
  std::size_t got = source.Read(lengthBytes, 2);
  if (got == 0) return false;
  const std::uint16_t length = platform::LoadBE16(lengthBytes);
  if (length <= 2) return false;
  char identifier[4];
  if (source.Read(identifier, 4) != 4 || std::memcmp(identifier, "JFIF", 4) != 0)
    return false;  // also a JFIF extension (JFXX) segment
  std::uint8_t zero = 0, units = 0;
  std::uint16_t version = 0, densityX = 0, densityY = 0;
  if (!source.ReadU8(zero) || !source.ReadU16BE(version) || !source.ReadU8(units) ||
      !source.ReadU16BE(densityX) || !source.ReadU16BE(densityY))
    return false;
  jfifUnits_ = units;
  jfifDensityX_ = densityX;
  jfifDensityY_ = densityY;
  std::uint8_t thumbWidth = 0, thumbHeight = 0;
  if (!source.ReadU8(thumbWidth) || !source.ReadU8(thumbHeight)) return false;
  std::uint32_t thumbBytes = 3u * thumbWidth * thumbHeight;
  // The thumbnail is passed over; running out of file here is noticed by the next read.
  if (thumbBytes > 0) source.Skip(thumbBytes);
  return true;
}

std::int32_t JpgSummaryInfoPicker::Property(InfoProperty id) const {
  switch (id) {
    case kInfoWidth:
      return width_;
    case kInfoHeight:
      return height_;
    default:
      // Whatever the number of components.
      return 24;
  }
}

}  // namespace qv
