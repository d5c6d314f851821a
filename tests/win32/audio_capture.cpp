#include "tests/win32/audio_capture.h"

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numbers>

#include "base/win32/library_entry.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {

namespace {

constexpr int kRate = 22050;
constexpr int kMarkHz = 4000;
constexpr double kMarkSeconds = 0.06;
constexpr double kTailSeconds = 0.04;
// 20 ms of samples; a tone of f Hz crosses zero about f / 25 times in it.
constexpr std::size_t kChunk = kRate / 50;
constexpr int kSilentPeak = 500;
// Tone chunks that must lie between two marks for the second to begin a new
// song (mixed chunks at a mark's edges are not enough).
constexpr int kToneChunksBetweenSongs = 5;

std::string g_folder;  // Windows path of the XDG_CONFIG_HOME folder, with "\"
std::string g_unixFolder;

void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void AddTone(std::vector<std::int16_t>& samples, int hz, double seconds) {
    const int count = static_cast<int>(seconds * kRate);
    for (int i = 0; i < count; ++i) {
        const double value =
            hz == 0 ? 0.0 : 12000.0 * std::sin(2 * std::numbers::pi * hz * i / kRate);
        samples.push_back(static_cast<std::int16_t>(value));
    }
}

bool WriteText(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

// The nearest of the tones and the mark, by zero crossings.
int ChunkTone(const std::int16_t* samples, const std::vector<int>& tones) {
    int peak = 0;
    int crossings = 0;
    for (std::size_t i = 0; i < kChunk; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        if (i > 0 && (samples[i - 1] < 0) != (samples[i] < 0)) {
            ++crossings;
        }
    }
    if (peak < kSilentPeak) {
        return 0;
    }
    int nearest = kMarkHz;
    for (const int tone : tones) {
        if (std::abs(crossings * 25 - tone) < std::abs(crossings * 25 - nearest)) {
            nearest = tone;
        }
    }
    return nearest;
}

int Majority(const std::map<int, int>& votes) {
    int best = 0;
    int bestVotes = 0;
    for (const auto& [tone, count] : votes) {
        if (count > bestVotes) {
            best = tone;
            bestVotes = count;
        }
    }
    return best;
}

}  // namespace

bool WriteSong(const std::string& path, int toneHz, double seconds) {
    std::vector<std::int16_t> samples;
    AddTone(samples, kMarkHz, kMarkSeconds);
    AddTone(samples, toneHz, seconds);
    AddTone(samples, 0, kTailSeconds);
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F'};
    PutLittleEndian(bytes, 36 + dataSize, 4);
    for (const char c : std::string("WAVEfmt ")) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    // Chunk size, PCM, one channel, rate, bytes a second, block, bits.
    for (const auto& [value, size] :
         {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {22050u, 4}, {44100u, 4}, {2u, 2}, {16u, 2}}) {
        PutLittleEndian(bytes, value, size);
    }
    for (const char c : std::string("data")) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    PutLittleEndian(bytes, dataSize, 4);
    for (const std::int16_t sample : samples) {
        PutLittleEndian(bytes, static_cast<std::uint16_t>(sample), 2);
    }
    return WriteText(path, std::string(bytes.begin(), bytes.end()));
}

bool RouteSoundToCapture(std::string& problem) {
    using DosName = WCHAR*(CDECL*)(const char*);
    const auto dosName =
        FindLibraryEntry<DosName>(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name");
    const char* folder = std::getenv("XDG_CONFIG_HOME");
    if (dosName == nullptr || folder == nullptr || *folder != '/') {
        problem = "needs Wine and XDG_CONFIG_HOME set to a folder by the test command";
        return false;
    }
    g_unixFolder = folder;
    WCHAR* wide = dosName(folder);
    char path[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, wide);
    g_folder = std::string(path) + "\\";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CreateDirectoryA((g_folder + "alsa").c_str(), nullptr);
    // A plain file is emptied at every opening of the device; a pipe that
    // appends keeps every song.
    const std::string config = "pcm.!default { type file; slave.pcm \"null\"; file \"| cat >> '" +
                               g_unixFolder + "/capture.raw'\"; format \"raw\" }\n";
    DeleteFileA((g_folder + "capture.raw").c_str());
    HKEY key = nullptr;
    const bool written = WriteText(g_folder + "alsa\\asoundrc", config) &&
                         RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", 0, nullptr,
                                         0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS;
    if (written) {
        RegSetValueExA(key, "Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>("alsa"), 5);
        RegCloseKey(key);
    }
    problem = written ? "" : "cannot write the ALSA configuration into " + g_folder;
    return written;
}

void RemoveCapture() {
    DeleteFileA((g_folder + "capture.raw").c_str());
    DeleteFileA((g_folder + "alsa\\asoundrc").c_str());
    RemoveDirectoryA((g_folder + "alsa").c_str());
    RemoveDirectoryA(g_folder.c_str());
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Audio");
}

std::size_t CaptureSize() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA((g_folder + "capture.raw").c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return data.nFileSizeLow;
}

std::vector<int> SongsCapturedSince(std::size_t offset, const std::vector<int>& tones) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(g_folder + "capture.raw");
    std::vector<std::int16_t> samples;
    for (std::size_t i = offset; i + 1 < bytes.size(); i += 2) {
        samples.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    std::vector<int> songs;
    std::map<int, int> votes;
    bool inSong = false;
    int toneChunks = kToneChunksBetweenSongs;
    for (std::size_t start = 0; start + kChunk <= samples.size(); start += kChunk) {
        const int tone = ChunkTone(&samples[start], tones);
        if (tone == kMarkHz && toneChunks >= kToneChunksBetweenSongs) {
            if (inSong) {
                songs.push_back(Majority(votes));
            }
            inSong = true;
            votes.clear();
            toneChunks = 0;
        } else if (tone != 0 && tone != kMarkHz) {
            ++votes[tone];
            ++toneChunks;
        }
    }
    if (inSong && !votes.empty()) {
        songs.push_back(Majority(votes));
    }
    return songs;
}

}  // namespace velmora::testing
