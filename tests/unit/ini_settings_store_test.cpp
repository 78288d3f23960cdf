// The per-user options file: present, absent and damaged files, and the
// DefaultPalette helper with its default of 13.
#include "platform/ini_settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

namespace sextant {
namespace {

namespace fs = std::filesystem;

class IniSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() /
           ("sextant_ini_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }

  std::string Write(const std::string& content) {
    const fs::path p = FDir / "Sextant.ini";
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }

  fs::path FDir;
};

TEST_F(IniSettingsStoreTest, ReadsBothOptionsOfTheEditorSection) {
  TIniSettingsStore store(Write("[ChartEditor]\nDefaultPalette=7\nDefaultCanvas=TKelCanvas3D\n"));
  EXPECT_EQ(store.ReadString("ChartEditor", "DefaultPalette"), "7");
  EXPECT_EQ(store.ReadString("ChartEditor", "DefaultCanvas"), "TKelCanvas3D");
  EXPECT_EQ(ReadDefaultPalette(&store), 7);
}

TEST_F(IniSettingsStoreTest, LayoutVariantsAreUnderstood) {
  struct Case {
    const char* name;
    const char* content;
    std::optional<std::string> palette;
  };
  const Case cases[] = {
      {"crlf", "[ChartEditor]\r\nDefaultPalette=3\r\nDefaultCanvas=X\r\n", "3"},
      {"blanks", "  [ ChartEditor ]  \n  DefaultPalette  =  4  \n", "4"},
      {"case", "[charteditor]\ndefaultpalette=5\n", "5"},
      {"bom", "\xEF\xBB\xBF[ChartEditor]\nDefaultPalette=6\n", "6"},
      {"quoted", "[ChartEditor]\nDefaultPalette=\"8\"\n", "8"},
      {"no final newline", "[ChartEditor]\nDefaultPalette=9", "9"},
      {"comments", "; x\n# y\n[ChartEditor]\n;DefaultPalette=1\nDefaultPalette=2\n", "2"},
      {"first key wins", "[ChartEditor]\nDefaultPalette=1\nDefaultPalette=2\n", "1"},
      {"other section", "[Other]\nDefaultPalette=1\n[ChartEditor]\nDefaultCanvas=x\n", std::nullopt},
      {"key before any section", "DefaultPalette=1\n[ChartEditor]\n", std::nullopt},
      {"empty value", "[ChartEditor]\nDefaultPalette=\n", ""},
      {"unclosed header", "[ChartEditor\nDefaultPalette=1\n", std::nullopt},
  };
  for (const Case& c : cases) {
    TIniSettingsStore store(Write(c.content));
    EXPECT_EQ(store.ReadString("ChartEditor", "DefaultPalette"), c.palette) << c.name;
  }
}

TEST_F(IniSettingsStoreTest, AbsentFileOrKeyYieldsNoValueAndPalette13) {
  TIniSettingsStore missing((FDir / "nope" / "Sextant.ini").string());
  EXPECT_EQ(missing.ReadString("ChartEditor", "DefaultPalette"), std::nullopt);
  EXPECT_EQ(ReadDefaultPalette(&missing), 13);

  TIniSettingsStore noKey(Write("[ChartEditor]\nDefaultCanvas=x\n"));
  EXPECT_EQ(noKey.ReadString("ChartEditor", "DefaultPalette"), std::nullopt);
  EXPECT_EQ(ReadDefaultPalette(&noKey), 13);

  EXPECT_EQ(ReadDefaultPalette(nullptr), 13);

  // A directory where the file should be is no file.
  fs::create_directories(FDir / "dir.ini");
  TIniSettingsStore dir((FDir / "dir.ini").string());
  EXPECT_EQ(ReadDefaultPalette(&dir), 13);
}

TEST_F(IniSettingsStoreTest, UnparsablePaletteTextsGiveTheDefault) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {
      {"12", 12},         {" -1 ", -1},      {"+3", 3},          {"abc", 13},
      {"7x", 13},         {"0x10", 13},      {"1.5", 13},        {"", 13},
      {"-", 13},          {"2147483647", 2147483647},            {"2147483648", 13},
      {"-2147483649", 13}, {"99999999999999999999999", 13},
  };
  for (const auto& c : cases) {
    TIniSettingsStore store(Write(std::string("[ChartEditor]\nDefaultPalette=") + c.text + "\n"));
    EXPECT_EQ(ReadDefaultPalette(&store), c.expected) << "'" << c.text << "'";
  }
}

TEST_F(IniSettingsStoreTest, GarbageHugeLinesAndHugeFilesAreSurvived) {
  std::mt19937 rng(1234);
  std::string garbage;
  for (int i = 0; i < 50000; ++i) garbage.push_back(static_cast<char>(rng() & 0xFF));
  // Random bytes (including NULs and stray brackets) before a valid entry.
  {
    TIniSettingsStore store(Write(garbage + "\n[ChartEditor]\nDefaultPalette=4\n"));
    EXPECT_EQ(ReadDefaultPalette(&store), 4);
  }
  // Random bytes only.
  {
    TIniSettingsStore store(Write(garbage));
    EXPECT_NO_THROW(store.ReadString("ChartEditor", "DefaultPalette"));
  }
  // A line longer than the limit is skipped, the following lines still count.
  {
    const std::string huge = "DefaultPalette=" + std::string(TIniSettingsStore::MaxLineLength, '1');
    TIniSettingsStore store(Write("[ChartEditor]\n" + huge + "\nDefaultPalette=2\n"));
    EXPECT_EQ(ReadDefaultPalette(&store), 2);
  }
  // A file over the size limit is not read at all.
  {
    std::string big = "[ChartEditor]\nDefaultPalette=5\n";
    big.append(TIniSettingsStore::MaxFileSize, ';');
    TIniSettingsStore store(Write(big));
    EXPECT_EQ(store.ReadString("ChartEditor", "DefaultPalette"), std::nullopt);
    EXPECT_EQ(ReadDefaultPalette(&store), 13);
  }
}

TEST_F(IniSettingsStoreTest, NeverWritesTheFile) {
  const std::string name = Write("[ChartEditor]\nDefaultPalette=1\n");
  const auto before = fs::last_write_time(name);
  const auto size = fs::file_size(name);
  TIniSettingsStore store(name);
  store.ReadString("ChartEditor", "DefaultPalette");
  store.ReadString("Other", "Key");
  EXPECT_EQ(fs::last_write_time(name), before);
  EXPECT_EQ(fs::file_size(name), size);

  TIniSettingsStore missing((FDir / "absent.ini").string());
  missing.ReadString("ChartEditor", "DefaultPalette");
  EXPECT_FALSE(fs::exists(FDir / "absent.ini"));
}

TEST(IniSettingsStoreDefaultFile, FollowsXdgConfigHomeThenHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  const std::string savedHome = oldHome ? oldHome : "";

  ::setenv("HOME", "/home/u", 1);
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(TIniSettingsStore::DefaultFileName(), "/cfg/Sextant/Sextant.ini");
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // invalid: ignored
  EXPECT_EQ(TIniSettingsStore::DefaultFileName(), "/home/u/.config/Sextant/Sextant.ini");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(TIniSettingsStore::DefaultFileName(), "/home/u/.config/Sextant/Sextant.ini");
  ::unsetenv("HOME");
  EXPECT_EQ(TIniSettingsStore::DefaultFileName(), "");
  TIniSettingsStore nowhere;
  EXPECT_EQ(ReadDefaultPalette(&nowhere), 13);

  if (oldXdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  if (oldHome) ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace sextant
