// Placeholders until the analysis tool is built (see pending.h).
#include "tools/pending.h"

#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int multichan_scan = 0;
[[gnu::weak]] double tdr_response[2100] = {};
[[gnu::weak]] double FeetPerNdx = 0;
[[gnu::weak]] double DXfactor = 0;
[[gnu::weak]] double tdr_zscale = 0;
[[gnu::weak]] double tdr_rho_scale = 0;
[[gnu::weak]] int tdr_zo_y = 0;

[[gnu::weak]] int VelocityFactorHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int TuningStubHandler() {
  return InertDialogEvent();
}

[[gnu::weak]] void RunTDR() {}
[[gnu::weak]] void DrawTDR() {}
[[gnu::weak]] void ScanAllChannels() {}
[[gnu::weak]] void ReadAllElements() {}
[[gnu::weak]] void DistanceToFaultCheck() {}
[[gnu::weak]] void MeasureVelocityFactor() {}
[[gnu::weak]] void OpenVectorScope() {}
[[gnu::weak]] void ScanMuxChannel(int) {}
[[gnu::weak]] void PlotDebugPoint(double, double, int, int, int) {}

}  // namespace vna
