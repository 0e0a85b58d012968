#include "fuzz/fuzz_input.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vorlane::fuzz {

namespace {
std::filesystem::path folder;
}  // namespace

void prepareFuzzing() {
  folder = std::filesystem::temp_directory_path() / ("vorlane-fuzz-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::atexit([] { std::filesystem::remove_all(folder); });
  if (std::freopen("/dev/null", "w", stdout) == nullptr) fail("standard output cannot be silenced");
}

PathString writeInput(const uint8_t* data, size_t size) {
  const std::filesystem::path input = folder / "input.vfk";
  std::ofstream(input, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const std::string narrow = input.string();  // ASCII: the folder name is made above
  return PathString(narrow.begin(), narrow.end());
}

std::string readDrawing(std::string_view extension) {
  std::ifstream file(folder / ("input" + std::string(extension)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void fail(const char* rule) {
  std::fprintf(stderr, "vorlane fuzz: %s\n", rule);
  std::abort();
}

}  // namespace vorlane::fuzz
