#include "platform/ini_settings_store.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace sextant {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// ASCII-only case folding: names are plain identifiers; other bytes compare exactly.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Reads the whole file when it exists and is not larger than MaxFileSize.
std::optional<std::string> ReadSmallFile(const std::string& name) {
  if (name.empty()) return std::nullopt;
  std::ifstream in(name, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data;
  char buffer[8192];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    data.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (data.size() > TIniSettingsStore::MaxFileSize) return std::nullopt;
  }
  if (in.bad()) return std::nullopt;
  return data;
}

}  // namespace

TIniSettingsStore::TIniSettingsStore(std::string fileName) : FFileName(std::move(fileName)) {}

TIniSettingsStore::TIniSettingsStore() : FFileName(DefaultFileName()) {}

std::string TIniSettingsStore::DefaultFileName() {
  // Relative XDG_CONFIG_HOME values are invalid and ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/Sextant/Sextant.ini";
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::string(home) + "/.config/Sextant/Sextant.ini";
  return {};
}

std::optional<std::string> TIniSettingsStore::ReadString(const std::string& section,
                                                         const std::string& key) const {
  const std::optional<std::string> file = ReadSmallFile(FFileName);
  if (!file) return std::nullopt;
  std::string_view text(*file);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte order mark

  bool inSection = false;
  bool sectionSeen = false;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (line.size() > MaxLineLength) continue;
    line = Trim(line);  // also drops the CR of CRLF files
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close == std::string_view::npos) {
        inSection = false;  // malformed header: ignore its entries
        continue;
      }
      // Only the first section of that name counts.
      const bool matches = SameName(Trim(line.substr(1, close - 1)), section);
      inSection = matches && !sectionSeen;
      sectionSeen = sectionSeen || matches;
      continue;
    }
    if (!inSection) continue;

    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (!SameName(Trim(line.substr(0, eq)), key)) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

std::optional<int> ParseSettingsInteger(const std::string& text) {
  const std::string_view t = Trim(text);
  if (t.empty()) return std::nullopt;
  std::size_t i = 0;
  if (t[0] == '+' || t[0] == '-') i = 1;
  if (i == t.size()) return std::nullopt;
  for (std::size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') return std::nullopt;
  const std::string digits(t);
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(digits.c_str(), &end, 10);
  if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return std::nullopt;
  return static_cast<int>(v);
}

int ReadDefaultPalette(const ISettingsStore* store) {
  if (!store) return KelDefaultPaletteIndex;
  const std::optional<std::string> text = store->ReadString(KelEditorSection, KelDefaultPaletteKey);
  if (!text) return KelDefaultPaletteIndex;
  return ParseSettingsInteger(*text).value_or(KelDefaultPaletteIndex);
}

}  // namespace sextant
