// Encoded texts of the crash handler: where the user sends a crash, and the
// debugging library it loads at run time.
#pragma once

#include "base/encoded_text.h"

namespace velmora::texts {

inline constexpr auto kSupportAddress = EncodeText("support@quillfen.example");
inline constexpr auto kDebuggingToolsPage = EncodeText(
    "https://learn.microsoft.com/windows-hardware/drivers/debugger/debugger-download-tools");
inline constexpr auto kDumpLibrary = EncodeText("DBGHELP.DLL");
inline constexpr auto kDumpEntry = EncodeText("MiniDumpWriteDump");

}  // namespace velmora::texts
