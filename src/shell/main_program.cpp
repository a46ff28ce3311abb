// Start-up, the main loop and exit: one straight sequence. Every routine
// called here may pump events, so main_win's handler can run from the moment
// the window opens.
#include "shell/main_program.h"

#include "calibration/cal_file.h"
#include "calibration/correct_b.h"
#include "calibration/state.h"
#include "files/config_file.h"
#include "files/init_file.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/settings.h"
#include "files/state.h"
#include "files/tdr_file.h"
#include "graph/freq_grid.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/link_lost.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "instrument/version.h"
#include "platform/events.h"
#include "platform/midi.h"
#include "platform/serial.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/init_vars.h"
#include "shell/mailbox.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/tones.h"
#include "shell/tool_tips.h"
#include "shell/windows.h"

namespace vna {

const char* const kNotRespondingText =
    "The VNA is not responding.\r\n"
    "Please check the power and the data cable.\r\n"
    "The power should be on before the PC program is started.\r\n\r\n"
    "Make sure another copy of this program is not running.\r\n\r\n"
    "When starting a new version of the program,\r\n"
    "be sure to check the comm port number.\r\n\r\n"
    "Use the Setup Menu to set the comm port if the default is not correct.";

std::string PortBusyText() {
  return "The VNA on " + CommPortName(commport) +
         " is in use by another program,\r\n"
         "most likely another copy of this program.\r\n\r\n"
         "This copy runs without the VNA (demonstration mode).\r\n"
         "Its settings and last scans will not be saved when it closes:\r\n"
         "those of the copy that has the VNA are kept.";
}

void SetProgramVersion() {
  prog_ver = "636";
  prog_subver = "A";
  config_version_min = 252;
  prog_date = "Program version " + prog_ver + prog_subver + " Aug 12 2018";
  manual_name_single = "//zelmar-7306_032417.pdf";
  manual_name_uhf = "//zelmar-7306_032417.pdf";
}

void CheckFlagFiles() {
  DIAGMODE = 0;
  no_cal_comp = 0;
  coord_debug = 0;
  dsp_debug = 0;
  for (const char* flag : {"c:\\vna_diag2flag.txt", "c:\\temp\\vna_diag2flag.txt"}) {
    TextFile f;
    if (OpenTextFile(f, flag, "R") == 0) {
      DIAGMODE = 1;
      dsp_debug = 1;
      CloseTextFile(f);
    }
  }
}

std::string BuildCommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line += ' ';
    line += '"';
    line += argv[i];
    line += '"';
  }
  return line;
}

void GetCmdLineFile() {
  scan_load_mode = 0;
  const size_t at = command_line.find(".scn");
  if (at == std::string::npos) return;
  // Back from ".scn" to the quote that opens the name, or to the start.
  std::string name = ".scn";
  for (size_t i = at; i > 0;) {
    const char c = command_line[--i];
    if (c == '"') break;
    name.insert(name.begin(), c);
  }
  file_name = name;
  scan_load_mode = 3;
}

namespace {

// Steps 1: fixed values before anything else.
void SetFixedValues() {
  trace_serial = 0;
  min_freq = 0.005;
  MaxFreqUHF = 1200;
  maximumfreq = MaxFreqUHF;
  scan_format_A = 130;
  scan_format_B = 4080;
  vna_present = 1;
}

// Steps 11 and 12: the main window and the layout values of its font.
void OpenMainWindow() {
  msg_text = "";
  OpenWindow(main_win, 0, 0, WinWidth, WinHeight,
             kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax, msg_text,
             MainWindowHandler);
  OpenWindow(hidden_win, -5000, 5000, 10, 10, kWinHidden, "", HiddenWindowHandler);
  // SIGINT and SIGTERM ask the main window to close, as its close box does
  // (a request made while it was not open yet reaches it now).
  SetSignalCloseTarget(&main_win);
  bg_color = ReadPixel(main_win, 2, 2);
  SetFont(main_win, "arial", font_size, font_weight);
  int w = 0, h = 0;
  TextExtent(main_win, "TestString", w, h);
  SetTextBackground(main_win, true, bg_color);
  line0_y = 0;
  line1_y = line0_y + h + h / 4;
  graph_top = line1_y + h + 10;
}

// Step 20: the model decides the frequency range; the single-DDS test comes
// second, so it wins when the reply names both.
void DecideModel() {
  maximumfreq = 0;
  if (model_uhf > 0) {
    model = "Zelmar";
    maximumfreq = MaxFreqUHF;
    two_osc = 2;
  }
  if (model7306 != 0) {
    model = "7306";
    osc_freq = 400;
    two_osc = 0;
    maximumfreq = 180;
  }
  cal_end_freq = maximumfreq;
  Rbridge = 50;
  raw_Z0 = 50;
}

// Step 21: the caption, with its blanks.
void ShowTitle() {
  const std::string name = model7306 != 0 ? "VNA-" + model : model;
  msg_text = name + "   version " + prog_ver + prog_subver + "   ";
  if (vna_present == 0) {
    msg_text += "     DEMO MODE   ";
    PortB_cal = 1;
    PortA_cal = 1;
  }
  SetTitle(main_win, msg_text);
  FocusForm(main_win);
}

// Step 27: the last scan comes back only from a complete config file.
void ReloadLastScan() {
  if (config_loaded != 1) return;
  if (PortB_on == 0) {
    LoadScanA();
  } else {
    // A command-line file is a Port A scan: ignored in Port B mode.
    scan_load_mode = 0;
    save_mode = 1;
    LoadScanB();
  }
  scan_from_file = 1;
}

bool started_up = false;

// After the link check: no instrument is said once, and the program goes on
// in demonstration mode.
void SayWhenNoInstrument() {
  if (vna_status != 0 && comm_port_busy != 0) {
    // Another copy has the instrument and writes the shared init file and
    // last scans at its exit: this one must not replace them with its own
    // demonstration values or the files it only showed.
    MsgBox(&main_win, PortBusyText(), " VNA in use", kMbOk, kIconNone, true);
    vna_present = 0;
    keep_shared_files = 1;
  } else if (vna_status != 0) {
    MsgBox(&main_win, kNotRespondingText, "", kMbOk, kIconNone, true);
    vna_present = 0;
  }
}

// The model, the window's title and menus, and the instrument's defaults.
void MeetInstrument() {
  IdentifyInstrument();
  ShowTitle();
  BuildMenus();
  GetVersion(1);
  ResetInstrument();
}

// The calibration file the settings name.
void LoadNamedCalibration() {
  file_name = cal_file_path;
  GetPortACal(0);
  // A file that could not be loaded is forgotten, unless only the missing
  // instrument kept it from loading.
  if (vna_status != 0 && vna_status != kStatusCalNeedsInstrument) {
    cal_file_path = "";
    cal_file_name = "";
    DrawFilesPanel();  // the panel named the refused file until now
  }
}

// Relays off, power-down mode, averaging and the supply test.
void SetUpInstrument() {
  ProgRelay(0);
  DelayMs(20);
  SetAutoPowerDown(autopoweroff);
  DelayMs(20);
  AverageADC(average);
  DelayMs(20);
  CheckDCVoltage(8, 16, 1);
}

}  // namespace

