// When the settings dialog tells the user about a newer release that the
// update check found, and what its version label says.
#pragma once

#include "settings/saver_settings.h"

namespace velmora::settings {

// The first number of a stored version text, read after its first
// character when that is a prefix such as "v"; 0 when there is none.
float ScanVersion(const char (&text)[kVersionTextSize]);

// The latest release scans greater than this program's version.
bool NewerReleaseKnown(const SaverSettings& settings);

// The notice is due: updates are not disabled, the user has not been told of
// this release yet and it is newer than this program.
bool NewVersionNoticeDue(const SaverSettings& settings);

// Remembers that the user has been told of the latest release.
void MarkLatestVersionNotified(SaverSettings& settings);

}  // namespace velmora::settings
