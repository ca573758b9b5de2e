// The process-wide list of header readers and the one question the picture pages ask of it.
// User-interface thread only: the readers keep the state of the last read.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imageinfo/SummaryInfoPicker.h"

namespace qv {

// Creates the five readers (BMP, JPEG, GIF, TGA, PCX, in this order) and their extension lists
// if the list is empty. Called once at start-up, before any page is filled.
void InitInfoPickers();
// Destroys the readers (at exit).
void FreeInfoPickers();
// The list in its fixed order (empty before InitInfoPickers).
const std::vector<std::unique_ptr<SummaryInfoPicker>>& InfoPickers();

// Sets width to 0, then asks the first reader whose extensions match path. Only if its read
// succeeds are width, height and depth set; height and depth keep the caller's values otherwise.
// A width of 0 or less means "no information".
void GetImageInfo(const char* path, std::int32_t& width, std::int32_t& height, std::int32_t& depth);

}  // namespace qv
