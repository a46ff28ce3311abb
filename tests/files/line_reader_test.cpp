// The shared line reader: every data file of the program is read through it.
#include <gtest/gtest.h>

#include "files/line_reader.h"
#include "files/state.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::TempDir;

class LineReaderTest : public ::testing::Test {
 protected:
  void Open(const std::string& bytes) {
    dir.Write("data.txt", bytes);
    ASSERT_EQ(OpenTextFile(data_file, dir / "data.txt", "R"), 0);
  }
  std::vector<std::string> ReadAll(int lines) {
    std::vector<std::string> out;
    for (int n = 1; n <= lines; ++n) {
      ReadDataLine(n);
      out.push_back(line_buf);
    }
    return out;
  }
  void TearDown() override { CloseTextFile(data_file); }
  TempDir dir;
};

TEST_F(LineReaderTest, AllLineEndsReadAlike) {
  const std::vector<std::string> expected = {" 7.25 ", "\tname", "", "-0.5", "", ""};
  for (const char* bytes : {" 7.25 \r\n\tname\r\n\r\n-0.5\r\n", " 7.25 \n\tname\n\n-0.5\n",
                            " 7.25 \r\tname\r\r-0.5\r"}) {
    Open(bytes);
    EXPECT_EQ(ReadAll(6), expected);
    CloseTextFile(data_file);
  }
}

TEST_F(LineReaderTest, LastLineWithoutEndThenEmptyLinesAndTheFileStaysOpen) {
  Open("first\r\nlast");
  EXPECT_EQ(ReadAll(5), (std::vector<std::string>{"first", "last", "", "", ""}));
  EXPECT_TRUE(data_file.IsOpen());
}

TEST_F(LineReaderTest, LfFollowedByCrIsTwoLineEnds) {
  Open("a\n\rb");
  EXPECT_EQ(ReadAll(3), (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(LineReaderTest, ALongLineIsCutAndTheNextLineIsIntact) {
  Open(std::string(1000, '9') + "\r\n 42\r\n");
  ReadDataLine(1);
  EXPECT_EQ(line_buf, std::string(kLineBufChars, '9'));
  ReadDataLine(2);
  EXPECT_EQ(line_buf, " 42");
  EXPECT_EQ(LineValueInt(), 42);
}

TEST_F(LineReaderTest, ReadingWithoutAnOpenFileGivesEmptyLines) {
  line_buf = "old";
  ReadDataLine(1);
  EXPECT_EQ(line_buf, "");
}

TEST(LineValue, TheValueOfALine) {
  const std::pair<const char*, double> cases[] = {
      {" 7.25 ", 7.25},  {"-0.5", -0.5},
      {"-.5", -0.5},     {"1.5e3", 1500},
      {"letters", 0},    {"", 0},
      {"\t 3", 3},       {"+4", 0},
      {"1e-5", 0.00001}, {" 12.5000 name", 12.5},
      {".25", 0.25},     {"- 1", 0},
      {"2E+1 x", 20},    {" -3.5E-2\t", -0.035},
  };
  for (const auto& [line, value] : cases) {
    EXPECT_DOUBLE_EQ(LineValue(line), value) << line;
    line_buf = line;
    EXPECT_DOUBLE_EQ(LineValue(), value) << line;
  }
}

TEST(LineValue, ANumberALineHolds) {
  const std::pair<const char*, bool> cases[] = {
      {" 7.25", true},   {"-.5", true},   {"1e308", true}, {"\t1.5E-3 ohms", true},
      {"", false},       {"  ", false},   {"x1", false},   {"-", false},
      {".", false},      {"+4", false},   {"e5", false},   {"1e309", false},
      {"-1e999", false}, {" - 1", false},
  };
  for (const auto& [text, holds] : cases) EXPECT_EQ(HoldsNumber(text), holds) << text;
}

TEST(LineValue, IntegersRoundHalvesToEven) {
  const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4},  {"-2.5", -2},
                                               {" 8", 8},  {"2.51", 3}, {"x", 0}};
  for (const auto& [line, value] : cases) {
    EXPECT_EQ(LineValueInt(line), value) << line;
    line_buf = line;
    EXPECT_EQ(LineValueInt(), value) << line;
  }
}

}  // namespace
}  // namespace vna
