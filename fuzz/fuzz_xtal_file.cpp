// The crystal data file: a save reads the existing file before it adds its
// line.
#include "files/xtal_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"
#include "support/shell_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::test::AnswerDialog("Xtal sequence number:", {}, 2);
  vna::testhook::QueueFileAnswer(vna::fuzz::InputFile(data, size, "input.xdat"));
  vna::SaveXtalData();
  return 0;
}
