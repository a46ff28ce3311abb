// Every menu and button id reaches its routine; without an instrument the
// hardware commands show the refusal notice and do nothing else.
#include "commands/commands_fixture.h"

#include "files/state.h"
#include "scan/state.h"
#include "tools/state.h"

namespace vna::test {
namespace {

constexpr const char* kNeedsHardware = "This function requires the hardware";

struct Row {
  int id;
  bool button;  // a click on a control of main_win, else a menu pick
  Strings calls;
};

// In Port A mode with an instrument, no scan running, no TDR mode; every
// dialog a command opens is closed at once by its close box.
const Row kRows[] = {
    // Button bar and info panel
    {201, true, {"DrawGraph", "Scan_A"}},
    {202, true, {"Scan_A"}},
    {31, true, {"PointDataMode"}},
    {203, true, {"SetScanLimits"}},
    {205, true, {"GraphScales"}},
    {207, true, {"DrawTitle"}},
    {4332, true, {"ShowStatus"}},
    {210, true, {}},
    {20821, true, {"AverageADC(4)", "InfoPanel(1)"}},
    {20822, true, {"InfoPanel(2)"}},
    {20823, true, {"SmoothingDialog"}},
    {20824, true, {"SetLineExtension", "RedrawGraph"}},
    {20825, true, {"RedrawGraph"}},
    // File
    {1, false, {"LoadScanA"}},
    {2, false, {"DrawTitle", "SaveScanA"}},
    {27932, false, {"SetStyles(0)"}},
    {27933, false, {"SetStyles(1)"}},
    {27934, false, {"SetStyles(2)"}},
    {27935, false, {"SetStyles(3)"}},
    {27936, false, {"SetStyles(4)"}},
    {27937, false, {"SetStyles(5)"}},
    {2914, false, {"RecallAutoSave(0)"}},
    {2173, false, {}},  // the file dialog is cancelled
    {5, false, {"LoadCalibrationFile"}},
    {8, false, {"LoadConfigFile"}},
    {2196, false, {"SaveStateFile"}},
    {21971, false, {"LoadStateFile"}},
    {3057, false, {"PowerOff"}},
    // Functions
    {40, false, {"DistanceToFaultCheck"}},
    {38, false, {"RefToAntenna", "DrawFilesPanel"}},
    {34, false, {"EnterConstantFreq"}},
    {212, false, {"BandScan"}},
    {21279, false, {"BandScan"}},
    {36, false, {"MeasureCrystal"}},
    {213, false, {"MeasureVelocityFactor"}},
    {2139, false, {"MeasureQ"}},
    {2141, false, {"AntennaBandwidth"}},
    {2143, false, {"SetLineExtension", "RedrawGraph"}},
    {2193, false, {"RescanCenter"}},
    {2195, false, {"RescanCenter"}},
    {2347, false, {"DiagGraph"}},
    // Calibrate
    {39177, false, {"CalA"}},
    {21335, false, {"CalA"}},
    {21336, false, {"CalA"}},
    {21337, false, {"CalA", "ProgRelay(0)"}},
    {21338, false, {"CalA"}},
    {39179, false, {"CalB"}},
    {21330, false, {}},
    {39178, false, {}},
    // Bands
    {67, false, {"RedrawGraph"}},
    {51, false, {"SetScanLimits"}},
    {66, false, {"SetScanLimits"}},
    // Multi Channel
    {28362, false, {"OpenVectorScope"}},
    {28361, false, {"ShowMuxDialog"}},
    {23491, false, {"ScanMuxChannel(1)"}},
    {23496, false, {"ScanMuxChannel(1)"}},
    {23497, false, {"CalMultiChannel"}},
    {23499, false, {"CleanRelays(5)"}},
    // TDR
    {32195, false, {}},
    {32196, false, {}},
    {32193, false, {}},
    {32194, false, {}},
    {32198, false, {}},
    {3867, false, {}},
    // Setup
    {3195, false, {}},
    {3021, false, {"SelectStyle(1,0)"}},
    {3022, false, {"SelectStyle(2,0)"}},
    {3023, false, {"SelectStyle(3,0)"}},
    {3024, false, {"SelectStyle(4,0)"}},
    {3025, false, {"SelectStyle(5,0)"}},
    {3026, false, {"SelectStyle(6,0)"}},
    {3029, false, {"SelectStyle(7,0)"}},
    {3030, false, {"SelectStyle(8,0)"}},
    {3031, false, {"SelectStyle(9,0)"}},
    {3027, false, {"RedrawGraph"}},
    {3028, false, {"ShowLegend"}},
    {4334, false, {"SelectColors"}},
    {3163, false, {}},
    {3165, false, {"RedrawGraph"}},
    {147, false, {"EnterSwrRuler", "RedrawGraph"}},
    {4373, false, {}},
    {44, false, {"DrawGraph"}},
    {4473, false, {}},
    {4505, false, {"SetToneRange"}},
    {4506, false, {"SetToneRange"}},
    {4507, false, {"SetToneRange"}},
    {4508, false, {"SetToneRange"}},
    {46, false, {"SetAutoPowerDown(1)", "ProgRelay(0)"}},
    {3058, false, {"ProgRelay(0)"}},
    {27103, false, {"ReopenMainWindow(0)"}},
    // Diagnostic entries
    {27107, false, {}},
    {30172, false, {}},
    {30177, false, {}},
    {30178, false, {}},
    {30179, false, {"ShowFreqPlan"}},
    {30183, false, {"ShowOscBands"}},
    {27041, false, {"ReadTemperature"}},
    {30180, false, {"LogicTest"}},
    {30182, false, {"TemperatureDrift"}},
    {12843, false, {"RedrawGraph"}},
    {12844, false, {"DrawFilesPanel"}},
    // Markers
    {3081, false, {"MarkerCommand(1)"}},
    {3089, false, {"MarkerCommand(22)"}},
    {3085, false, {"MarkerCommand(5)"}},
    {3086, false, {"MarkerCommand(6)"}},
    {3087, false, {"MarkerCommand(7)"}},
    {3088, false, {"MarkerCommand(8)"}},
    {2191, false, {}},
    {4793, false, {"RepeatPolarPlot"}},
    {4794, false, {"RepeatPolarPlot"}},
    {4795, false, {"RepeatPolarPlot"}},
    // Utilities
    {217, false, {"OpenLCMatching"}},
    {218, false, {"OpenPlotTool"}},
    {219, false, {"ShowTwelfthWave"}},
    // Port B Functions
    {23348, false, {"InfoPanel(0)"}},
    {23349, false, {"PointDataMode"}},
    {23346, false, {"ProgGain"}},
    {23347, false, {"ProgGain"}},
    {23340, false, {"ProgGain"}},
    {23344, false, {"ProgGain"}},
    {23350, false, {}},
    {23351, false, {}},
    {23356, false, {}},
    {25317, false, {}},
    {25320, false, {}},
    {23328, false, {}},  // Port B only
    {25327, false, {}},
    {23446, false, {}},
    {23448, false, {"Bandwidth"}},
    // Help and My Vars
    {41272, false, {"OpenManual"}},
    {4331, false, {"ConfigEditor"}},
    {4333, false, {"OpenUpdatePage"}},
    {42, false, {"ShowAbout"}},
    {9171, false, {"EnterMyVar(1)"}},
    {9174, false, {"EnterMyVar(4)"}},
    // No command
    {12345, false, {}},
    {12345, true, {}},
};

TEST_F(CommandsTest, EachIdReachesItsRoutine) {
  for (const Row& r : kRows) {
    SetUp();
    if (r.button) {
      Click(r.id);
    } else {
      Pick(r.id);
    }
    EXPECT_EQ(Calls(), r.calls) << (r.button ? "button " : "menu ") << r.id;
    EXPECT_EQ(main_loop_on, 1) << r.id;
    if (dlg_vna_test.IsOpen()) CloseDialog(dlg_vna_test, 2);
    TearDown();
  }
}

TEST_F(CommandsTest, HardwareCommandsWithoutAnInstrumentOnlyShowTheNotice) {
  struct Guarded {
    int id;
    bool button;
  };
  const Guarded guarded[] = {{201, true},    {202, true},    {204, true},    {31, true},
                             {2, false},     {40, false},    {38, false},    {212, false},
                             {21279, false}, {36, false},    {39177, false}, {21335, false},
                             {21336, false}, {21337, false}, {21338, false}, {39179, false},
                             {23497, false}};
  for (const Guarded& g : guarded) {
    SetUp();
    vna_present = 0;
    bandscan_sens = 7;
    save_mode = 5;
    scan_from_file = 1;
    msg_text = "before";
    if (g.button) {
      Click(g.id);
    } else {
      Pick(g.id);
    }
    EXPECT_EQ(Calls(), Strings{}) << g.id;
    EXPECT_EQ(BoxTexts(), Strings{kNeedsHardware}) << g.id;
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, "");
    EXPECT_EQ(testhook::MsgBoxes()[0].owner, "main_win");
    EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
    EXPECT_EQ(bandscan_sens, 7) << g.id;
    EXPECT_EQ(save_mode, 5) << g.id;
    EXPECT_EQ(scan_from_file, 1) << g.id;
    EXPECT_EQ(msg_text, "before") << g.id;
    EXPECT_EQ(recycle_on, 0) << g.id;
    TearDown();
  }
  // The silent guard: nothing at all.
  for (int id : {3057, 213}) {
    SetUp();
    vna_present = 0;
    Pick(id);
    EXPECT_EQ(Calls(), Strings{}) << id;
    EXPECT_EQ(BoxTexts(), Strings{}) << id;
    TearDown();
  }
  // Commands without a guard work on stored data.
  SetUp();
  vna_present = 0;
  Click(203);
  Pick(1);
  EXPECT_EQ(Calls(), (Strings{"SetScanLimits", "LoadScanA"}));
  EXPECT_EQ(BoxTexts(), Strings{});
}

TEST_F(CommandsTest, AfterAnEditedConfigTheNoticeAsksForARestart) {
  vna_present = 0;
  config_changed = 1;
  Click(201);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Restart VNA Prog");
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "Please close the program and restart it so the new\rConfig File parameters can be "
            "loaded.");
  EXPECT_EQ(Calls(), Strings{});
  config_changed = 0;
}

}  // namespace
}  // namespace vna::test
