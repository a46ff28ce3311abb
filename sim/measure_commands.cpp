// The measuring side of the instrument: frequency commands of both models,
// the 72-byte reply with its faults, and the band-scan stream.
#include <algorithm>
#include <cmath>

#include "instrument.h"
#include "protocol_constants.h"
#include "tuning.h"
#include "value_parse.h"

namespace vna::sim {

void Instrument::SendMeasurement(const Reply& reply, std::string& out) {
  std::string bytes(reply.begin(), reply.end());
  if (Take(env_.faults.checksum)) {
    bytes[70] = static_cast<char>(bytes[70] ^ 0x5A);
    log_.Note("fault: damaged checksum");
  }
  if (Take(env_.faults.short_reply)) {
    bytes.resize(static_cast<size_t>(env_.faults.short_bytes));
    log_.Note(Format("fault: short reply of %d bytes", env_.faults.short_bytes));
  }
  Send(bytes, out);
}

void Instrument::Measure(double mhz, double clock, std::string& out) {
  freq_mhz_ = mhz;
  env_.faults.ReadingBegins();
  SignalFaults faults;
  faults.overload = Take(env_.faults.overload);
  faults.clip = Take(env_.faults.clip);
  faults.noref = Take(env_.faults.noref);
  faults.nosignal = Take(env_.faults.nosignal);
  faults.gain_stuck = Take(env_.faults.gainstuck);
  if (faults.overload) log_.Note("fault: overload");
  if (faults.clip) log_.Note("fault: load clipped at the top");
  if (faults.noref) log_.Note("fault: no reference signal");
  if (faults.nosignal) log_.Note("fault: no signal");
  if (faults.gain_stuck) log_.Note("fault: Port A gain stuck at 1x");
  const Words words =
      front_.Measure(path_, *env_.port_a, PortBDevice(), TrueMhz(mhz) * 1e6, faults);
  last_reply_ = PackReply(FoldedWord(mhz, clock), words);
  ++measurements_;
  // The samples are taken once the synthesizer has settled.
  if (honour_settle_) hold_until_ = last_activity_ + settle_ * 1e-3;
  SendMeasurement(last_reply_, out);
}

void Instrument::SingleDds(const std::vector<uint8_t>& cmd, std::string& out) {
  if (model_ != Model::k7306) {
    log_.ProtocolError(Format("%c is a command of the single-DDS model", cmd[0]));
    return;
  }
  const bool set_only = cmd[0] == 'G';
  uint32_t word;
  if (!ParseHexWord(reinterpret_cast<const char*>(cmd.data()) + (set_only ? 1 : 2), word)) {
    log_.ProtocolError("tuning word needs 8 upper-case hexadecimal digits");
    return;
  }
  if (word >= 0x80000000u) log_.ProtocolError("tuning word beyond half the clock");
  const double mhz = WordFrequency(word, kVhfClock) + env_.tune_error;
  if (set_only) {
    freq_mhz_ = mhz;
    return;
  }
  if (cmd[1] == 0) log_.ProtocolError("settling byte travels plus 1");
  settle_ = cmd[1] - 1;
  path_.port_b = cmd[0] == 'T';
  path_.if_ratio = 1;
  Measure(mhz, kVhfClock, out);
}

void Instrument::TwoMultiplier(const std::vector<uint8_t>& cmd, std::string& out) {
  if (model_ != Model::kUhf) {
    log_.ProtocolError("E is a command of the two-multiplier model");
    return;
  }
  const int mode = cmd[1];
  if (mode != 1 && mode != 2 && mode != 5 && mode != 6) {
    log_.ProtocolError(Format("E mode %d", mode));
    return;
  }
  uint32_t word1, word2;
  const char* text = reinterpret_cast<const char*>(cmd.data());
  if (!ParseHexWord(text + 4, word1) || !ParseHexWord(text + 12, word2)) {
    log_.ProtocolError("tuning words need 8 upper-case hexadecimal digits each");
    return;
  }
  const int m1 = (cmd[2] >> 4) + 5, m2 = (cmd[2] & 15) + 5;
  if (mode & 4) {
    mult1_ = m1;
    mult2_ = m2;
  } else if (m1 != mult1_ || m2 != mult2_) {
    // The multiplied clocks are only re-locked when the command says so.
    log_.ProtocolError(Format("multipliers %d,%d sent without the change flag; still %d,%d", m1, m2,
                              mult1_, mult2_));
  }
  settle_ = cmd[3] & 0x1F;
  path_.port_b = cmd[3] & 0x20;
  // The second DDS runs the offset of oscillator 1 above the first, whichever
  // oscillator is in use: the converter samples their difference 16 times
  // per period of that offset.
  const double offset = dfr1_ * 1e-8;
  const TwoWordFrequency f = DecodeTwoWords(word1, word2, Clock(), mult1_, mult2_, offset);
  // What the words can do no better than: one step of each, and the part of
  // a frequency calibration's correction (100 ppm) that scales the offset.
  const double resolution = Clock() * (mult1_ + mult2_) / 4294967296.0 + offset * 1e-4;
  const double difference = TrueMhz(f.f2 - f.f1);
  if (std::fabs(difference - offset) > resolution) {
    log_.ProtocolError(Format("the second DDS runs %.8f MHz above the first, not the offset %.8f",
                              difference, offset));
  }
  // Any other difference runs the sampled sines off their period.
  path_.if_ratio = difference / offset;
  const double mhz = f.f1 + env_.tune_error;
  if (mode & 1) {
    Measure(mhz, Clock() * mult1_, out);
  } else {
    freq_mhz_ = mhz;
    Send(std::string(1, static_cast<char>(kAck)), out);
  }
}

void Instrument::StartBandScan(const std::vector<uint8_t>& cmd, std::string& out) {
  uint32_t start, end, step;
  const char* text = reinterpret_cast<const char*>(cmd.data());
  if (!ParseHexWord(text + 1, start) || !ParseHexWord(text + 9, end) ||
      !ParseHexWord(text + 17, step)) {
    log_.ProtocolError("N needs three words of 8 upper-case hexadecimal digits");
    return;
  }
  if (step == 0) {
    log_.ProtocolError("band scan step of 0");
    return;
  }
  // The scan runs on the second DDS's multiplied clock (single-DDS model: its clock).
  const double clock = model_ == Model::kUhf ? Clock() * mult2_ : kVhfClock;
  scan_.active = true;
  scan_.next = WordFrequency(start, clock);
  scan_.end = WordFrequency(end, clock);
  scan_.step = WordFrequency(step, clock);
  scan_.sent = 0;
  log_.Note(Format("band scan %.6f to %.6f MHz by %.6f", scan_.next, scan_.end, scan_.step));
  SendLevel(out);
}

void Instrument::SendLevel(std::string& out) {
  if (scan_.next > scan_.end + scan_.step * 1e-6) {
    Send(TwoBytes(kBandScanEnd), out);
    scan_.active = false;
    log_.Note(Format("band scan complete after %ld levels", scan_.sent));
    return;
  }
  env_.faults.ReadingBegins();
  const int level = front_.BandLevel(path_, *env_.port_a, TrueMhz(scan_.next) * 1e6);
  Send(TwoBytes(level), out);
  ++scan_.sent;
  ++levels_;
  scan_.next += scan_.step;
}

void Instrument::StreamByte(uint8_t b, std::string& out) {
  if (b == 2) {
    scan_.active = false;
    log_.Note("band scan stopped");
    return;
  }
  SendLevel(out);
}

}  // namespace vna::sim
