// Temperature and supply readings from exact raw replies, and the supply
// limits with their messages and the over-voltage power-off.
#include <gtest/gtest.h>

#include <string>

#include "files/settings.h"
#include "instrument/scripted_port.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "shell/state.h"

namespace vna {
namespace {

std::string Raw(int value) {
  return std::string{static_cast<char>(value >> 8), static_cast<char>(value & 255)};
}

class Housekeeping : public ScriptedLink {
 protected:
  void SetUp() override {
    batt_offset = 0.45;
    min_dc_voltage = 1000;
    has_temp = 1;
    ScriptedLink::SetUp();
  }
};

TEST(TemperatureConversion, RawValuesOfBothModels) {
  // raw 1000 is 0.78125 V at the sensor: about -57.7 degrees C on the
  // single-DDS model, about 31.25 on the two-multiplier model.
  EXPECT_NEAR((TemperatureFromRaw(1000, false) + 40) * 5 / 9 - 40, -57.67606, 1e-5);
  EXPECT_NEAR((TemperatureFromRaw(1000, true) + 40) * 5 / 9 - 40, 31.25157, 1e-5);
  EXPECT_NEAR(TemperatureFromRaw(1000, true), 88.25282, 1e-5);
  EXPECT_NEAR(TemperatureFromRaw(0, false), (-0.986 / 0.00355 + 40) * 1.8 - 40, 1e-9);
}

TEST_F(Housekeeping, TemperatureCommandFollowsTheModel) {
  port_.Answer('Z', 2, Raw(1000));
  model_uhf = 1;
  ReadTemperature();
  EXPECT_EQ(vna_status, 0);
  EXPECT_NEAR(temperature_F, 88.25282, 1e-5);
  model_uhf = 0;
  ReadTemperature();
  EXPECT_NEAR(temperature_F, (-57.67606 + 40) * 1.8 - 40, 1e-4);
  EXPECT_EQ(port_.Received(), "ZUZT");
}

TEST_F(Housekeeping, NoSensorOrNoInstrumentSendsNothing) {
  has_temp = 0;
  ReadTemperature();
  EXPECT_EQ(vna_status, 34515);
  EXPECT_DOUBLE_EQ(temperature_F, 76.543);
  has_temp = 1;
  vna_present = 0;
  ReadTemperature();
  GetBattV();
  EXPECT_DOUBLE_EQ(dc_voltage, 12.345);
  CheckDCVoltage(8, 16, 1);
  EXPECT_DOUBLE_EQ(dc_voltage, 12.345);
  DelayMs(30);
  EXPECT_EQ(port_.Received(), "");
}

// A silent instrument takes 10001 empty reads (about 10 s) each time, so the
// two cases are separate tests that run side by side.
TEST_F(Housekeeping, SilentTemperatureDuringAnExportedCallShowsNoBox) {
  temperature_F = 70;
  api_busy = 1;
  ReadTemperature();
  api_busy = 0;
  EXPECT_EQ(vna_status, 34516);
  EXPECT_DOUBLE_EQ(temperature_F, 70);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(Housekeeping, SilentTemperatureKeepsTheOldValueAndSaysSo) {
  temperature_F = 70;
  ReadTemperature();
  EXPECT_EQ(vna_status, 34516);
  EXPECT_DOUBLE_EQ(temperature_F, 70);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Comm Port Problem 2951");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, " No data from VNA.\r Check VNA power and comm cable.");
}

TEST_F(Housekeeping, SupplyConversionAndItsRange) {
  struct Case {
    int raw;
    double volts;
  };
  const Case cases[] = {
      {2560, 2560 / 215.0 + 0.45}, {500, 12.345}, {4730, 12.345}, {3000, 3000 / 215.0 + 0.45}};
  for (const Case& c : cases) {
    port_.Answer('B', 1, Raw(c.raw));
    GetBattV();
    EXPECT_NEAR(dc_voltage, c.volts, 1e-9) << c.raw;
  }
  EXPECT_NEAR(min_dc_voltage, 12.345, 1e-9);  // the replacement can become the minimum
}

TEST_F(Housekeeping, SilentSupplyReportsAndFallsBack) {
  GetBattV();
  EXPECT_EQ(vna_status, 171);
  EXPECT_DOUBLE_EQ(dc_voltage, 12.345);
  EXPECT_DOUBLE_EQ(min_dc_voltage, 1000);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Batt Voltage Data Error");
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            " No data from Tarvo.\r Check Tarvo power and comm cable.");
}

// Limits 10 and 16 V, with no offset so the raw values give whole volts.
TEST_F(Housekeeping, SupplyLimitsReadAgainAndJudgeTheLast) {
  batt_offset = 0;
  struct Case {
    int raw;
    int mode;
    int status;
    const char* sent;     // bytes after the "B" reads
    const char* caption;  // message box, "" for none
  };
  const Case cases[] = {
      {2580, 1, 0, "B", ""},                                // 12 V: one reading
      {3440, 1, 0, "B", ""},                                // exactly 16 V is in range
      {2150, 0, 13, "BBB", " Low voltage"},                 // exactly 10 V is low
      {3655, 0, 19, "BBB", ""},                             // 17 V, mode 0: status only
      {3655, 1, 19, "BBBQ", " WARNING: HIGH DC VOLTAGE "},  // mode 1 switches off
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    const size_t before = port_.Received().size();
    port_.Answer('B', 1, Raw(c.raw));
    CheckDCVoltage(10, 16, c.mode);
    DelayMs(30);
    EXPECT_EQ(vna_status, c.status) << c.raw;
    EXPECT_EQ(port_.Received().substr(before), c.sent) << c.raw;
    const auto& boxes = testhook::MsgBoxes();
    EXPECT_EQ(boxes.empty() ? "" : boxes[0].caption, c.caption) << c.raw;
  }
  const auto& high = testhook::MsgBoxes()[0];
  EXPECT_EQ(high.text,
            "WARNING: The DC supply voltage is too high.\rMeasured Internal voltage >  17\r"
            "Upper Limit =  16 V\r\r***** THE POWER HAS BEEN TURNED OFF *****");
  EXPECT_TRUE(high.topmost);
}

}  // namespace
}  // namespace vna
