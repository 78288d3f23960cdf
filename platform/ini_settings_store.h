// The per-user options store of the chart editor on hosts without a system
// registry: a read-only INI file, by default
// $XDG_CONFIG_HOME/Sextant/Sextant.ini (~/.config/Sextant/Sextant.ini).
//
// The chart reads two options of section [ChartEditor]: DefaultPalette
// (integer) and DefaultCanvas (text). Anything missing or unreadable yields
// "no value" and the caller applies its default; the file is never written.
#pragma once

#include <optional>
#include <string>

#include "platform/platform_services.h"

namespace sextant {

class TIniSettingsStore : public ISettingsStore {
 public:
  // A store reading the given file (it need not exist).
  explicit TIniSettingsStore(std::string fileName);
  // A store reading DefaultFileName().
  TIniSettingsStore();

  // The file is read again on every call, so edits take effect for the next
  // chart created. Section and key names compare case-insensitively; the
  // first occurrence of a key in the first matching section wins.
  std::optional<std::string> ReadString(const std::string& section,
                                        const std::string& key) const override;

  const std::string& FileName() const { return FFileName; }

  // $XDG_CONFIG_HOME/Sextant/Sextant.ini when XDG_CONFIG_HOME is an absolute
  // path, else $HOME/.config/Sextant/Sextant.ini; empty without either.
  static std::string DefaultFileName();

  // Files above this size are not settings files of ours: they yield no values.
  static constexpr std::size_t MaxFileSize = 1 << 20;
  // Longer lines are skipped.
  static constexpr std::size_t MaxLineLength = 4096;

 private:
  std::string FFileName;
};

// Section and option names read by the chart.
inline constexpr const char* KelEditorSection = "ChartEditor";
inline constexpr const char* KelDefaultPaletteKey = "DefaultPalette";
inline constexpr const char* KelDefaultCanvasKey = "DefaultCanvas";
inline constexpr int KelDefaultPaletteIndex = 13;

// The DefaultPalette option as an integer; 13 when the store is missing, the
// option is absent or its text is not a decimal integer in the int range.
int ReadDefaultPalette(const ISettingsStore* store);

// Parses a whole text (surrounding blanks allowed) as a decimal int.
std::optional<int> ParseSettingsInteger(const std::string& text);

}  // namespace sextant
