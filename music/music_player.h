// The music of a run: the songs of the run's music list played one after
// another through an invisible multimedia window, on to the next song when
// one ends, a failing song dropped for the rest of the run. Nothing is ever
// shown to the user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/random.h"
#include "music/media_window.h"
#include "music/song_order.h"

namespace velmora::music {

// What NextSong returns for an empty list.
inline constexpr std::int32_t kNoSongs = -1;

class MusicPlayer {
public:
    // songs is the run's music list, which the player shortens as songs fail.
    MusicPlayer(std::vector<std::string>& songs, MediaWindow& media, RandomGenerator& random);
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;
    // Closes the window of the current song.
    ~MusicPlayer();

    // Plays the first song in a window that is a child of parent, in list or
    // shuffled order. Nothing happens with an empty list or once the player
    // has been stopped for the run.
    void Start(WindowHandle parent, bool randomOrder);
    // Rewinds the current window, or creates one for path, and plays it: 0,
    // or the error code of the step that failed.
    std::int32_t OpenAndPlay(const std::string& path);
    // Closes the current song and plays the next one: 0, the error code of
    // the step that failed, or kNoSongs.
    std::int32_t NextSong();
    // Stops and closes the current song's window.
    void Stop();
    // Stops, and nothing plays again in this run.
    void StopForRun();

    // The window's notifications, from the parent's window procedure: the end
    // of the current song plays the next one, an error drops the song first.
    // Only notifications of the current window count, and none that arrive
    // while the player is itself sending to a window. The move on happens
    // when the player's own kAdvanceMessage, posted to the parent, arrives:
    // the song window is never closed inside its own notification. 1 for
    // kAdvanceMessage (the player's own), else 0: not consumed.
    int HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    const SongOrder& Order() const { return order_; }
    WindowHandle Window() const { return window_; }

private:
    enum class Advance { None, NextSong, DropSong };

    // Asks the parent for kAdvanceMessage, once per song window.
    void RequestAdvance(Advance advance);
    void AdvanceNow();
    // Drops the song just started while it could not be played, starting the
    // next one each time, until one plays or the list is empty.
    void KeepPlaying(std::int32_t result);

    std::vector<std::string>& songs_;
    MediaWindow& media_;
    RandomGenerator& random_;
    SongOrder order_;
    WindowHandle window_ = nullptr;
    WindowHandle parent_ = nullptr;
    bool stoppedForRun_ = false;
    // What the posted kAdvanceMessage does for the current window.
    Advance pending_ = Advance::None;
    // Set while a message to a window is being sent: its notifications then
    // describe a window the player is still setting up or closing.
    bool sending_ = false;
};

}  // namespace velmora::music
