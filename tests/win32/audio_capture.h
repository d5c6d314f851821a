// Sound under Wine without a sound card: this process's default ALSA device
// is routed into a capture file, and the songs that were played are read back
// from it. Songs made by WriteSong begin with a short high mark and then hold
// one tone, so each song played counts once, by its tone, even when the same
// song plays twice in a row.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::testing {

// Mono, 16-bit, 22050 Hz: the mark, the tone for the given seconds, a little
// silence.
bool WriteSong(const std::string& path, int toneHz, double seconds);

// Writes the ALSA configuration into the folder that XDG_CONFIG_HOME names
// and makes Wine use ALSA. It must run before this process plays anything,
// since both are read once, at the first sound. False, with the reason, when
// that cannot be done.
bool RouteSoundToCapture(std::string& problem);
// Removes the configuration and the capture file.
void RemoveCapture();

std::size_t CaptureSize();
// The tone of each song played since the capture had the given size, the
// nearest of tones (0 while a song has only begun).
std::vector<int> SongsCapturedSince(std::size_t offset, const std::vector<int>& tones);

}  // namespace velmora::testing
