#include "base/run_mode.h"

namespace velmora {

ProcessValues& Process() {
    static ProcessValues values;
    return values;
}

}  // namespace velmora
