// Runs the list editor on a thread of its own and drives it by messages, as
// a user's clicks and selections would.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "lists/win32/list_editor.h"

namespace velmora::testing {

// Answers the editor's dialogs and boxes as the test says.
class ScriptedChooser : public lists::ListEditorChooser {
public:
    BOOL OpenFiles(OPENFILENAMEW& dialog) override;
    PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW&) override;
    int Ask(HWND, const char* text, const char* caption, UINT) override;

    std::string files;  // the buffer the dialog hands back, as UTF-8
    WORD fileOffset = 0;
    std::string folder;
    int answer = IDNO;
    int opened = 0;
    std::string title;
    std::vector<std::string> asked;
    std::vector<std::string> captions;
};

// Types names into the system's file dialog (quoted, as a user picks several)
// and presses its OK; false when the dialog has no name field.
bool TypeIntoFileDialog(HWND dialog, const std::wstring& names);

// The file dialog's answer for one file, and for several in one folder.
void SetOneFile(ScriptedChooser& chooser, const std::string& path);
void SetFiles(ScriptedChooser& chooser, const std::string& folder,
              const std::vector<std::string>& names);

class ListEditorDriver {
public:
    ListEditorDriver(lists::ListEditorRequest& request, lists::ListEditorChooser& chooser);
    ListEditorDriver(const ListEditorDriver&) = delete;
    ListEditorDriver& operator=(const ListEditorDriver&) = delete;
    // Cancels an editor that is still open.
    ~ListEditorDriver();

    HWND Dialog() const { return dialog_; }
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    DWORD ThreadId() const { return threadId_; }

    // A click whose handler returns before the call does.
    void Click(int id);
    // A click whose handler may show a modal window.
    void PostClick(int id);
    // Exactly these items selected, as one user action.
    void Select(const std::vector<int>& positions);
    std::vector<int> Selected() const;
    std::vector<std::string> Paths() const;
    std::string Text(int id) const;
    // Closes with OK or Cancel and waits for the editor's end.
    void Close(int id);
    bool Closed() const { return done_; }

private:
    lists::ListEditorRequest& request_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> done_{false};
    std::thread thread_;
    HWND dialog_ = nullptr;
};

// Polls until the condition holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A visible top-level dialog of the thread with the given caption.
HWND FindThreadDialog(DWORD threadId, const std::string& caption);
// Waits for that dialog; null after the timeout.
HWND WaitForThreadDialog(DWORD threadId, const std::string& caption);

// A list's paths as numbered values under a key of the system registry.
void StoreList(const std::string& key, const std::vector<std::string>& paths);
std::vector<std::string> StoredList(const std::string& key);

}  // namespace velmora::testing
