#include "instrument.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "protocol_constants.h"
#include "value_parse.h"

namespace vna::sim {

namespace {

constexpr double kLoneQWait = 0.05;      // s: "Q" alone, or the start of "Q" 97 229
constexpr double kCommandTimeout = 1.0;  // s: a command that never completes is dropped

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string s;
  for (uint8_t b : bytes) s += Format(s.empty() ? "%02X" : " %02X", b);
  return s;
}

// Argument bytes after the command letter; "Q" is decided by what follows.
int ArgumentBytes(uint8_t c) {
  switch (c) {
    case 'V':
    case 'R':
    case 'B':
      return 0;
    case 'C':
    case 'K':
    case 'J':
    case 'O':
    case 'D':
    case 'Z':
      return 1;
    case 'A':
      return 2;
    case 'L':
      return 3;
    case 'M':
      return 4;
    case 'Y':
      return 6;
    case 'G':
      return 8;
    case 'U':
    case 'T':
      return 9;
    case 'E':
      return 19;
    case 'N':
      return 24;
    default:
      return -1;
  }
}

}  // namespace

bool Faults::Set(const std::vector<std::string>& words, std::string& error) {
  if (words.empty()) {
    error =
        "fault: name a fault (silence, checksum, overload, clip, noref, nosignal, gainstuck, "
        "short, hangup, none)";
    return false;
  }
  const std::string& kind = words[0];
  if (kind == "none" || kind == "clear") {
    *this = Faults{};
    return true;
  }
  const auto after = std::find(words.begin(), words.end(), "after");
  if (after != words.end()) {
    long n = -1;
    if (after + 2 != words.end() || !ParseInt(*(after + 1), n) || n < 0) {
      error = "fault: after needs a number of readings, last";
      return false;
    }
    Faults check;  // the fault itself is checked now, not when it starts
    const std::vector<std::string> fault(words.begin(), after);
    if (!check.Set(fault, error)) return false;
    waiting.push_back({n, fault});
    return true;
  }
  int* slot = nullptr;
  bool once = false;  // counted faults default to one reply
  if (kind == "silence")
    slot = &silence;
  else if (kind == "checksum")
    slot = &checksum, once = true;
  else if (kind == "overload")
    slot = &overload;
  else if (kind == "clip")
    slot = &clip;
  else if (kind == "noref")
    slot = &noref;
  else if (kind == "nosignal")
    slot = &nosignal;
  else if (kind == "gainstuck")
    slot = &gainstuck;
  else if (kind == "short")
    slot = &short_reply, once = true;
  else if (kind == "hangup")
    slot = &hangup, once = true;
  if (!slot) {
    error = "fault: unknown fault \"" + kind + "\"";
    return false;
  }
  long count = once ? 1 : -1;
  if (words.size() > 1 && (!ParseInt(words[1], count) || count < -1)) {
    error = "fault: bad count \"" + words[1] + "\"";
    return false;
  }
  if (words.size() > 2) {
    long bytes;
    if (kind != "short" || !ParseInt(words[2], bytes) || bytes < 0 || bytes > 71) {
      error = "fault: only short takes a length, 0 to 71 bytes";
      return false;
    }
    short_bytes = static_cast<int>(bytes);
  }
  if (words.size() > 3) {
    error = "fault: too many values";
    return false;
  }
  *slot = static_cast<int>(count);
  return true;
}

void Faults::ReadingBegins() {
  std::vector<std::vector<std::string>> due;
  for (auto it = waiting.begin(); it != waiting.end();) {
    if (it->readings-- == 0) {
      due.push_back(it->words);
      it = waiting.erase(it);
    } else {
      ++it;
    }
  }
  std::string unused;
  for (const auto& words : due) Set(words, unused);
}

std::string Faults::Describe() const {
  std::string s;
  auto add = [&](const char* name, int n) {
    if (n != 0) s += Format("%s%s=%d", s.empty() ? "" : ",", name, n);
  };
  add("silence", silence);
  add("checksum", checksum);
  add("overload", overload);
  add("clip", clip);
  add("noref", noref);
  add("nosignal", nosignal);
  add("gainstuck", gainstuck);
  add("short", short_reply);
  add("hangup", hangup);
  for (const Waiting& w : waiting) {
    s += Format("%s%s@%ld", s.empty() ? "" : ",", w.words[0].c_str(), w.readings);
  }
  return s.empty() ? "none" : s;
}

Instrument::Instrument(const SimConfig& config, Environment env, EventLog& log)
    : model_(config.model),
      has_temp_(config.has_temp),
      max_baud_(config.max_baud),
      clock_ppm_(config.clock_ppm),
      dfr1_(config.dfr1),
      dfr2_(config.dfr2),
      autopoweroff_s_(config.autopoweroff_s),
      env_(std::move(env)),
      log_(log),
      front_(config.bridge, config.noise, config.seed) {
  honour_settle_ = config.settle;
  PowerOn();
}

