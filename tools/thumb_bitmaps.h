// The four thumb pictures the program ships for the scroll bar's thumb
// styles, as bitmap resources "KelThumb1" ... "KelThumb4" (17 x 16, 12 x 12,
// 29 x 13 and 9 x 10 pixels).
#pragma once

#include <memory>
#include <string>

namespace sextant {

class IHostBitmap;
class IHostCanvas;

// A new bitmap with the pixels of the named resource, made by Host (when
// given) so that the host draws it natively, else an in-memory bitmap.
// Null for an unknown name.
std::unique_ptr<IHostBitmap> KelLoadBitmapResource(const std::string& Name,
                                                   IHostCanvas* Host);

// Width and height of a named resource; false for an unknown name.
bool KelBitmapResourceSize(const std::string& Name, int& Width, int& Height);

}  // namespace sextant
