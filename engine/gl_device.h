// The OpenGL 1.1 device on the saver's window: fixed lighting state, frames,
// matrices, meshes, text and the texture cache. Creating and releasing the
// context is Win32 (win32/gl_device_win32.cpp); everything else only issues
// GL calls. All of it runs on the thread that attached the context.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/platform.h"
#include "base/status.h"
#include "engine/math3d.h"
#include "engine/mesh.h"
#include "engine/texture.h"

// <windows.h> turns DrawText into DrawTextA; in files that see both, the
// name means the device's operation (use DrawTextA for the Win32 one).
#ifdef DrawText
#undef DrawText
#endif

namespace velmora::engine {

// GL's largest texture side (0 when GL gives no answer).
int GlMaxTextureSize();

// Asks the driver to make each swap wait for interval refreshes of the
// display (wglSwapIntervalEXT, looked up on the current context); false where
// the driver does not offer it.
bool SystemSwapInterval(int interval);

// What the device asks outside the drawing: the largest texture side, the
// swap interval, and where its debugger-output lines go. GL, the driver and
// the debugger unless handed others.
struct GlDeviceServices {
    std::function<int()> maxTextureSize = &GlMaxTextureSize;
    std::function<void(const std::string&)> debugOutput = [](const std::string& line) {
        platform::WriteDebugOutput(line);
    };
    std::function<bool(int)> swapInterval = &SystemSwapInterval;
};

class GlDevice {
public:
    explicit GlDevice(GlDeviceServices services = {});
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;
    // Deletes the GL textures still cached, then releases the context.
    ~GlDevice();

    // Creates the context on window and sets the fixed state: E_FAIL, and
    // nothing attached, when no pixel format or current context can be had.
    // Null releases (1 when nothing was attached).
    HRESULT Attach(void* window);
    bool IsAttached() const { return window_ != nullptr; }
    // Sets the viewport to the attached window's whole client area.
    HRESULT FitViewportToWindow();

    HRESULT SetViewport(int x, int y, int width, int height);
    HRESULT Clear(bool colour, bool depth);
    HRESULT Present();
    // Each Present waits for interval refreshes of the display: E_NOTIMPL
    // where the driver does not offer it, E_FAIL when not attached.
    HRESULT SetSwapInterval(int interval);
    HRESULT LoadMatrix(const Matrix4* matrix);
    HRESULT SetCapability(unsigned capability, bool on);
    HRESULT SetOrtho(double left, double right, double bottom, double top, double nearPlane,
                     double farPlane);
    // Flat drawing in width × height units from the bottom left, without
    // depth test, lighting or culling; End2D gives back the projection matrix
    // and the enable bits. Text blends its modulated glyphs over the scene;
    // a background picture replaces what is there (decal, no blending);
    // untextured shapes (stars) blend.
    enum class Flat2D { Text, Picture, Untextured };
    HRESULT Begin2D(double width, double height, Flat2D kind);
    HRESULT End2D();
    // One glDrawElements of the mesh's arrays.
    HRESULT DrawMesh(const Mesh* mesh);
    // printf-style text in character cells at (x, y); flags as in glyph_table.h.
    HRESULT DrawText(float x, float y, int flags, const char* format, ...);
    HRESULT DrawTextV(float x, float y, int flags, const char* format, std::va_list arguments);

    // Texture cache.
    HRESULT FindOrLoadTexture(const char* name, Texture** texture);
    HRESULT RemoveTexture(const char* name);
    HRESULT BindMeshTexture(Mesh* mesh);
    HRESULT ReleaseMeshTexture(Mesh* mesh);
    std::size_t CachedTextureCount() const { return cache_.size(); }
    Texture* CachedTexture(std::size_t i) const { return cache_[i].get(); }

    // GL copies of textures.
    HRESULT UploadTexture(Texture* texture);
    HRESULT DeleteGlTexture(Texture* texture);
    HRESULT ReplaceTextureImage(Texture* oldTexture, Texture* newTexture);

    float Aspect() const { return aspect_; }
    float FieldOfView() const { return fieldOfView_; }
    float NearPlane() const { return nearPlane_; }
    float FarPlane() const { return farPlane_; }
    int ViewportWidth() const { return viewport_[2]; }
    int ViewportHeight() const { return viewport_[3]; }

private:
    void ApplyFixedState();
    int MaxTextureSize() const;
    void WriteDebugLine(const char* format, ...);

    void* window_ = nullptr;
    void* deviceContext_ = nullptr;
    void* renderContext_ = nullptr;
    float aspect_ = 1.0f;
    float fieldOfView_ = 80.0f;
    float nearPlane_ = 1.0f;
    float farPlane_ = 100.0f;
    int viewport_[4] = {0, 0, 0, 0};
    int depthBits_ = 0;
    std::vector<std::unique_ptr<Texture>> cache_;
    GlDeviceServices services_;

    friend struct GlDeviceWin32;
};

}  // namespace velmora::engine
