#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "files/settings.h"
#include "files/settings_table.h"
#include "files/state.h"
#include "graph/markers.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/state.h"

namespace vna::fuzz {

namespace {
int g_decision = -1;
}  // namespace

void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

void Decided(int status) {
  g_decision = status;
}
int Decision() {
  return g_decision;
}
void ClearDecision() {
  g_decision = -1;
}

Guard& Guard::Add(const Guard& other) {
  items_.insert(items_.end(), other.items_.begin(), other.items_.end());
  return *this;
}

Guard& Guard::Drop(const void* at) {
  std::erase_if(items_, [at](const Item& item) { return item.at == at; });
  return *this;
}

void Guard::Take() {
  kept_.clear();
  for (const Item& item : items_) kept_.push_back(item.bytes());
}

void Guard::ExpectUnchanged(const std::string& when) const {
  std::string changed;
  for (size_t i = 0; i < items_.size() && i < kept_.size(); ++i) {
    if (items_[i].bytes() != kept_[i]) changed += " " + items_[i].name;
  }
  Expect(changed.empty(), when + ": changed" + changed);
}

Guard& StoredScanData() {
  static Guard* guard = [] {
    auto* g = new Guard;
    g->Add("scanA_freq", scanA_freq).Add("scanA_swr", scanA_swr).Add("scanA_Rs", scanA_Rs);
    g->Add("scanA_Xs", scanA_Xs).Add("scanA_zmag", scanA_zmag).Add("scanA_phase", scanA_phase);
    g->Add("readA_zmag", readA_zmag).Add("readA_phase", readA_phase);
    g->Add("scanB_freq", scanB_freq).Add("s21_dB", s21_dB).Add("scanB_phase", scanB_phase);
    g->Add("scanB_s11rl", scanB_s11rl).Add("scanB_s11phase", scanB_s11phase);
    g->Add("delay_B", delay_B);
    g->Add("scan_npoints", scan_npoints).Add("scanA_npoints", scanA_npoints);
    g->Add("scanB_npoints", scanB_npoints).Add("last_point", last_point);
    g->Add("scana_ok", scana_ok).Add("scanb_ok", scanb_ok).Add("bandscan_mode", bandscan_mode);
    g->Add("scan_stamp", scan_stamp).Add("scan_comment", scan_comment);
    g->Add("scan_extra_value", scan_extra_value).Add("min_swr", min_swr);
    g->Add("resonance_freqs", resonance_freqs);
    return g;
  }();
  return *guard;
}

Guard& StoredScans() {
  static Guard* guard = [] {
    auto* g = new Guard;
    g->Add(StoredScanData());
    g->Add("Numscanpts", Numscanpts);
    // The limits and graph settings a file carries.
    g->Add("start_freq", start_freq).Add("end_freq", end_freq).Add("delta_freq", delta_freq);
    g->Add("plot_at_zero", plot_at_zero).Add("graph_start", graph_start);
    g->Add("graph_end", graph_end).Add("swr_scale", swr_scale).Add("zmag_scale", zmag_scale);
    g->Add("phase_scale", phase_scale).Add("grid_units_per_div", grid_units_per_div);
    g->Add("freq_per_div", freq_per_div).Add("s21gain_scale", s21gain_scale);
    g->Add("s11gain_scale", s11gain_scale).Add("rtloss_scale", rtloss_scale);
    g->Add("delay_scale", delay_scale).Add("Q_scale", Q_scale);
    g->Add("spare_scale_1", spare_scale_1).Add("spare_scale_2", spare_scale_2);
    g->Add("ruler_1", ruler_1).Add("ruler1_on", ruler1_on).Add("ruler_2", ruler_2);
    g->Add("ruler2_on", ruler2_on).Add("s21phase_scale", s21phase_scale);
    g->Add("PortB_Gain", PortB_Gain).Add("PortB_Sens", PortB_Sens);
    g->Add("PortA_title", PortA_title).Add("PortB_title", PortB_title);
    // The trailer.
    g->Add("Zref", Zref).Add("Z0real", Z0real).Add("Z0imag", Z0imag).Add("VF", VF);
    g->Add("cable_length", cable_length).Add("average", average);
    g->Add("average_saved", average_saved).Add("smoothing", smoothing);
    g->Add("smoothing_on", smoothing_on).Add("scn_spare_1", scn_spare_1);
    g->Add("scn_spare_2", scn_spare_2).Add("scn_spare_3", scn_spare_3);
    return g;
  }();
  return *guard;
}

bool WholeOrNothing(Guard& guarded, const std::string& file, const std::function<void()>& read,
                    const std::function<int()>& refusal) {
  constexpr int kUntouched = -424242;  // no status any reader sets
  guarded.Take();
  vna_status = kUntouched;
  read();
  int status = 0;
  if (refusal) {
    status = refusal();
  } else if (vna_status != kUntouched) {
    status = vna_status;
  }
  Decided(status);
  if (status != 0) {
    guarded.ExpectUnchanged("a refused " + file + " (status " + std::to_string(status) + ")");
  }
  return status == 0;
}

Guard& Settings() {
  static Guard* guard = [] {
    auto* g = new Guard;
    int number = 0;
    for (const InitLine& line : InitFileLines()) {
      ++number;
      std::string name = line.key ? line.key : "";
      name = "line " + std::to_string(number) + " " + name.substr(0, name.find(' '));
      if (line.int_value) g->Add(name, *line.int_value);
      if (line.double_value) g->Add(name, *line.double_value);
      if (line.text_value) g->Add(name, *line.text_value);
    }
    g->Add("markers", markers).Add("marker_count", marker_count);
    return g;
  }();
  return *guard;
}

int BoxStatus(const std::vector<std::pair<std::string, int>>& captions) {
  for (const testhook::MsgBoxRecord& box : testhook::MsgBoxes()) {
    for (const auto& [caption, status] : captions) {
      if (box.caption == caption) return status;
    }
  }
  return 0;
}

int SettingsRefusal() {
  return BoxStatus({{" Invalid *.ini file", 1}});
}

void ExpectSettingsTaken(const uint8_t* data, size_t size,
                         const std::vector<const std::string*>& not_kept) {
  std::vector<std::string> lines = Lines(data, size);
  if (size > 0 && data[size - 1] != '\r' && data[size - 1] != '\n') lines.pop_back();
  const std::vector<InitLine>& table = InitFileLines();
  for (size_t i = 0; i < table.size() && i < lines.size(); ++i) {
    const InitLine& line = table[i];
    if (line.kind == InitLineKind::kMarkerCount) return;
    if (line.kind != InitLineKind::kSetting || !line.text_value || line.read) continue;
    if (std::find(not_kept.begin(), not_kept.end(), line.text_value) != not_kept.end()) continue;
    std::string text = lines[i];
    if (line.key) {
      // The key word and the blanks before it go; the blank after it stays.
      const size_t word = text.find_first_not_of(' ');
      const size_t after = word == std::string::npos ? word : text.find(' ', word);
      text = after == std::string::npos ? "" : text.substr(after);
    }
    Expect(*line.text_value == text, std::string("the text setting on line ") +
                                         std::to_string(i + 1) + " (" +
                                         (line.key ? line.key : "keyless") + ")");
  }
}

int ExpectScanCount(const std::vector<std::string>& lines, int stored, const std::string& port) {
  const int n = static_cast<int>(std::nearbyint(NumberOn(lines, 3)));
  Expect(stored == n && Numscanpts == n, "a taken " + port + " file's count");
  Expect(last_point == n - 1, "the replay of a taken " + port + " file");
  return n;
}

std::vector<std::string> Lines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines;
  size_t p = 0;
  while (p < size) {
    std::string line;
    for (; p < size && data[p] != '\r' && data[p] != '\n'; ++p) {
      if (line.size() < kLineBufChars) line += static_cast<char>(data[p]);
    }
    if (p < size && data[p] == '\r') {
      ++p;
      if (p < size && data[p] == '\n') ++p;
    } else if (p < size) {
      ++p;
    }
    lines.push_back(line);
  }
  return lines;
}

