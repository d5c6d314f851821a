// The host's requests by signal: SIGTERM and SIGINT end the hack, SIGUSR1
// turns to the next picture. The signals are blocked and read from a
// signalfd, so the frame loop's wait wakes on them as on X events.
#pragma once

namespace velmora::host {

enum class HostSignal {
    None,
    End,
    Advance,
};

class HostSignals {
public:
    // Blocks the signals in the calling thread (threads started later inherit
    // the mask): call before any other thread starts.
    HostSignals();
    HostSignals(const HostSignals&) = delete;
    HostSignals& operator=(const HostSignals&) = delete;
    ~HostSignals();

    bool Valid() const { return descriptor_ >= 0; }
    int Descriptor() const { return descriptor_; }
    // The next pending signal, None when there is none.
    HostSignal Take();

private:
    int descriptor_ = -1;
};

// Waits until a signal, an X event (connection descriptor) or a wake (the
// loader's descriptor, -1 for none) arrives, or milliseconds pass (-1: no
// limit); true when a descriptor is readable.
bool WaitForInput(const HostSignals& signals, int connection, int wake, int milliseconds);

}  // namespace velmora::host
