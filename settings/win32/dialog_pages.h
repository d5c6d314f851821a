// The tab machinery of the settings dialog: pages are modeless child dialogs
// sharing the main dialog's procedure, one tab each.
#pragma once

#include <windows.h>

#include <string>

#include "settings/page_table.h"

namespace velmora::settings {

// Creates the page from its dialog resource, hidden, at (10, 30) of the main
// dialog (pixels at 96 DPI, scaled to the dialog's DPI), with a tab of the caption at the end and
// the themed tab background. Nothing happens once the table is full.
void AddPage(PageTable& table, int resourceId, const std::string& caption);

// Puts every page back at (10, 30) scaled to dpi, as after a move to a
// monitor of another DPI.
void PlacePages(const PageTable& table, unsigned dpi);

// Selects the tab, hides the current page and shows the page at index.
void SelectPage(PageTable& table, int index);

// The themed background of tab pages (uxtheme's EnableThemeDialogTexture),
// where the system has it.
void GiveTabBackground(HWND window);

inline HWND PageWindow(const PageTable& table, int index) {
    return table.IsValid(index) ? static_cast<HWND>(table.pages[index]) : nullptr;
}

}  // namespace velmora::settings
