#include "frame/win32/saver_run.h"

namespace velmora {

// The saver window, its message loop and exit rules come with the saver run;
// until then both run modes end at once.
void RunSaver(SaverApp&, HWND, int) {}

}  // namespace velmora
