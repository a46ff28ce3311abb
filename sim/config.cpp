#include "config.h"

#include <cmath>

#include "device.h"
#include "value_parse.h"

namespace vna::sim {

namespace {

bool Number(const std::string& name, const std::string& text, double& out, std::string& error) {
  if (!ParseSi(text, out)) {
    error = name + ": not a number: \"" + text + "\"";
    return false;
  }
  return true;
}

bool Integer(const std::string& name, const std::string& text, long& out, std::string& error) {
  if (!ParseInt(text, out)) {
    error = name + ": not a whole number: \"" + text + "\"";
    return false;
  }
  return true;
}

// Six hexadecimal digits, as the version text carries an offset.
bool Hex6(const std::string& name, const std::string& text, uint32_t& out, std::string& error) {
  uint32_t v = 0;
  bool ok = text.size() == 6;
  for (char c : text) {
    const int d = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                         : -1;
    ok = ok && d >= 0;
    v = v * 16 + static_cast<uint32_t>(d < 0 ? 0 : d);
  }
  if (!ok) {
    error = name + ": six hexadecimal digits, as \"03e153\"";
    return false;
  }
  out = v;
  return true;
}

}  // namespace

bool ParseArgs(int argc, char** argv, SimConfig& c, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    std::string value;
    bool has_value = false;
    const size_t eq = name.find('=');
    if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      has_value = true;
    }
    // Options without a value.
    if (name == "--help" || name == "-h") {
      c.help = true;
      continue;
    }
    if (name == "--no-temp") {
      c.has_temp = false;
      continue;
    }
    if (name == "--ignore-baud") {
      c.baud_check = false;
      continue;
    }
    if (name == "--quiet") {
      c.quiet = true;
      continue;
    }
    if (name == "--pace") {
      c.pace = true;
      continue;
    }
    if (name == "--settle") {
      c.settle = true;
      continue;
    }
    static const char* const kWithValue[] = {
        "--model",    "--link",      "--dut",          "--dut-b",         "--chan",
        "--bridge",   "--noise",     "--seed",         "--fault",         "--control",
        "--log",      "--temp",      "--supply",       "--extport-volts", "--extport-digital",
        "--max-baud", "--clock-ppm", "--autopoweroff", "--send",          "--dfr1",
        "--dfr2",     "--tune-error"};
    bool known = false;
    for (const char* k : kWithValue) known = known || name == k;
    if (!known) {
      error = "unknown option " + name + " (see --help)";
      return false;
    }
    if (!has_value) {
      if (i + 1 >= argc) {
        error = name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    long n;
    if (name == "--model") {
      if (value == "uhf")
        c.model = Model::kUhf;
      else if (value == "7306")
        c.model = Model::k7306;
      else
        return error = "--model: uhf or 7306", false;
    } else if (name == "--link") {
      c.link = value;
    } else if (name == "--dut") {
      c.dut_a = value;
    } else if (name == "--dut-b") {
      c.dut_b = value;
    } else if (name == "--chan") {
      const size_t at = value.find('=');
      if (at == std::string::npos || !ParseInt(value.substr(0, at), n) || n < 1 || n > 6) {
        error = "--chan: expected N=DEVICE with N from 1 to 6";
        return false;
      }
      c.chans.emplace_back(static_cast<int>(n), value.substr(at + 1));
    } else if (name == "--bridge") {
      if (!ParseBridge(value, c.bridge)) return error = "--bridge: ideal, real or varying", false;
    } else if (name == "--noise") {
      if (!Number(name, value, c.noise, error)) return false;
      if (c.noise < 0) return error = "--noise: not below 0", false;
    } else if (name == "--seed") {
      if (!Integer(name, value, n, error)) return false;
      c.seed = static_cast<uint64_t>(n);
    } else if (name == "--fault") {
      c.faults.push_back(value);
    } else if (name == "--control") {
      c.control = value;
    } else if (name == "--log") {
      c.log = value;
    } else if (name == "--temp") {
      if (!Number(name, value, c.temp_c, error)) return false;
    } else if (name == "--supply") {
      if (!Number(name, value, c.supply_v, error)) return false;
    } else if (name == "--extport-volts") {
      if (!Number(name, value, c.extport_volts, error)) return false;
    } else if (name == "--extport-digital") {
      if (!Integer(name, value, n, error)) return false;
      if (n < 0 || n > 65535) return error = "--extport-digital: 0 to 65535", false;
      c.extport_digital = static_cast<int>(n);
    } else if (name == "--max-baud") {
      if (!Integer(name, value, n, error)) return false;
      if (n != 57600 && n != 115000) return error = "--max-baud: 57600 or 115000", false;
      c.max_baud = static_cast<int>(n);
    } else if (name == "--clock-ppm") {
      if (!Number(name, value, c.clock_ppm, error)) return false;
    } else if (name == "--dfr1") {
      if (!Hex6(name, value, c.dfr1, error)) return false;
    } else if (name == "--dfr2") {
      if (!Hex6(name, value, c.dfr2, error)) return false;
    } else if (name == "--tune-error") {
      if (!Number(name, value, c.tune_error, error)) return false;
    } else if (name == "--autopoweroff") {
      if (!Number(name, value, c.autopoweroff_s, error)) return false;
      if (c.autopoweroff_s <= 0) return error = "--autopoweroff: above 0 seconds", false;
    } else if (name == "--send") {
      c.send = value;
    }
  }
  return true;
}

std::string HelpText() {
  std::string text = R"(Usage: vna-sim [options]

A simulated vector network analyzer on a pseudo-terminal. It speaks the
instrument's side of the serial protocol: version text, relays, DDS power and
amplitude, gains and sensitivities, averaging, oscillator, multiplexer port,
housekeeping, the 72-byte measurement reply with its checksum and resend, the
frequency-only commands and the band-scan stream. Its samples come from the
device under test at the programmed frequency, seen through the bridge.

Link and model:
  --link PATH            make PATH a symlink to the pseudo-terminal (start the
                         program with VNA_COM<n>=PATH); without it the device
                         name is printed
  --model uhf|7306       two-multiplier model (1200 MHz, default) or the
                         single-DDS model 7306 (180 MHz)
  --no-temp              the version text claims no temperature sensor, and
                         "ZT"/"ZU" get no reply
  --max-baud 57600|115000  highest line speed "C" 5 may select (default 115000)
  --ignore-baud          take bytes whatever line speed the program set; by
                         default bytes that find the line at a speed other
                         than the instrument's (when the simulator reads
                         them) are garbled and dropped
  --clock-ppm PPM        error of the DDS clock (default 0)
  --dfr1 HEX, --dfr2 HEX offsets of the second DDS of oscillators 1 and 2, six
                         hexadecimal digits in 1e-8 MHz, as the version text
                         gives them (default 03e153, 03f28f); the "E" words
                         must differ by the offset of oscillator 1 to the
                         words' resolution, else a protocol error, and the
                         sampled sines run off their period
  --tune-error MHZ       the DDS runs MHZ away from the commanded frequency;
                         the reply's read-back word tells the word really set
                         (default 0)
  --pace                 bytes cross the line at its speed, 10 bit times each
                         way; without it replies leave in one burst
  --settle               a measurement reply leaves only after the settling
                         time its command asks for (ms), as the instrument lets
                         its synthesizer settle before it samples; without it
                         the reply leaves at once

Devices under test:
  --dut DEVICE           Port A device (default load)
  --dut-b DEVICE         Port B path (default thru)
  --chan N=DEVICE        Port B path while the multiplexer selects channel N
                         (1..6); channels without one use --dut-b

Signal path:
  --bridge ideal|real|varying
                         real (default): fixed directivity, source match and
                         tracking errors between device and reading (a bilinear
                         map that a short/open/load calibration removes), and a
                         through-path tracking error on Port B; varying: the
                         same errors drifting smoothly with frequency, a lossy
                         through path of about 3 ns, Port B gain steps 4 and 5
                         off their nominal gains and phases, and the single-DDS
                         model's +12 dB sensitivity turning with frequency;
                         ideal: the raw reading is the device itself
  --noise SIGMA          Gaussian noise on every ADC reading, in counts of the
                         12-bit converter (default 0)
  --seed N               seed of the noise (default 1)

Housekeeping values:
  --temp C               sensor temperature, degrees Celsius (default 25)
  --supply V             supply voltage the "B" reply reports (default 13.8)
  --extport-volts V      analog input read by "L" (default 1.65)
  --extport-digital N    digital value read by "L" without the analog bit (default 0)
  --autopoweroff S       idle seconds before the auto power-down ("D1") switches
                         the instrument off (default 600)

Faults (also from the control channel):
  --fault KIND[:COUNT[:BYTES]]
      silence    withhold every reply (COUNT replies; default until cleared)
      checksum   damage the checksum of the next COUNT measurement replies,
                 resends included (default 1)
      overload   load samples beyond both ends of the range (default until cleared)
      clip       load samples beyond the top of the range only, the trough of
                 the sine well inside it (default until cleared)
      noref      reference channel dead: no signal, no bias (default until cleared)
      nosignal   every ADC word 0 (default until cleared)
      gainstuck  the Port A gain step stays at 1x whatever the gain command
                 asks (default until cleared)
      short      cut the next COUNT measurement replies to BYTES (default 1, 40)
      hangup     close the link instead of the next reply, and end (default 1)
  From the control channel, "after N" behind a fault holds it back until N
  more readings (measurement replies, band-scan levels) were taken: it
  starts at the reading after them.

Control and logging:
  --control PATH         control channel: a Unix socket created at PATH (one
                         command per line, answered "ok ..." or "error: ..."),
                         or, when PATH is an existing FIFO, lines read from it
  --log FILE             byte log: every byte received, one framed command per
                         line in hexadecimal ("4B 2B"); notes start with "# "
  --send LINE            do not simulate: send LINE to the running simulator
                         at --control and print its answer
  --quiet                no start-up line on stderr
  --help                 this text

Control commands:
  dut DEVICE | dut-b DEVICE | chan N DEVICE | chan N none
  fault KIND [COUNT [BYTES]] [after N] | fault none
  temp C | supply V | extport VOLTS | bridge ideal|real|varying | noise SIGMA [SEED]
  tune-error MHZ
  power on|off | mark TEXT (a note in the log) | status | quit

)";
  text += DeviceHelp();
  text += R"(
Replies: "V" the version text ending in "@"; "L", "B", "ZT"/"ZU" two bytes,
high first; "U"/"T" and "E" modes 1 and 5 the 72-byte reply; "E" modes 2 and 6
the byte 06; "R" the last 72-byte reply again; "N" a level of two bytes per
frequency step, the next one after each byte 1, then 30117 (byte 2 stops it).
Everything else is answered with silence, as the instrument does.
)";
  return text;
}

}  // namespace vna::sim
