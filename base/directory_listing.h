// The entries of one folder, from the system or (in tests) from memory, so the
// code that scans picture folders does not depend on the platform.
#pragma once

#include <string>
#include <vector>

namespace velmora {

struct DirectoryEntry {
    std::string name;  // the local name, no folder
    bool isDirectory = false;
};

class DirectoryLister {
public:
    DirectoryLister() = default;
    DirectoryLister(const DirectoryLister&) = delete;
    DirectoryLister& operator=(const DirectoryLister&) = delete;
    virtual ~DirectoryLister() = default;

    // Replaces entries with those of the folder (its path ending in "\"), in
    // the order the system gives them, "." and ".." included where the system
    // reports them; names are UTF-8. False, with no entries, when the folder
    // cannot be listed.
    virtual bool List(const std::string& folder, std::vector<DirectoryEntry>& entries) = 0;
};

// The system's folders: FindFirstFileW on Windows, opendir elsewhere (which
// takes "\" as the separator too, so paths of the Windows form work there).
DirectoryLister& SystemDirectoryLister();

}  // namespace velmora
