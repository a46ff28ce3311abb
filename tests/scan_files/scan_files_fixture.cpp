#include "scan_files/scan_files_fixture.h"

#include <fstream>
#include <iterator>

#include "files/scan_file_a.h"
#include "platform/testhook.h"

namespace vna::test {

std::string GoldenFile(const std::string& name) {
  std::ifstream in(std::string(VNA_SOURCE_DIR) + "/tests/scan_files/data/" + name,
                   std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

ScanSnapshot ScanSnapshot::Take() {
  ScanSnapshot s;
  s.freq.assign(scanA_freq, scanA_freq + 10);
  s.zmag.assign(readA_zmag, readA_zmag + 10);
  s.phase.assign(readA_phase, readA_phase + 10);
  s.swr.assign(scanA_swr, scanA_swr + 10);
  s.b_s21.assign(s21_dB, s21_dB + 10);
  s.points = Numscanpts;
  s.ok_a = scana_ok;
  s.ok_b = scanb_ok;
  s.average = vna::average;
  s.smoothing = vna::smoothing;
  s.plot_at_zero = vna::plot_at_zero;
  s.start = start_freq;
  s.end = end_freq;
  s.step = delta_freq;
  s.zref = Zref;
  s.vf = VF;
  s.cable = cable_length;
  s.title = PortA_title;
  s.stamp = scan_stamp;
  s.comment = scan_comment;
  return s;
}

void ScanFileTest::SetUp() {
  ScanTest::SetUp();
  scan_format_A = 130;
  prog_ver = "636";
  prog_subver = "A";
  model = "Zelmar";
  Rbridge = 50;
  scan_folder = "";
  save_mode = 0;
  scan_load_mode = 0;
  autosave_flipA = autosave_flipB = 0;
  autosave_block = 0;
  scn_spare_1 = scn_spare_2 = scn_spare_3 = 0;
  scan_comment.clear();
  scan_extra_value = 0;
  PortA_cal = 1;
}

void ScanFileTest::ChangeSettingsSinceTheScan() {
  Zref = 75;
  Z0imag = 4;
  average = 64;
  smoothing = 3;
  scan_extra_value = 7;
}

void ScanFileTest::StoreGoldenScan() {
  scan_stamp = "Dec 10, 2025  14:05:09";
  plot_at_zero = 0;
  scan_npoints = scanA_npoints = Numscanpts = 3;
  start_freq = 1;
  end_freq = 2;
  delta_freq = 0.5;
  scanA_limits = {1, 2, 0.5};
  graph_start = 0;
  graph_end = 2.5;
  swr_scale = 10;
  zmag_scale = 500;
  phase_scale = 90;
  grid_units_per_div = 27.5;
  freq_per_div = 0.25;
  plot_swrA = 1;
  plot_rsA = 1;
  PortA_title = "Antenna test";
  const double f[] = {1, 1.5, 2}, z[] = {50, 100, 25.125}, p[] = {0, 0.5, -0.25};
  const double s[] = {1, 2, 3}, rs[] = {50, 100, 25}, xs[] = {0, 0, -12.5};
  for (int i = 0; i < 3; ++i) {
    scanA_freq[i] = f[i];
    readA_zmag[i] = scanA_zmag[i] = z[i];
    readA_phase[i] = scanA_phase[i] = p[i];
    scanA_swr[i] = s[i];
    scanA_Rs[i] = rs[i];
    scanA_Xs[i] = xs[i];
  }
  Zref = scanhdr_zref = 50;
  Z0imag = scanhdr_z0imag = 0;
  VF = 0.66;
  cable_length = 12.5;
  metric = 0;
  scanhdr_avg = 16;
  scanhdr_smooth = 0;
  scanhdr_extra = 0;
  scn_const_a = 1e-11;
  scn_const_b = 0.011746;
  scn_const_c = 1.0012;
  scana_ok = 1;
}

void ScanFileTest::SaveAs(const std::string& name) {
  testhook::QueueFileAnswer(dir / name);
  save_mode = 0;
  SaveScanA();
}

void ScanFileTest::LoadFrom(const std::string& path) {
  testhook::QueueFileAnswer(path);
  save_mode = 0;
  LoadScanA();
}

}  // namespace vna::test
