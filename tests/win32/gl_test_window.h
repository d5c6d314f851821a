// A visible window with a current WGL context, for tests that draw with
// OpenGL and read the pixels back.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::testing {

class GlTestWindow {
public:
    GlTestWindow() = default;
    GlTestWindow(const GlTestWindow&) = delete;
    GlTestWindow& operator=(const GlTestWindow&) = delete;
    ~GlTestWindow();

    // Creates the window and makes its context current on this thread. On
    // failure, Error() says which step failed.
    bool Create(int width, int height);

    HWND Window() const { return window_; }
    HDC DeviceContext() const { return dc_; }
    HGLRC Context() const { return context_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::string& Error() const { return error_; }

    // RGBA bytes of a rectangle of the back buffer, bottom row first.
    std::vector<std::uint8_t> ReadPixels(int x, int y, int width, int height) const;
    std::array<std::uint8_t, 4> ReadPixel(int x, int y) const;

    // The GL implementation's name, for messages.
    std::string Renderer() const;

private:
    bool Fail(const std::string& step);
    void Destroy();

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::string error_;
};

}  // namespace velmora::testing
