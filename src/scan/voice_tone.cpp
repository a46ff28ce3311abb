#include "scan/voice_tone.h"

#include <cmath>
#include <string>

#include "files/settings.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/sound.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/tones.h"
#include "shell/windows.h"

namespace vna {

namespace {

const char* const kDigitFiles[] = {"zero.wav", "one.wav", "two.wav",   "three.wav", "four.wav",
                                   "five.wav", "six.wav", "seven.wav", "eight.wav", "nine.wav"};

void Say(const std::string& file) {
  PlayWavSync(voice_folder + file);
}

void SayDigit(char c) {
  if (c >= '0' && c <= '9') Say(kDigitFiles[c - '0']);
}

}  // namespace

void SpeakValue() {
  const int scale = voice_digits == 2 ? 100 : 10;
  if (voice == 0) return;
  const int n = static_cast<int>(std::floor(swr * scale + 0.501));
  --voice_countdown;
  if (n == voice_last_value && voice_countdown != 0) return;
  voice_countdown = voice_repeat;
  voice_last_value = n;
  // The added 0.0001 gives a whole value its decimal point.
  const std::string text = NumStr(static_cast<double>(n) / scale + 0.0001);
  const size_t p = text.find('.');
  if (p == std::string::npos) return;
  for (size_t i = 0; i < p; ++i) SayDigit(text[i]);
  Say("point.wav");
  if (p + 1 < text.size()) SayDigit(text[p + 1]);
  if (voice_digits == 2 && p + 2 < text.size()) SayDigit(text[p + 2]);
}

void PlayTone() {
  double v = 0;
  if (tone_phase != 0) {
    v = std::fabs(Zphase * 57.3);
  } else if (tone_swr != 0) {
    v = std::log(swr);
  } else if (tone_zmag != 0) {
    v = Zmag;
  }
  double top = tone_zmag + tone_phase + tone_swr;
  if (top <= 0.01) return;
  if (tone_swr != 0) top = std::log(static_cast<double>(tone_swr));
  if (!(top > 0)) return;  // an SWR top of 1 leaves no range to map
  double k = 40 / top;
  double tol = 0.02 * top;
  int base = 320;
  if (v > top) {
    k *= 0.25;
    base = 360;
    v -= top;
  }
  tone_note = Rnd(k * v + base);
  if (tone_note > 370) tone_note = 370;
  // A reading on the edge between two notes would warble.
  if (tone_history[0] == tone_history[2] && tone_history[1] == tone_history[3]) tol *= 2;
  if (DIAGMODE != 0) {
    MoveTo(main_win, 100, 640);
    PrintItems(main_win, {"  Phasetone=", tone_phase, " phase=", v, " deg   Tonemax=", top,
                          " lastswr=", tone_last_value, "  tol=", tol});
    MoveTo(main_win, 100, 660);
    PrintItems(main_win,
               {"** note=", tone_note, "  note1=", tone_history[3], "  note2=", tone_history[2],
                "  note3=", tone_history[1], "  note4=", tone_history[0], " *** //7532"});
  }
  if (std::fabs(v - tone_last_value) > tol || tone_restart != 0) {
    NoteOff();
    PlayNote();
    tone_last_note = tone_note;
    for (int i = 3; i > 0; --i) tone_history[i] = tone_history[i - 1];
    tone_history[0] = tone_note;
    tone_restart = 0;
    tone_last_value = v;
  }
  DelayMs(100);
}

}  // namespace vna
