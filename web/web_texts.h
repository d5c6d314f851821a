// Encoded texts of the update check and of the web and mail launching. Every
// address is built from the maker's site, a build setting.
#pragma once

#include "base/encoded_text.h"
#include "velmora/maker_site.h"

namespace velmora::texts {

// Update check. The agent format takes an integer and a floating-point value.
inline constexpr auto kUpdateAgentFormat = EncodeText("Mozilla/%d.0 (compatible; Velmora %.1f)");
inline constexpr auto kUpdateAddress = EncodeText(VELMORA_MAKER_SITE "/update/version.txt");
// Compared over at most 16 characters at the start of the document.
inline constexpr auto kUpdateSignature = EncodeText("#QUILLFEN-UPDATE");
// Formatted with the product text.
inline constexpr auto kUpdateSectionFormat = EncodeText("[%s]");
inline constexpr auto kUpdateVersionKey = EncodeText("Version");
inline constexpr auto kInternetSettingsKey =
    EncodeText("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings");
inline constexpr auto kEnableAutodial = EncodeText("EnableAutodial");
// The Internet library and its entry points, loaded when the check first needs them.
inline constexpr auto kInternetLibrary = EncodeText("wininet.dll");
inline constexpr auto kInternetGetConnectedState = EncodeText("InternetGetConnectedState");
inline constexpr auto kInternetOpen = EncodeText("InternetOpenA");
inline constexpr auto kInternetOpenUrl = EncodeText("InternetOpenUrlA");
inline constexpr auto kHttpQueryInfo = EncodeText("HttpQueryInfoA");
inline constexpr auto kInternetReadFile = EncodeText("InternetReadFile");
inline constexpr auto kInternetCloseHandle = EncodeText("InternetCloseHandle");

// Web pages: base address + query keys, each followed by its value.
inline constexpr auto kDownloadPage = EncodeText(VELMORA_MAKER_SITE "/download.html");
inline constexpr auto kQueryProductKey = EncodeText("?product=");
inline constexpr auto kQueryVersionKey = EncodeText("&version=");
inline constexpr auto kQuerySourceKey = EncodeText("&source=");
inline constexpr auto kQueryVersionFormat = EncodeText("%.1f");
// Replaced in the finished query: a blank is not allowed in an address.
inline constexpr auto kQueryBlank = EncodeText(" ");
inline constexpr auto kQueryBlankEscaped = EncodeText("%20");

// Support e-mail. The subject format takes the product text and the version.
inline constexpr auto kMailSubjectFormat = EncodeText("%s %.1f");
inline constexpr auto kMailSubjectSuffix = EncodeText(" support request");
// Formatted with the subject, two texts and the local date and time: year,
// month, day, hour, minute, second.
inline constexpr auto kMailMessageFormat = EncodeText(
    "\r\n"
    "----------------------------------------\r\n"
    "%s\r\n"
    "%s%s"
    "Written %04d-%02d-%02d %02d:%02d:%02d\r\n"
    "\r\n"
    "Please paste this text into your message (it is on the clipboard) and\r\n"
    "describe what happened before the problem and what you saw.\r\n");
inline constexpr auto kMailAddressPrefix =
    EncodeText("mailto:support@" VELMORA_MAKER_MAIL_DOMAIN "?subject=");
inline constexpr auto kMailAddressSuffix =
    EncodeText("&body=Please%20paste%20the%20text%20from%20the%20clipboard%20here.");
inline constexpr auto kMailVerb = EncodeText("open");

}  // namespace velmora::texts
