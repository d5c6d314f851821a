// The "Registry Error" message of the list storage.
#pragma once

#include <string>

#include "registry/registry_error_reporter.h"

namespace velmora::registry {

// The system's own description of an error code (user's default language, no
// inserts); empty when the system has none.
std::string SystemErrorText(RegistryError error);

// Shows the system's text for the code in an ownerless box; nothing at all
// when the system has no text for it.
class RegistryErrorBox : public RegistryErrorReporter {
public:
    void Report(RegistryError error) override;
};

}  // namespace velmora::registry
