// Fakes of the routines the commands reach (see fakes.h).
#include "commands/fakes.h"

#include <map>

// The real declarations: a fake whose signature differs from its routine's
// must not compile, or callers would reach it through the wrong type.
#include "calibration/cal_file.h"
#include "calibration/cal_port_a.h"
#include "calibration/cal_port_b.h"
#include "calibration/line_extension.h"
#include "calibration/multichannel.h"
#include "calibration/ref_to_antenna.h"
#include "files/auto_save.h"
#include "files/config_editor.h"
#include "files/file_commands.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/tdr_file.h"
#include "graph/chart_handlers.h"
#include "graph/clear_graph.h"
#include "graph/cursor_data.h"
#include "graph/cursor_readout.h"
#include "graph/geometry.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_frame.h"
#include "graph/info_panel.h"
#include "graph/legend.h"
#include "graph/marker_commands.h"
#include "graph/redraw.h"
#include "graph/scales_dialogs.h"
#include "graph/smith_chart.h"
#include "graph/styles.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/diag_graph.h"
#include "instrument/freq_plan.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "instrument/test_panels.h"
#include "scan/band_scan.h"
#include "scan/noise_filters.h"
#include "scan/point_data.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/scan_limits.h"
#include "scan/smoothing.h"
#include "shell/help.h"
#include "shell/mailbox.h"
#include "shell/status.h"
#include "shell/tones.h"
#include "tools/bandwidth.h"
#include "tools/channel_scan.h"
#include "tools/crystal.h"
#include "tools/distance_to_fault.h"
#include "tools/q_measurement.h"
#include "tools/tdr.h"
#include "tools/tuning_stub.h"
#include "tools/vector_scope.h"

namespace vna::test {
namespace {

std::map<std::string, std::function<void()>>& Behaviours() {
  static std::map<std::string, std::function<void()>> b;
  return b;
}

}  // namespace

void Record(const std::string& name, const std::string& call) {
  Calls().push_back(call);
  auto it = Behaviours().find(name);
  if (it != Behaviours().end() && it->second) it->second();
}

std::string Arg(int n) {
  return std::to_string(n);
}

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}
void ClearCalls() {
  Calls().clear();
}
void OnCall(const std::string& name, std::function<void()> behaviour) {
  Behaviours()[name] = std::move(behaviour);
}
void ClearBehaviours() {
  Behaviours().clear();
}

}  // namespace vna::test

