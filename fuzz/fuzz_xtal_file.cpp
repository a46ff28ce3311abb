// The crystal data file. The program never reads it back: a save appends its
// line to whatever file the user picks, which may hold anything, and reads
// of it only its last byte (whether a line end must go first). What is
// checked is that the file keeps every byte it held and gains exactly one
// line, written as the crystal's fields give it.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/xtal_file.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"
#include "support/shell_fixture.h"
#include "tools/state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vna;
  fuzz::Begin();
  xtal_Fs = 9.999876;
  xtal_Fp = 10.019912;
  xtal_Rs = 10.012;
  xtal_Ls = 12666;  // microhenries; written in millihenries
  xtal_Cs = 0.0200123;
  xtal_Cp = 5.051;
  xtal_Q = 79456;
  // The number, then each field in its pattern ("######", "####.######"
  // twice, "####.###" twice, "####.#######", "####.###", "#######").
  const std::string line =
      "     1,     9.999876,    10.019912,    10.012,    12.666,     0.0200123,     5.051,    "
      "79456";
  test::AnswerDialog("Xtal sequence number:", {}, 2);
  const std::string path = fuzz::InputFile(data, size, "input.xdat");
  testhook::QueueFileAnswer(path);
  SaveXtalData();
  fuzz::Decided(0);
  const std::string held(reinterpret_cast<const char*>(data), size);
  const bool ends_line = size == 0 || held.back() == '\n' || held.back() == '\r';
  const std::string expected = held + (ends_line ? "" : "\r\n") + line + "\r\n";
  std::ifstream in(path, std::ios::binary);
  const std::string now((std::istreambuf_iterator<char>(in)), {});
  size_t same = 0;
  while (same < now.size() && same < expected.size() && now[same] == expected[same]) ++same;
  fuzz::Expect(now == expected,
               "the crystal data file after a save: " + std::to_string(now.size()) +
                   " bytes, expected " + std::to_string(expected.size()) +
                   ", the first difference at byte " + std::to_string(same));
  return 0;
}
