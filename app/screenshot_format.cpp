#include "app/screenshot_format.h"

#include <cctype>
#include <cstring>

namespace sextant {

const char* const KelScreenshotSuffixes = ".png, .jpg, .jpeg, .bmp";

const char* ScreenshotFormat(const std::string& FileName) {
  // The suffix is what follows the last dot of the last path component.
  const std::size_t slash = FileName.find_last_of('/');
  const std::size_t dot = FileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return nullptr;
  std::string suffix = FileName.substr(dot + 1);
  for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const struct {
    const char* suffix;
    const char* format;
  } known[] = {{"png", "PNG"}, {"jpg", "JPG"}, {"jpeg", "JPG"}, {"bmp", "BMP"}};
  for (const auto& k : known)
    if (suffix == k.suffix) return k.format;
  return nullptr;
}

}  // namespace sextant
