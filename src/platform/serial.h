// Serial ports: POSIX termios behind the few calls the instrument link makes.
//
// Which device is COM port n:
// 1. When the environment holds VNA_COM<n> (VNA_COM8=/dev/ttyUSB0, or the
//    pseudo-terminal of the instrument simulator), that device.
// 2. Otherwise the USB serial adapters: /dev/ttyUSB* in numeric order, then
//    /dev/ttyACM* in numeric order. Port n is the n-th of them (port 1 the
//    first); when fewer than n are plugged in, port n is the first one, so a
//    single adapter answers whatever port number the settings hold (the
//    default is 8).
// 3. With neither, port n has no device and opening it fails.
//
// A port is opened exclusively: a second open of the same device fails while
// it is open (advisory lock, which also holds for root, plus TIOCEXCL).
//
// Reads take one byte: a waiting byte is returned at once, otherwise the call
// waits about 1 ms and comes back empty. Every reader counts these empty
// reads to time its waits, so each empty read stands for about a millisecond
// of waiting, never more. Underneath, bytes are taken from the device in
// batches into a buffer of the port, timed by the line's speed, and a reader
// that says how long it would wait gets that wait in one piece, so that a
// reply costs about one wake-up of the program rather than one per byte or
// per millisecond: a wake-up costs far more processor time than the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vna {

constexpr int kInvalidPort = -1;

// The device of COM port n by the rule above; "" when there is none.
// dev_dir is where adapters are looked for (tests pass their own folder).
std::string ComPortDevice(int port, const std::string& dev_dir = "/dev");
// The USB serial adapters under dev_dir in the order of the rule.
std::vector<std::string> SerialAdapters(const std::string& dev_dir = "/dev");

// Opens a terminal device for reading and writing, exclusively. Returns a
// handle (a positive number never given out before), or kInvalidPort.
int SerialOpen(const std::string& device);
int SerialOpenPort(int port);  // SerialOpen(ComPortDevice(port))
// True when the last SerialOpen failed because another program (another copy
// of this one, say) holds the device open; false after a success and after
// any other failure.
bool SerialLastOpenBusy();

enum class SerialSetup {
  kOk,
  kUnreadable,         // the current settings could not be read: nothing changed
  kSecondApplyFailed,  // the settings were applied, applying them again failed
};
// Raw 8 data bits, no parity, one stop bit, no flow control, reads that never
// block, at `baud`. Rates without a standard constant (the instrument's
// exactly 115000) are set as custom rates. The settings are applied twice;
// the second result is the one reported.
SerialSetup SerialSetLine(int handle, int baud);
// The rate in effect, 0 when it cannot be read.
int SerialBaud(int handle);
// Raises RTS. True when raised, and when the device has no modem lines (a
// pseudo-terminal refuses with ENOTTY).
bool SerialRaiseRts(int handle);

// Writes n bytes, zero bytes included. Returns the number written, or -1 on a
// closed or invalid handle (nothing is written anywhere). Waits at most about
// a second for room in the output buffer.
int SerialWrite(int handle, const char* data, int n);
// The first n bytes of text (at most its length).
int SerialWrite(int handle, const std::string& text, int n);

// One byte: 1 with the byte, 0 for an empty read (about 1 ms), -1 at once on a
// closed or invalid handle. `expected`: how many bytes the caller still waits
// for, this one included. Once the first of them has come, the call sleeps
// until the rest should have crossed the line and takes them all at once. On
// a line whose replies arrive at its speed (a real one), the first read after
// a command sleeps until the command and the whole reply can have crossed it,
// unless the far end was last seen to answer later than that.
// `patience`: how many empty reads the caller would still make before it
// gives up, this one included; the call may spend them in one wait for the
// first byte instead of waking every millisecond. Whatever a call waited is
// returned as the number of empty reads it lasted, one per call, the later
// ones without waiting again, before any byte that ended the wait (also a
// 1 ms wait that a busy machine made longer). Patience 1 says this is the
// caller's last read before it gives up: it looks at the device whatever
// earlier waits still owe, and those owed reads go, since the caller counts
// no further. 0: the caller does not say; it waits one read time-out.
int SerialReadByte(int handle, uint8_t& byte, int expected = 1, int patience = 0);

// Test seam: runs right after every wait of a read on the device (its
// poll), before the wait's length is taken; a test makes a wait last longer,
// as on a busy machine, without relying on load. nullptr removes it.
void SetSerialWaitHook(void (*hook)());

// Up to max bytes the port has already taken in, handed out as that many
// SerialReadByte calls would hand them, without waiting or reading the
// device: 0 while none are held or a wait's empty reads are still owed
// (SerialReadByte counts those first), -1 on a closed, invalid or lost handle.
int SerialTakeHeld(int handle, uint8_t* bytes, int max);

// Closing an invalid or already closed handle does nothing.
void SerialClose(int handle);
bool SerialIsOpen(int handle);

// A device that goes away while open (an adapter unplugged, the far end of a
// pseudo-terminal closed) fails a read or write for good, which a time-out
// never does. The port then counts as lost: every later read and write fails
// at once, as on a closed handle, and the handler hears of it once, with the
// handle, from inside the read or write that found it. The handle stays
// valid until it is closed.
using SerialLostHandler = void (*)(int handle);
void SetSerialLostHandler(SerialLostHandler handler);
bool SerialLost(int handle);

}  // namespace vna
