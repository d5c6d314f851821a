// Any bytes as a packed resource, read into a texture and into a mesh; what
// reads is copied again through its own record.
#include <cstddef>
#include <cstdint>

#include "engine/mesh.h"
#include "engine/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::engine;
    Texture texture;
    if (SUCCEEDED(texture.LoadPacked(data, size))) {
        Texture copy;
        copy.CopyFrom(texture);
    }
    Mesh mesh;
    if (SUCCEEDED(mesh.LoadPacked(data, size))) {
        Mesh copy;
        copy.CopyFrom(mesh);
        mesh.SetPrimitives(mesh.Kind(), 2);
    }
    return 0;
}