void Instrument::PowerOn() {
  power_ = Power::kOn;
  baud_ = 57600;
  path_ = PathState{};
  path_.model = model_;
  sig_select_ = 2;
  osc_ = 1;
  mult1_ = 14;
  mult2_ = 13;
  settle_ = 0;
  auto_power_down_ = false;
  mux_ = 0;
  freq_mhz_ = 0;
  last_reply_ = Reply{};
  scan_ = BandScan{};
}

void Instrument::PowerOff(const std::string& why) {
  power_ = Power::kOff;
  scan_.active = false;
  log_.Note("power off: " + why);
}

std::string Instrument::VersionText() const {
  std::string text = model_ == Model::kUhf
                         ? Format(
                               "VNA UHF ver 2.41 ddsclk1=%08.5f ddsclk2=%08.5f dfr1=%06x "
                               "dfr2=%06x",
                               kUhfClock1, kUhfClock2, dfr1_, dfr2_)
                         : std::string("VNA7306 ver 3.10 ddsclk=100.0000");
  if (has_temp_) text += " temp";
  if (max_baud_ >= 115000) text += " maxbaud115";
  return text + " cpuclk=16MHz@";
}

double Instrument::Clock() const {
  if (model_ == Model::k7306) return kVhfClock;
  return osc_ == 2 ? kUhfClock2 : kUhfClock1;
}

const Device& Instrument::PortBDevice() const {
  if (mux_ >= 1 && mux_ <= 6 && env_.chans[mux_]) return *env_.chans[mux_];
  return *env_.port_b;
}

void Instrument::Receive(const uint8_t* data, size_t n, double now, std::string& out) {
  if (n == 0) return;
  if (inbuf_.empty()) pending_since_ = now;
  inbuf_.insert(inbuf_.end(), data, data + n);
  Process(now, out);
}

int Instrument::FrameLength(double now) const {
  const uint8_t c = inbuf_[0];
  if (c == 'Q') {
    // "Q" alone switches off at once; "Q" 97 229 is the confirmed power-off.
    if (inbuf_.size() >= 2) return inbuf_[1] == 97 ? 3 : 1;
    return now - pending_since_ >= kLoneQWait ? 1 : -1;
  }
  const int args = ArgumentBytes(c);
  return args < 0 ? 0 : args + 1;
}

void Instrument::Process(double now, std::string& out) {
  while (!inbuf_.empty()) {
    if (scan_.active) {
      const uint8_t b = inbuf_[0];
      if (b == 1 || b == 2) {
        inbuf_.erase(inbuf_.begin());
        log_.Bytes(&b, 1);
        StreamByte(b, out);
        pending_since_ = now;
        continue;
      }
      scan_.active = false;
      log_.Note("band scan ended by a command");
    }
    const int length = FrameLength(now);
    if (length == 0) {
      const uint8_t b = inbuf_[0];
      inbuf_.erase(inbuf_.begin());
      log_.Bytes(&b, 1);
      // The band scan's trailing stop bytes arrive after its stream has ended.
      if (b != 1 && b != 2) log_.ProtocolError(Format("byte %02X is no command", b));
      pending_since_ = now;
      continue;
    }
    if (length < 0 || inbuf_.size() < static_cast<size_t>(length)) return;
    std::vector<uint8_t> cmd(inbuf_.begin(), inbuf_.begin() + length);
    inbuf_.erase(inbuf_.begin(), inbuf_.begin() + length);
    pending_since_ = now;
    log_.Bytes(cmd.data(), cmd.size());
    Execute(cmd, now, out);
  }
}

void Instrument::Tick(double now, std::string& out) {
  if (!inbuf_.empty()) {
    if (inbuf_[0] == 'Q' && inbuf_.size() == 1 && now - pending_since_ >= kLoneQWait) {
      Process(now, out);
    } else if (now - pending_since_ >= kCommandTimeout) {
      log_.Bytes(inbuf_.data(), inbuf_.size());
      log_.ProtocolError("incomplete command dropped: " + Hex(inbuf_));
      inbuf_.clear();
    }
  }
  if (power_ == Power::kOn && auto_power_down_ && now - last_activity_ >= autopoweroff_s_) {
    PowerOff("auto power-down");
  }
}

double Instrument::NextDeadline() const {
  double t = std::numeric_limits<double>::infinity();
  if (!inbuf_.empty()) {
    t = pending_since_ + (inbuf_[0] == 'Q' && inbuf_.size() == 1 ? kLoneQWait : kCommandTimeout);
  }
  if (power_ == Power::kOn && auto_power_down_) t = std::min(t, last_activity_ + autopoweroff_s_);
  return t;
}

