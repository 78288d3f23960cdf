// The image format a screenshot file's name asks for.
#pragma once

#include <string>

namespace sextant {

// The Qt image format name for the suffix of FileName ("PNG" for .png,
// "JPG" for .jpg and .jpeg, "BMP" for .bmp, in any letter case), or null
// when the suffix names none of them (or there is none).
const char* ScreenshotFormat(const std::string& FileName);

// The suffixes ScreenshotFormat knows, for messages: ".png, .jpg, .jpeg, .bmp".
extern const char* const KelScreenshotSuffixes;

}  // namespace sextant
