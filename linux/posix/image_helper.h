// XScreenSaver's image chooser, xscreensaver-getimage-file: with no folder
// given it reads imageDirectory from ~/.xscreensaver and prints the path of
// one random picture under it.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include <sys/types.h>

namespace velmora::host {

// The helper's path where XScreenSaver installs it or on PATH; empty when
// it is not installed.
std::string FindImageHelper();

class ImageHelper {
public:
    explicit ImageHelper(std::string program) : program_(std::move(program)) {}
    ImageHelper(const ImageHelper&) = delete;
    ImageHelper& operator=(const ImageHelper&) = delete;

    // Runs the helper for one path; false when it fails, prints nothing,
    // takes longer than milliseconds or is cancelled.
    bool Pick(std::string& path, int milliseconds);
    // Ends a running pick at once and refuses later ones (from any thread).
    void Cancel();

private:
    std::string program_;
    std::mutex mutex_;
    pid_t child_ = 0;
    std::atomic<bool> cancelled_{false};
};

}  // namespace velmora::host
