// Runs a fuzz target once on every file of its seed corpus, with an ordinary compiler and
// no fuzzing engine: the corpora are regression tests of their own. Usage:
//   corpus_runner FOLDER_OR_FILE...
// Fails when nothing was run; a fault in the target ends the run as it would under the
// fuzzer (an abort, or a sanitizer's report in a sanitizer build).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path& place) {
  std::vector<fs::path> files;
  std::error_code ec;
  if (fs::is_directory(place, ec)) {
    for (const auto& entry : fs::recursive_directory_iterator(place, ec))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
  } else if (fs::is_regular_file(place, ec)) {
    files.push_back(place);
  }
  return files;
}

void runOne(const std::vector<uint8_t>& bytes) {
  // A copy of its own, so a read past the end is a read past an allocation.
  std::vector<uint8_t> copy(bytes);
  LLVMFuzzerTestOneInput(copy.empty() ? nullptr : copy.data(), copy.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER_OR_FILE...\n", argv[0]);
    return 2;
  }
  runOne({});  // the fuzzer always tries the empty input first
  size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const auto files = inputsOf(argv[i]);
    if (files.empty()) std::fprintf(stderr, "%s: no inputs here\n", argv[i]);
    for (const fs::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
      std::fprintf(stderr, "%s\n", file.c_str());
      runOne(bytes);
      ++count;
    }
  }
  std::printf("ran %zu inputs\n", count);
  return count > 0 ? 0 : 1;
}
