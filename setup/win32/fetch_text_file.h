// A small text file from the web, read through the URL cache.
#pragma once

#include <windows.h>

#include <cstddef>

namespace velmora::setup {

// Removes the URL cache's copy of a downloaded address through the cache
// itself: the file name the cache hands back is never deleted directly, since
// for some addresses it is a file the address named.
void RemoveCachedCopy(const char* address);

// Downloads the address into a cache file, reads that whole into the buffer
// and ends the text with a zero; the cached copy is removed on every path.
// S_OK; the download's failure code; E_FAIL when the cache file cannot be
// opened (the system error code stays set) or read; E_OUTOFMEMORY when the
// file and its zero do not fit into bufferSize bytes.
HRESULT FetchTextFile(const char* address, char* buffer, std::size_t bufferSize);

}  // namespace velmora::setup
