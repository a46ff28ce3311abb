// Replays inputs through a harness without libFuzzer, with any compiler: each
// file named on the command line once, in order, in one process (so an input
// also shows whether the one before it left state behind). A seed's name
// says what its reader must decide: "ok_..." a file it takes, "no<status>_..."
// one it refuses with that status, "no_..." one it refuses (a reader without
// statuses), "any_..." either (as does any other name). Exits 1 at the first
// seed decided otherwise; a failed harness check aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// The decision a seed's name announces: 0 taken, a status refused, -2
// refused, -1 either.
bool Announced(const std::string& name, int& status) {
  if (name.rfind("ok_", 0) == 0) {
    status = 0;
    return true;
  }
  if (name.rfind("any_", 0) == 0) {
    status = -1;
    return true;
  }
  if (name.rfind("no", 0) == 0) {
    const size_t bar = name.find('_');
    if (bar == 2) {
      status = -2;
      return true;
    }
    if (bar == std::string::npos) return false;
    status = std::atoi(name.substr(2, bar - 2).c_str());
    return status > 0;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  int failed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    const std::string name = path.filename().string();
    // Any other name (a crash file libFuzzer wrote) announces nothing: only
    // the harness's checks judge it.
    int expected = -1;
    if (!Announced(name, expected)) expected = -1;
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    vna::fuzz::ClearDecision();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const int decided = vna::fuzz::Decision();
    std::printf("%s: %s\n", name.c_str(),
                decided == 0  ? "taken"
                : decided < 0 ? "no decision"
                              : ("refused " + std::to_string(decided)).c_str());
    std::fflush(stdout);
    const bool as_named = expected == -1 || (expected == -2 && decided > 0) || decided == expected;
    if (decided < 0 || !as_named) {
      std::fprintf(stderr, "%s: expected %s\n", name.c_str(),
                   expected == 0    ? "taken"
                   : expected == -2 ? "refused"
                                    : ("refused " + std::to_string(expected)).c_str());
      failed = 1;
    }
  }
  vna::fuzz::CheckLastReset();
  return failed;
}
