// The music player over a recording media window: one song after another, failures dropped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/music_player.h"
#include "tests/support/recording_media_window.h"

namespace velmora::music {
namespace {

using Songs = std::vector<std::string>;
using testing::RecordingMediaWindow;

WindowHandle Parent() {
    return reinterpret_cast<WindowHandle>(static_cast<std::uintptr_t>(0x500));
}

class Player : public ::testing::Test {
protected:
    void Start(Songs list, bool randomOrder = false) {
        songs_ = std::move(list);
        player_.Start(Parent(), randomOrder);
    }
    void TearDown() override { EXPECT_EQ(media_.closedWhileNotifying, 0); }

    // The current window reports something.
    void Notify(unsigned message, std::intptr_t lParam) {
        media_.notifying = player_.Window();
        player_.HandleMessage(message, reinterpret_cast<std::uintptr_t>(player_.Window()), lParam);
        media_.notifying = nullptr;
    }
    // The parent's message loop, once the notification has returned.
    void DeliverPosted() {
        while (!media_.posted.empty()) {
            const auto posted = media_.posted.front();
            media_.posted.erase(media_.posted.begin());
            EXPECT_EQ(posted.window, Parent());
            player_.HandleMessage(posted.message, posted.wParam, 0);
        }
    }
    void Report(unsigned message, std::intptr_t lParam) {
        Notify(message, lParam);
        DeliverPosted();
    }
    void EndSong() { Report(kNotifyModeMessage, kModeStop); }

    Songs songs_;
    RecordingMediaWindow media_;
    RandomGenerator random_{5};
    MusicPlayer player_{songs_, media_, random_};
};

TEST_F(Player, AnEmptyListCreatesNoWindow) {
    Start({});
    EXPECT_EQ(player_.NextSong(), kNoSongs);
    EXPECT_TRUE(media_.calls.empty());
}

TEST_F(Player, EachEndedSongIsClosedAndTheNextCreatedAndPlayed) {
    Start({"a", "b", "c"});
    EndSong();
    EndSong();
    EndSong();
    EXPECT_EQ(media_.played, (Songs{"a", "b", "c", "a"}));
    EXPECT_EQ(media_.calls,
              (Songs{"create a", "play 1", "stop 1", "close 1", "create b", "play 2", "stop 2",
                     "close 2", "create c", "play 3", "stop 3", "close 3", "create a", "play 4"}));
    EXPECT_EQ(media_.lastParent, Parent());
    EXPECT_EQ(media_.openWindows, 1);
}

TEST_F(Player, OnlyTheEndOrAnErrorOfTheCurrentWindowCounts) {
    Start({"a", "b"});
    const std::uintptr_t current = reinterpret_cast<std::uintptr_t>(player_.Window());
    struct Case {
        unsigned message;
        std::uintptr_t window;
        std::intptr_t lParam;
    };
    const Case ignored[] = {
        {kNotifyModeMessage, current, 526},
        {kNotifyErrorMessage, current, 0},
        {kNotifyModeMessage, current + 7, kModeStop},
        {kNotifyErrorMessage, 0, 257},
        {0x0100, current, kModeStop},
    };
    for (const Case& c : ignored) {
        EXPECT_EQ(player_.HandleMessage(c.message, c.window, c.lParam), 0);
    }
    EXPECT_EQ(media_.calls.size(), 2u);
    EXPECT_EQ(songs_.size(), 2u);
}

// Closing the window inside its own notification leaves the system's window
// procedure working on freed data: the move on waits for the posted message.
TEST_F(Player, TheNextSongStartsAfterTheEndNotificationHasReturned) {
    Start({"a", "b", "c"});
    Notify(kNotifyModeMessage, kModeStop);
    Notify(kNotifyErrorMessage, 257);  // the end came first: the song stays
    EXPECT_EQ(media_.calls, (Songs{"create a", "play 1"}));
    EXPECT_EQ(media_.posted.size(), 1u);
    DeliverPosted();
    EXPECT_EQ(songs_.size(), 3u);
    EXPECT_EQ(media_.played, (Songs{"a", "b"}));
    // An advance for another window does nothing, nor one after the run's stop.
    Notify(kNotifyModeMessage, kModeStop);
    player_.HandleMessage(kAdvanceMessage,
                          reinterpret_cast<std::uintptr_t>(RecordingMediaWindow::Handle(1)), 0);
    EXPECT_EQ(media_.played, (Songs{"a", "b"}));
    player_.StopForRun();
    DeliverPosted();
    EXPECT_EQ(media_.played, (Songs{"a", "b"}));
    EXPECT_EQ(media_.openWindows, 0);
}

TEST_F(Player, AFailingSongIsDroppedAndTheFollowingOnePlays) {
    Start({"a", "b", "c"});
    EndSong();
    Report(kNotifyErrorMessage, 257);
    EXPECT_EQ(songs_, (Songs{"a", "c"}));
    EndSong();
    EXPECT_EQ(media_.played, (Songs{"a", "b", "c", "a"}));
}

TEST_F(Player, SongsWhoseWindowOrPlayFailsAreDroppedUntilOnePlays) {
    media_.failingCreates = {"b"};
    media_.failingPlays = {"c"};
    Start({"a", "b", "c", "d"});
    EndSong();
    EXPECT_EQ(songs_, (Songs{"a", "d"}));
    EXPECT_EQ(media_.played, (Songs{"a", "d"}));
    EXPECT_EQ(media_.openWindows, 1);
}

TEST_F(Player, WhenEverySongFailsNoWindowIsLeft) {
    media_.failingCreates = {"a"};
    media_.failingPlays = {"b", "c"};
    Start({"a", "b", "c"});
    EXPECT_TRUE(songs_.empty());
    EXPECT_EQ(player_.Window(), nullptr);
    EXPECT_EQ(media_.openWindows, 0);
}

// As some systems do: errors while a song opens, its mode when it plays or stops.
TEST_F(Player, NotificationsWhileSendingToTheWindowAreIgnored) {
    media_.whileSending = [&](unsigned message, WindowHandle window) {
        const auto from = reinterpret_cast<std::uintptr_t>(window);
        player_.HandleMessage(kNotifyErrorMessage, from, 261);
        player_.HandleMessage(kNotifyModeMessage, from, message == kStopMessage ? kModeStop : 526);
    };
    Start({"a", "b"});
    player_.StopForRun();
    player_.Start(Parent(), false);
    EXPECT_EQ(media_.calls, (Songs{"create a", "play 1", "stop 1", "close 1"}));
    EXPECT_EQ(songs_.size(), 2u);
}

TEST_F(Player, AnExistingWindowIsRewoundAndTheLastOneClosedAtTheEnd) {
    {
        Songs songs = {"a"};
        MusicPlayer player(songs, media_, random_);
        player.Start(Parent(), false);
        EXPECT_EQ(player.OpenAndPlay("a"), 0);
    }
    EXPECT_EQ(media_.calls, (Songs{"create a", "play 1", "seek 1", "play 1", "close 1"}));
}

}  // namespace
}  // namespace velmora::music
