// A "Registry Error" reporter that keeps the codes it is given instead of
// showing them.
#pragma once

#include <vector>

#include "registry/registry_error_reporter.h"

namespace velmora::testing {

struct RecordingErrorReporter : registry::RegistryErrorReporter {
    void Report(registry::RegistryError error) override { errors.push_back(error); }
    std::vector<registry::RegistryError> errors;
};

}  // namespace velmora::testing
