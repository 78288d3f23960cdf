// Fuzz target: the per-user options file and the integer option parser.
//
// The input is written to a file that a TIniSettingsStore reads. Checks: a
// value read is one line of the file (no line break, not longer than a
// line may be, found in the file); a section appended after the input is
// always found, and its first key wins; ParseSettingsInteger agrees with a
// plain reference (blanks around an optional sign and decimal digits, in
// the int range); ReadDefaultPalette gives the parsed option or 13.
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "platform/ini_settings_store.h"

using namespace sextant;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Reference parse: optional blanks, an optional sign, one or more decimal
// digits, optional blanks; a value outside the int range is no value.
std::optional<int> ReferenceInteger(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  bool negative = false;
  if (b < e && (text[b] == '+' || text[b] == '-')) negative = text[b++] == '-';
  if (b == e) return std::nullopt;
  long long value = 0;
  for (std::size_t i = b; i < e; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 2;  // saturate
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// In memory (/dev/shm) where there is one: the file is rewritten for every
// input, and a disk file system may flush a truncated and rewritten file.
const std::string& FileName() {
  static const std::string name = [] {
    const std::filesystem::path dir =
        std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
    return (dir / ("sextant_fuzz_settings_" + std::to_string(getpid()) + ".ini")).string();
  }();
  static const bool removedAtExit = std::atexit([] { std::remove(name.c_str()); }) == 0;
  (void)removedAtExit;
  return name;
}

void WriteFile(const std::string& content) {
  std::remove(FileName().c_str());  // a new file each time, never a truncated one
  std::ofstream out(FileName(), std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string Show(const std::optional<std::string>& v) { return v ? "\"" + *v + "\"" : "none"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string content(reinterpret_cast<const char*>(Data), Size);

  // The parser on the raw text.
  FUZZ_CHECK(ParseSettingsInteger(content) == ReferenceInteger(content), "ParseSettingsInteger(\"" + content + "\")");

  WriteFile(content);
  const TIniSettingsStore store(FileName());
  const std::pair<const char*, const char*> queries[] = {
      {KelEditorSection, KelDefaultPaletteKey}, {KelEditorSection, KelDefaultCanvasKey}, {"chartEDITOR", "defaultpalette"},
      {"", ""}, {"a", "b"}};
  for (const auto& [section, key] : queries) {
    const std::optional<std::string> v = store.ReadString(section, key);
    if (!v) continue;
    FUZZ_CHECK(v->find('\n') == std::string::npos, "one line: " + Show(v));
    FUZZ_CHECK(v->size() <= TIniSettingsStore::MaxLineLength, "line length");
    FUZZ_CHECK(content.find(*v) != std::string::npos, "a value from the file: " + Show(v));
  }
  const std::optional<std::string> palette = store.ReadString(KelEditorSection, KelDefaultPaletteKey);
  const int expected = palette ? ReferenceInteger(*palette).value_or(KelDefaultPaletteIndex) : KelDefaultPaletteIndex;
  FUZZ_CHECK(ReadDefaultPalette(&store) == expected, "ReadDefaultPalette for " + Show(palette));
  FUZZ_CHECK(ReadDefaultPalette(nullptr) == KelDefaultPaletteIndex, "no store");

  // A well-formed section after the input is found, unless the input
  // already has one of that name.
  if (Lower(content).find("fuzzprobe") == std::string::npos) {
    WriteFile(content + "\n[FuzzProbe]\nKey = value 42 \nKEY=other\n");
    const std::optional<std::string> v = store.ReadString("fuzzprobe", "key");
    FUZZ_CHECK(v && *v == "value 42", "appended section: " + Show(v));
  }
  return 0;
}
