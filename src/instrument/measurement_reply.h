// The 72-byte measurement reply: its layout and checksum, and Get_Raw_Data,
// its only reader.
//
// Layout, big-endian: the 32-bit tuning word the instrument has set, 33 ADC
// words of 16 bits (0..15 load channel, 16..31 reference channel, 32 one
// further sample), and a 16-bit checksum: the sum of the 35 words before it,
// modulo 65536. ADC word k is at byte 4 + 2k.
#pragma once

#include <cstdint>

namespace vna {

constexpr int kReplyBytes = 72;
constexpr int kReplyAdcWords = 33;

// vna_status values of the measuring path.
enum : int {
  kStatusNoData = 10,           // no reply from the port
  kStatusNoReference = 17,      // ADC word 1 below 10 above 10 MHz
  kStatusNoDataCal = 23,        // no reply during a calibration: filler reply used
  kStatusBadChecksums = 72,     // five replies in a row failed their checksum
  kStatusWeakReference = 128,   // OR-ed in by the sine fit: reference magnitude below 50
  kStatusOverload = 1274,       // an ADC word above 65500 at the lowest gain step
  kStatusNotProgrammed = 2711,  // no valid multiplier pair or clock: nothing was sent
};

// The reply bytes are held one value 0..255 per int, as rx_buf holds them.
// Sum of the 35 16-bit words before the checksum field (not reduced).
int ReplyWordSum(const int* bytes);
bool ReplyChecksumOk(const int* bytes);
// ADC word k (0..32), unscaled.
int ReplyAdcWord(const int* bytes, int k);
// The read-back tuning word as the signed 32-bit number the instrument sent.
int32_t ReplyTuningWord(const int* bytes);
// Fills in the checksum field of a reply whose first 70 bytes are set.
void SetReplyChecksum(int* bytes);

// The ADC words of the reply in rx_buf into ADCdata, scaled by adc_scale and
// each tested for overload at the lowest gain step; then freq from the
// read-back word when it lies within 0.005 MHz of it. For a reply whose
// checksum held.
void UnpackReply();

// Reads the reply to a measuring command ("U", "T", "E" mode 1 or 5) into
// rx_buf, asks for it again with "R" while its checksum fails (five replies
// at most), unpacks it into ADCdata and refines freq from the read-back word.
// Failures set vna_status (values above) and, except for a silent port, stop
// the running scan. resend > 0 asks with "R" before the first read.
int Get_Raw_Data(int resend);

// The " Hardware Reset" box a read without data offers (at freq): Abort ends
// the program (main_loop_on and vna_present 0), Retry and Ignore go on.
void HardwareResetBox();

}  // namespace vna
