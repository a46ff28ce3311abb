// A serial device that fills the line with bytes and never sends the
// instrument's reply (a wrong port in real life): the version query still
// ends, keeps only a little of what came, and start-up goes on in
// demonstration mode as with a silent port.
#include <gtest/gtest.h>

#include <QDir>
#include <QString>

#include <chrono>
#include <string>

#include "files/settings.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "odd_input/babbling_port.h"
#include "platform/qt_internal.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace vna {
namespace {

using namespace std::chrono_literals;
using testing::BabblingPort;
using testing::ScopedEnv;
using testing::TempDir;

const char* const kNotResponding =
    "The VNA is not responding.\r\nPlease check the power and the data cable.\r\n"
    "The power should be on before the PC program is started.\r\n\r\n"
    "Make sure another copy of this program is not running.\r\n\r\n"
    "When starting a new version of the program,\r\nbe sure to check the comm port number.\r\n\r\n"
    "Use the Setup Menu to set the comm port if the default is not correct.";

// Far more than any version reply, far less than what a babbling device
// sends while a query waits.
constexpr size_t kSmallText = 1024;

class BabblingPortTest : public ::testing::Test {
 protected:
  void SetUp() override { testhook::ClearLogs(); }
  TempDir dir{true};
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
};

TEST_F(BabblingPortTest, TheVersionQueryEndsAndSaysNoInstrumentAnswers) {
  struct Case {
    const char* name;
    std::chrono::milliseconds pause;
  };
  // A flood, and a trickle whose bytes each come well within the 100 ms a
  // further byte may take.
  const Case cases[] = {{"flood", 0ms}, {"a byte every 20 ms", 20ms}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BabblingPort port(5, 'x', c.pause);
    commport = 5;
    baudrate = kBaudLow;
    vna_present = 1;
    OpenCommPort();
    ASSERT_NE(hcom, kInvalidPort);
    {
      test::Watchdog dog(30s, std::string("the version query against ") + c.name);
      GetVersion(1);
    }
    EXPECT_GT(port.Sent(), 20);
    EXPECT_EQ(comm_ok, 0);
    EXPECT_EQ(vna_status, 10137);
    EXPECT_EQ(vna_present, 0);
    EXPECT_EQ(msg_text, "  Demo mode Zelmar ");
    EXPECT_LE(trace_label.size(), kSmallText);
    EXPECT_TRUE(trace_label.starts_with("xxx  xxxx")) << trace_label.substr(0, 20);
    SerialClose(hcom);
    hcom = kInvalidPort;
  }
}

TEST_F(BabblingPortTest, StartUpRunsInDemonstrationModeAsWithASilentPort) {
  BabblingPort port(8, 'x', 0ms);  // the program's default port
  {
    test::Watchdog dog(90s, "start-up against a babbling device");
    StartUp();
  }
  int told = 0;
  for (const auto& b : testhook::MsgBoxes()) told += b.text == kNotResponding;
  EXPECT_EQ(told, 1);
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(GetTitle(main_win), "Zelmar   version 636A        DEMO MODE   ");
  EXPECT_LE(trace_label.size(), kSmallText);
  // The window as a person would find it.
  const QString pngs = QString(VNA_BINARY_DIR) + "/odd_input";
  QDir().mkpath(pngs);
  main_win.impl->image.save(pngs + "/start_up_babbling_port.png");
  main_win.impl->top->close();
  MainLoop();
  ExitSequence();
}

}  // namespace
}  // namespace vna
