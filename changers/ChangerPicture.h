// Loading the user's picture for a changer: the format from the file name, the decode, and the
// message that tells the user which picture could not be loaded.
#pragma once

#include <string>

class CxImage;

namespace qv {

// Loads `path` into `image`. On failure the reason is logged, "0011" names the picture (when the
// file name gives a format the coders know but the file does not decode) and the image is left
// as it was. allowSys as for FormatTypeFromPath.
bool LoadChangerPicture(const std::string& path, bool allowSys, CxImage* image);

}  // namespace qv
