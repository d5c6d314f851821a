// Sound routed into a capture file and read back (audio_capture.h).
#include "tests/win32/audio_capture.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <numbers>

#include "base/win32/library_entry.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {

namespace {

constexpr int kRate = 22050;
constexpr int kMarkHz = 4000;
// 20 ms of samples; a tone of f Hz changes sign about f / 25 times in it.
constexpr std::size_t kChunk = kRate / 50;
// Tone chunks between two marks for the second to begin a new song, so the
// mixed chunks at a mark's edges never split it.
constexpr int kToneChunksBetweenSongs = 5;

std::string g_folder;  // the XDG_CONFIG_HOME folder as a Windows path, with "\"

std::string Capture() {
    return g_folder + "capture.raw";
}

void AddTone(std::string& data, int hz, double seconds) {
    for (int i = 0; i < static_cast<int>(seconds * kRate); ++i) {
        const auto sample =
            static_cast<std::int16_t>(12000.0 * std::sin(2 * std::numbers::pi * hz * i / kRate));
        data += static_cast<char>(sample & 0xFF);
        data += static_cast<char>((sample >> 8) & 0xFF);
    }
}

std::string LittleEndian(std::uint32_t value, int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i) {
        bytes += static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

// The nearest of the tones and the mark by sign changes; 0 for silence.
int ChunkTone(const std::int16_t* samples, const std::vector<int>& tones) {
    int peak = 0;
    int changes = 0;
    for (std::size_t i = 0; i < kChunk; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        changes += i > 0 && (samples[i - 1] < 0) != (samples[i] < 0) ? 1 : 0;
    }
    int nearest = peak < 500 ? 0 : kMarkHz;
    for (const int tone : tones) {
        if (nearest != 0 && std::abs(changes * 25 - tone) < std::abs(changes * 25 - nearest)) {
            nearest = tone;
        }
    }
    return nearest;
}

}  // namespace

bool WriteSong(const std::string& path, int toneHz, double seconds) {
    std::string data;
    AddTone(data, kMarkHz, 0.06);
    AddTone(data, toneHz, seconds);
    AddTone(data, 0, 0.04);
    // PCM, one channel, 22050 samples of 2 bytes a second.
    const std::string format = LittleEndian(16, 4) + LittleEndian(1, 2) + LittleEndian(1, 2) +
                               LittleEndian(kRate, 4) + LittleEndian(kRate * 2, 4) +
                               LittleEndian(2, 2) + LittleEndian(16, 2);
    const auto size = static_cast<std::uint32_t>(data.size());
    return WriteBytes(path, "RIFF" + LittleEndian(36 + size, 4) + "WAVEfmt " + format + "data" +
                                LittleEndian(size, 4) + data);
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
    WCHAR* wide = dosName(folder);
    char path[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, wide);
    g_folder = std::string(path) + "\\";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CreateDirectoryA((g_folder + "alsa").c_str(), nullptr);
    DeleteFileA(Capture().c_str());
    // A plain file is emptied at every opening of the device; a pipe that
    // appends keeps every song.
    const std::string config = "pcm.!default { type file; slave.pcm \"null\"; file \"| cat >> '" +
                               std::string(folder) + "/capture.raw'\"; format \"raw\" }\n";
    // Wine would take a sound server over ALSA.
    const bool routed = WriteBytes(g_folder + "alsa\\asoundrc", config) &&
                        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Audio",
                                        REG_SZ, "alsa", 5) == ERROR_SUCCESS;
    problem = routed ? "" : "cannot route the sound through " + g_folder;
    return routed;
}

void RemoveCapture() {
    DeleteFileA(Capture().c_str());
    DeleteFileA((g_folder + "alsa\\asoundrc").c_str());
    RemoveDirectoryA((g_folder + "alsa").c_str());
    RemoveDirectoryA(g_folder.c_str());
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Audio");
}

std::size_t CaptureSize() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(Capture().c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow
                                                                                 : 0;
}

std::vector<int> SongsCapturedSince(std::size_t offset, const std::vector<int>& tones) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(Capture());
    std::vector<std::int16_t> samples;
    for (std::size_t i = offset; i + 1 < bytes.size(); i += 2) {
        samples.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    // Each song: the tone most of its chunks have.
    std::vector<std::map<int, int>> songs;
    int toneChunks = 0;
    for (std::size_t start = 0; start + kChunk <= samples.size(); start += kChunk) {
        const int tone = ChunkTone(&samples[start], tones);
        if (tone == kMarkHz && (songs.empty() || toneChunks >= kToneChunksBetweenSongs)) {
            songs.emplace_back();
            toneChunks = 0;
        } else if (tone != 0 && tone != kMarkHz && !songs.empty()) {
            ++songs.back()[tone];
            ++toneChunks;
        }
    }
    std::vector<int> played;
    for (const auto& votes : songs) {
        const auto most = std::max_element(votes.begin(), votes.end(),
                                           [](auto& a, auto& b) { return a.second < b.second; });
        played.push_back(most == votes.end() ? 0 : most->first);
    }
    return played;
}

}  // namespace velmora::testing
