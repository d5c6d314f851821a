#include "setup/win32/fetch_text_file.h"

#include <urlmon.h>
#include <wininet.h>

#include "setup/request_address.h"

namespace velmora::setup {

namespace {

HRESULT ReadWhole(HANDLE file, char* buffer, std::size_t bufferSize) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        return E_FAIL;
    }
    if (!FitsTextBuffer(static_cast<std::uint64_t>(size.QuadPart), bufferSize)) {
        return E_OUTOFMEMORY;
    }
    DWORD read = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(size.QuadPart), &read, nullptr) ||
        read != static_cast<DWORD>(size.QuadPart)) {
        return E_FAIL;
    }
    buffer[read] = '\0';
    return S_OK;
}

}  // namespace

void RemoveCachedCopy(const char* address) {
    DeleteUrlCacheEntryA(address);
}

HRESULT FetchTextFile(const char* address, char* buffer, std::size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) {
        return E_INVALIDARG;
    }
    buffer[0] = '\0';
    char cacheFile[MAX_PATH] = {};
    const HRESULT downloaded =
        URLDownloadToCacheFileA(nullptr, address, cacheFile, MAX_PATH, 0, nullptr);
    if (FAILED(downloaded)) {
        return downloaded;
    }
    const HANDLE file = CreateFileA(cacheFile, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        RemoveCachedCopy(address);
        SetLastError(error);
        return E_FAIL;
    }
    const HRESULT result = ReadWhole(file, buffer, bufferSize);
    CloseHandle(file);
    RemoveCachedCopy(address);
    return result;
}

}  // namespace velmora::setup
