#include "settings/version_notice.h"

#include <cstdio>
#include <cstring>

#include "settings/program_version.h"
#include "settings/settings_texts.h"

namespace velmora::settings {

namespace {

bool StartsNumber(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

}  // namespace

float ScanVersion(const char (&text)[kVersionTextSize]) {
    // Bounded by the text buffer: a stored text need not be terminated.
    char bounded[kVersionTextSize + 1] = {};
    std::memcpy(bounded, text, kVersionTextSize);
    // A text that begins with its number ("2.0") keeps its first digit;
    // skipping it would read "2.0" as 0.
    const char* start = bounded[0] == '\0' || StartsNumber(bounded[0]) ? bounded : bounded + 1;
    float version = 0.0f;
    if (std::sscanf(start, DecodeText(texts::kVersionScanFormat).c_str(), &version) != 1) {
        return 0.0f;
    }
    return version;
}

bool NewerReleaseKnown(const SaverSettings& settings) {
    return ScanVersion(settings.LatestVersion) > ProgramVersion;
}

bool NewVersionNoticeDue(const SaverSettings& settings) {
    if (settings.DisableAutoUpdate == 1) {
        return false;
    }
    const float latest = ScanVersion(settings.LatestVersion);
    return ScanVersion(settings.NotifiedVersion) < latest && latest > ProgramVersion;
}

void MarkLatestVersionNotified(SaverSettings& settings) {
    std::memcpy(settings.NotifiedVersion, settings.LatestVersion, kVersionTextSize);
}

}  // namespace velmora::settings
