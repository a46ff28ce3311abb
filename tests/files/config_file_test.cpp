// The config loader: positions among comments and file-name lines, the
// sixteen bands, the version check, where reading ends, the copy to
// "ZiviRUR.cfg", and damaged files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "files/config_file.h"
#include "files/settings_fixture.h"
#include "platform/draw.h"

namespace vna {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// What a single-precision number of the file becomes.
double F(double x) {
  return static_cast<float>(x);
}

class ConfigTest : public testing::SettingsTest {
 protected:
  // A plain file: title, version, then one line per position (1..63),
  // colours "1 2 3", bands "k k+1 0.5", single numbers 7.
  static std::vector<std::string> Positions() {
    std::vector<std::string> p;
    for (int pos = 1; pos <= 63; ++pos) {
      if (pos <= 16 || pos == 36) {
        p.push_back("1 2 3");
      } else if (pos >= 20 && pos <= 35) {
        p.push_back(std::to_string(pos) + " " + std::to_string(pos + 1) + " 0.5");
      } else {
        p.push_back("7");
      }
    }
    return p;
  }
  static std::string File(const std::vector<std::string>& positions, bool end = true) {
    std::string s = "Title line\r\nconfig_version=252\r\n\r\n\r\n\r\n\r\n";
    for (const auto& l : positions) s += l + "\r\n";
    if (end) s += "END of config\r\n";
    return s;
  }
  void Load(const std::string& bytes, const std::string& name = "test.cfg") {
    dir.Write(name, bytes);
    file_name = dir / name;
    testhook::ClearLogs();
    LoadConfig();
  }
};

TEST_F(ConfigTest, GoldenFileLoadsIntoTheSettings) {
  const std::string golden = VNA_SOURCE_DIR "/tests/files/data/golden.cfg";
  const std::string original = ReadBytes(golden);
  const int blue_before = Blue;
  Load(original);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(config_loaded, 1);
  EXPECT_EQ(config_version, 252);
  EXPECT_EQ(config_file_name, "");  // a full path is not taken as the name

  EXPECT_EQ(default_colors[5], Rgb(250, 10, 20));    // RedColor
  EXPECT_EQ(default_colors[4], Rgb(250, 120, 10));   // LightRed, commas
  EXPECT_EQ(default_colors[3], Rgb(0, 140, 0));      // Green
  EXPECT_EQ(default_colors[0], Rgb(190, 170, 230));  // LightMagenta
  EXPECT_EQ(Cyan, Rgb(0, 190, 190));
  EXPECT_EQ(default_colors[7], Rgb(10, 10, 10));  // Blue, behind the comment "-----"
  EXPECT_EQ(title_color, blue_before);
  EXPECT_EQ(default_colors[8], Rgb(250, 190, 120));  // LightOrange
  EXPECT_EQ(chart_bg_color, Rgb(170, 210, 250));
  EXPECT_EQ(grid_line_color, Rgb(200, 200, 200));
  EXPECT_EQ(grid_color, Rgb(170, 170, 170));
  EXPECT_EQ(files_color, Rgb(210, 0, 0));
  EXPECT_EQ(RedColor, Rgb(240, 0, 0));          // the trace colours themselves stay
  EXPECT_EQ(control_csv, "C:\\Data\\Out.csv");  // the letters as written
  EXPECT_EQ(trace_width, 3);

  struct Band {
    double lower, upper, step;
    const char* name;
  };
  const Band bands[16] = {
      {1.8, 2.0, F(0.01), "TOP"},
      {3.5, 3.8, F(0.02), "EIGHTY"},
      {5.3, 5.4, F(0.005), " 60_meters"},
      {7.0, 7.2, F(0.01), ""},
      {10.1, 10.15, F(0.005), "THIRTY"},
      {14.0, 14.35, 0, "BEACON"},
      {18.068, 18.168, F(0.01), " 17_meters"},
      {21.0, 21.45, F(0.01), "FIFTEEN"},
      {24.89, 24.99, F(0.01), " 12_meters"},
      {28.0, 29.7, F(0.02), "TEN"},
      {50, 52, F(0.1), "  6_meters"},
      {144, 146, F(0.1), "TWO"},
      {1, 30, 0.5, "HF"},
      {30, 300, 2, "VHF"},
      {0.1, 1.8, F(0.01), "MW"},
      {0.15, 0.3, F(0.001), "LW"},
  };
  for (int k = 1; k <= 16; ++k) {
    SCOPED_TRACE(k);
    const Band& b = bands[k - 1];
    EXPECT_EQ(band_start[k], F(b.lower));
    EXPECT_EQ(band_end[k], F(b.upper));
    EXPECT_EQ(bandskip_start[k], F(b.lower));  // the lower edge
    EXPECT_EQ(bandskip_end[k], F(b.upper));
    if (b.step != 0) {
      EXPECT_EQ(band_delta[k], b.step);
    }
    EXPECT_EQ(band_name[k], b.name);
  }
  EXPECT_DOUBLE_EQ(band_delta[6], (F(14.35) - F(14.0)) / (100 + 0.00001));
  EXPECT_EQ(bandskip_start[17], 0);
  EXPECT_EQ(band_name_count, 17);

  EXPECT_EQ(band_color, Rgb(230, 230, 230));
  EXPECT_EQ(max_points, 20000);
  EXPECT_EQ(metric, 1);
  EXPECT_EQ(version_delay, 150);
  EXPECT_EQ(cfg_win_width, 1280);
  EXPECT_EQ(cfg_win_height, 700);
  EXPECT_EQ(font_size, 8);
  EXPECT_EQ(bold_font, 0);
  EXPECT_EQ(chart_scale, 1.5);
  EXPECT_EQ(recycle_delay, 500);
  EXPECT_EQ(highbaud, 1);
  EXPECT_EQ(voice_folder, "Sounds_2\\");
  EXPECT_EQ(dspthreshold_factor, 1.5);
  EXPECT_EQ(dspthreshold, 3);
  EXPECT_EQ(regctl_mode, 3);
  EXPECT_EQ(autosave_graph, 0);
  EXPECT_EQ(voice_digits, 2);
  EXPECT_EQ(voice_repeat, 4);
  EXPECT_EQ(lowres_tol, 5);
  EXPECT_EQ(relay_freq, 4.5);
  EXPECT_EQ(autobaud, 57600);
  EXPECT_EQ(swr_yoffset, 2);

  // The copy holds the same lines, each ended by CR LF; the loaded file is
  // never written.
  EXPECT_EQ(dir.Read("test.cfg"), original);
  std::string expected_copy;
  for (char c : original) expected_copy += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(dir.Read("ZiviRUR.cfg"), expected_copy);
}

// A new program folder receives the program's own config file: complete, so
// the start-up load shows no box, and holding the start values every setting
// has when no file sets it.
TEST_F(ConfigTest, ShippedFileHoldsTheStartValues) {
  ASSERT_TRUE(InstallDefaultConfig());
  const std::string bytes = dir.Read("_VNA_Config_1.cfg");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);  // CR LF line ends
  for (int* colour : {&Cyan, &band_color, &files_color}) *colour = 1;
  file_name = dir / "_VNA_Config_1.cfg";
  LoadConfig();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(config_loaded, 1);
  EXPECT_EQ(config_version, 252);
  // LightMagenta, Magenta, LightGreen, Green, LightRed, RedColor, LightBlue,
  // Blue, LightOrange, Orange, LightYellow, Yellow.
  const int defaults[12] = {Rgb(200, 180, 240), Rgb(200, 0, 200), Rgb(130, 240, 180),
                            Rgb(0, 150, 0),     Rgb(240, 120, 0), Rgb(240, 0, 0),
                            Rgb(175, 175, 250), Rgb(0, 0, 200),   Rgb(255, 195, 125),
                            Rgb(240, 174, 0),   Rgb(225, 225, 0), Rgb(200, 200, 0)};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(default_colors[i], defaults[i]) << i;
  EXPECT_EQ(Cyan, Rgb(0, 200, 200));
  EXPECT_EQ(chart_bg_color, Rgb(180, 220, 255));
  EXPECT_EQ(grid_line_color, Rgb(230, 230, 230));
  EXPECT_EQ(files_color, Rgb(200, 0, 0));
  EXPECT_EQ(trace_width, 2);
  const double bands[17][3] = {{},
                               {1.7, 2.1, 0.01},
                               {3.4, 4.1, 0.02},
                               {5.3, 5.5, 0.005},
                               {6.9, 7.4, 0.01},
                               {10, 10.2, 0.005},
                               {13.9, 14.5, 0.01},
                               {18, 18.2, 0.01},
                               {20.9, 21.6, 0.01},
                               {24.7, 25.1, 0.01},
                               {27.9, 29.8, 0.01},
                               {49.5, 54.5, 0.1},
                               {143.5, 148.5, 0.1},
                               {1, 150, 2},
                               {1, 21, 0.2},
                               {5, 45, 0.25},
                               {13, 43, 0.2}};
  for (int k = 1; k <= 16; ++k) {
    EXPECT_EQ(band_start[k], F(bands[k][0])) << k;
    EXPECT_EQ(band_end[k], F(bands[k][1])) << k;
    EXPECT_EQ(band_delta[k], F(bands[k][2])) << k;
  }
  EXPECT_EQ(band_name[1], "160_meters");  // the names stay the built-in ones
  EXPECT_EQ(band_name[16], " Band_D");
  EXPECT_EQ(band_color, Rgb(240, 240, 240));
  EXPECT_EQ(max_points, 30000);
  EXPECT_EQ(metric, 0);
  EXPECT_EQ(version_delay, 200);
  EXPECT_EQ(font_size, 7);
  EXPECT_EQ(bold_font, 1);
  EXPECT_EQ(chart_scale, 1);
  EXPECT_EQ(recycle_delay, 300);
  EXPECT_EQ(highbaud, 0);
  EXPECT_EQ(dspthreshold_factor, 0);
  EXPECT_EQ(dspthreshold, 2);
  EXPECT_EQ(regctl_mode, 0);
  EXPECT_EQ(autosave_graph, 1);
  EXPECT_EQ(voice_digits, 1);
  EXPECT_EQ(voice_repeat, 0);
  EXPECT_EQ(lowres_tol, 1);  // the smallest the file can give
  EXPECT_EQ(relay_freq, F(3.313));
  EXPECT_EQ(autobaud, 115000);
  EXPECT_EQ(swr_yoffset, 1);

