// The frequency a tuning word programs. A DDS given word W runs at W / 2^32
// of its clock; the two-multiplier model's words are folded into the first
// Nyquist zone of their multiplied clocks, so the instrument takes the image
// on which the two words agree (the second DDS runs a fixed offset above).
#pragma once

#include <cstdint>
#include <string>

namespace vna::sim {

// Reads 8 upper-case hexadecimal digits; false for anything else.
bool ParseHexWord(const char* digits, uint32_t& word);

// Frequency of one word at a clock, in the clock's unit.
double WordFrequency(uint32_t word, double clock);

struct TwoWordFrequency {
  double f1 = 0;        // the frequency of the first DDS (the test signal), MHz
  double f2 = 0;        // the image of the second word nearest f1 + offset, MHz
  double mismatch = 0;  // how far the second word lies from the offset image, MHz
};

// The word a DDS on `clock` is set to for a frequency: its ratio to the clock
// folded into the first Nyquist zone (odd zones mirror, even zones shift).
uint32_t FoldedWord(double mhz, double clock);

// The multiplier pair whose band (the instrument's band filters, laid out
// after the default frequency plan) passes a frequency in MHz; false above it.
bool BandMultipliers(double mhz, int& m1, int& m2);

// Finds the image of word 1 (on clock1 = clock x m1, the first DDS's
// multiplied clock) whose frequency plus the offset folds onto word 2 (on
// clock x m2). At some frequencies (multiples of 25 MHz) two images agree
// exactly; the band filters then pass the one whose band uses m1 and m2.
TwoWordFrequency DecodeTwoWords(uint32_t word1, uint32_t word2, double clock, int m1, int m2,
                                double offset);

}  // namespace vna::sim
