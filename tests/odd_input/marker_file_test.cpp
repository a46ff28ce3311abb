// A marker file that is refused changes nothing: not the markers, not the
// remembered marker file and folder; and its box quotes only what the file
// itself held, never a line another reader left behind.
#include "files/state.h"
#include "graph/markers.h"
#include "graph/state.h"
#include "odd_input/odd_input_fixture.h"

namespace vna::test {
namespace {

struct MarkerState {
  std::vector<double> freqs;
  std::string path, folder;
  static MarkerState Take() {
    std::vector<double> f;
    for (int i = 1; i <= kMaxMarkers; ++i) f.push_back(markers[i].Freq);
    return {f, marker_file_path, marker_folder};
  }
  bool operator==(const MarkerState&) const = default;
};

TEST_F(OddInputTest, ARefusedMarkerFileChangesNothingAndQuotesOnlyItself) {
  const std::string header =
      "Marker data for VNA. ::  DataFileFormat = 120716 :: Prog version = 636A\r\n";
  struct Case {
    const char* name;
    std::string path;
    std::string box;
  };
  const std::string empty = dir.Write("empty.mrk", "");
  const std::string other = dir.Write("other.mrk", "Marker data of another program\r\n");
  const std::string cut = dir.Write("cut.mrk", header + "date\r\nport A\r\nport B\r\n 14.2\r\n");
  // Random bytes: control bytes, a byte of no character, a character and a
  // line far longer than a message shows.
  const std::string noise = dir.Write(
      "noise.mrk", std::string("\x01\xff", 2) + "ab\xc3\xa9\x7f" + std::string(300, 'z') + "\r\n");
  const Case cases[] = {
      {"empty", empty,
       " Marker File Error 4182|This is not a valid marker file.\r\n\r\n" + empty + "\r\n\r\n"},
      {"another header", other,
       " Marker File Error 4182|This is not a valid marker file.\r\n\r\n" + other +
           "\r\n\r\nMarker data of another program"},
      {"cut short", cut, "//87212|error in file\r\n" + cut + "\r\n on line  6"},
      // Shown as text: each byte that is none escaped, 80 characters (an
      // escape counting its four) and the mark of the cut.
      {"random bytes", noise,
       " Marker File Error 4182|This is not a valid marker file.\r\n\r\n" + noise +
           "\r\n\r\n\\x01\\xFFab\xc3\xa9\\x7F" + std::string(80 - 15, 'z') + "..."},
      {"missing", dir / "sub/missing.mrk",
       "Marker File|The marker file was not found in the folder with the exe file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearMarkers();
    markers[1].Freq = 3.6;
    marker_file_path = "/before/known.mrk";
    marker_folder = "/before/";
    line_buf = "a line of the config file read before";
    const MarkerState before = MarkerState::Take();
    testhook::ClearLogs();
    testhook::QueueFileAnswer(c.path);
    LoadMarkers();
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
    EXPECT_TRUE(MarkerState::Take() == before);
  }
  // A file that loads names itself and its folder.
  testhook::QueueFileAnswer(dir / "good.mrk");
  SaveMarkers();
  marker_file_path = "/before/known.mrk";
  marker_folder = "/before/";
  testhook::ClearLogs();
  testhook::QueueFileAnswer(dir / "good.mrk");
  LoadMarkers();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(marker_file_path, dir / "good.mrk");
  EXPECT_EQ(marker_folder, dir.path() + "/");
}

}  // namespace
}  // namespace vna::test
