// Text files: open modes, the layout of written numbers and lines, and the
// reading rules that every file format of the program relies on.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/state.h"
#include "shell/text.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

class TextFileTest : public ::testing::Test {
 protected:
  TempDir dir{/*enter=*/true};
  TextFile f;
};

TEST_F(TextFileTest, NumbersAndTextsLayOutAsTheyAreRead) {
  number_decimals = 4;
  ASSERT_EQ(OpenTextFile(f, "out.txt", "W"), 0);
  WriteNumber(f, 3);
  WriteNumber(f, 12.5);
  WriteText(f, "name");
  WriteText(f, "");
  CloseTextFile(f);
  EXPECT_EQ(dir.Read("out.txt"), " 3  12.5000 name\r\n\r\n");
}

TEST_F(TextFileTest, OpenModes) {
  EXPECT_EQ(OpenTextFile(f, "missing.txt", "R"), 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));
  EXPECT_EQ(OpenTextFile(f, "missing.txt", "R+"), 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));

  ASSERT_EQ(OpenTextFile(f, "log.txt", "a"), 0);  // any case; creates a missing file
  WriteText(f, "one");
  CloseTextFile(f);
  ASSERT_EQ(OpenTextFile(f, "log.txt", "A"), 0);
  WriteText(f, "two");
  CloseTextFile(f);
  EXPECT_EQ(dir.Read("log.txt"), "one\r\ntwo\r\n");

  ASSERT_EQ(OpenTextFile(f, "log.txt", "w"), 0);  // empties an existing file
  CloseTextFile(f);
  EXPECT_EQ(dir.Read("log.txt"), "");

  EXPECT_EQ(OpenTextFile(f, "log.txt", "X"), 1);
  EXPECT_EQ(OpenTextFile(f, "", "W"), 1);
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(OpenTextFile(f, "folder", "R"), 1);  // a folder is no file
  EXPECT_FALSE(f.IsOpen());
}

TEST_F(TextFileTest, RewrittenFileKeepsItsOldContentsUntilClosed) {
  dir.Write("data.ini", "old\r\n");
  std::filesystem::permissions(dir / "data.ini", std::filesystem::perms(0640));
  std::filesystem::create_symlink(dir / "data.ini", dir / "link.ini");
  ASSERT_EQ(OpenTextFile(f, "link.ini", "W"), 0);
  WriteText(f, "new");
  EXPECT_EQ(dir.Read("data.ini"), "old\r\n");  // a crash now loses nothing
  CloseTextFile(f);
  EXPECT_EQ(dir.Read("data.ini"), "new\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(std::filesystem::status(dir / "data.ini").permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0640));
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 2);  // no temporary file left behind
}

TEST_F(TextFileTest, OpeningAgainClosesTheFirstFile) {
  dir.Write("a.txt", "first\r\n");
  dir.Write("b.txt", "second\r\n");
  ASSERT_EQ(OpenTextFile(f, "a.txt", "R"), 0);
  ASSERT_EQ(OpenTextFile(f, "b.txt", "R"), 0);
  std::string line;
  EXPECT_EQ(ReadLine(f, line), 0);
  EXPECT_EQ(line, "second");
}

TEST_F(TextFileTest, WindowsNamesReachTheirHostFiles) {
  ScopedEnv root("VNA_DRIVE_ROOT", dir / "drives");
  ASSERT_EQ(OpenTextFile(f, "c:\\AutoScan.csv", "W"), 0);
  WriteText(f, "x");
  CloseTextFile(f);
  EXPECT_EQ(dir.Read("drives/c/AutoScan.csv"), "x\r\n");

  std::filesystem::create_directory(dir / "Sounds_1");
  ASSERT_EQ(OpenTextFile(f, "Sounds_1\\list.txt", "W"), 0);  // relative to the current folder
  CloseTextFile(f);
  EXPECT_TRUE(std::filesystem::exists(dir / "Sounds_1/list.txt"));
}

TEST_F(TextFileTest, ReadLineTakesAnyLineEnd) {
  dir.Write("in.txt", "abc\rdef\n\nghi\r\n\n\rlast");
  ASSERT_EQ(OpenTextFile(f, "in.txt", "R"), 0);
  const char* expected[] = {"abc", "def", "", "ghi", "", "", "last"};  // LF then CR: two ends
  std::string line;
  for (const char* e : expected) {
    ASSERT_EQ(ReadLine(f, line), 0);
    EXPECT_EQ(line, e);
  }
  line = "stale";
  EXPECT_EQ(ReadLine(f, line), -1);
  EXPECT_EQ(line, "");
  EXPECT_EQ(ReadLine(f, line), -1);
}

TEST_F(TextFileTest, ReadLineCutsALongLineAndGoesOnWithTheNext) {
  dir.Write("in.txt", std::string(300, 'x') + "\r\nnext\r\n");
  ASSERT_EQ(OpenTextFile(f, "in.txt", "R"), 0);
  std::string line;
  ASSERT_EQ(ReadLine(f, line, 254), 0);
  EXPECT_EQ(line, std::string(254, 'x'));
  ASSERT_EQ(ReadLine(f, line, 254), 0);
  EXPECT_EQ(line, "next");
}

