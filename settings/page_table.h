// The settings dialog's table of pages: up to 32 modeless pages of one tab
// control, each found by its tab caption. Handles are opaque here.
#pragma once

#include <array>
#include <string_view>

namespace velmora::settings {

inline constexpr int kMaxPages = 32;
inline constexpr int kMaxCaptionLength = 255;

struct PageTable {
    void* instance = nullptr;    // HINSTANCE
    void* tabControl = nullptr;  // HWND
    void* dialog = nullptr;      // HWND of the main dialog
    void* procedure = nullptr;   // DLGPROC shared by the dialog and its pages
    std::array<void*, kMaxPages> pages{};
    std::array<std::array<char, kMaxCaptionLength + 1>, kMaxPages> captions{};
    int count = 0;
    int current = 0;

    // Appends a page; false, with nothing added, when the table is full. A
    // longer caption is cut to 255 characters.
    bool Add(void* page, std::string_view caption);
    // The index of the page with exactly this caption, or -1.
    int IndexOf(std::string_view caption) const;
    // The page with exactly this caption, or null.
    void* Find(std::string_view caption) const;
    bool IsValid(int index) const { return index >= 0 && index < count; }
    void* CurrentPage() const { return IsValid(current) ? pages[current] : nullptr; }
    bool IsCurrent(std::string_view caption) const;
};

}  // namespace velmora::settings
