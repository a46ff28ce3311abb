#include "calibration/cal_sim.h"

#include <QImage>
#include <QString>

#include <chrono>
#include <filesystem>

#include "calibration/cal_file.h"
#include "calibration/cal_port_a.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "graph/window_bitmap.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "support/shell_fixture.h"
#include "support/watchdog.h"

namespace vna::test {

void CalSim::SetUpTestSuite() {
  SetProgramVersion();
  DefineDialogs();
}

void CalSim::TearDown() {
  testhook::SetPumpHook(nullptr);
  CloseWindow(main_win);
  CloseWindow(point_win);
  pointwin_run = 0;
  mux_chan = 0;
  ClearCalibration();
  PointSim::TearDown();
}

void CalSim::Begin(const std::string& model, std::vector<std::string> args) {
  Start(model, std::move(args));
  ClearCalibration();
  Rbridge = 50;
  cal_folder = dir.path();
  cal_file_path = cal_file_name = "";
  cal_comment = "";
  mux_chan = multichan_scan = 0;
  DIAGMODE = 0;
  WinWidth = 1024;
  WinHeight = 700;
  Initgrafsize();  // the graph's layout, as start-up computes it
  OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu | kWinSizing, "",
             MainWindowHandler);
  bg_color = ReadPixel(main_win, 2, 2);  // the window's background, as start-up takes it
  testhook::ClearLogs();
}

void CalSim::LoadPrevious() {
  FillCalibration(12, false);
  cal_comment = "previous cal";
  const std::string path = dir / "previous.vcal";
  testhook::QueueFileAnswer(path);
  ASSERT_TRUE(SaveCalFile());
  ClearCalibration();
  cal_file_path = path;
  file_name = path;
  GetPortACal(0);
  ASSERT_EQ(vna_status, 0);
  ASSERT_EQ(PortA_cal, 1);
  testhook::ClearLogs();
}

void CalSim::AnswerLimits(const std::string& start, const std::string& stop,
                          const std::string& step, const std::string& amplitude,
                          const std::string& average) {
  AnswerDialog(" Cal Limits", {{2, start}, {3, stop}, {4, step}, {5, amplitude}, {21, average}}, 7);
}

void CalSim::AnswerPrompt(const std::string& device, bool go_on, std::function<void()> also) {
  testhook::Answer a;
  a.press = go_on ? 1 : 2;
  a.act = [this, device, also] {
    if (!device.empty()) Sim().SetDut(device);
    if (also) also();
  };
  testhook::QueueAnswer(a);
}

void CalSim::AnswerRstd(const std::string& ohms) {
  if (ohms.empty()) {
    AnswerDialog(" Cal Standard (ohms)", {}, 3);
  } else {
    AnswerDialog(" Cal Standard (ohms)", {{1, ohms}}, 2);
  }
}

void CalSim::AnswerBox(int button, const std::string& caption) {
  testhook::QueueMsgBoxAnswer(button, caption);
}

void CalSim::AnswerSave(const std::string& comment, const std::string& file) {
  AnswerBox(kIdNo, " Cal B Option ");
  AnswerPrompt("");  // save the calibration
  AnswerDialog(" Enter a comment", {{1, comment}}, 2);
  testhook::QueueFileAnswer(file.empty() ? "" : dir / file);
}

void CalSim::AnswerBandCal(const std::string& start, const std::string& stop,
                           const std::string& step, const std::string& file) {
  AnswerLimits(start, stop, step);
  AnswerPrompt("short");
  AnswerPrompt("open");
  AnswerPrompt("load");
  AnswerRstd("50");
  AnswerSave("sim cal", file);
  AnswerBox(kIdOk, " Calibration");  // the summary of the file read back
}

void CalSim::RunBandCal() {
  Watchdog dog(std::chrono::seconds(100), "a band calibration");
  msg_text = " HF band cal ";
  cal_band = 2;
  cal_start_freq = HFcalStart;
  cal_end_freq = HFcalEnd;
  cal_delta_freq = HFcalDelta;
  CalA();
}

void CalSim::RunStandardCal() {
  Watchdog dog(std::chrono::seconds(100), "a standard calibration");
  msg_text = " Standard cal ";
  cal_band = 0;
  cal_start_freq = 0.005;
  cal_end_freq = maximumfreq;
  cal_delta_freq = 0.005;
  CalA();
}

std::function<void()> CalSim::DuringPass(int pass, std::function<void()> act) {
  return [pass, act] {
    auto value = [pass] {
      const CalPointA& p = CalDataA[0];
      return pass == 0 ? p.shortR : pass == 1 ? p.openR : p.stdR;
    };
    const double before = value();
    OnPump([value, before] { return CalinProgress != 0 && value() != before; }, act);
  };
}

void CalSim::OnPump(std::function<bool()> ready, std::function<void()> act) {
  testhook::SetPumpHook([ready, act] {
    if (!ready()) return;
    testhook::SetPumpHook(nullptr);
    act();
  });
}

void CalSim::PressHalt() {
  PostEvent(main_win, kEvCommand, kBtnHalt);
}

std::vector<std::string> CalSim::Captions() const {
  std::vector<std::string> out;
  for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption);
  return out;
}

void CalSim::ExpectScriptFollowed() {
  EXPECT_TRUE(testhook::Problems().empty())
      << (testhook::Problems().empty() ? "" : testhook::Problems().front());
  EXPECT_EQ(testhook::PendingAnswers(), 0u);
}

void CalSim::KeepPicture(Window& win, const std::string& name) {
  const std::string folder = VNA_BINARY_DIR "/test_images";
  std::filesystem::create_directories(folder);
  const std::string bmp = folder + "/" + name + ".bmp";
  int w = 0, h = 0;
  OuterSize(win, w, h);
  ASSERT_TRUE(SaveBitmap(bmp, win, 0, 0, w, h));
  QImage(QString::fromStdString(bmp)).save(QString::fromStdString(folder + "/" + name + ".png"));
  std::filesystem::remove(bmp);
}

}  // namespace vna::test
