// The bracket rule of the calibration tables and the Port A correction on
// made-up tables: the bilinear error model of a bridge removed exactly, the
// clamps, the readings at the standards themselves, the derived quantities,
// and what happens without a usable calibration.
#include <cmath>
#include <complex>

#include "calibration/cal_fixture.h"
#include "calibration/cal_tables.h"
#include "calibration/correct_a.h"
#include "platform/ui.h"

namespace vna::test {
namespace {

using cplx = std::complex<double>;

constexpr int kA = 2461, kB = 1428;  // two multiplier states

// A calibrated quantity that runs along a line in each multiplier state,
// the states offset from each other as a change of multipliers offsets a
// real reading.
double Line(double f, int state) {
  return 10 * f + (state == kB ? 100 : 0);
}

void Table(const std::vector<std::pair<double, int>>& records) {
  ClearCalibration();
  for (size_t i = 0; i < records.size(); ++i) {
    CalDataA[i].freq = records[i].first;
    CalDataA[i].multstate = records[i].second;
    CalDataA[i].shortR = Line(records[i].first, records[i].second);
  }
  cal_points = static_cast<int>(records.size());
  MaxCalANdx = cal_points - 1;
}

// Every bracket gives the value on the present state's own line: between
// records, beyond the ends, and where a state has a single record at either
// end of the table (its value carried along the slope of the neighbouring
// pair), never a value from across a change.
TEST(CalBracketTest, FollowsThePresentStatesRecords) {
  const struct {
    const char* name;
    std::vector<std::pair<double, int>> table;
    double f;
    int state;
    bool ok;
    double want;  // NAN: the state's line
  } cases[] = {
      {"below the first record", {{1, kA}, {2, kA}, {3, kA}}, 0.5, kA, false, NAN},
      {"one record", {{1, kA}}, 1, kA, false, NAN},
      {"no record", {}, 1, kA, false, NAN},
      {"on the first record", {{1, kA}, {2, kA}, {3, kA}}, 1, kA, true, NAN},
      {"on a middle record", {{1, kA}, {2, kA}, {3, kA}}, 2, kA, true, NAN},
      {"between records", {{1, kA}, {2, kA}, {3, kA}}, 2.25, kA, true, NAN},
      {"on the last record", {{1, kA}, {2, kA}, {3, kA}}, 3, kA, true, NAN},
      {"above the last record", {{1, kA}, {2, kA}, {3, kA}}, 4, kA, true, NAN},
      // A A A B B B: between the last A and the first B, from either side.
      {"state change, present A",
       {{1, kA}, {2, kA}, {3, kA}, {4, kB}, {5, kB}, {6, kB}},
       3.5,
       kA,
       true,
       NAN},
      {"state change, present B",
       {{1, kA}, {2, kA}, {3, kA}, {4, kB}, {5, kB}, {6, kB}},
       3.5,
       kB,
       true,
       NAN},
      // A B B: the first record is the only A.
      {"lone first record", {{1, kA}, {2, kB}, {3, kB}}, 1.5, kA, true, NAN},
      // A A A B: the last record is the only B, below it and beyond it.
      {"lone last record", {{1, kA}, {2, kA}, {3, kA}, {4, kB}}, 3.5, kB, true, NAN},
      {"beyond a lone last record", {{1, kA}, {2, kA}, {3, kB}}, 3.5, kB, true, NAN},
      // B A A: the pair of A above the lone B.
      {"a lone record before the change", {{1, kA}, {2, kB}, {3, kA}, {4, kA}}, 2.5, kA, true, NAN},
      // A B A B: no two records share a state, so the A record is used alone.
      {"states changing at every record", {{1, kA}, {2, kB}, {3, kA}, {4, kB}}, 2.5, kA, true, 30},
      {"two records on one frequency", {{1, kA}, {2, kA}, {2, kA}}, 2.5, kA, true, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Table(c.table);
    CalBracket k;
    ASSERT_EQ(BracketCalA(c.f, c.state, k), c.ok);
    if (!c.ok) continue;
    const double want = std::isnan(c.want) ? Line(c.f, c.state) : c.want;
    EXPECT_NEAR(CalValue(k, CalDataA, &CalPointA::shortR), want, 1e-9);
  }
}

// A table as long as a real calibration's, with runs of equal frequencies and
// state changes: at every record, between records and beyond both ends the
// bracket starts from the first record above the frequency (the last when
// none is) and gives the value on the present state's line.
TEST(CalBracketTest, FindsTheFirstRecordAboveInALongTable) {
  std::vector<std::pair<double, int>> records;
  for (int i = 0; i < 1001; ++i) {
    const double f = 0.1 + 2 * (i - i / 7);  // every seventh record repeats a frequency
    records.push_back({f, (i / 97) % 2 == 0 ? kA : kB});
  }
  Table(records);
  std::vector<double> probes = {records.front().first - 1, records.back().first + 5};
  for (size_t i = 0; i < records.size(); ++i) {
    probes.push_back(records[i].first);
    probes.push_back(records[i].first + 0.7);
  }
  for (double f : probes) {
    int first_above = MaxCalANdx;
    for (int i = 0; i <= MaxCalANdx; ++i) {
      if (CalDataA[i].freq > f) {
        first_above = i;
        break;
      }
    }
    for (int state : {kA, kB}) {
      SCOPED_TRACE(::testing::Message() << "f=" << f << " state=" << state);
      CalBracket k;
      const bool ok = BracketCalA(f, state, k);
      EXPECT_EQ(k.ndx, first_above);
      ASSERT_EQ(ok, first_above >= 1);
      if (!ok) continue;
      // Only the state of the records at hand has a line to follow.
      if (CalDataA[k.base].multstate != state) continue;
      if (CalDataA[k.a].freq == CalDataA[k.b].freq) continue;  // no slope: the record's own value
      EXPECT_NEAR(CalValue(k, CalDataA, &CalPointA::shortR), Line(f, state), 1e-9);
    }
  }
}

// The raw reading a bridge with these errors gives for an impedance Z: a
// bilinear map, as the simulator's real bridge (T / (Z + Zs) + D).
cplx RawOf(cplx z) {
  const cplx tracking = std::polar(110.0, -0.14), source(50, 4), leak = std::polar(0.012, 0.61);
  if (std::isinf(z.real())) return 50.0 / leak;
  return 50.0 / (tracking / (z + source) + leak);
}

class CorrectATest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartModel("uhf", 0);
    // Two records, 10 and 20 MHz, of one state and the same bridge.
    Table({{10, 1000 * 1 + 461}, {20, 1000 * 1 + 461}});
    for (int i = 0; i < 2; ++i) {
      const cplx s = RawOf(0), o = RawOf(INFINITY), d = RawOf(50);
      CalDataA[i].shortR = s.real();
      CalDataA[i].shortX = s.imag();
      CalDataA[i].openR = o.real();
      CalDataA[i].openX = o.imag();
      CalDataA[i].stdR = d.real();
      CalDataA[i].stdX = d.imag();
    }
    Rstd = 50;
    OSC = 1;
    mult_code = 461;
    freq = 14;
  }
  cplx Correct(cplx raw) {
    Rsm = raw.real();
    Xsm = raw.imag();
    CorrectA();
    return {point_Rs, point_Xs};
  }
};

TEST_F(CorrectATest, RemovesTheBridgeErrors) {
  for (cplx z : {cplx(75, 0), cplx(50, 50), cplx(10, -30), cplx(5, 88), cplx(2000, -1500),
                 cplx(0.5, 0.25)}) {
    SCOPED_TRACE(z);
    const cplx got = Correct(RawOf(z));
    // A reactance that comes out exactly 0 is shown as 0.0001 ohm, as at the
    // standards; whether it does depends on how the compiler orders the
    // arithmetic.
    const double x = z.imag() == 0 && got.imag() == 0.0001 ? 0 : got.imag();
    EXPECT_LT(std::abs(cplx(got.real(), x) - z), 1e-9 * std::abs(z));
  }
  EXPECT_EQ(number_decimals, 3);
}

TEST_F(CorrectATest, DerivedQuantities) {
  freq = 10;
  Correct(RawOf(cplx(30, -40)));
  EXPECT_NEAR(Zmag, 50, 1e-9);
  EXPECT_NEAR(Zphase, std::atan(-40.0 / 30), 1e-12);
  EXPECT_NEAR(Rp, 2500.0 / 30, 1e-9);
  EXPECT_NEAR(Xp, -62.5, 1e-9);
  EXPECT_NEAR(Cs, 1e6 / (6.2831853 * 10 * 40), 1e-6);
  EXPECT_NEAR(Cp, 1e6 / (6.2831853 * 10 * 62.5), 1e-6);
  EXPECT_EQ(Zmag_A, Zmag);
  EXPECT_EQ(phase_A, Zphase);
}

TEST_F(CorrectATest, ReadingsAtTheStandards) {
  // The short itself: zero, clamped.
  Correct(RawOf(0));
  EXPECT_EQ(point_Rs, 0.00001);
  EXPECT_EQ(point_Xs, 0.0001);
  EXPECT_NEAR(Zphase, std::atan(10.0), 1e-12);
  EXPECT_NEAR(Zmag, 0.0001005, 1e-8);
  // The standard resistor: Rstd.
  Correct(RawOf(50));
  EXPECT_EQ(point_Rs, 50);
  EXPECT_EQ(point_Xs, 0.0001);
  // The open itself: the divisor is 0; a finite impedance beyond measure.
  Correct(RawOf(INFINITY));
  EXPECT_EQ(point_Rs, kOpenOhms);
  EXPECT_EQ(point_Xs, 0.0001);
  for (double v : {Zmag, Zphase, Rp, Xp, Cs, Cp}) EXPECT_TRUE(std::isfinite(v));
  // A reading that is not a number (a damaged reply) does not get through.
  Correct(cplx(NAN, 3));
  EXPECT_EQ(point_Rs, kOpenOhms);
  for (double v : {point_Xs, Zmag, Zphase, Rp, Xp, Cs, Cp}) EXPECT_TRUE(std::isfinite(v));
  // A negative resistance (a bad calibration) shows as 0.00001 ohms.
  Correct(RawOf(cplx(-20, 30)));
  EXPECT_EQ(point_Rs, 0.00001);
  EXPECT_NEAR(point_Xs, 30, 1e-9);
}

TEST_F(CorrectATest, NothingWhileCalibratingOrWithoutCalibration) {
  point_Rs = 1.5;
  point_Xs = 2.5;
  Zmag = 3.5;
  CalinProgress = 1;
  SetDigits(6);
  Correct(RawOf(75));
  EXPECT_EQ(point_Rs, 1.5);
  EXPECT_EQ(number_decimals, 3);
  CalinProgress = 0;

  testhook::ClearLogs();
  freq = 0.5;  // below the first record
  Correct(RawOf(75));
  EXPECT_EQ(point_Rs, 1.5);
  EXPECT_EQ(point_Xs, 2.5);
  EXPECT_EQ(Zmag, 3.5);
  EXPECT_EQ(number_decimals, 3);
  ASSERT_EQ(testhook::Prints().size(), 1u);
  EXPECT_EQ(testhook::Prints()[0].text,
            "PortA: Could not find cal data in the array.  CalinProgress= 0 Freq=  0.5000  "
            "MaxCalANdx=  1 ndx=  0");
  EXPECT_EQ(testhook::Prints()[0].x, 250);
  EXPECT_EQ(testhook::Prints()[0].y, 500);

  ClearCalibration();
  freq = 14;
  Correct(RawOf(75));
  EXPECT_EQ(point_Rs, 1.5);
}

TEST_F(CorrectATest, LineExtensionOfNoLengthChangesNothing) {
  ExtensionFlag = 1;
  Zextension = 75;
  ext_phase_per_MHz = 0;
  const cplx got = Correct(RawOf(cplx(30, -12)));
  EXPECT_LT(std::abs(got - cplx(30, -12)), 1e-9);
}

TEST_F(CorrectATest, DebugBoxBetweenMyVar3AndMyVar4) {
  MyVar3 = 13;
  MyVar4 = 15;
  testhook::QueueMsgBoxAnswer(kIdOk, " Port A  378422");
  Correct(RawOf(50));
  testhook::QueueMsgBoxAnswer(kIdCancel, " Port A  378422");
  Correct(RawOf(75));
  EXPECT_EQ(MyVar4, 0);  // Cancel ends the boxes
  Correct(RawOf(75));
  const auto& boxes = testhook::MsgBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, "hidden_win");
  EXPECT_EQ(boxes[0].buttons, kMbOkCancel);
  EXPECT_EQ(boxes[0].text.rfind("    Set MyVar3=Start Freq and MyVar4=End freq for debug\r\n"
                                " Freq= 14  scanning= 0\r\n",
                                0),
            0u);
  EXPECT_NE(boxes[0].text.find(
                " Rsc= 50 Xsc= 0.0001 : Corrected data\r\n Zmag= 50.0000 Phase= 0.0001deg"),
            std::string::npos)
      << boxes[0].text;
  EXPECT_EQ(number_decimals, 3);
}

}  // namespace
}  // namespace vna::test
