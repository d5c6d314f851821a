#include "engine/gl_device.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/platform.h"
#include "base/utf8.h"
#include "engine/gl_api.h"
#include "engine/glyph_table.h"

namespace velmora::engine {

namespace {

GLenum GlModeOf(PrimitiveKind kind) {
    switch (kind) {
        case PrimitiveKind::None:
        case PrimitiveKind::Points:
            return GL_POINTS;
        case PrimitiveKind::LineStrip:
            return GL_LINE_STRIP;
        case PrimitiveKind::LineLoop:
            return GL_LINE_LOOP;
        case PrimitiveKind::Lines:
            return GL_LINES;
        case PrimitiveKind::TriangleStrip:
            return GL_TRIANGLE_STRIP;
        case PrimitiveKind::TriangleFan:
            return GL_TRIANGLE_FAN;
        case PrimitiveKind::Triangles:
            return GL_TRIANGLES;
        case PrimitiveKind::QuadStrip:
            return GL_QUAD_STRIP;
        case PrimitiveKind::Quads:
            return GL_QUADS;
    }
    return GL_POINTS;
}

void SetTextureParameters() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

// Every index must name a vertex that every enabled array holds; GL would
// otherwise read past the arrays.
bool ArraysCoverIndices(const Mesh& mesh) {
    const std::uint32_t flags = mesh.Flags();
    std::size_t vertices = SIZE_MAX;
    auto limit = [&](std::uint32_t flag, const FloatArray& array, std::size_t perVertex) {
        if ((flags & flag) != 0) {
            vertices = std::min(vertices, array.Count() / perVertex);
        }
    };
    limit(mesh_arrays::Positions, mesh.Positions(), 3);
    limit(mesh_arrays::TexCoords, mesh.TexCoords(), 2);
    limit(mesh_arrays::Normals, mesh.Normals(), 3);
    limit(mesh_arrays::Colours, mesh.Colours(), 3);
    const IndexArray& indices = mesh.Indices();
    for (std::size_t i = 0; i < indices.Count(); ++i) {
        if (indices[i] >= vertices) {
            return false;
        }
    }
    return true;
}

}  // namespace

int GlMaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

GlDevice::GlDevice(GlDeviceServices services) : services_(std::move(services)) {}

HRESULT GlDevice::SetSwapInterval(int interval) {
    if (!IsAttached()) {
        return E_FAIL;
    }
    return services_.swapInterval && services_.swapInterval(interval) ? S_OK : E_NOTIMPL;
}

GlDevice::~GlDevice() {
    if (IsAttached()) {
        for (auto& texture : cache_) {
            DeleteGlTexture(texture.get());
        }
        Attach(nullptr);
    }
}

void GlDevice::ApplyFixedState() {
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glShadeModel(GL_SMOOTH);
    const GLfloat specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, 50.0f);
    const GLfloat lightPosition[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
}

HRESULT GlDevice::SetViewport(int x, int y, int width, int height) {
    if (!IsAttached()) {
        return E_FAIL;
    }
    viewport_[0] = x;
    viewport_[1] = y;
    viewport_[2] = width;
    viewport_[3] = height;
    glViewport(x, y, width, height);
    return S_OK;
}

HRESULT GlDevice::Clear(bool colour, bool depth) {
    if (!IsAttached()) {
        return E_FAIL;
    }
    glClear((colour ? GL_COLOR_BUFFER_BIT : 0) | (depth ? GL_DEPTH_BUFFER_BIT : 0));
    return S_OK;
}

HRESULT GlDevice::LoadMatrix(const Matrix4* matrix) {
    if (matrix == nullptr) {
        return E_POINTER;
    }
    glLoadMatrixf(matrix->m);
    return S_OK;
}

HRESULT GlDevice::SetCapability(unsigned capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
    return S_OK;
}

HRESULT GlDevice::SetOrtho(double left, double right, double bottom, double top, double nearPlane,
                           double farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    return S_OK;
}

HRESULT GlDevice::Begin2D(double width, double height, Flat2D kind) {
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    if (kind == Flat2D::Picture) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
    }
    if (kind == Flat2D::Untextured) {
        glDisable(GL_TEXTURE_2D);
    } else {
        glEnable(GL_TEXTURE_2D);
    }
    if (kind == Flat2D::Text) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    }
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    return S_OK;
}

