// Another program ordering scans through the registry mailbox: for each job
// it clears "csvready", writes the limits, then "dataready", and waits for
// the answer. One line per job goes to the results file: name, a tab, the
// answer ("" when none came within the time limit).
//
// mailbox_client RESULTS CSV VNA_SIM CONTROL
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "platform/store.h"

namespace {

const std::string kKey = "hkey_current_user\\software\\TARVOVNA\\";
std::string sim_bin, control;

std::string SimStatus() {
  const std::string cmd = "'" + sim_bin + "' --control '" + control + "' --send status";
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n = 0;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

long Measurements() {
  const std::string s = SimStatus();
  const size_t at = s.find(" measurements=");
  return at == std::string::npos ? -1 : std::stol(s.substr(at + 14));
}

void SimSend(const std::string& line) {
  const std::string cmd =
      "'" + sim_bin + "' --control '" + control + "' --send '" + line + "' >/dev/null";
  if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "control %s failed\n", line.c_str());
}

void Request(const std::string& start, const std::string& end, const std::string& delta) {
  vna::StoreWrite(kKey, "csvready", "");
  vna::StoreWrite(kKey, "startfreq", start);
  vna::StoreWrite(kKey, "endfreq", end);
  vna::StoreWrite(kKey, "deltafreq", delta);
  vna::StoreWrite(kKey, "scanport", "0");
  vna::StoreWrite(kKey, "dataready", "1");
}

// The answer, or "" after the limit; `meanwhile` runs between polls.
template <class F>
std::string Answer(F meanwhile) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string a = vna::StoreRead(kKey, "csvready", "");
    if (!a.empty()) return a;
    meanwhile();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return "";
}
std::string Answer() {
  return Answer([] {});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  std::ofstream results(argv[1]);
  const std::string csv = argv[2];
  sim_bin = argv[3];
  control = argv[4];

  Request("1", "30", "0.5");
  results << "scan\t" << Answer() << std::endl;
  // Kept aside before the next jobs may replace it.
  std::error_code none;
  std::filesystem::copy_file(csv, csv + ".first", std::filesystem::copy_options::overwrite_existing,
                             none);

  // The test halts this one part-way: the file still comes, with the
  // points measured.
  Request("2", "20", "0.1");
  results << "halted\t" << Answer() << std::endl;
  std::filesystem::copy_file(csv, csv + ".halted",
                             std::filesystem::copy_options::overwrite_existing, none);

  // The program polls by now. A text that only contains "null" is no
  // request: nothing may answer it.
  vna::StoreWrite(kKey, "csvready", "");
  vna::StoreWrite(kKey, "dataready", "nullx");
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  results << "idle\t" << vna::StoreRead(kKey, "csvready", "") << "\t"
          << vna::StoreRead(kKey, "dataready", "") << std::endl;

  Request("1", "30", "2");
  results << "delta\t" << Answer() << std::endl;
  Request("50", "10", "1");
  results << "reversed\t" << Answer() << std::endl;

  // The result file's name taken by a folder: it cannot be written.
  std::filesystem::remove(csv);
  std::filesystem::create_directory(csv);
  Request("1", "3", "0.5");
  results << "unwritable\t" << Answer() << std::endl;
  std::filesystem::remove(csv);

  // The instrument falls silent part-way through the scan.
  const long before = Measurements();
  bool silenced = false;
  Request("1", "30", "0.1");
  const std::string silent = Answer([&] {
    if (!silenced && Measurements() > before + 40) {
      SimSend("fault silence");
      silenced = true;
    }
  });
  SimSend("fault none");
  results << "silenced\t" << silent << std::endl;
  results << "silenced_after\t" << (silenced ? "yes" : "no") << std::endl;
  results.close();
  // For the test's log.
  std::ifstream back(argv[1]);
  std::cout << back.rdbuf();
  return 0;
}
