// Away from Windows there is no Internet connection to check with: the
// update check is never armed.
#include "web/update_check_api.h"

namespace velmora::web {

namespace {

bool Offline() {
    return false;
}
InternetHandle NoSession(const char*) {
    return nullptr;
}
InternetHandle NoRequest(InternetHandle, const char*, std::uint32_t) {
    return nullptr;
}
bool NoLength(InternetHandle, std::uint32_t*) {
    return false;
}
bool NoRead(InternetHandle, void*, std::uint32_t, std::uint32_t*) {
    return false;
}
void NoClose(InternetHandle) {}
void NoTimer(WindowHandle, std::uintptr_t, std::uint32_t) {}
void NoKill(WindowHandle, std::uintptr_t) {}
void NoPost(WindowHandle, unsigned, MessageParam, MessageLParam) {}
bool NoThread(void (*)(void*), void*) {
    return false;
}
registry::RegistryStore* NoRegistry() {
    return nullptr;
}

}  // namespace

UpdateCheckApi SystemUpdateCheckApi() {
    return UpdateCheckApi{Offline, NoSession, NoRequest, NoLength, NoRead,     NoClose,
                          NoTimer, NoKill,    NoPost,    NoThread, NoRegistry, {}};
}

}  // namespace velmora::web