HRESULT GlDevice::End2D() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    return S_OK;
}

HRESULT GlDevice::DrawMesh(const Mesh* mesh) {
    if (mesh == nullptr) {
        return E_FAIL;
    }
    if (!ArraysCoverIndices(*mesh)) {
        return E_FAIL;
    }
    const std::uint32_t flags = mesh->Flags();
    if ((flags & mesh_arrays::Positions) != 0) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, mesh->Positions().Data());
    } else {
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    if ((flags & mesh_arrays::TexCoords) != 0) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, mesh->TexCoords().Data());
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if ((flags & mesh_arrays::Normals) != 0) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, mesh->Normals().Data());
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }
    if ((flags & mesh_arrays::Colours) != 0) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, mesh->Colours().Data());
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glDrawElements(GlModeOf(mesh->Kind()), static_cast<GLsizei>(mesh->Indices().Count()),
                   GL_UNSIGNED_INT, mesh->Indices().Data());
    return S_OK;
}

HRESULT GlDevice::DrawText(float x, float y, int flags, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    const HRESULT result = DrawTextV(x, y, flags, format, arguments);
    va_end(arguments);
    return result;
}

HRESULT GlDevice::DrawTextV(float x, float y, int flags, const char* format,
                            std::va_list arguments) {
    if (format == nullptr) {
        return S_FALSE;
    }
    // The formatter never writes past its 1,024 bytes; longer text is cut
    // between two characters.
    char text[1024];
    const int written = std::vsnprintf(text, sizeof text, format, arguments);
    if (written <= 0) {
        return S_FALSE;
    }
    const std::size_t length = std::min(static_cast<std::size_t>(written), sizeof text - 1);
    const std::string_view whole(text, length);
    Mesh mesh;
    const HRESULT built = BuildTextMesh(
        static_cast<std::size_t>(written) < sizeof text ? whole : WithoutCutCharacter(whole), x, y,
        flags, mesh);
    if (built != S_OK) {
        return built;
    }
    return DrawMesh(&mesh);
}

HRESULT GlDevice::FindOrLoadTexture(const char* name, Texture** texture) {
    if (name == nullptr || texture == nullptr) {
        return E_POINTER;
    }
    for (const auto& cached : cache_) {
        if (std::strcmp(cached->Name(), name) == 0) {
            *texture = cached.get();
            return S_FALSE;
        }
    }
    auto loaded = std::make_unique<Texture>();
    HRESULT result = loaded->LoadFromResource(name);
    loaded->SetName(name);
    if (FAILED(result)) {
        result = loaded->LoadPictureAsTexture(name, false);
        loaded->SetName(name);
    }
    if (FAILED(result)) {
        result = loaded->LoadPackedFile(name);
    }
    if (FAILED(result)) {
        return result;
    }
    // The list grows four entries at a time.
    if (cache_.size() == cache_.capacity()) {
        cache_.reserve(cache_.capacity() + 4);
    }
    *texture = loaded.get();
    cache_.push_back(std::move(loaded));
    return S_OK;
}

HRESULT GlDevice::RemoveTexture(const char* name) {
    if (name == nullptr) {
        return E_POINTER;
    }
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        if (std::strcmp((*it)->Name(), name) == 0) {
            DeleteGlTexture(it->get());
            cache_.erase(it);
            return S_OK;
        }
    }
    return S_FALSE;
}

