// The picture of a page's preview monitor, made on a worker of its own (a ThumbnailQueue) from a
// copy of its job: the row's picture (a folder row's first picture in rotation order) decoded
// at the preview's size, never at the photo's own.
#pragma once

#include "pages/ThumbnailQueue.h"

namespace qv {

enum class PreviewScale {
  // job.width x job.height is the monitor's screen: the picture is averaged down (never up) to
  // the size at which every position mode draws it without enlarging.
  kScreen,
  // job.width x job.height is a toolbar strip: the picture at its own size, cut to the strip
  // from its top-left corner, as the browser tiles it.
  kStrip,
};

// ok with a bitmap handle on success; pictureWidth x pictureHeight is the picture's own size (a
// logon program's bitmap counts as the whole screen). False for a folder without pictures and
// for a file that does not load.
ThumbnailResult MakePreviewPicture(const ThumbnailJob& job, PreviewScale scale);

// The size the kScreen decode asks for a picture of width x height: the larger of the scale
// at which the monitor shows the screen and the one at which the picture covers the monitor's
// screen, at most 1 (the picture's own size).
struct PreviewDecodeSize {
  int width;
  int height;
};
PreviewDecodeSize ScreenPreviewDecodeSize(int monitorWidth, int monitorHeight, int screenWidth,
                                          int screenHeight, int width, int height);

}  // namespace qv
