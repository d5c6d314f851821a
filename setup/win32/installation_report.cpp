#include "setup/win32/installation_report.h"

#include <urlmon.h>
#include <windows.h>

#include <string>

#include "setup/win32/fetch_text_file.h"
#include "velmora/maker_site.h"

namespace velmora::setup {

namespace {

constexpr char kBaseAddressFile[] = VELMORA_MAKER_SITE "/external/install.txt";
constexpr std::size_t kBaseFileBufferSize = 1024;

}  // namespace

void Submit(const ContactEntry& contact, std::string_view extraQuery) {
    char text[kBaseFileBufferSize];
    if (FAILED(FetchTextFile(kBaseAddressFile, text, sizeof(text)))) {
        return;
    }
    const std::string base = BaseAddressFromFile(text);
    if (!IsOnMakerSite(base, VELMORA_MAKER_SITE)) {
        OutputDebugStringA("Ovix ContactInfo URL refused, not on the maker's site: ");
        OutputDebugStringA(base.c_str());
        OutputDebugStringA("\n");
        return;
    }
    const std::string address = BuildRequestAddress(base, contact, extraQuery);
    OutputDebugStringA("Ovix ContactInfo URL: ");
    OutputDebugStringA(address.c_str());
    OutputDebugStringA("\n");
    char cacheFile[MAX_PATH] = {};
    if (SUCCEEDED(
            URLDownloadToCacheFileA(nullptr, address.c_str(), cacheFile, MAX_PATH, 0, nullptr))) {
        RemoveCachedCopy(address.c_str());
    }
}

}  // namespace velmora::setup
