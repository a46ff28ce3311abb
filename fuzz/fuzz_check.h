// What the harnesses check beyond "did not crash": a reader refuses a file
// whole or takes it whole. A refused file leaves the state the reader guards
// exactly as it was, byte for byte; an accepted one leaves what the file
// says, read back from its text here by rules of the harness's own (the
// line cut and the number grammar of the data files), not by the reader's.
// A failed check prints what differs and aborts: libFuzzer keeps the input
// as a crash, the replay driver fails its test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vna::fuzz {

[[noreturn]] void Fail(const std::string& what);
inline void Expect(bool ok, const std::string& what) {
  if (!ok) Fail(what);
}

// ---- What the reader decided ----
// Each harness says whether the reader took its input (status 0) or refused
// it (the reader's status); the replay driver compares that with what the
// seed's name announces.
void Decided(int status);
// The last decision; -1 when the harness made none for this input.
int Decision();
void ClearDecision();

// ---- The state a reader guards ----
// Named byte ranges and texts, copied by Take and compared by Unchanged.
class Guard {
 public:
  template <class T>
  Guard& Add(const std::string& name, T& v) {
    const void* p = &v;
    items_.push_back(
        {name, p, [p] { return std::string(static_cast<const char*>(p), sizeof(T)); }});
    return *this;
  }
  Guard& Add(const std::string& name, std::string& s) {
    const std::string* p = &s;
    items_.push_back({name, p, [p] { return *p; }});
    return *this;
  }
  // Texts by their contents, not by the bytes of the objects that hold them.
  template <size_t N>
  Guard& Add(const std::string& name, std::string (&a)[N]) {
    const std::string* p = a;
    items_.push_back({name, p, [p] {
                        std::string all;
                        for (size_t i = 0; i < N; ++i)
                          all += std::to_string(p[i].size()) + ":" + p[i];
                        return all;
                      }});
    return *this;
  }
  // Every item of another guard.
  Guard& Add(const Guard& other);
  // Leaves out the item at this address (what the reader may change on
  // purpose, whatever it decides).
  Guard& Drop(const void* at);
  void Take();
  // Fails naming every item that differs from what Take copied.
  void ExpectUnchanged(const std::string& when) const;

 private:
  struct Item {
    std::string name;
    const void* at;
    std::function<std::string()> bytes;
  };
  std::vector<Item> items_;
  std::vector<std::string> kept_;
};

// What the scan files, the TDR file and a replay may change: both ports'
// stored scans with their counts and flags (StoredScanData), and the limits,
// graph settings and trailer values a scan file carries.
Guard& StoredScanData();
Guard& StoredScans();

// Runs a reader: its decision is what `refusal` says after it (0 taken,
// else the refusal's status), by default the status it set in vna_status
// (unset before it). A refusal must leave `guarded` as it was. True when
// the file was taken.
bool WholeOrNothing(Guard& guarded, const std::string& file, const std::function<void()>& read,
                    const std::function<int()>& refusal = nullptr);

// For readers whose refusal is a message box: the status paired with the
// caption of the first box shown with one of these captions; 0 when none was.
int BoxStatus(const std::vector<std::pair<std::string, int>>& captions);

// Every setting of the init and state files (the lines of their table) and
// the marker table they carry.
Guard& Settings();
// The init and state reader refuses a file whole with a box " Invalid *.ini
// file" (1); any other outcome takes what the file holds (a short file
// keeps the present values of what it lacks).
int SettingsRefusal();
// After a settings file was taken: every text setting, up to the marker
// count, holds the text of its line (after its key word). A last line
// without a line end is one the file was cut in: the reader leaves it out.
// Texts in `not_kept` are passed over (what a later step may set again).
void ExpectSettingsTaken(const uint8_t* data, size_t size,
                         const std::vector<const std::string*>& not_kept = {});

// After a scan file was taken: its count (line 3) is the stored scan's
// (`stored`) and the list's, and the replay drew every point. The count.
int ExpectScanCount(const std::vector<std::string>& lines, int stored, const std::string& port);

// ---- The input as text ----
// Its lines as the data files' line reader cuts them: CR LF, LF and CR end a
// line, at most the line buffer's 254 characters (kLineBufChars) of a line
// are kept.
std::vector<std::string> Lines(const uint8_t* data, size_t size);
// The number a line starts with after blanks and tabs: an optional "-",
// digits with an optional "." and digits (one digit at least), an optional
// exponent; none otherwise.
std::optional<double> Number(const std::string& line);
// Line k (from 1) as a number, 0 when it holds none or the file has no
// such line.
double NumberOn(const std::vector<std::string>& lines, size_t k);
// Equal to the rounding of a decimal text.
bool Same(double a, double b);

}  // namespace vna::fuzz
