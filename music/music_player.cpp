#include "music/music_player.h"

#include <utility>

namespace velmora::music {

namespace {

// Marks the player busy with a window for as long as it lives.
class SendingScope {
public:
    explicit SendingScope(bool& sending) : sending_(sending) { sending_ = true; }
    SendingScope(const SendingScope&) = delete;
    SendingScope& operator=(const SendingScope&) = delete;
    ~SendingScope() { sending_ = false; }

private:
    bool& sending_;
};

}  // namespace

MusicPlayer::MusicPlayer(std::vector<std::string>& songs, MediaWindow& media,
                         RandomGenerator& random)
    : songs_(songs), media_(media), random_(random) {}

MusicPlayer::~MusicPlayer() {
    if (window_ != nullptr) {
        media_.Send(window_, kCloseMessage, 0);
    }
}

void MusicPlayer::Start(WindowHandle parent, bool randomOrder) {
    if (stoppedForRun_ || songs_.empty()) {
        return;
    }
    parent_ = parent;
    order_.randomOrder = randomOrder;
    Stop();
    if (PickSong(order_, songs_.size(), random_)) {
        KeepPlaying(OpenAndPlay(songs_[static_cast<std::size_t>(order_.currentIndex)]));
    }
}

std::int32_t MusicPlayer::OpenAndPlay(const std::string& path) {
    SendingScope sending(sending_);
    if (window_ != nullptr) {
        const auto sought =
            static_cast<std::int32_t>(media_.Send(window_, kSeekMessage, kSeekToStart));
        if (sought != 0) {
            return sought;
        }
    } else {
        std::uint32_t error = 0;
        window_ = media_.Create(parent_, path, error);
        if (window_ == nullptr) {
            return static_cast<std::int32_t>(error);
        }
    }
    return static_cast<std::int32_t>(media_.Send(window_, kPlayMessage, 0));
}

std::int32_t MusicPlayer::NextSong() {
    Stop();
    if (!PickSong(order_, songs_.size(), random_)) {
        return kNoSongs;
    }
    return OpenAndPlay(songs_[static_cast<std::size_t>(order_.currentIndex)]);
}

void MusicPlayer::Stop() {
    if (window_ != nullptr) {
        // The stop's own mode notification is not the end of the song.
        SendingScope sending(sending_);
        media_.Send(window_, kStopMessage, 0);
        media_.Send(window_, kCloseMessage, 0);
    }
    window_ = nullptr;
    pending_ = Advance::None;
}

void MusicPlayer::StopForRun() {
    stoppedForRun_ = true;
    Stop();
}

int MusicPlayer::HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const int consumed = message == kAdvanceMessage ? 1 : 0;
    if (sending_ || window_ == nullptr || wParam != reinterpret_cast<std::uintptr_t>(window_)) {
        return consumed;
    }
    if (message == kAdvanceMessage) {
        AdvanceNow();
    } else if (message == kNotifyModeMessage && lParam == kModeStop) {
        RequestAdvance(Advance::NextSong);
    } else if (message == kNotifyErrorMessage && lParam != 0) {
        RequestAdvance(Advance::DropSong);
    }
    return consumed;
}

void MusicPlayer::RequestAdvance(Advance advance) {
    // The first notification decides, as if the window had already gone.
    if (pending_ != Advance::None) {
        return;
    }
    // Unposted, a later notification asks again.
    if (media_.Post(parent_, kAdvanceMessage, reinterpret_cast<std::uintptr_t>(window_))) {
        pending_ = advance;
    }
}

void MusicPlayer::AdvanceNow() {
    const Advance advance = std::exchange(pending_, Advance::None);
    if (advance == Advance::None) {
        return;
    }
    if (advance == Advance::DropSong) {
        DropCurrentSong(order_, songs_);
    }
    KeepPlaying(NextSong());
}

void MusicPlayer::KeepPlaying(std::int32_t result) {
    // A window that could not be created may leave no error code.
    while (result != kNoSongs && (result != 0 || window_ == nullptr)) {
        DropCurrentSong(order_, songs_);
        result = NextSong();
    }
}

}  // namespace velmora::music
