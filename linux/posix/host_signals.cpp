#include "linux/posix/host_signals.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace velmora::host {

namespace {

sigset_t HostSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGUSR1);
    return set;
}

}  // namespace

HostSignals::HostSignals() {
    const sigset_t set = HostSignalSet();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) == 0) {
        descriptor_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    }
}

HostSignals::~HostSignals() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

HostSignal HostSignals::Take() {
    signalfd_siginfo info{};
    if (descriptor_ < 0 || read(descriptor_, &info, sizeof info) != sizeof info) {
        return HostSignal::None;
    }
    return info.ssi_signo == SIGUSR1 ? HostSignal::Advance : HostSignal::End;
}

bool WaitForInput(const HostSignals& signals, int connection, int wake, int milliseconds) {
    // poll() passes over negative descriptors.
    pollfd descriptors[3] = {
        {signals.Descriptor(), POLLIN, 0}, {connection, POLLIN, 0}, {wake, POLLIN, 0}};
    return poll(descriptors, 3, milliseconds) > 0;
}

}  // namespace velmora::host
