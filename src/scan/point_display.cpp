#include "scan/point_display.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "platform/draw.h"
#include "platform/serial.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "scan/voice_tone.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna {

int point_show_s21 = 0;
double point_s21_db = 0, point_s21_deg = 0;

namespace {

constexpr double kDeg = 57.296;

// Running averages of the raw channels (diagnostic mode).
double avgMagLoad = 0, avgPhaseLoad = 0, avgMagRef = 0, avgPhaseRef = 0;

void At(int x, int y, const std::string& text) {
  MoveTo(point_win, x, y);
  PrintText(point_win, text);
}

// A value cell of a line: it ends where the next cell starts (or at the
// window's edge), and a value too long for it is cut there instead of
// running over its neighbour.
void Cell(int x, int y, int right, const std::string& text) {
  MoveTo(point_win, x, y);
  PrintInLine(point_win, right, {text});
}

void ItemsAt(int x, int y, const TextItems& items) {
  MoveTo(point_win, x, y);
  PrintItems(point_win, items);
}

// The SWR scale and its bar, with its top edge at y.
void DrawSwrBar(int y, int left, int right, int w, int drawn) {
  struct Label {
    double swr;
    const char* text;
  };
  const Label labels[] = {{1, "1.0"}, {1.5, "1.5"}, {2, "2.0"}, {3, "3.0"}, {5, "5.0"}, {7, "7.0"}};
  SetPen(point_win, Black);
  SetTextColor(point_win, Black);
  for (const Label& l : labels) {
    const int t = Rnd(std::log10(l.swr) * w);
    DrawLine(point_win, left + t, y, left + t, y - 7);
    At(left + t - 10, y - 25, l.text);
  }
  DrawLine(point_win, left + w, y, left + w, y - 7);
  At(left + w - 20, y - 25, "10.0");
  DrawLine(point_win, right - 1, y, right - 1, y - 7);
  At(right - 15, y - 25, "100");
  SetFill(point_win, true, bg_color);
  DrawRect(point_win, left, y, right - left, 15);
  SetFill(point_win, true, RedColor);
  DrawRect(point_win, left, y, drawn, 15);
  SetFill(point_win, false);
}

void RawEquivalentCircuit(int& y) {
  const double w = 2 * pi * freq;
  if (Xsm >= 0) {
    ItemsAt(10, y,
            {"    Rs = ", Rsm,
             "  Ls= " + FormatUsing("####.####", {Xsm / w}) + " uH    ( Xs= ", Xsm, " )", "     "});
    y += text_line_step;
    ItemsAt(10, y,
            {"    Rp = ", Rp_raw,
             "  Lp= " + FormatUsing("####.####", {Xp_raw / w}) + " uH    ( Xp= ", Xp_raw, " )",
             "     "});
  } else {
    ItemsAt(
        10, y,
        {"    Rs = ", Rsm, "  Cs= ", -1000000 / (w * Xsm), " pF    ( Xs=  ", Xsm, " )", "     "});
    y += text_line_step;
    ItemsAt(10, y,
            {"    Rp = ", Rp_raw, "  Cp= ", -1000000 / (w * Xp_raw), " pF    ( Xp=  ", Xp_raw, " )",
             "     "});
  }
  y += text_line_step;
}

void AdcLine(int& y, int first, int last) {
  std::string line;
  for (int i = first; i <= last; ++i) line += ItemsText({ADCdata[i]}) + " ";
  At(10, y, line);
  y += text_line_step;
}

// The raw acquisition data of the reading, line by line from y = 30.
void DiagnosticLines(int& y) {
  y = 30;
  TextItems first = {" mults=",   dds_mult1, ",",         dds_mult2,
                     " DDS_Clk=", OSC,       " GainA = ", gain_factor_A};
  if (PortB_on != 0) {
    for (const TextItem& t :
         TextItems{"B_sens= ", PortB_Sens, "  B_range= ", PortB_Gain, " GainB=", gain_factor_B})
      first.push_back(t);
  }
  if (has_temp > 0) {
    SetDigits(6);
    const std::string dfreq = NumStr(FreqOffset * 1000);
    SetDigits(2);
    const std::string temp = NumStr(temperature_F);
    SetDigits(3);
    for (const TextItem& t : TextItems{"  CLK= ", OSC, " OSC= ", DDS_Clk, " dfreq= ", dfreq, "KHz",
                                       "  Temp=" + temp + " deg F"})
      first.push_back(t);
  }
  ItemsAt(10, y, first);
  y += 2 * text_line_step;
  At(10, y, " *************** Load Data: *****************");
  y += text_line_step;
  AdcLine(y, 0, 7);
  AdcLine(y, 8, 15);
  const double change = load_mag_raw != 0 ? (load_mag_raw - avgMagLoad) / load_mag_raw : 0;
  if (change < -0.33 || change > 0.2) freq_changed = 1;
  if (freq_changed != 0) {
    avgMagLoad = load_mag_raw;
    avgPhaseLoad = load_phase;
    avgMagRef = ref_mag_raw;
    avgPhaseRef = ref_phase;
    freq_changed = 0;
  }
  avgMagLoad += 0.05 * (load_mag_raw - avgMagLoad);
  avgPhaseLoad += 0.05 * (load_phase - avgPhaseLoad);
  avgMagRef += 0.05 * (ref_mag_raw - avgMagRef);
  avgPhaseRef += 0.05 * (ref_phase - avgPhaseRef);
  ItemsAt(10, y,
          {" DC value Load = " + FormatUsing("#####.##", {load_dc}) +
               " avgMagLoad = " + FormatUsing("#####.##", {avgMagLoad}) +
               "  avgPhaseLoad = " + FormatUsing("###.##", {avgPhaseLoad * kDeg}) + "    Mag_2nd=",
           load_mag2, "    Mag_3rd=", load_mag3, "     "});
  y += 2 * text_line_step;
  At(10, y, " *************** Reference Data: **********************");
  y += text_line_step;
  AdcLine(y, 16, 23);
  AdcLine(y, 24, 32);
  const int d = ADCdata[32] - ADCdata[16];
  ItemsAt(10, y,
          {"ADC[32]-ADC[16] = ", d,
           "       delPhase=", ref_mag_raw != 0 ? d * kDeg / ref_mag_raw : 0.0, " deg"});
  y += text_line_step;
  ItemsAt(10, y,
          {" DC value Ref = " + FormatUsing("#####.##", {ref_dc}) +
               "    MagRef = " + FormatUsing("#####.##", {ref_mag_raw}) +
               "    PhaseRef = " + FormatUsing("###.##", {ref_phase * kDeg}) + "    Mag_2nd=",
           ref_mag2, "    Mag_3rd=", ref_mag3, "     "});
  y += text_line_step;
  At(10, y, "================================================================= ");
  y += text_line_step;
  if (MagRef == 0) MagRef = 1;
  avgMagLoad /= PortB_on != 0 ? gain_factor_B : gain_factor_A;
  avgMagRef /= gain_factor_A;
  const double ratio = avgMagRef != 0 ? avgMagLoad / avgMagRef : 0;
  const double dphi = avgPhaseLoad - avgPhaseRef;
  ItemsAt(
      10, y,
      {std::string(" Mag Ratio ") + (transmission_mode != 0 ? "PortB/PortA" : "Load/Ref") + " = ",
       FormatUsing("#.####", {ratio}), " => ", FormatUsing("###.##", {20 * std::log10(ratio)}),
       "dB    Delta_Phase (Load - Ref) = ", dphi * kDeg});
  y += text_line_step;
  const double z = ratio != 0 ? raw_Z0 / ratio : 0;
  ItemsAt(10, y,
          {" Total Zmag= ", z, "   Re(Zmag)= ", z * std::cos(dphi),
           "  Im(Zmag)= ", z * std::sin(dphi)});
  y += 2 * text_line_step;
  SetTextColor(point_win, RedColor);
  At(10, y, " Data before compensation:");
  SetTextColor(point_win, Black);
  y += text_line_step;
  RawEquivalentCircuit(y);
  ItemsAt(10, y,
          {"       SWR = xxxxxx", "     Zmag = ", std::sqrt(Xsm * Xsm + Rsm * Rsm),
           "     Phase = ", fit_phase, " deg       "});
  y += 2 * text_line_step;
  SetTextColor(point_win, Green);
  At(10, y, " Data after compensation:");
  SetTextColor(point_win, Black);
}

}  // namespace

