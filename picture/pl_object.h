// Common base of the picture library's classes.
#pragma once

namespace velmora::picture {

class PLObject {
public:
    PLObject() = default;
    PLObject(const PLObject&) = default;
    PLObject& operator=(const PLObject&) = default;
    virtual ~PLObject() = default;
};

}  // namespace velmora::picture