void Instrument::Send(const std::string& bytes, std::string& out) {
  if (Take(env_.faults.silence)) {
    log_.Note("fault: reply withheld (silence)");
    return;
  }
  if (Take(env_.faults.hangup)) {
    log_.Note("fault: link hung up instead of the reply");
    hung_up_ = true;
    return;
  }
  out += bytes;
}

void Instrument::Execute(const std::vector<uint8_t>& cmd, double now, std::string& out) {
  last_activity_ = now;
  if (power_ != Power::kOn) {
    log_.Note(power_ == Power::kOff ? "ignored: the instrument is off"
                                    : "ignored: the logic test is running");
    return;
  }
  const uint8_t c = cmd[0];
  switch (c) {
    case 'C':
      if (cmd[1] != 5) {
        log_.ProtocolError(Format("unknown speed code %d", cmd[1]));
      } else if (max_baud_ >= 115000) {
        baud_ = 115000;
        log_.Note("line speed 115000");
        // Whatever came behind it was sent at the old speed.
        if (!inbuf_.empty()) {
          log_.Bytes(inbuf_.data(), inbuf_.size());
          log_.Note(Format("%zu bytes garbled: sent at 57600 baud", inbuf_.size()));
          inbuf_.clear();
        }
      } else {
        log_.Note("115000 baud not supported: staying at 57600");
      }
      break;
    case 'V':
      Send(VersionText(), out);
      ++versions_;
      break;
    case 'K':
      if (cmd[1] >= 40 && cmd[1] <= 43) {
        path_.relay_a = cmd[1] & 1;
        path_.relay_b = cmd[1] & 2;
      } else if (cmd[1] >= 168 && cmd[1] <= 171) {
        path_.dds_power = cmd[1] - 168;
      } else {
        log_.ProtocolError(Format("K with byte %d", cmd[1]));
      }
      break;
    case 'M': {
      uint32_t code = 0;
      bool ok = true;
      for (int i = 1; i <= 4; ++i) {
        const char d = static_cast<char>(cmd[i]);
        if (d >= '0' && d <= '9')
          code = code * 16 + static_cast<uint32_t>(d - '0');
        else if (d >= 'A' && d <= 'F')
          code = code * 16 + static_cast<uint32_t>(d - 'A' + 10);
        else
          ok = false;
      }
      if (!ok) {
        log_.ProtocolError("M needs 4 upper-case hexadecimal digits");
      } else {
        if (code > 1023) log_.ProtocolError(Format("amplitude code %u above 1023", code));
        path_.amplitude = static_cast<int>(std::min<uint32_t>(code, 1023));
      }
      break;
    }
    case 'A':
      Gains(cmd[1], cmd[2]);
      break;
    case 'J':
      Averaging(cmd[1]);
      break;
    case 'O':
      if (model_ != Model::kUhf) {
        log_.ProtocolError("this model has one oscillator");
      } else if (cmd[1] == 1 || cmd[1] == 2) {
        osc_ = cmd[1];
      } else {
        log_.ProtocolError(Format("oscillator %d", cmd[1]));
      }
      break;
    case 'L':
      ExternalPort(cmd, out);
      break;
    case 'D':
      if (cmd[1] == '1' || cmd[1] == '0') {
        auto_power_down_ = cmd[1] == '1';
      } else {
        log_.ProtocolError(Format("D with byte %02X", cmd[1]));
      }
      break;
    case 'Q':
      if (cmd.size() == 3 && cmd[2] != 229) log_.ProtocolError("Q 97 without 229");
      PowerOff(cmd.size() == 3 ? "power-off command" : "supply protection");
      break;
    case 'Z':
      if (cmd[1] == 'D') {
        power_ = Power::kLogicTest;
        log_.Note("logic test: looping until the power is removed");
      } else if (cmd[1] == 'T' || cmd[1] == 'U') {
        Temperature(cmd[1], out);
      } else if (cmd[1] == '2') {
        ++syncs_;
      } else {
        log_.ProtocolError(Format("Z with byte %02X", cmd[1]));
      }
      break;
    case 'U':
    case 'T':
    case 'G':
      SingleDds(cmd, out);
      break;
    case 'E':
      TwoMultiplier(cmd, out);
      break;
    case 'R':
      SendMeasurement(last_reply_, out);
      break;
    case 'B':
      Send(TwoBytes(std::lround((env_.supply_v - 0.45) * 215)), out);
      break;
    case 'Y': {
      static const uint8_t kReset[6] = {37, 100, 41, 99, 26, 127};
      if (!std::equal(cmd.begin() + 1, cmd.end(), kReset)) {
        log_.ProtocolError("Y with other bytes than 37 100 41 99 26 127");
      } else {
        ++loop_resets_;
      }
      break;
    }
    case 'N':
      StartBandScan(cmd, out);
      break;
    default:
      break;
  }
}