void ShowPointData() {
  if (pointdata_on == 0 || hcom == kInvalidPort) return;
  const bool diag = DIAGMODE > 0;
  if (diag && has_temp > 0) {
    const double old = temperature_F;
    ReadTemperature();
    if (std::fabs(temperature_F - old) < 1) temperature_F = old + 0.05 * (temperature_F - old);
  }
  SetPen(point_win, bg_color);
  SetFill(point_win, true, bg_color);
  DrawRect(point_win, 1, 1, PointWinWidth - 1, PointWinHeight - 1);
  SetFill(point_win, false);
  if (Rp_raw > 99999) Rp_raw = 99999;
  if (Rsm > 99999) Rsm = 99999;
  int y = 10;
  text_line_step = 20;
  SetTextColor(point_win, Black);
  SetTextBackground(point_win, false, bg_color);
  MoveTo(point_win, 10, 10);
  if (vna_status != 0) {
    PrintText(point_win, " ### DATA ERROR ###");
    std::fill(ADCdata, ADCdata + 33, -1);
    return;
  }
  SetDigits(3);
  PrintItems(point_win, {"Freq=", freq, "MHz DDS1_Amplitude=", DDS_Amplitude, "%"});
  if (diag) DiagnosticLines(y);
  // The bar: the decade 1..10 over three quarters of the scale, 10..100 over
  // the rest.
  const int left = 75, right = PointWinWidth - 75;
  const int w = Rnd((right - left) * 0.75);
  const double v = swr <= 10 ? std::log10(swr) * w : w + std::log10(swr / 10) * (right - left - w);
  const int drawn = std::max(3, std::min(right - left, Rnd(v + 1)));
  if (!diag) {
    y += 60;
    DrawSwrBar(y, left, right, w, drawn);
    y += 20;
    At(Rnd((right - left) * 0.5 + left - 20), y, "SWR");
    y += 20;
  }
  SetPen(point_win, Black);
  SetTextColor(point_win, Black);
  y += text_line_step + 3;
  MoveTo(point_win, 10, y);
  int c = 150;
  if (!diag) {
    SetFont(point_win, "arial", font_size + 6, font_weight);
    text_line_step = 50;
    c = 220;
  }
  const int step = text_line_step;
  int edge = 0, client_h = 0;
  ClientSize(point_win, edge, client_h);
  const double omega = 2 * pi * freq;
  const std::string tail = " )     ";
  if (point_Xs >= 0) {
    Cell(10, y, 10 + c, "    Rs = " + FormatUsing("######.##", {point_Rs}));
    Cell(10 + c, y, 10 + 2 * c,
         "  Ls = " + FormatUsing("######.####", {point_Xs / omega}) + " uH ");
    Cell(10 + 2 * c, y, edge, " ( Xs = " + FormatUsing("######.##", {point_Xs}) + tail);
    y += step;
    Cell(10, y, 10 + c, "    Rp = " + FormatUsing("######.##", {Rp}));
    Cell(10 + c, y, 10 + 2 * c, "  Lp = " + FormatUsing("######.####", {Xp / omega}) + " uH");
    Cell(10 + 2 * c, y, edge, " ( Xp = " + FormatUsing("######.##", {Xp}) + tail);
  } else {
    Cell(10, y, 10 + c, "    Rs = " + FormatUsing("######.##", {point_Rs}));
    Cell(10 + c, y, 10 + 2 * c,
         "  Cs = " + FormatUsing("######.##", {-1000000 / (omega * point_Xs)}) + " pF ");
    Cell(10 + 2 * c, y, edge, " ( Xs = " + FormatUsing("######.##", {point_Xs}) + tail);
    y += step;
    Cell(10, y, 10 + c, "    Rp = " + FormatUsing("######.##", {Rp}));
    Cell(10 + c, y, 10 + 2 * c,
         "  Cp = " + FormatUsing("######.##", {-1000000 / (omega * Xp)}) + " pF ");
    Cell(10 + 2 * c, y, edge, " ( Xp = " + FormatUsing("######.##", {Xp}) + tail);
  }
  y += step;
  c += 10;
  const double zmag = std::min(999999.0, std::sqrt(point_Xs * point_Xs + point_Rs * point_Rs));
  Cell(10, y, 10 + c, "    SWR = " + FormatUsing("#####.####", {swr}));
  Cell(10 + c, y, 10 + 2 * c, "  Zmag =" + FormatUsing("######.####", {zmag}));
  Cell(10 + 2 * c, y, edge, "  Phase = " + FormatUsing("###.##", {Zphase * kDeg}) + " deg       ");
  y += step;
  return_loss = 20 * std::log10(rho);
  Cell(10, y, 10 + c, "    Rho =" + FormatUsing("##.####", {rho}));
  Cell(10 + c, y, edge, "   Return loss =" + FormatUsing("####.##", {return_loss}) + " dB");
  y += step;
  Cell(10, y, edge,
       "    s11 = " + FormatUsing("#.####", {s11.r}) + (s11.i < 0 ? " - j" : " + j") +
           FormatUsing("#.####", {std::fabs(s11.i)}));
  if (point_show_s21 != 0) {
    y += step;
    Cell(10, y, edge,
         "    S21 = " + FormatUsing("####.##", {point_s21_db}) +
             " dB   S21 Phase = " + FormatUsing("###.##", {point_s21_deg}) + " deg");
  }
  if (tone_on > 0 && !diag) {
    y += 2 * step;
    At(10, y,
       "   Min Tone Freq=" + NumStr(swrminfreq) + "  Max Tone Freq=" + NumStr(swrmaxfreq) +
           "  SWR max=" + NumStr(swrmax));
  }
  if (!diag) SetFont(point_win, "arial", font_size, font_weight);
  if (voice != 0) SpeakValue();
}

}  // namespace vna
