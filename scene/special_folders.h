// The user's folders that the picture list falls back to when it is empty.
#pragma once

#include <string>

namespace velmora::scene {

// Shell folder identifiers (CSIDL values).
enum class SpecialFolder : int {
    Personal = 0x05,         // the user's documents
    MyPictures = 0x27,       // the user's pictures
    CommonDocuments = 0x2E,  // the documents of all users
};

class FolderLocator {
public:
    FolderLocator() = default;
    FolderLocator(const FolderLocator&) = delete;
    FolderLocator& operator=(const FolderLocator&) = delete;
    virtual ~FolderLocator() = default;

    // The folder's path as the system gives it (no "\" added); false when
    // there is none.
    virtual bool Locate(SpecialFolder folder, std::string& path) = 0;
};

// SHGetFolderPathW from SHFolder.dll on Windows; no folders elsewhere.
FolderLocator& SystemFolderLocator();

}  // namespace velmora::scene
