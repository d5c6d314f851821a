#include "linux/posix/glx_surface.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace velmora::host {

struct GlxSurface::Impl {
    Display* display = nullptr;
    Window given = 0;     // the window drawn into, or that the child covers
    Window drawable = 0;  // where GL draws
    bool ownDrawable = false;
    bool ownTopLevel = false;
    Colormap colormap = 0;
    GLXContext context = nullptr;
    Atom deleteWindow = 0;
    int width = 0;
    int height = 0;
};

namespace {

VisualTraits TraitsOf(Display* display, XVisualInfo* info) {
    auto config = [&](int attribute) {
        int value = 0;
        return glXGetConfig(display, info, attribute, &value) == 0 ? value : 0;
    };
    VisualTraits traits;
    traits.gl = config(GLX_USE_GL) != 0;
    traits.rgba = config(GLX_RGBA) != 0;
    traits.doubleBuffer = config(GLX_DOUBLEBUFFER) != 0;
    traits.depthBits = config(GLX_DEPTH_SIZE);
    return traits;
}

XVisualInfo* VisualOfWindow(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return nullptr;
    }
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    return XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
}

XVisualInfo* SceneVisual(Display* display, int screen) {
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1,   GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE,
        1,        GLX_DEPTH_SIZE,   24,           None};
    if (XVisualInfo* info = glXChooseVisual(display, screen, attributes)) {
        return info;
    }
    attributes[9] = 16;
    return glXChooseVisual(display, screen, attributes);
}

}  // namespace

GlxSurface::GlxSurface() = default;

GlxSurface::~GlxSurface() {
    if (impl_ == nullptr) {
        return;
    }
    if (impl_->display != nullptr) {
        if (impl_->context != nullptr) {
            glXMakeCurrent(impl_->display, None, nullptr);
            glXDestroyContext(impl_->display, impl_->context);
        }
        if (impl_->ownDrawable && impl_->drawable != 0) {
            XDestroyWindow(impl_->display, impl_->drawable);
        }
        if (impl_->colormap != 0) {
            XFreeColormap(impl_->display, impl_->colormap);
        }
        XCloseDisplay(impl_->display);
    }
}

bool GlxSurface::Open(const WindowChoice& choice, std::string& error) {
    impl_ = std::make_unique<Impl>();
    Impl& s = *impl_;
    s.display = XOpenDisplay(nullptr);
    if (s.display == nullptr) {
        error = "cannot open the display";
        return false;
    }
    const int screen = DefaultScreen(s.display);
    switch (choice.target) {
        case WindowTarget::WindowId:
            s.given = choice.windowId;
            break;
        case WindowTarget::Root:
            s.given = choice.windowId != 0 ? choice.windowId : RootWindow(s.display, screen);
            break;
        case WindowTarget::Own:
            s.given = 0;
            break;
    }
    XVisualInfo* visual = nullptr;
    if (s.given != 0) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(s.display, s.given, &attributes) == 0) {
            error = "no such window";
            return false;
        }
        s.width = attributes.width;
        s.height = attributes.height;
        // Follow the given window's size; the own child covers it.
        XSelectInput(s.display, s.given, StructureNotifyMask);
        visual = VisualOfWindow(s.display, s.given);
        if (visual != nullptr && VisualSuitsScene(TraitsOf(s.display, visual))) {
            s.drawable = s.given;
        } else if (visual != nullptr) {
            XFree(visual);
            visual = nullptr;
        }
    }
    if (s.drawable == 0) {
        visual = SceneVisual(s.display, screen);
        if (visual == nullptr) {
            error = "no double-buffered GLX visual with a depth buffer";
            return false;
        }
        const Window parent = s.given != 0 ? s.given : RootWindow(s.display, screen);
        s.colormap = XCreateColormap(s.display, parent, visual->visual, AllocNone);
        XSetWindowAttributes attributes{};
        attributes.colormap = s.colormap;
        attributes.background_pixel = BlackPixel(s.display, screen);
        attributes.border_pixel = 0;
        attributes.event_mask = StructureNotifyMask;
        if (s.given == 0) {
            s.width = 800;
            s.height = 600;
            s.ownTopLevel = true;
        }
        s.drawable = XCreateWindow(
            s.display, parent, 0, 0, static_cast<unsigned>(s.width),
            static_cast<unsigned>(s.height), 0, visual->depth, InputOutput, visual->visual,
            CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
        s.ownDrawable = true;
        if (s.ownTopLevel) {
            XStoreName(s.display, s.drawable, "Velmora");
            s.deleteWindow = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
            XSetWMProtocols(s.display, s.drawable, &s.deleteWindow, 1);
        }
        XMapRaised(s.display, s.drawable);
    }
    s.context = glXCreateContext(s.display, visual, nullptr, True);
    XFree(visual);
    if (s.context == nullptr) {
        error = "cannot create a GLX context";
        return false;
    }
    XSync(s.display, False);
    return true;
}

int GlxSurface::ConnectionDescriptor() const {
    return impl_ != nullptr && impl_->display != nullptr ? ConnectionNumber(impl_->display) : -1;
}

bool GlxSurface::HandleEvents(bool& resized) {
    resized = false;
    Impl& s = *impl_;
    while (XPending(s.display) > 0) {
        XEvent event{};
        XNextEvent(s.display, &event);
        if (event.type == ConfigureNotify) {
            const XConfigureEvent& configure = event.xconfigure;
            const bool ours = configure.window == (s.given != 0 ? s.given : s.drawable);
            if (ours && (configure.width != s.width || configure.height != s.height)) {
                s.width = configure.width;
                s.height = configure.height;
                if (s.drawable != s.given && s.given != 0) {
                    XResizeWindow(s.display, s.drawable, static_cast<unsigned>(s.width),
                                  static_cast<unsigned>(s.height));
                }
                resized = true;
            }
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == s.given) {
            return false;
        } else if (event.type == ClientMessage &&
                   static_cast<Atom>(event.xclient.data.l[0]) == s.deleteWindow) {
            return false;
        }
    }
    return true;
}

bool GlxSurface::MakeCurrent() {
    return impl_ != nullptr && impl_->context != nullptr &&
           glXMakeCurrent(impl_->display, impl_->drawable, impl_->context) == True;
}

void GlxSurface::ReleaseCurrent() {
    glXMakeCurrent(impl_->display, None, nullptr);
}

void GlxSurface::Size(int& width, int& height) {
    width = impl_->width;
    height = impl_->height;
}

void GlxSurface::SwapBuffers() {
    glXSwapBuffers(impl_->display, impl_->drawable);
}

}  // namespace velmora::host
