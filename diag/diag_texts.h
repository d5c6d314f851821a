// Encoded texts of the crash handler: where the user sends a crash, and the
// libraries it loads at run time.
#pragma once

#include "base/encoded_text.h"
#include "velmora/maker_site.h"

namespace velmora::texts {

inline constexpr auto kSupportAddress = EncodeText("support@" VELMORA_MAKER_MAIL_DOMAIN);
inline constexpr auto kDebuggingToolsPage = EncodeText(
    "https://learn.microsoft.com/windows-hardware/drivers/debugger/debugger-download-tools");
inline constexpr auto kDumpLibrary = EncodeText("DBGHELP.DLL");
inline constexpr auto kDumpEntry = EncodeText("MiniDumpWriteDump");
// The real Windows version, where GetVersionEx is told an older one.
inline constexpr auto kVersionLibrary = EncodeText("ntdll.dll");
inline constexpr auto kVersionEntry = EncodeText("RtlGetVersion");

}  // namespace velmora::texts
