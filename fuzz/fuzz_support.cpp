#include "fuzz/fuzz_support.h"

#include "fuzz/fuzz_check.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "files/config_file.h"
#include "files/init_file.h"
#include "files/settings.h"
#include "files/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/windows.h"
#include "support/fresh_state.h"
#include "support/shell_fixture.h"

namespace vna::fuzz {

namespace {

std::string g_folder;

void RemoveFolder() {
  std::error_code ec;
  std::filesystem::remove_all(g_folder, ec);
}

// Each guard as start-up left it, taken at its first input.
std::map<Guard*, Guard>& StartUpState() {
  static std::map<Guard*, Guard> kept;
  return kept;
}

}  // namespace

const std::string& Folder() {
  return g_folder;
}

namespace {
Guard* g_last_guard = nullptr;  // the guard of the last input
}  // namespace

void Begin(Guard* guarded) {
  test::RestoreFreshState();
  if (!guarded) guarded = &StoredScans();
  g_last_guard = guarded;
  auto [at, first] = StartUpState().try_emplace(guarded, *guarded);
  if (first) {
    at->second.Take();
  } else {
    at->second.ExpectUnchanged("the fresh state an input starts from");
  }
  ClearDecision();
  // A reader may have closed it (most draw into it); opening it is costly.
  if (!main_win.IsOpen()) test::OpenShell(0, [] { return 0; });
}

void CheckLastReset() {
  if (g_last_guard) Begin(g_last_guard);
}

std::string InputFile(const uint8_t* data, size_t size, const std::string& name) {
  const std::string path = g_folder + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace vna::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace vna;
  std::string tmpl = (std::filesystem::temp_directory_path() / "vna-fuzz-XXXXXX").string();
  fuzz::g_folder = mkdtemp(tmpl.data());
  std::atexit(fuzz::RemoveFolder);
  // Nothing of the user's is reached: program folder, drive root and
  // registry file all lie in the temporary folder.
  for (const char* sub : {"program", "drives"}) {
    std::filesystem::create_directories(fuzz::g_folder + "/" + sub);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("VNA_PROGRAM_DIR", (fuzz::g_folder + "/program").c_str(), 1);
  setenv("VNA_DRIVE_ROOT", (fuzz::g_folder + "/drives").c_str(), 1);
  setenv("VNA_REGISTRY_FILE", (fuzz::g_folder + "/registry.ini").c_str(), 1);
  // Qt keeps argc and argv; the fuzzer's own options are none of its business.
  static int argc = 1;
  static char name[] = "vna-fuzz";
  static char* argv[] = {name, nullptr};
  PlatformInit(argc, argv);
  testhook::Enable(true);
  // What start-up sets before the settings (the scan file formats among
  // them), the shell as the tests open it, then start-up's reads of the
  // settings: no init file in the new program folder (the settings
  // clamped), and the program's own config file. Every input starts there.
  PrepareWithoutStartUp();
  DefineDialogs();
  test::OpenShell(0, [] { return 0; });
  ReadInitFile();
  InstallDefaultConfig();
  config_interactive = 0;
  file_name = config_file_path;
  LoadConfig();
  test::KeepFreshState();
  return 0;
}
