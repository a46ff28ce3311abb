#include "platform/testhook.h"

#include <deque>
#include <map>

namespace vna::testhook {

namespace {

bool g_enabled = false;
std::deque<Answer> g_answers;
std::deque<std::string> g_files;
std::deque<int> g_colors;
std::vector<MsgBoxRecord> g_boxes;
std::vector<DialogRecord> g_dialogs;
std::vector<PrintRecord> g_prints;
std::vector<FileDialogRecord> g_file_dialogs;
std::vector<std::string> g_documents;
std::vector<std::string> g_sounds;
std::vector<std::string> g_printed_windows;
std::vector<std::string> g_problems;
std::function<void()> g_pump_hook;
std::map<std::string, int> g_standing;

}  // namespace

void Enable(bool on) {
  g_enabled = on;
}
bool Enabled() {
  return g_enabled;
}

void QueueAnswer(const Answer& a) {
  g_answers.push_back(a);
}

void QueueMsgBoxAnswer(int button, const std::string& caption) {
  Answer a;
  a.press = button;
  a.caption = caption;
  g_answers.push_back(a);
}

void QueueFileAnswer(const std::string& path) {
  g_files.push_back(path);
}
void QueueColorAnswer(int color) {
  g_colors.push_back(color);
}
void AnswerAlways(const std::string& caption, int button) {
  g_standing[caption] = button;
}
bool StandingAnswer(const std::string& caption, int& button) {
  const auto it = g_standing.find(caption);
  if (it == g_standing.end()) return false;
  button = it->second;
  return true;
}
size_t PendingAnswers() {
  return g_answers.size() + g_files.size() + g_colors.size();
}

void SetPumpHook(std::function<void()> hook) {
  g_pump_hook = std::move(hook);
}
void RunPumpHook() {
  if (!g_pump_hook) return;
  const std::function<void()> hook = g_pump_hook;  // it may clear itself
  hook();
}

const std::vector<MsgBoxRecord>& MsgBoxes() {
  return g_boxes;
}
const std::vector<DialogRecord>& Dialogs() {
  return g_dialogs;
}
const std::vector<PrintRecord>& Prints() {
  return g_prints;
}
const std::vector<FileDialogRecord>& FileDialogs() {
  return g_file_dialogs;
}
const std::vector<std::string>& OpenedDocuments() {
  return g_documents;
}
const std::vector<std::string>& SoundsPlayed() {
  return g_sounds;
}
const std::vector<std::string>& PrintedWindows() {
  return g_printed_windows;
}
const std::vector<std::string>& Problems() {
  return g_problems;
}

std::string PrintedText(const std::string& window) {
  std::string out;
  for (const PrintRecord& p : g_prints) {
    if (p.window != window) continue;
    out += p.text;
    out += '\n';
  }
  return out;
}

void ClearLogs() {
  g_boxes.clear();
  g_dialogs.clear();
  g_prints.clear();
  g_file_dialogs.clear();
  g_documents.clear();
  g_sounds.clear();
  g_printed_windows.clear();
  g_problems.clear();
}

void Reset() {
  ClearLogs();
  g_answers.clear();
  g_files.clear();
  g_colors.clear();
  g_standing.clear();
  g_pump_hook = nullptr;
}

void LogMsgBox(const MsgBoxRecord& r) {
  if (g_enabled) g_boxes.push_back(r);
}
void LogDialog(const DialogRecord& r) {
  if (g_enabled) g_dialogs.push_back(r);
}
void LogPrint(const PrintRecord& r) {
  if (g_enabled) g_prints.push_back(r);
}
void LogFileDialog(const FileDialogRecord& r) {
  if (g_enabled) g_file_dialogs.push_back(r);
}
void LogDocument(const std::string& path_or_url) {
  if (g_enabled) g_documents.push_back(path_or_url);
}
void LogSound(const std::string& path) {
  if (g_enabled) g_sounds.push_back(path);
}
void LogPrintedWindow(const std::string& window) {
  if (g_enabled) g_printed_windows.push_back(window);
}
void AddProblem(const std::string& p) {
  g_problems.push_back(p);
}

bool TakeAnswer(Answer& out) {
  if (g_answers.empty()) return false;
  out = g_answers.front();
  g_answers.pop_front();
  return true;
}

bool TakeFileAnswer(std::string& out) {
  if (g_files.empty()) return false;
  out = g_files.front();
  g_files.pop_front();
  return true;
}

bool TakeColorAnswer(int& out) {
  if (g_colors.empty()) return false;
  out = g_colors.front();
  g_colors.pop_front();
  return true;
}

}  // namespace vna::testhook
