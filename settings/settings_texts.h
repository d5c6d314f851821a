// Encoded texts of the settings dialog: tab captions, the about page, the
// version label and the new-version notice, the display-mode item formats
// and the tooltips. The pictures and music pages' captions are the list
// subkeys' suffixes (lists/list_texts.h).
#pragma once

#include "base/encoded_text.h"

namespace velmora::texts {

inline constexpr auto kCubePageCaption = EncodeText("Cube");
inline constexpr auto kDisplayPageCaption = EncodeText("Display");
inline constexpr auto kAboutPageCaption = EncodeText("About");

// The dialog's caption is the product followed by this.
inline constexpr auto kDialogCaptionSuffix = EncodeText(" Screen Saver Settings");

// The product and the program version.
inline constexpr auto kAboutFirstLineFormat =
    EncodeText("%s Cube Screen Saver, version %.1f\r\n\r\n");
inline constexpr auto kAboutSecondText = EncodeText(
    "Shows your own pictures on the faces of a turning glass cube, with your own music "
    "playing while it runs.\r\n\r\n");
inline constexpr auto kAboutThirdText = EncodeText(
    "Copyright (C) Quillfen Graphics. Questions, ideas and problem reports are welcome: "
    "press the button below to write to us. A short report of your system is put on the "
    "clipboard, so you can paste it into your message.");

// The about page's button, with the maker's name.
inline constexpr auto kSupportMailButton = EncodeText("Email Quillfen Graphics");

inline constexpr auto kVersionLabelFormat = EncodeText("Version %.1f");
inline constexpr auto kNewReleaseLabel = EncodeText("A new version is out!");
// The first number of a version text, read after its first character.
inline constexpr auto kVersionScanFormat = EncodeText("%f");

// The product, the program's version, the latest version's text, then kNoticeClosing.
inline constexpr auto kNoticeFormat = EncodeText(
    "A new version of %s is available. You have version %.1f; the latest is %s.\r\n\r\n%s");
inline constexpr auto kNoticeClosing = EncodeText("Would you like to open the download page now?");
inline constexpr auto kNoticeCaption = EncodeText("New Version Available");
// Where the download page was opened from, in its address's query.
inline constexpr auto kNoticeSource = EncodeText("settings-notice");

// Display-mode items; each scans back into the numbers it was made from.
inline constexpr auto kResolutionFormat = EncodeText("%d x %d");
inline constexpr auto kResolutionScan = EncodeText("%d x %d");
inline constexpr auto kColorDepthFormat = EncodeText("%d bits");
inline constexpr auto kColorDepthScan = EncodeText("%d");
inline constexpr auto kRefreshRateFormat = EncodeText("%d Hz");
inline constexpr auto kRefreshRateScan = EncodeText("%d");

// Tooltips of the display page.
inline constexpr auto kTipShowFrameRate = EncodeText(
    "Shows how many pictures a second are drawn, in a corner of the screen, and a small mark "
    "while the next picture is loading.");
inline constexpr auto kTipDisplayPowerDown = EncodeText(
    "Stops drawing and the music while the display is turned off or in low power mode, to "
    "save energy.");
inline constexpr auto kTipLessProcessor = EncodeText(
    "Draws at most about 100 pictures a second, leaving more of the processor to other "
    "programs. The motion may be a little less smooth.");
inline constexpr auto kTipUseOtherResolution = EncodeText(
    "Switches the screen to the resolution, refresh rate and color depth chosen below while "
    "the screen saver runs, and back when it ends.");
inline constexpr auto kTipResolution =
    EncodeText("The screen's width and height in pixels while the screen saver runs.");
inline constexpr auto kTipRefreshRate = EncodeText(
    "How many times a second the screen is redrawn at the chosen resolution. Choose one your "
    "monitor supports.");
inline constexpr auto kTipColorDepth = EncodeText(
    "How many bits describe each pixel's color at the chosen resolution. More bits give "
    "smoother color.");
inline constexpr auto kTipDisableAutoUpdate =
    EncodeText("Keeps the screen saver from telling you about new versions.");
inline constexpr auto kTipShowDateTime =
    EncodeText("Shows today's date and the time in a corner of the screen.");
inline constexpr auto kTipSupportMail = EncodeText(
    "Opens a new e-mail to Quillfen Graphics in your mail program. A report of your system "
    "is copied to the clipboard; paste it into the message if you are reporting a problem.");

// Tooltips of the pictures page.
inline constexpr auto kTipPictureList = EncodeText(
    "Choose the pictures and folders of pictures to show. Without a list, the pictures of "
    "your My Pictures folder are shown.");
inline constexpr auto kTipShufflePictures =
    EncodeText("Shows the pictures in random order instead of the order of the list.");
inline constexpr auto kTipShowPictureNames =
    EncodeText("Shows the file name of each picture while it is on the front of the cube.");
inline constexpr auto kTipStretchPictures = EncodeText(
    "Stretches every picture to fill a whole face of the cube. When unchecked, pictures keep "
    "their shape and the rest of the face is filled with the background color.");
inline constexpr auto kTipPicturesDefaults = EncodeText(
    "Puts the settings of this page back as they were when the screen saver was "
    "installed.");

// Tooltips of the cube page.
inline constexpr auto kTipRotationSeconds =
    EncodeText("How many seconds the cube takes to turn from one picture to the next.");
inline constexpr auto kTipPictureSeconds =
    EncodeText("How many seconds each picture stays in front before the cube turns again.");
inline constexpr auto kTipCubeStyle = EncodeText(
    "How the cube moves: a large or a small cube in the middle of the screen, a cube that "
    "zooms towards you and away, or one that bounces around the screen.");
inline constexpr auto kTipCubeGlass = EncodeText(
    "The glass layer over the pictures: a reflection of blue sky, of silver chrome, or no "
    "glass at all.");
inline constexpr auto kTipBackgroundKind = EncodeText(
    "What is shown behind the cube: a solid color, the first picture of your list, or a "
    "field of stars.");
inline constexpr auto kTipBackgroundColor = EncodeText(
    "Click to choose the color behind the cube, also used around pictures that keep their "
    "shape.");
inline constexpr auto kTipCubeDefaults = EncodeText(
    "Puts the settings of this page back as they were when the screen saver was "
    "installed.");

// Tooltips of the music page.
inline constexpr auto kTipMusicList =
    EncodeText("Choose the songs and folders of songs to play while the screen saver runs.");
inline constexpr auto kTipShuffleMusic =
    EncodeText("Plays the songs in random order instead of the order of the list.");

}  // namespace velmora::texts
