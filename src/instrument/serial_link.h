// The serial link to the instrument: opening the port with its fixed line
// settings, bringing the link up at the right speed, writing commands, and the
// one-byte read loops every reader uses.
#pragma once

#include <string>

namespace vna {

constexpr int kBaudLow = 57600;
constexpr int kBaudHigh = 115000;  // exactly, not 115200: the instrument's own rate

// (Re)opens COM port `commport` at `baudrate`. Does nothing in demonstration mode.
void OpenCommPort();
// Opens the link at 57600 and queries the instrument; with `highbaud` set it
// also asks the instrument to go to 115000 and tries there, falling back to
// 57600 when only that speed answered. The outcome is in comm_ok, vna_status
// and vna_present.
void CheckComm();
// The device name shown in the port messages, "\\.\COM" + n.
std::string CommPortName(int port);

// Writes the first n bytes of text (zero bytes included) to the port; in
// diagnostic mode with serial tracing on it also echoes them on the main graph.
// It does not test vna_present: each sender decides.
void SendData(const std::string& text, int n);
// Writes bytes straight to the port, without the diagnostic echo.
void WriteDirect(const std::string& bytes);

// One read of one byte into rx_byte: 1 with a byte, 0 for an empty read (about
// 1 ms). An empty read sets port_status to 0, as every reader expects.
// `expected`: the bytes the reader still waits for, this one included; the
// port then takes a reply in a few wake-ups instead of one per byte.
// `patience`: the empty reads the reader would still make, this one included,
// which the port may spend in one wait; 1 for the reader's last read, which
// looks at the port whatever earlier waits still owe; 0 when the reader does
// not say (see SerialReadByte).
int ReadOneByte(int expected = 1, int patience = 0);
// The read loop of the short replies: stores up to `expected` bytes in rx_buf
// from index 0 and gives up when the empty reads exceed `empty_limit` (5000
// gives up at the 5001st), waking about once per burst of bytes rather than
// once per empty read. Returns the number of bytes stored. The caller sets
// port_status to -1 before its command, as the convention asks.
int ReadReplyBytes(int expected, int empty_limit);

// Upper-case hexadecimal text of v padded on the left with "0" to `width`
// digits, as every command carries its numbers.
std::string HexDigits(long long v, int width);

}  // namespace vna
