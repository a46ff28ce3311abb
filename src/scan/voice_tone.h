// Point data mode heard rather than seen: the SWR spoken digit by digit from
// wave files, and a MIDI note whose pitch follows the SWR, the phase or |Z|.
#pragma once

namespace vna {

// Speaks swr with voice_digits decimals (voice_folder + "one.wav" ...,
// "point.wav"), every digit before the point; an unchanged value only again
// after voice_repeat readings (never when 0). Nothing while voice is 0; a
// missing file is a silent digit.
void SpeakValue();

// Chooses tone_note (320..370) from the value of the tone mode that is on
// (tone_swr, tone_phase or tone_zmag) and sounds it when the value moved by
// more than 2 % of the range (twice that while the notes warble between two
// values) or after the Tone button; then waits 100 ms. Nothing while every
// mode is off. Its trace lines go to the main window in diagnostic mode only.
void PlayTone();

}  // namespace vna
