// Where the list storage sends a registry failure that the user must see.
#pragma once

#include "registry/registry_store.h"

namespace velmora::lists {

class RegistryErrorReporter {
public:
    virtual ~RegistryErrorReporter() = default;
    virtual void Report(settings::RegistryError error) = 0;
};

}  // namespace velmora::lists