TEST_F(TextFileTest, ReadNumberTokens) {
  struct Case {
    const char* bytes;
    std::vector<double> values;  // then the result -1
  };
  const Case cases[] = {
      {" 1.5 -2 ", {1.5, -2}},
      {"+5", {5}},
      // An exponent belongs to its number: never the mantissa alone, and
      // never a number of its own.
      {"1e-5", {1e-5}},
      {"1.5E3", {1500}},
      {" 1.5E-3 7\r\n", {0.0015, 7}},
      {"2.5e+2,-1", {250, -1}},
      {"4e x 6", {4, 6}},     // no exponent: the "e" ends the number
      {"4e-x 6", {4, 0, 6}},  // nor here: the "-" starts the next token
      {"4E", {4}},
      {"3 e5", {3, 5}},
      {"abc 7,5", {7, 5}},
      {" 3  12.5000 name\r\n", {3, 12.5}},
      {"1-2", {1}},  // the token runs on over "-" and is cut by the text rule
      {"", {}},
      {"  \r\n  ", {}},
  };
  for (const Case& c : cases) {
    dir.Write("n.txt", c.bytes);
    ASSERT_EQ(OpenTextFile(f, "n.txt", "R"), 0);
    double v;
    for (double e : c.values) {
      ASSERT_EQ(ReadNumber(f, v), 0) << c.bytes;
      EXPECT_DOUBLE_EQ(v, e) << c.bytes;
    }
    v = 99;
    EXPECT_EQ(ReadNumber(f, v), -1) << c.bytes;
    EXPECT_EQ(v, 0) << c.bytes;
  }
}

TEST_F(TextFileTest, ReadNumberTokenStopsAtFortyCharacters) {
  dir.Write("n.txt", std::string(45, '1') + " ");
  ASSERT_EQ(OpenTextFile(f, "n.txt", "R"), 0);
  double v;
  ASSERT_EQ(ReadNumber(f, v), 0);
  EXPECT_DOUBLE_EQ(v, 1111111111111111111111111111111111111111.0);
  ASSERT_EQ(ReadNumber(f, v), 0);
  EXPECT_DOUBLE_EQ(v, 11111);
}

TEST_F(TextFileTest, AFullTokenStillTakesItsExponent) {
  dir.Write("n.txt", "1." + std::string(38, '0') + "E-3 8");
  ASSERT_EQ(OpenTextFile(f, "n.txt", "R"), 0);
  double v;
  ASSERT_EQ(ReadNumber(f, v), 0);
  EXPECT_DOUBLE_EQ(v, 0.001);
  ASSERT_EQ(ReadNumber(f, v), 0);
  EXPECT_EQ(v, 8);
}

TEST_F(TextFileTest, IntegerTargetsRoundHalvesToEven) {
  dir.Write("n.txt", "2.5 3.5 -2.5 7");
  ASSERT_EQ(OpenTextFile(f, "n.txt", "R"), 0);
  int v;
  for (int e : {2, 4, -2, 7}) {
    ASSERT_EQ(ReadNumber(f, v), 0);
    EXPECT_EQ(v, e);
  }
  EXPECT_EQ(ReadNumber(f, v), -1);
  EXPECT_EQ(v, 0);
}

TEST_F(TextFileTest, LineAfterANumberEndedByCrIsEmpty) {
  dir.Write("n.txt", " 7\r\nabc\r\n");
  ASSERT_EQ(OpenTextFile(f, "n.txt", "R"), 0);
  double v;
  ASSERT_EQ(ReadNumber(f, v), 0);
  EXPECT_EQ(v, 7);
  std::string line;
  ASSERT_EQ(ReadLine(f, line), 0);
  EXPECT_EQ(line, "");  // up to the LF the CR left behind
  ASSERT_EQ(ReadLine(f, line), 0);
  EXPECT_EQ(line, "abc");
}

TEST_F(TextFileTest, EndOfFileTest) {
  dir.Write("e.txt", "ab");
  ASSERT_EQ(OpenTextFile(f, "e.txt", "R"), 0);
  EXPECT_FALSE(FileEof(f));
  std::string line;
  ReadLine(f, line);
  EXPECT_TRUE(FileEof(f));
  CloseTextFile(f);
  EXPECT_TRUE(FileEof(f));
}

TEST_F(TextFileTest, RawBytesReadAndWrittenInPlace) {
  dir.Write("raw.bin", std::string("\x00\x01\xff", 3));
  ASSERT_EQ(OpenTextFile(f, "raw.bin", "R+"), 0);
  EXPECT_EQ(ReadByte(f), 0);
  EXPECT_TRUE(WriteBytes(f, std::string("\x0d\x0a", 2)));  // over the second and third byte
  EXPECT_EQ(ReadByte(f), -1);
  CloseTextFile(f);
  EXPECT_EQ(dir.Read("raw.bin"), std::string("\x00\x0d\x0a", 3));
}

TEST_F(TextFileTest, ClosedFileReadsNothingAndWritesNothing) {
  WriteText(f, "lost");
  WriteNumber(f, 1);
  std::string line = "x";
  EXPECT_EQ(ReadLine(f, line), -1);
  EXPECT_EQ(line, "");
  double v = 1;
  EXPECT_EQ(ReadNumber(f, v), -1);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(ReadByte(f), -1);
  EXPECT_FALSE(WriteBytes(f, "x"));
  CloseTextFile(f);  // harmless
}

}  // namespace
}  // namespace vna
