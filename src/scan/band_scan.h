// The band scan: the instrument sweeps start..stop by itself and streams one
// 2-byte level per step, drawn at once as a green line on a logarithmic
// scale, 5 dB per division.
#pragma once

namespace vna {

// One pass over start_freq..end_freq (a step above 0.002 MHz is taken as
// 0.001 MHz for the pass) at bandscan_sens; Halt ends it. Above 200 MHz it
// asks first. The levels go to scanA_freq and scanA_swr (0..50), which then
// hold no Port A scan (scana_ok := 0). The step, the SWR ruler and the gains
// are as before afterwards; bandscan_mode stays 1.
void BandScan();

// The value of a reading that ends the stream (after the first 15 readings).
constexpr int kBandScanEnd = 30117;

}  // namespace vna
