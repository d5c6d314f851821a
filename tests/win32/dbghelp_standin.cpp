// A debugging-help library of the right name without a minidump writer.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI SymInitialize(HANDLE, PCSTR, BOOL) {
    return FALSE;
}
