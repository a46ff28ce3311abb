// The crystal data file is only ever appended to: a file of any size takes
// its new line at its end without being read, and a line that cannot be
// written whole leaves the file as it was.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>

#include "files/state.h"
#include "files/xtal_file.h"
#include "odd_input/odd_input_fixture.h"
#include "support/watchdog.h"
#include "tools/state.h"

namespace vna::test {
namespace {

using namespace std::chrono_literals;

// Crystal 1 of the crystal file's own tests, as its line is laid out.
const std::string kLine =
    "     1,     9.999876,    10.019912,    10.012,    12.666,     0.0200123,     5.051,    79456";

class CrystalFileTest : public OddInputTest {
 protected:
  static void Save(const std::string& path) {
    vna_status = 0;
    xtal_seq_no = 0;
    xtal_Fs = 9.999876;
    xtal_Fp = 10.019912;
    xtal_Rs = 10.012;
    xtal_Ls = 12666;
    xtal_Cs = 0.0200123;
    xtal_Cp = 5.051;
    xtal_Q = 79456.4;
    AnswerDialog("Xtal sequence number:", {}, 2);
    testhook::QueueFileAnswer(path);
    SaveXtalData();
  }
  static std::string Tail(const std::string& path, size_t n) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    in.seekg(-static_cast<std::streamoff>(n), std::ios::end);
    std::string s(n, '\0');
    in.read(s.data(), static_cast<std::streamsize>(n));
    return s;
  }
  static struct stat Stat(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st;
  }
};

TEST_F(CrystalFileTest, AHugeFileTakesItsLineAtTheEndWithoutBeingRead) {
  const int64_t size = int64_t{1} << 31;
  const std::string path = Sparse("huge.xdat", size);
  const struct stat before = Stat(path);
  {
    Watchdog dog(20s, "saving a crystal into a 2 GiB file");
    Save(path);
  }
  EXPECT_TRUE(Boxes().empty());
  const struct stat after = Stat(path);
  // Its last byte ends no line: a line end first, then the crystal's line.
  const std::string added = "\r\n" + kLine + "\r\n";
  EXPECT_EQ(after.st_size, size + static_cast<int64_t>(added.size()));
  EXPECT_EQ(Tail(path, added.size() + 1), std::string(1, '\0') + added);
  // The same file, not a copy written in its place.
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_LT(after.st_blocks, 64);  // still sparse: nothing was written back
}

TEST_F(CrystalFileTest, ALineThatCannotBeWrittenWholeLeavesTheFileAsItWas) {
  const std::string kept = std::string(990, 'c') + "\r\n";
  const std::string path = dir.Write("full.xdat", kept);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 1000;  // room for 8 more bytes, not for the line
  setrlimit(RLIMIT_FSIZE, &small);
  Save(path);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         " Crystal Data File|The file named: " + path +
                         "  \rcould not be written (File too large).\rThe previous file was kept "
                         "unchanged."});
  EXPECT_EQ(dir.Read("full.xdat"), kept);
}

}  // namespace
}  // namespace vna::test