void Instrument::Gains(uint8_t a, uint8_t b) {
  if (model_ == Model::kUhf) {
    if (a != 4 && a != 8) log_.ProtocolError(Format("Port A gain byte %d", a));
    path_.a_gain_high = a == 8;
    static const uint8_t kSteps[5] = {30, 28, 16, 4, 0};
    const uint8_t* step = std::find(kSteps, kSteps + 5, b);
    if (step == kSteps + 5) {
      log_.ProtocolError(Format("Port B gain byte %d", b));
    } else {
      path_.b_gain = static_cast<int>(step - kSteps) + 1;
    }
    return;
  }
  // Single-DDS model: 64 x signal path + 4 x gain (1 or 2) + sensitivity; B: 4 x gain |
  // sensitivity.
  const int select = a >> 6, gain = (a >> 2) & 15, a_sens = a & 3;
  const int b_gain = b >> 2, b_sens = b & 3;
  if (select < 1 || (gain != 1 && gain != 2) || a_sens < 1 || a_sens > 2) {
    log_.ProtocolError(Format("Port A gain byte %d", a));
  } else {
    sig_select_ = select;
    path_.a_gain_high = gain == 2;
    path_.a_sens = a_sens;
  }
  if (b_gain < 1 || b_gain > 5 || b_sens < 1 || b_sens > 2) {
    log_.ProtocolError(Format("Port B gain byte %d", b));
  } else {
    path_.b_gain = b_gain;
    path_.b_sens = b_sens;
  }
}

void Instrument::Averaging(uint8_t code) {
  // 200 stands for 256 readings, which do not fit the byte.
  if (code == 0) log_.ProtocolError("averaging code 0");
  path_.readings = code == 200 ? 256 : std::max<int>(code, 1);
}

void Instrument::ExternalPort(const std::vector<uint8_t>& cmd, std::string& out) {
  // Each data value travels plus 1, so none of them is a zero byte.
  if (cmd[1] == 0 || cmd[2] == 0 || cmd[3] != 1) {
    log_.ProtocolError("L data values must travel plus 1, the third being 0");
  }
  const int channel_byte = cmd[2] - 1;
  mux_ = channel_byte & 7;
  const bool analog = channel_byte & 0x80;
  const long value = analog ? std::lround(env_.extport_volts / 3.3 * 4096) : env_.extport_digital;
  Send(TwoBytes(analog ? std::clamp(value, 0L, 4095L) : value), out);
}

void Instrument::Temperature(uint8_t which, std::string& out) {
  const bool uhf_sensor = which == 'U';
  if (uhf_sensor != (model_ == Model::kUhf)) {
    log_.ProtocolError(Format("Z%c is the other model's temperature command", which));
    return;
  }
  if (!has_temp_) {
    log_.Note("no temperature sensor: no reply");
    return;
  }
  const double c = env_.temp_c;
  const double volts = uhf_sensor ? (c / 100 + 0.349) * 1.181 : c * 0.00355 + 0.986;
  Send(TwoBytes(std::lround(volts * 4096 / 3.2)), out);
}

std::string Instrument::Status() const {
  const char* power = power_ == Power::kOn ? "on" : power_ == Power::kOff ? "off" : "logictest";
  return Format(
      "model=%s power=%s baud=%d freq=%.6f port=%c relays=%d dds=%d ampl=%d avg=%d gainA=%d "
      "sensA=%d sigsel=%d gainB=%d sensB=%d osc=%d mults=%d,%d settle=%d mux=%d autopd=%d "
      "measurements=%ld readings=%ld versions=%ld "
      "loopresets=%ld syncs=%ld protocolerrors=%ld faults=%s bridge=%s",
      model_ == Model::kUhf ? "uhf" : "7306", power, baud_, freq_mhz_, path_.port_b ? 'B' : 'A',
      (path_.relay_a ? 1 : 0) + (path_.relay_b ? 2 : 0), path_.dds_power, path_.amplitude,
      path_.readings, path_.a_gain_high ? 5 : 1, path_.a_sens, sig_select_, path_.b_gain,
      path_.b_sens, osc_, mult1_, mult2_, settle_, mux_, auto_power_down_ ? 1 : 0, measurements_,
      measurements_ + levels_, versions_, loop_resets_, syncs_, log_.ProtocolErrors(),
      env_.faults.Describe().c_str(), BridgeName(front_.GetBridge()));
}

}  // namespace vna::sim
