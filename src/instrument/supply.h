// Housekeeping readings of the instrument: its temperature and its internal
// supply voltage, the supply check with its over-voltage power-off, and the
// temperature drift test.
#pragma once

namespace vna {

// Sets temperature_F (76.543 without a sensor or an instrument) and vna_status.
void ReadTemperature();
// Sets dc_voltage (12.345 without an instrument or a valid reading) and
// min_dc_voltage.
void GetBattV();
// Reads the supply up to three times and judges the last reading against
// low (at or below is low) and high (above is high); mode 1 switches the
// instrument off on over-voltage. vna_status: 0, 13 low, 19 high.
void CheckDCVoltage(int low, int high, int mode);
// Measures one Port A point at 101 MHz until Halt, logging temperature and
// drift every 5 s to "_Zelmar_TemperatureDrift.txt".
void TemperatureDrift();

// The conversions of the two-byte replies.
double TemperatureFromRaw(int raw, bool two_multiplier_model);  // degrees F
double SupplyFromRaw(int raw);  // volts, batt_offset included, before the range check

}  // namespace vna