  // A config file the folder has is the user's: never replaced.
  dir.Write("_VNA_Config_1.cfg", "mine\r\n");
  ASSERT_TRUE(InstallDefaultConfig());
  EXPECT_EQ(dir.Read("_VNA_Config_1.cfg"), "mine\r\n");
}

TEST_F(ConfigTest, WhereReadingEnds) {
  std::vector<std::string> p = Positions();
  const int trace_width_before = trace_width, files_before = files_color;

  // Positions 1..16, then the end marker.
  std::vector<std::string> first16(p.begin(), p.begin() + 16);
  Load(File(first16));
  EXPECT_EQ(files_color, Rgb(1, 2, 3));
  EXPECT_EQ(trace_width, trace_width_before);
  EXPECT_EQ(config_loaded, 0);
  EXPECT_FALSE(data_file.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(dir / "ZiviRUR.cfg"));

  // The end marker in the place of position 16.
  InitVars();
  std::vector<std::string> first15(p.begin(), p.begin() + 15);
  Load(File(first15));
  EXPECT_EQ(files_color, files_before);
  EXPECT_EQ(chart_bg_color, Rgb(1, 2, 3));

  // No end marker: the last line of the file is never a value line.
  InitVars();
  Load(File(p, false));
  EXPECT_EQ(autobaud, 7);
  EXPECT_EQ(swr_yoffset, 1);
  EXPECT_EQ(config_loaded, 0);

  // "END of Config" is a value line (its number 0); the marker's case matters.
  InitVars();
  std::vector<std::string> other_case(p.begin(), p.begin() + 62);
  other_case.push_back("END of Config");
  Load(File(other_case));
  EXPECT_EQ(swr_yoffset, 0);
  EXPECT_EQ(config_loaded, 1);

  // A file that ends early says so.
  InitVars();
  Load(File(first16));
  EXPECT_EQ(Boxes(),
            std::vector<std::string>{
                "Config File|The config file ended before all its values "
                "were read:\r" +
                file_name + "\rThe values from position 17 on keep their present values."});
}

