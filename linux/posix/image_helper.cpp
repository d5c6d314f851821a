#include "linux/posix/image_helper.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

extern char** environ;

namespace velmora::host {

namespace {

constexpr const char* kHelperName = "xscreensaver-getimage-file";

bool IsExecutable(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

long NowMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

}  // namespace

std::string FindImageHelper() {
    const std::string installed = std::string("/usr/libexec/xscreensaver/") + kHelperName;
    if (IsExecutable(installed)) {
        return installed;
    }
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && IsExecutable(folder + "/" + kHelperName)) {
            return folder + "/" + kHelperName;
        }
    }
    return {};
}

bool ImageHelper::Pick(std::string& path, int milliseconds) {
    int pipeEnds[2];
    if (cancelled_.load() || pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // The hack blocks its host signals; the helper must not inherit that.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    char* const argv[] = {const_cast<char*>(program_.c_str()), nullptr};
    pid_t child = 0;
    {
        std::lock_guard lock(mutex_);
        if (!cancelled_.load() &&
            posix_spawn(&child, program_.c_str(), &actions, &attributes, argv, environ) == 0) {
            child_ = child;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[1]);
    if (child == 0) {
        close(pipeEnds[0]);
        return false;
    }
    std::string output;
    const long deadline = NowMilliseconds() + milliseconds;
    for (;;) {
        const long left = deadline - NowMilliseconds();
        pollfd readable{pipeEnds[0], POLLIN, 0};
        if (left <= 0 || poll(&readable, 1, static_cast<int>(left)) <= 0) {
            kill(child, SIGKILL);
            break;
        }
        char buffer[512];
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    {
        std::lock_guard lock(mutex_);
        child_ = 0;
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty() ||
        output.find('\n') != std::string::npos || cancelled_.load()) {
        return false;
    }
    path = output;
    return true;
}

void ImageHelper::Cancel() {
    std::lock_guard lock(mutex_);
    cancelled_.store(true);
    if (child_ != 0) {
        kill(child_, SIGKILL);
    }
}

}  // namespace velmora::host