bool StartUpRan() {
  return started_up;
}

void PrepareWithoutStartUp() {
  SetFixedValues();
  SetProgramVersion();
  SetDigits(4);
  min_Zref = 1.0;
  InitVars();
  InitFreqPlan();
}

void IdentifyInstrument() {
  GetVersion(1);
  InitFreqPlan();
  SelectOsc(1);
  InitPortLoadTables();
  DecideModel();
}

void StartUp() {
  started_up = true;
  SetFixedValues();
  SetProgramVersion();
  CheckFlagFiles();
  DefineAboutDialog();
  SetDigits(4);
  min_Zref = 1.0;
  InitVars();
  InitFreqPlan();
  ReadInitFile();
  // The scan arrays are empty until a scan or a load of this run fills them,
  // whatever the last run's init file says; exit saves only what they hold.
  scana_ok = 0;
  scanb_ok = 0;
  // A new program folder gets the program's own config file, so the load
  // below finds one.
  InstallDefaultConfig();
  config_interactive = 0;
  file_name = config_file_path;
  LoadConfig();
  Initgrafsize();
  OpenMainWindow();
  main_loop_on = 1;
  FocusForm(main_win);
  DrawGraph();
  FocusForm(main_win);
  focus_win = 1;
  WatchForLostInstrument();
  CheckComm();
  DefineDialogs();
  keep_shared_files = 0;
  SayWhenNoInstrument();
  MeetInstrument();
  GetCmdLineFile();
  FreqGrid();
  save_mode = scan_load_mode == 0 ? 1 : 3;
  ReloadLastScan();
  LoadNamedCalibration();
  SetUpInstrument();
  OpenMidi();
  if (vna_present == 1) DDSAmplitude(DDS_Amplitude);
  SetToolTips();
  if (regctl_mode > 1) RegistryControl();
}

void TakeInstrument() {
  // The port is opened and asked again, as the exports' VNA_CommPort does.
  vna_present = 1;
  CheckComm();
  SayWhenNoInstrument();
  if (vna_present == 0) return;
  // This copy holds the instrument now: its settings and scans are the ones
  // to keep.
  keep_shared_files = 0;
  // The demonstration's stand-in calibrations give way to the real one.
  PortA_cal = 0;
  PortB_cal = 0;
  MeetInstrument();
  FreqGrid();
  LoadNamedCalibration();
  SetUpInstrument();
  if (vna_present == 1) DDSAmplitude(DDS_Amplitude);
  DrawGraph();
  if (regctl_mode > 1) RegistryControl();
}

void MainLoop() {
  // The flag is tested before each wait too: a close that arrived during
  // start-up must not leave the program waiting for one more event.
  while (main_loop_on != 0) {
    WaitEvents();
  }
}

void ExitSequence() {
  const bool own_files = keep_shared_files == 0;
  if (tdr_mode != 0 && own_files) {
    file_name = "last_VNATDR_file.tdr";  // no folder: the current folder
    SaveTDR(1);
  }
  tdr_mode = 0;
  if (own_files) WriteInitFile();
  full_current_mode = 0;  // after the init file, so the saved setting is the user's
  ProgRelay(0);
  DelayMs(20);
  // A port's auto-saved scan is the user's last work on that port: it is
  // written over only with data of this run, never with empty arrays.
  if (scana_ok == 1 && own_files) {
    save_mode = 1;
    SaveScanA();
  }
  if (scanb_ok == 1 && own_files) {
    save_mode = 1;
    SaveScanB();
  }
  NoteOff();
  midi_result = MidiClose(midi_out);
  midi_out = 0;
  SetSignalCloseTarget(nullptr);
  CloseWindow(main_win);
  SerialClose(hcom);
  hcom = kInvalidPort;
}

int MainProgram(int argc, char** argv) {
  PlatformInit(argc, argv);
  // From here on SIGINT and SIGTERM end the program cleanly, even while a
  // box of the start-up waits for a person.
  SetSignalCloseTarget(&main_win);
  command_line = BuildCommandLine(argc, argv);
  StartUp();
  MainLoop();
  ExitSequence();
  CloseWindow(hidden_win);
  PumpEvents();
  return 0;
}

}  // namespace vna