TEST_F(ConfigTest, VersionCheck) {
  const std::vector<std::string> p = Positions();
  const std::string body = [&] {
    std::string s;
    for (const auto& l : p) s += l + "\r\n";
    return s + "END of config\r\n";
  }();
  struct Case {
    const char* name;
    std::string head;  // title and the five version lines
    bool accepted;
    int version;
  };
  const Case cases[] = {
      {"251", "T\r\nconfig_version=251\r\n\r\n\r\n\r\n\r\n", false, 251},
      {"252 in line 4", "T\r\n\r\n\r\nConfig_Version=252\r\n\r\n\r\n", true, 252},
      {"the last key counts", "T\r\nconfig_version=260\r\n\r\nconfig_version=250\r\n\r\n\r\n",
       false, 250},
      {"two blanks take four characters", "T\r\nconfig_version=  252\r\n\r\n\r\n\r\n\r\n", false,
       25},
      {"none", "T\r\n\r\n\r\n\r\n\r\n\r\n", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitVars();
    Load(c.head + body);
    EXPECT_EQ(config_version, c.version);
    EXPECT_EQ(config_loaded, c.accepted ? 1 : 0);
    if (c.accepted) {
      EXPECT_TRUE(Boxes().empty());
    } else {
      EXPECT_EQ(Boxes(), std::vector<std::string>{
                             " Invalid config file|This config file is not the latest version.  "
                             "252\rIt doesn't have all the new features.\rPlease select a new "
                             "config file."});
      EXPECT_EQ(config_file_name, "_VNA_Config_1.cfg");
      EXPECT_EQ(config_file_path, "_VNA_Config_1.cfg");
      EXPECT_EQ(default_colors[5], Rgb(240, 0, 0));  // nothing changed
    }
  }
  // The key in line 7 is a value line, not a version.
  InitVars();
  Load("T\r\n\r\n\r\n\r\n\r\n\r\nconfig_version=300\r\n" + body);
  EXPECT_EQ(config_version, 0);
  EXPECT_EQ(config_loaded, 0);
}

TEST_F(ConfigTest, LinesAndNumbers) {
  struct Case {
    const char* name;
    std::function<void(std::vector<std::string>&)> edit;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {"commas and blanks alike", [](auto& p) { p[0] = "255, 128,0"; },
       [] { EXPECT_EQ(default_colors[5], Rgb(255, 128, 0)); }},
      {"a comment after the numbers", [](auto& p) { p[0] = "255 128 0 // red"; },
       [] { EXPECT_EQ(default_colors[5], Rgb(255, 128, 0)); }},
      {"an empty field is 0, 12abc is 12", [](auto& p) { p[0] = "12abc,,5"; },
       [] { EXPECT_EQ(default_colors[5], Rgb(12, 0, 5)); }},
      {"a TAB does not separate", [](auto& p) { p[0] = "3\t4 5 6"; },
       [] { EXPECT_EQ(default_colors[5], Rgb(3, 5, 6)); }},
      {"comments take no position",
       [](auto& p) {
         p.insert(p.begin() + 17, {"// pen width next", "", "-----", "  "});
       },
       [] { EXPECT_EQ(trace_width, 7); }},
      {"5 // width is a value line", [](auto& p) { p[17] = "5 // width"; },
       [] { EXPECT_EQ(trace_width, 5); }},
      {"-5 and a blank before 7 are value lines",
       [](auto& p) {
         p[17] = "-5";
         p[37] = " 7";
       },
       [] {
         EXPECT_EQ(trace_width, -5);
         EXPECT_EQ(metric, 7);
       }},
      {"a file-name line uses up its position",
       [](auto& p) { p[17] = "outputfile= C:\\Data\\Out.csv"; },
       [] {
         EXPECT_EQ(control_csv, "C:\\Data\\Out.csv");
         EXPECT_EQ(trace_width, 7);  // the numbers of the line before (position 17)
         EXPECT_EQ(max_points, 7 < 20 ? 20 : 7);
       }},
      {"voice folder less its last character",
       [](auto& p) { p[16] = "VoiceFileFolder= Sounds_2\\x"; },
       [] { EXPECT_EQ(voice_folder, "Sounds_2\\"); }},
      {"an empty voice folder", [](auto& p) { p[16] = "voicefilefolder="; },
       [] { EXPECT_EQ(voice_folder, ""); }},
      {"points instead of a step", [](auto& p) { p[19] = "14.0 14.35 100 station=beacon"; },
       [] {
         EXPECT_DOUBLE_EQ(band_delta[1], (F(14.35) - F(14.0)) / 100.00001);
         EXPECT_EQ(band_name[1], "BEACON");
       }},
      {"a band without a name keeps its name", [](auto& p) { p[19] = "14.0 14.35 0.01"; },
       [] { EXPECT_EQ(band_name[1], "160_meters"); }},
      {"most points 100000", [](auto& p) { p[36] = "100000"; },
       [] { EXPECT_EQ(max_points, 30000); }},
      {"most points 5", [](auto& p) { p[36] = "5"; }, [] { EXPECT_EQ(max_points, 20); }},
      {"font size -12", [](auto& p) { p[41] = "-12"; }, [] { EXPECT_EQ(font_size, 10); }},
      {"chart scale 0.2", [](auto& p) { p[43] = "0.2"; }, [] { EXPECT_EQ(chart_scale, 0.5); }},
      {"voice digits 0", [](auto& p) { p[56] = "0"; }, [] { EXPECT_EQ(voice_digits, 1); }},
      {"tolerance 0", [](auto& p) { p[59] = "0"; }, [] { EXPECT_EQ(lowres_tol, 1); }},
      {"a value line with too few numbers", [](auto& p) { p[0] = "200"; },
       [] {
         EXPECT_EQ(default_colors[5], Rgb(200, 0, 0));
         EXPECT_EQ(config_loaded, 1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitVars();
    std::vector<std::string> p = Positions();
    c.edit(p);
    Load(File(p));
    c.check();
  }
}

TEST_F(ConfigTest, FileNames) {
  const std::string body = File(Positions());
  // Missing: the program folder's default file.
  dir.Write("_VNA_Config_1.cfg", body);
  file_name = dir / "nowhere.cfg";
  testhook::ClearLogs();
  LoadConfig();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(config_loaded, 1);
  EXPECT_EQ(file_name, dir.path() + "/_VNA_Config_1.cfg");
  EXPECT_EQ(config_file_path, file_name);
  EXPECT_EQ(config_file_name, file_name);

  // Both missing: a message, nothing loaded.
  std::filesystem::remove(dir / "_VNA_Config_1.cfg");
  InitVars();
  file_name = "";
  testhook::ClearLogs();
  LoadConfig();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Config File|Config file was not found\r" +
                                              dir.path() + "/_VNA_Config_1.cfg"});
  EXPECT_EQ(config_loaded, 0);

  // A bare name is kept as the name.
  std::filesystem::current_path(dir.path());
  dir.Write("bare.cfg", body);
  file_name = "bare.cfg";
  testhook::ClearLogs();
  LoadConfig();
  EXPECT_EQ(config_file_name, "bare.cfg");
  EXPECT_EQ(config_loaded, 1);

  // A load asked for from the menu shows the title.
  config_interactive = 1;
  Load(body);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Config File|Title line"});
}

TEST_F(ConfigTest, TheCopyNeverHarmsTheLoadedFile) {
  const std::string body = File(Positions());
  // Loading the copy itself leaves it as it is.
  const std::string lf_body = "Title\nconfig_version=252\n\n\n\n\n1 2 3\nEND of config\n";
  Load(lf_body + std::string(), "ZiviRUR.cfg");
  EXPECT_EQ(dir.Read("ZiviRUR.cfg"), lf_body);

  // A read-only program folder: the copy is refused and said so; the loaded
  // file and the values are untouched by the failure.
  const std::string other = dir.path() + "-user";
  std::filesystem::create_directory(other);
  std::ofstream(other + "/user.cfg", std::ios::binary) << body;
  std::filesystem::remove(dir / "ZiviRUR.cfg");
  chmod(dir.path().c_str(), 0555);
  InitVars();
  file_name = other + "/user.cfg";
  testhook::ClearLogs();
  LoadConfig();
  chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(config_loaded, 1);
  EXPECT_EQ(swr_yoffset, 7);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Config File");
  EXPECT_TRUE(testhook::MsgBoxes()[0].text.starts_with("The file named: " + dir.path() +
                                                       "/ZiviRUR.cfg  \ris a Read-Only file."));
  EXPECT_EQ(ReadBytes(other + "/user.cfg"), body);
  EXPECT_FALSE(std::filesystem::exists(dir / "ZiviRUR.cfg"));

  // A read-only loaded file in a writable folder is read and copied, never written.
  chmod((other + "/user.cfg").c_str(), 0444);
  testhook::ClearLogs();
  LoadConfig();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(dir.Read("ZiviRUR.cfg"), body);
  EXPECT_EQ(ReadBytes(other + "/user.cfg"), body);
  std::filesystem::remove_all(other);
}

TEST_F(ConfigTest, DamagedFiles) {
  const std::vector<std::string> p = Positions();
  const std::string good = File(p);
  std::mt19937 random(252);
  std::string binary;
  for (int i = 0; i < 8192; ++i) binary += static_cast<char>(random() & 0xff);
  std::vector<std::string> huge = p;
  huge.insert(huge.begin() + 10, "// " + std::string(3 << 20, 'c'));
  struct Case {
    const char* name;
    std::string bytes;
    const char* caption;  // nullptr: no message
    int loaded;
  };
  const Case cases[] = {
      {"truncated", good.substr(0, good.size() / 2), "Config File", 0},
      {"empty", "", " Invalid config file", 0},
      {"binary", binary, " Invalid config file", 0},
      {"binary after a good head", good.substr(0, 60) + binary, nullptr, -1},
      // Larger than any config file can be: refused before it is read.
      {"oversized comment line", File(huge), "Config File", 0},
      {"oversized tail", good + std::string(4 << 20, 'x'), "Config File", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitVars();
    std::filesystem::remove(dir / "ZiviRUR.cfg");
    Load(c.bytes);
    if (c.caption) {
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
      EXPECT_EQ(testhook::MsgBoxes()[0].caption, c.caption);
    } else if (c.loaded >= 0) {
      EXPECT_TRUE(Boxes().empty());
    }
    if (c.loaded >= 0) {
      EXPECT_EQ(config_loaded, c.loaded);
    }
    EXPECT_TRUE(max_points >= 20 && max_points <= 30000);
    EXPECT_TRUE(font_size >= 3 && font_size <= 10);
    EXPECT_FALSE(data_file.IsOpen());
    EXPECT_EQ(dir.Read("test.cfg"), c.bytes);
  }
}

}  // namespace
}  // namespace vna
