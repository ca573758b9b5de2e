// Loading the user's picture for a changer: the format from the file name, the decode, and the
// message that tells the user which picture could not be loaded.
#pragma once

#include <string>

class CxImage;

namespace qv {

// Whether a picture that does not decode is reported to the user: the wallpaper changer runs from
// timers and hotkeys and only logs.
enum class PictureLoadReport { kTellUser, kLogOnly };

// Loads `path` into `image`. On failure the reason is logged and, with kTellUser, "0011" names the
// picture when the file name gives a format the coders know but the file does not decode. allowSys
// as for FormatTypeFromPath.
bool LoadChangerPicture(const std::string& path, bool allowSys, CxImage* image,
                        PictureLoadReport report = PictureLoadReport::kTellUser);

}  // namespace qv