std::optional<double> Number(const std::string& line) {
  size_t p = line.find_first_not_of(" \t");
  if (p == std::string::npos) return std::nullopt;
  const size_t start = p;
  auto digits = [&] {
    const size_t from = p;
    while (p < line.size() && line[p] >= '0' && line[p] <= '9') ++p;
    return p - from;
  };
  if (line[p] == '-') ++p;
  size_t count = digits();
  if (p < line.size() && line[p] == '.') {
    ++p;
    count += digits();
  }
  if (count == 0) return std::nullopt;
  size_t end = p;
  if (p < line.size() && (line[p] == 'e' || line[p] == 'E')) {
    ++p;
    if (p < line.size() && (line[p] == '+' || line[p] == '-')) ++p;
    if (digits() > 0) end = p;
  }
  const double v = std::strtod(line.substr(start, end - start).c_str(), nullptr);
  return v == 0 ? 0.0 : v;
}

double NumberOn(const std::vector<std::string>& lines, size_t k) {
  if (k < 1 || k > lines.size()) return 0;
  return Number(lines[k - 1]).value_or(0);
}

bool Same(double a, double b) {
  if (a == b) return true;
  if (std::isinf(a) || std::isinf(b)) {
    // A mantissa summed digit by digit may overflow a step before or after
    // the correctly rounded value does.
    return std::signbit(a) == std::signbit(b) && std::fabs(a) > 1e307 && std::fabs(b) > 1e307;
  }
  return std::fabs(a - b) <= 1e-12 * std::fmax(std::fabs(a), std::fabs(b)) + 1e-300;
}

}  // namespace vna::fuzz
