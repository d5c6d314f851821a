#include "settings/page_table.h"

#include <algorithm>
#include <cstring>

namespace velmora::settings {

bool PageTable::Add(void* page, std::string_view caption) {
    if (count >= kMaxPages) {
        return false;
    }
    auto& text = captions[count];
    text.fill('\0');
    const std::size_t length = std::min<std::size_t>(caption.size(), kMaxCaptionLength);
    std::memcpy(text.data(), caption.data(), length);
    pages[count] = page;
    ++count;
    return true;
}

int PageTable::IndexOf(std::string_view caption) const {
    for (int i = 0; i < count; ++i) {
        if (std::string_view(captions[i].data()) == caption) {
            return i;
        }
    }
    return -1;
}

void* PageTable::Find(std::string_view caption) const {
    const int index = IndexOf(caption);
    return index >= 0 ? pages[index] : nullptr;
}

bool PageTable::IsCurrent(std::string_view caption) const {
    const int index = IndexOf(caption);
    return index >= 0 && index == current;
}

}  // namespace velmora::settings
