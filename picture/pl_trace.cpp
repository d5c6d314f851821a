#include "picture/pl_trace.h"

#include <cstdio>
#include <mutex>

namespace velmora::picture {

namespace {

struct TraceConfig {
    std::mutex mutex;
    int level = 0;
    std::string path;
};

TraceConfig& Config() {
    static TraceConfig config;
    return config;
}

}  // namespace

void PLSetTraceConfig(int traceLevel, const std::string& path) {
    TraceConfig& config = Config();
    std::lock_guard lock(config.mutex);
    config.level = traceLevel;
    config.path = path;
}

void PLTrace(int level, std::string_view line) {
    TraceConfig& config = Config();
    std::lock_guard lock(config.mutex);
    if (config.level <= level || config.path.empty()) {
        return;
    }
    if (FILE* file = std::fopen(config.path.c_str(), "a")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
}

}  // namespace velmora::picture
