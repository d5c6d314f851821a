// Where the list storage sends a registry failure that the user must see.
#pragma once

#include "registry/registry_store.h"

namespace velmora::registry {

class RegistryErrorReporter {
public:
    virtual ~RegistryErrorReporter() = default;
    virtual void Report(RegistryError error) = 0;
};

}  // namespace velmora::registry
