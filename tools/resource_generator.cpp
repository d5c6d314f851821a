// Making the program's packed resources (resource_generator.h).
#include "tools/resource_generator.h"

#include <cstring>
#include <memory>

#include "engine/mesh.h"
#include "engine/texture.h"
#include "tools/packed_writer.h"
#include "tools/resource_art.h"
#include "tools/resource_meshes.h"

namespace velmora::tools {

namespace {

bool AddTexture(std::vector<GeneratedResource>& out, const char* resource, const char* name,
                const ArtPicture& art) {
    engine::Texture texture;
    const std::size_t bytes = art.pixels.size();
    if (bytes != static_cast<std::size_t>(art.width) * art.height * art.bytesPerPixel) {
        return false;
    }
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[bytes]);
    std::memcpy(pixels.get(), art.pixels.data(), bytes);
    texture.SetPixels(art.width, art.height, art.bytesPerPixel, std::move(pixels));
    texture.SetName(name);
    GeneratedResource r{resource, {}};
    if (!WritePacked(texture, r.packed)) {
        return false;
    }
    out.push_back(std::move(r));
    return true;
}

bool AddMesh(std::vector<GeneratedResource>& out, const std::string& resource, engine::Mesh& mesh) {
    GeneratedResource r{resource, {}};
    if (!WritePacked(mesh, r.packed)) {
        return false;
    }
    out.push_back(std::move(r));
    return true;
}

}  // namespace

std::vector<GeneratedResource> GenerateResources(const std::string& fontFolder) {
    std::vector<GeneratedResource> out;
    const ArtPicture font = MakeFontPicture(fontFolder);
    const ArtPicture defaultPicture = MakeDefaultPicture(fontFolder);
    if (font.pixels.empty() || defaultPicture.pixels.empty()) {
        return {};
    }
    bool ok = AddTexture(out, "CHROME.TEX", "chrome.bmp", MakeChromeEnvironment()) &&
              AddTexture(out, "SKY.TEX", "sky.bmp", MakeSkyEnvironment()) &&
              AddTexture(out, "DEFAULT.TEX", "default.bmp", defaultPicture) &&
              AddTexture(out, "FONT1-A.TEX", "font1-a.bmp", font);
    engine::Mesh box;
    BuildChamferBox(box);
    ok = ok && AddMesh(out, "CUBE2.MSH", box);
    for (int face = 0; face < 6 && ok; ++face) {
        engine::Mesh mesh;
        BuildCubeFace(face, mesh);
        ok = AddMesh(out, "PCUBE" + std::to_string(face) + ".MSH", mesh);
    }
    return ok ? out : std::vector<GeneratedResource>{};
}

}  // namespace velmora::tools