HRESULT GlDevice::BindMeshTexture(Mesh* mesh) {
    if (mesh == nullptr) {
        return E_POINTER;
    }
    if (mesh->GetTexture(0) != nullptr || mesh->GetTextureName(0)[0] == '\0') {
        return S_FALSE;
    }
    const std::string name(mesh->GetTextureName(0),
                           strnlen(mesh->GetTextureName(0), Mesh::kNameBytes));
    Texture* texture = nullptr;
    const HRESULT result = FindOrLoadTexture(name.c_str(), &texture);
    if (FAILED(result)) {
        return result;
    }
    mesh->SetTexture(texture, 0);
    return S_OK;
}

HRESULT GlDevice::ReleaseMeshTexture(Mesh* mesh) {
    if (mesh == nullptr) {
        return E_POINTER;
    }
    if (mesh->GetTexture(0) == nullptr || mesh->GetTextureName(0)[0] == '\0') {
        return S_FALSE;
    }
    const std::string name(mesh->GetTextureName(0),
                           strnlen(mesh->GetTextureName(0), Mesh::kNameBytes));
    const HRESULT result = RemoveTexture(name.c_str());
    return FAILED(result) ? result : S_OK;
}

int GlDevice::MaxTextureSize() const {
    return services_.maxTextureSize();
}

void GlDevice::WriteDebugLine(const char* format, ...) {
    char line[1024];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (services_.debugOutput) {
        services_.debugOutput(line);
    }
}

HRESULT GlDevice::UploadTexture(Texture* texture) {
    if (texture == nullptr) {
        return E_POINTER;
    }
    if (texture->IsDirty()) {
        DeleteGlTexture(texture);
    }
    if (texture->GlName() != 0) {
        glBindTexture(GL_TEXTURE_2D, texture->GlName());
        return S_OK;
    }
    if (texture->Pixels() == nullptr) {
        return E_FAIL;
    }
    const int maximum = MaxTextureSize();
    if (maximum > 0 && (texture->Width() > maximum || texture->Height() > maximum)) {
        const int width = std::min(texture->Width(), maximum);
        const int height = std::min(texture->Height(), maximum);
        WriteDebugLine("Rescaling texture, %s %dx%d resizing to %dx%d\n", texture->Name(),
                       texture->Width(), texture->Height(), width, height);
        const HRESULT resized = texture->Resize(width, height, true, false);
        if (FAILED(resized)) {
            return resized;
        }
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    SetTextureParameters();
    const bool alpha = texture->BytesPerPixel() == 4;
    glTexImage2D(GL_TEXTURE_2D, 0, texture->BytesPerPixel(), texture->Width(), texture->Height(), 0,
                 alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, texture->Pixels());
    if (glGetError() != GL_NO_ERROR) {
        // Leave no name behind: a later upload tries again from scratch.
        glDeleteTextures(1, &name);
        return S_OK;
    }
    texture->SetGlName(name);
    texture->SetDirty(false);
    return S_OK;
}

HRESULT GlDevice::DeleteGlTexture(Texture* texture) {
    if (texture == nullptr) {
        return E_POINTER;
    }
    if (texture->GlName() == 0) {
        return S_FALSE;
    }
    const GLuint name = texture->GlName();
    glDeleteTextures(1, &name);
    texture->SetGlName(0);
    return S_OK;
}

HRESULT GlDevice::ReplaceTextureImage(Texture* oldTexture, Texture* newTexture) {
    if (oldTexture == nullptr || newTexture == nullptr) {
        return E_POINTER;
    }
    if (oldTexture->GlName() == 0 || newTexture->Pixels() == nullptr) {
        return E_FAIL;
    }
    glBindTexture(GL_TEXTURE_2D, oldTexture->GlName());
    SetTextureParameters();
    const bool alpha = newTexture->BytesPerPixel() == 4;
    while (glGetError() != GL_NO_ERROR) {
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, newTexture->Width(), newTexture->Height(),
                    alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, newTexture->Pixels());
    if (glGetError() != GL_NO_ERROR) {
        return E_FAIL;
    }
    newTexture->SetGlName(oldTexture->GlName());
    newTexture->SetDirty(false);
    oldTexture->SetGlName(0);
    return S_OK;
}

}  // namespace velmora::engine
