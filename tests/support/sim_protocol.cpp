#include "sim_protocol.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vna::test {

namespace {

constexpr double kTwoPi = 2 * M_PI;

uint32_t FoldedWord(double ratio) {
  const double folded = std::fabs(ratio - std::round(ratio));  // mirror odd zones, shift even
  const double w = std::round(folded * 4294967296.0);
  return w >= 2147483648.0 ? 0x7FFFFFFFu : static_cast<uint32_t>(w);
}

}  // namespace

std::string Hex8(uint32_t word) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", word);
  return text;
}

void PlanMultipliers(double mhz, int& m1, int& m2) {
  static const int kStart[] = {0, 40, 65, 308, 385, 585, 710, 840, 940, 1215, 1380};
  static const int kCode[] = {461, 428, 461, 460, 461, 329, 362, 428, 461, 393, 427};
  int code = kCode[0];
  for (int i = 0; i < 11; ++i) {
    if (static_cast<int>(mhz) >= kStart[i]) code = kCode[i];
  }
  m1 = code / 32;
  m2 = code % 32;
}

std::string UhfCommand(double mhz, int m1, int m2, int mode, int settle, bool port_b, double offset,
                       double clock) {
  std::string cmd = "E";
  cmd += static_cast<char>(mode);
  cmd += static_cast<char>(16 * (m1 - 5) + (m2 - 5));
  cmd += static_cast<char>((settle | 1) | (port_b ? 32 : 0));
  cmd += Hex8(FoldedWord(mhz / (clock * m1)));
  cmd += Hex8(FoldedWord((mhz + offset) / (clock * m2)));
  return cmd;
}

std::string VhfCommand(char letter, double mhz, int settle, double clock) {
  const uint32_t word = static_cast<uint32_t>(std::llround(mhz / clock * 4294967296.0));
  std::string cmd(1, letter);
  if (letter != 'G') cmd += static_cast<char>(settle + 1);
  return cmd + Hex8(word);
}

ReplyData ParseReply(const std::vector<uint8_t>& b) {
  ReplyData r;
  r.complete = b.size() == 72;
  if (!r.complete) return r;
  auto word = [&](size_t at) { return (b[at] << 8) | b[at + 1]; };
  r.readback = (static_cast<uint32_t>(word(0)) << 16) | static_cast<uint32_t>(word(2));
  for (size_t k = 0; k < 33; ++k) r.words[k] = word(4 + 2 * k);
  long sum = 0;
  for (size_t j = 0; j < 70; j += 2) sum += word(j);
  r.sum = static_cast<int>(sum % 65536);
  r.checksum = word(70);
  return r;
}

SineFit FitSine(const int* s) {
  double S = 0, C = 0, sum = 0;
  for (int i = 0; i < 16; ++i) {
    S += s[i] * std::sin(kTwoPi * i / 16);
    C += s[i] * std::cos(kTwoPi * i / 16);
    sum += s[i];
  }
  S = 2 * S / 16;
  C = 2 * C / 16;
  return {std::hypot(S, C), std::atan2(C, S), sum / 16};
}

std::complex<double> RawImpedance(const ReplyData& r) {
  const SineFit load = FitSine(&r.words[0]);
  const SineFit ref = FitSine(&r.words[16]);
  return std::polar(50.0 * ref.mag / load.mag, load.phase - ref.phase);
}

std::complex<double> RawTransmission(const ReplyData& r) {
  const SineFit load = FitSine(&r.words[0]);
  const SineFit ref = FitSine(&r.words[16]);
  return std::polar(load.mag / ref.mag, -(load.phase - ref.phase));
}

VersionData ParseVersion(const std::string& raw) {
  VersionData v;
  std::string t;
  for (char c : raw) t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t vna = t.find("vna");
  v.valid = vna != std::string::npos && !t.empty() && t.back() == '@';
  if (!v.valid) return v;
  t = t.substr(vna);
  auto has = [&](const char* key) { return t.find(key) != std::string::npos; };
  auto decimal = [&](const char* key) {
    const size_t at = t.find(key);
    return at == std::string::npos ? 0.0
                                   : std::atof(t.substr(at + std::string(key).size(), 8).c_str());
  };
  auto hex6 = [&](const char* key) {
    const size_t at = t.find(key);
    if (at == std::string::npos) return -1.0;
    return std::strtol(t.substr(at + std::string(key).size(), 6).c_str(), nullptr, 16) * 1e-8;
  };
  v.uhf = has("uhf") && has("dfr1=");
  v.model7306 = !v.uhf;
  v.temp = has(" temp");
  if (v.uhf) {
    v.clk1 = decimal("ddsclk1=");
    v.two_osc = has("ddsclk2=");
    v.clk2 = v.two_osc ? decimal("ddsclk2=") : v.clk1;
    v.offset1 = hex6("dfr1=");
    v.offset2 = has("dfr2=") ? hex6("dfr2=") : v.offset1;
  } else {
    v.clk1 = v.clk2 = decimal("ddsclk=");
  }
  return v;
}

}  // namespace vna::test
