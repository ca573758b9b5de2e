// The small accessors of the image object, kept out of line so that the program exports each
// of them with the class.
#include "image/CxImage.h"

uint32_t CxImage::GetType() const {
  return type_;
}
void* CxImage::GetDIB() const {
  return dib_;
}
long CxImage::GetXDPI() const {
  return xdpi_;
}
long CxImage::GetYDPI() const {
  return ydpi_;
}
uint8_t CxImage::GetJpegQuality() const {
  return jpegQuality_;
}
long CxImage::GetFrame() const {
  return frame_;
}
void CxImage::SetFrame(long frame) {
  frame_ = frame < 0 ? 0 : frame;
}
long CxImage::GetNumFrames() const {
  return numFrames_;
}
long CxImage::GetProgress() const {
  return progress_;
}
void CxImage::SetProgress(long progress) {
  progress_ = progress < 0 ? 0 : progress > 100 ? 100 : progress;
}
long CxImage::GetEscape() const {
  return escape_;
}
void CxImage::SetEscape(long escape) {
  escape_ = escape;
}
const char* CxImage::GetLastError() const {
  return lastError_;
}
bool CxImage::IsValid() const {
  return dib_ != nullptr;
}
bool CxImage::IsEnabled() const {
  return enabled_;
}
void CxImage::Enable(bool enable) {
  enabled_ = enable;
}
bool CxImage::IsIndexed() const {
  return dib_ && GetNumColors() != 0;
}
long CxImage::GetTransIndex() const {
  return transIndex_;
}
void CxImage::SetTransIndex(long idx) {
  transIndex_ = idx;
}
uint8_t CxImage::AlphaGetMax() const {
  return alphaMax_;
}
void CxImage::AlphaSetMax(uint8_t max) {
  alphaMax_ = max;
}
void CxImage::AlphaPaletteEnable(bool enable) {
  alphaPaletteEnabled_ = enable;
}
bool CxImage::HasAlpha() const {
  return alpha_ != nullptr;
}
bool CxImage::IsAlphaPaletteEnabled() const {
  return alphaPaletteEnabled_;
}
bool CxImage::HasSelection() const {
  return selection_ != nullptr;
}
void CxImage::GetSelectionBox(CxRect& r) const {
  r = selectionBox_;
}
void CxImage::SetNumFrames(long frames) {
  numFrames_ = frames;
}
