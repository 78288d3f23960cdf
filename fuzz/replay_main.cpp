// Replays fuzz inputs without libFuzzer: every file named on the command
// line, or found in a directory named there, is fed once to the target's
// LLVMFuzzerTestOneInput. A failed check aborts, which fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace {

int Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return 1;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
  // An empty vector's data() may be null; libFuzzer never passes null.
  data.reserve(1);
  LLVMFuzzerTestOneInput(data.data(), data.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  int errors = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path());
      std::sort(files.begin(), files.end());
    } else if (std::filesystem::exists(path)) {
      files.push_back(path);
    }
    for (const auto& f : files) {
      errors += Replay(f);
      ++replayed;
    }
  }
  std::printf("replayed %d inputs\n", replayed);
  return errors == 0 ? 0 : 1;
}
