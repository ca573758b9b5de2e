// Loading the user's picture for a changer: the format from the file name, the decode, and the
// message that tells the user which picture could not be loaded.
#pragma once

#include <string>

#include "image/CxImage.h"

namespace qv {

// Whether a picture that does not decode is reported to the user: the wallpaper changer runs from
// timers and hotkeys and only logs.
enum class PictureLoadReport { kTellUser, kLogOnly };

// Loads `path` into `image`. On failure the reason is logged and, with kTellUser, "0011" names the
// picture when the file name gives a format the coders know but the file does not decode. allowSys
// as for FormatTypeFromPath.
bool LoadChangerPicture(const std::string& path, bool allowSys, CxImage* image,
                        PictureLoadReport report = PictureLoadReport::kTellUser);

// The same load followed by area averaging to the size fit gives (as Resample mode 0), done while
// the picture decodes where the coder can; a failed resampling is logged and leaves the picture as
// it loaded, and only a failed load returns false.
bool LoadChangerPictureResampled(const std::string& path, bool allowSys, CxImage* image,
                                 PictureLoadReport report, const CxImage::SizeFit& fit);

}  // namespace qv