namespace vna {

using test::Arg;
using test::Record;

void DrawGraph() {
  Record("DrawGraph", "DrawGraph");
}
void RedrawGraph() {
  Record("RedrawGraph", "RedrawGraph");
}
void DrawTitle() {
  Record("DrawTitle", "DrawTitle");
}
void Smith() {
  Record("Smith", "Smith");
}
void Smith_2() {
  Record("Smith_2", "Smith_2");
}
void TDRScales() {
  Record("TDRScales", "TDRScales");
}
void GraphScales() {
  Record("GraphScales", "GraphScales");
}
void ShowCursorData() {
  Record("ShowCursorData", "ShowCursorData");
}
void ClearGraph() {
  Record("ClearGraph", "ClearGraph");
}
void CheckScreenDimensions() {
  Record("CheckScreenDimensions", "CheckScreenDimensions");
}
void DrawFilesPanel() {
  Record("DrawFilesPanel", "DrawFilesPanel");
}
void ShowLegend() {
  Record("ShowLegend", "ShowLegend");
}
void SelectColors() {
  Record("SelectColors", "SelectColors");
}
void EnterSwrRuler() {
  Record("EnterSwrRuler", "EnterSwrRuler");
}
void RepeatPolarPlot() {
  Record("RepeatPolarPlot", "RepeatPolarPlot");
}
// A fake scan completes, unless its behaviour says otherwise.
void Scan_A() {
  vna_status = 0;
  Record("Scan_A", "Scan_A");
}
void Scan_B() {
  vna_status = 0;
  Record("Scan_B", "Scan_B");
}
void BandScan() {
  Record("BandScan", "BandScan");
}
void PointDataMode() {
  Record("PointDataMode", "PointDataMode");
}
void SetScanLimits() {
  Record("SetScanLimits", "SetScanLimits");
}
void SmoothingDialog() {
  Record("SmoothingDialog", "SmoothingDialog");
}
void RescanCenter() {
  Record("RescanCenter", "RescanCenter");
}
void SetLineExtension() {
  Record("SetLineExtension", "SetLineExtension");
}
void RefToAntenna() {
  Record("RefToAntenna", "RefToAntenna");
}
void CalA() {
  Record("CalA", "CalA");
}
void CalB() {
  Record("CalB", "CalB");
}
bool SaveCalFile() {
  Record("SaveCalFile", "SaveCalFile");
  return false;  // writes nothing
}
void CalMultiChannel() {
  Record("CalMultiChannel", "CalMultiChannel");
}
void RunTDR() {
  Record("RunTDR", "RunTDR");
}
int ScanAllChannels() {
  Record("ScanAllChannels", "ScanAllChannels");
  return 0;
}
int ReadAllElements() {
  Record("ReadAllElements", "ReadAllElements");
  return 0;
}
void DistanceToFaultCheck() {
  Record("DistanceToFaultCheck", "DistanceToFaultCheck");
}
void MeasureCrystal() {
  Record("MeasureCrystal", "MeasureCrystal");
}
void MeasureVelocityFactor() {
  Record("MeasureVelocityFactor", "MeasureVelocityFactor");
}
void MeasureQ() {
  Record("MeasureQ", "MeasureQ");
}
void AntennaBandwidth() {
  Record("AntennaBandwidth", "AntennaBandwidth");
}
void Bandwidth() {
  Record("Bandwidth", "Bandwidth");
}
int OpenVectorScope() {
  Record("OpenVectorScope", "OpenVectorScope");
  return 0;
}
void LoadScanA() {
  Record("LoadScanA", "LoadScanA");
}
void LoadScanB() {
  Record("LoadScanB", "LoadScanB");
}
void SaveScanA() {
  Record("SaveScanA", "SaveScanA");
}
void SaveScanB() {
  Record("SaveScanB", "SaveScanB");
}
void LoadCalibrationFile() {
  Record("LoadCalibrationFile", "LoadCalibrationFile");
}
void LoadConfigFile() {
  Record("LoadConfigFile", "LoadConfigFile");
}
void SaveStateFile() {
  Record("SaveStateFile", "SaveStateFile");
}
void LoadStateFile() {
  Record("LoadStateFile", "LoadStateFile");
}
void ConfigEditor() {
  Record("ConfigEditor", "ConfigEditor");
}
void ShowStatus() {
  Record("ShowStatus", "ShowStatus");
}
void ShowAbout() {
  Record("ShowAbout", "ShowAbout");
}
void SetToneRange() {
  Record("SetToneRange", "SetToneRange");
}
bool WriteControlCsv() {
  Record("WriteControlCsv", "WriteControlCsv");
  return true;
}
void OpenManual() {
  Record("OpenManual", "OpenManual");
}
void OpenUpdatePage() {
  Record("OpenUpdatePage", "OpenUpdatePage");
}
void OpenLCMatching() {
  Record("OpenLCMatching", "OpenLCMatching");
}
void OpenPlotTool() {
  Record("OpenPlotTool", "OpenPlotTool");
}
void ShowTwelfthWave() {
  Record("ShowTwelfthWave", "ShowTwelfthWave");
}
void EnterConstantFreq() {
  Record("EnterConstantFreq", "EnterConstantFreq");
}
void ShowMuxDialog() {
  Record("ShowMuxDialog", "ShowMuxDialog");
}
void DiagGraph() {
  Record("DiagGraph", "DiagGraph");
}
void PowerOff() {
  Record("PowerOff", "PowerOff");
}
void ProgGain() {
  Record("ProgGain", "ProgGain");
}
void LogicTest() {
  Record("LogicTest", "LogicTest");
}
void ReadTemperature() {
  Record("ReadTemperature", "ReadTemperature");
}
void TemperatureDrift() {
  Record("TemperatureDrift", "TemperatureDrift");
}
void ShowFreqPlan() {
  Record("ShowFreqPlan", "ShowFreqPlan");
}
void ShowOscBands() {
  Record("ShowOscBands", "ShowOscBands");
}
void CheckComm() {
  Record("CheckComm", "CheckComm");
}
void MarkerCommand(int a) {
  Record("MarkerCommand", "MarkerCommand(" + Arg(a) + ")");
}
void ReopenMainWindow(int a) {
  Record("ReopenMainWindow", "ReopenMainWindow(" + Arg(a) + ")");
}
void SetStyles(int a) {
  Record("SetStyles", "SetStyles(" + Arg(a) + ")");
}
void InfoPanel(int a) {
  Record("InfoPanel", "InfoPanel(" + Arg(a) + ")");
}
void GetPortACal(int a) {
  Record("GetPortACal", "GetPortACal(" + Arg(a) + ")");
}
void CleanRelays(int a) {
  Record("CleanRelays", "CleanRelays(" + Arg(a) + ")");
}
int ScanMuxChannel(int a) {
  Record("ScanMuxChannel", "ScanMuxChannel(" + Arg(a) + ")");
  return 0;
}
void SaveTDR(int a) {
  Record("SaveTDR", "SaveTDR(" + Arg(a) + ")");
}
void LoadTDR(int a) {
  Record("LoadTDR", "LoadTDR(" + Arg(a) + ")");
}
void RecallAutoSave(int a) {
  Record("RecallAutoSave", "RecallAutoSave(" + Arg(a) + ")");
}
void EnterMyVar(int a) {
  Record("EnterMyVar", "EnterMyVar(" + Arg(a) + ")");
}
void ProgRelay(int a) {
  Record("ProgRelay", "ProgRelay(" + Arg(a) + ")");
}
void SetAutoPowerDown(int a) {
  Record("SetAutoPowerDown", "SetAutoPowerDown(" + Arg(a) + ")");
}
void CursorReadout(int x, int y) {
  Record("CursorReadout", "CursorReadout(" + Arg(x) + "," + Arg(y) + ")");
}
void SelectStyle(int t, int s) {
  Record("SelectStyle", "SelectStyle(" + Arg(t) + "," + Arg(s) + ")");
}
void AverageADC(int n, bool) {
  Record("AverageADC", "AverageADC(" + Arg(n) + ")");
}

}  // namespace vna
