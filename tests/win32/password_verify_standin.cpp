// A stand-in for the Windows 9x screen-saver password check: answers what
// VELMORA_PASSWORD_ACCEPT says ("1" accepts) and notes each call in the file
// named by VELMORA_PASSWORD_RECORD.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("VELMORA_PASSWORD_RECORD", path, MAX_PATH) != 0) {
        if (FILE* file = std::fopen(path, "ab")) {
            std::fprintf(file, "verify %d\n", IsWindow(owner) ? 1 : 0);
            std::fclose(file);
        }
    }
    char answer[8] = {};
    GetEnvironmentVariableA("VELMORA_PASSWORD_ACCEPT", answer, sizeof answer);
    return answer[0] == '1' ? TRUE : FALSE;
}
