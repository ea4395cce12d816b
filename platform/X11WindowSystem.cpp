#include "platform/X11WindowSystem.h"

#include "platform/RoundRegion.h"
#include "platform/WindowMessages.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

struct X11WindowSystem::Native {
    ::Window xid = 0;
    Visual* visual = nullptr;
    int depth = 0;
    GC gc = nullptr;
    Colormap colormap = 0;
    bool mapped = false;
    bool focusWhenMapped = false;

    void Release(Display* display) const
    {
        if (gc) XFreeGC(display, gc);
        XDestroyWindow(display, xid);
        if (colormap) XFreeColormap(display, colormap);
    }
};

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                            StructureNotifyMask | FocusChangeMask;
constexpr unsigned kPointerGrabMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
constexpr uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 4;
constexpr int kClipboardWaitMs = 500;

// Errors of calls on windows that are just going away are expected; they must not end the program.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// WM_CLASS, the client machine and _NET_WM_PID: docks group the windows under the program
// and a window manager can find the process of a window that stopped answering.
void SetProgramIdentity(Display* display, ::Window xid)
{
    std::string name = program_invocation_short_name;
    std::string className = name;
    if (!className.empty()) className[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(className[0])));
    XClassHint hint{name.data(), className.data()};
    XSetClassHint(display, xid, &hint);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        XTextProperty machine{reinterpret_cast<unsigned char*>(host), XA_STRING, 8, std::strlen(host)};
        XSetWMClientMachine(display, xid, &machine);
    }
    const long pid = getpid();
    XChangeProperty(display, xid, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
}

uint32_t ModifierBits(unsigned state)
{
    uint32_t bits = 0;
    if (state & ShiftMask) bits |= MK_SHIFT;
    if (state & ControlMask) bits |= MK_CONTROL;
    if (state & Mod1Mask) bits |= MK_ALT;
    return bits;
}

uint32_t MouseKeyBits(unsigned state)
{
    uint32_t bits = ModifierBits(state) & (MK_SHIFT | MK_CONTROL);
    if (state & Button1Mask) bits |= MK_LBUTTON;
    if (state & Button3Mask) bits |= MK_RBUTTON;
    return bits;
}

// The virtual-key code of a key symbol, 0 when it has none of ours.
uintptr_t VirtualKey(KeySym sym)
{
    switch (sym) {
    case XK_Return:
    case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_Tab:
    case XK_ISO_Left_Tab: return VK_TAB;
    case XK_BackSpace: return VK_BACK;
    case XK_Delete:
    case XK_KP_Delete: return VK_DELETE;
    case XK_Left:
    case XK_KP_Left: return VK_LEFT;
    case XK_Right:
    case XK_KP_Right: return VK_RIGHT;
    case XK_Home:
    case XK_KP_Home: return VK_HOME;
    case XK_End:
    case XK_KP_End: return VK_END;
    case XK_space: return VK_SPACE;
    case XK_Shift_L:
    case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L:
    case XK_Alt_R: return VK_MENU;
    default: break;
    }
    if (sym >= XK_a && sym <= XK_z) return 'A' + (sym - XK_a);
    if (sym >= XK_A && sym <= XK_Z) return 'A' + (sym - XK_A);
    if (sym >= XK_0 && sym <= XK_9) return '0' + (sym - XK_0);
    return 0;
}

// The character a key symbol types, 0 for none (Latin-1 symbols are their
// code points, others carry the code point with 0x01000000).
uint32_t KeyCharacter(KeySym sym)
{
    switch (sym) {
    case XK_Return:
    case XK_KP_Enter: return 13;
    case XK_BackSpace: return 8;
    case XK_Tab: return 9;
    case XK_Escape: return 27;
    default: break;
    }
    if (sym >= 0x20 && sym <= 0xFF) return static_cast<uint32_t>(sym);
    if ((sym & 0xFF000000) == 0x01000000) return static_cast<uint32_t>(sym & 0x00FFFFFF);
    return 0;
}

}  // namespace

std::unique_ptr<X11WindowSystem> X11WindowSystem::Open()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    return std::unique_ptr<X11WindowSystem>(new X11WindowSystem(display));
}

X11WindowSystem::X11WindowSystem(Display* display) : display_(display)
{
    XSetErrorHandler(IgnoreXError);
    cursors_[0] = XCreateFontCursor(display_, XC_left_ptr);
    cursors_[1] = XCreateFontCursor(display_, XC_hand2);
    cursors_[2] = XCreateFontCursor(display_, XC_xterm);
    helper_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), -10, -10, 1, 1, 0, 0, 0);
}

X11WindowSystem::~X11WindowSystem()
{
    HideTooltip();
    for (const auto& [id, native] : natives_) native->Release(display_);
    for (unsigned long cursor : cursors_) XFreeCursor(display_, cursor);
    XDestroyWindow(display_, helper_);
    XCloseDisplay(display_);
}

unsigned long X11WindowSystem::Intern(const char* name) const { return XInternAtom(display_, name, False); }

unsigned long X11WindowSystem::NativeHandle(WindowId window) const
{
    auto it = natives_.find(window);
    return it == natives_.end() ? 0 : it->second->xid;
}

WindowId X11WindowSystem::FromNative(unsigned long xid) const
{
    for (const auto& [id, native] : natives_) {
        if (native->xid == xid) return id;
    }
    return 0;
}

bool X11WindowSystem::NativeCreate(WindowId window, const WindowParams& params)
{
    auto native = std::make_unique<Native>();
    const int screen = DefaultScreen(display_);
    const ::Window root = RootWindow(display_, screen);
    XSetWindowAttributes attributes{};
    unsigned long mask = CWEventMask | CWBackPixmap;
    attributes.event_mask = kEventMask;
    attributes.background_pixmap = None;
    native->visual = DefaultVisual(display_, screen);
    native->depth = DefaultDepth(display_, screen);
    XVisualInfo argb{};
    if (params.translucent && XMatchVisualInfo(display_, screen, 32, TrueColor, &argb)) {
        native->visual = argb.visual;
        native->depth = 32;
        native->colormap = XCreateColormap(display_, root, argb.visual, AllocNone);
        attributes.colormap = native->colormap;
        attributes.border_pixel = 0;
        mask |= CWColormap | CWBorderPixel;
    }
    const Rect& r = params.rect;
    native->xid = XCreateWindow(display_, root, r.left, r.top, std::max(1, r.Width()), std::max(1, r.Height()), 0,
                                native->depth, InputOutput, native->visual, mask, &attributes);
    if (native->xid == 0) return false;
    native->gc = XCreateGC(display_, native->xid, 0, nullptr);

    // No system frame: the skin draws the whole window.
    const long motifHints[5] = {2, 0, 0, 0, 0};
    XChangeProperty(display_, native->xid, Intern("_MOTIF_WM_HINTS"), Intern("_MOTIF_WM_HINTS"), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motifHints), 5);
    ::Atom deleteWindow = Intern("WM_DELETE_WINDOW");
    XSetWMProtocols(display_, native->xid, &deleteWindow, 1);
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = r.left;
    hints.y = r.top;
    hints.width = r.Width();
    hints.height = r.Height();
    XSetWMNormalHints(display_, native->xid, &hints);
    SetProgramIdentity(display_, native->xid);
    if (params.owner != 0) XSetTransientForHint(display_, native->xid, NativeHandle(params.owner));
    if (params.clickThrough) {
        XShapeCombineRectangles(display_, native->xid, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    }
    natives_[window] = std::move(native);
    NativeTitle(window, params.title);
    return true;
}

void X11WindowSystem::NativeDestroy(WindowId window)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) return;
    if (drag_.window == window) drag_ = {};
    if (tracking_.window == window) tracking_ = {};
    if (pointerWindow_ == window) pointerWindow_ = 0;
    it->second->Release(display_);
    natives_.erase(it);
    XFlush(display_);
}

void X11WindowSystem::NativeShow(WindowId window, bool visible, bool activate)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) return;
    const WindowId owner = GetOwner(window);
    const WindowRecord* record = Find(window);
    if (visible && record != nullptr && record->params.clickThrough && NativeHandle(owner) != 0) {
        // A click-through companion (the shadow) stays directly below its owner.
        XMapWindow(display_, it->second->xid);
        ::Window order[2] = {NativeHandle(owner), it->second->xid};
        XRestackWindows(display_, order, 2);
    } else if (visible) {
        XMapRaised(display_, it->second->xid);
        it->second->focusWhenMapped = activate;
    } else {
        XUnmapWindow(display_, it->second->xid);
        it->second->mapped = false;
    }
    XFlush(display_);
}

void X11WindowSystem::NativeMove(WindowId window, const Rect& rect)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) return;
    XMoveResizeWindow(display_, it->second->xid, rect.left, rect.top, std::max(1, rect.Width()),
                      std::max(1, rect.Height()));
    XFlush(display_);
}

void X11WindowSystem::NativeRegion(WindowId window, const Rect& rect, Size ellipse)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) return;
    if (ellipse.cx <= 0 || ellipse.cy <= 0) {
        XShapeCombineMask(display_, it->second->xid, ShapeBounding, 0, 0, None, ShapeSet);
        return;
    }
    std::vector<XRectangle> rows;
    for (const Rect& span : RoundRegionSpans(rect.Width() + 1, rect.Height() + 1, ellipse)) {
        rows.push_back(XRectangle{static_cast<short>(span.left), static_cast<short>(span.top),
                                  static_cast<unsigned short>(span.Width()),
                                  static_cast<unsigned short>(span.Height())});
    }
    XShapeCombineRectangles(display_, it->second->xid, ShapeBounding, 0, 0, rows.data(),
                            static_cast<int>(rows.size()), ShapeSet, YXBanded);
    XFlush(display_);
}

void X11WindowSystem::NativeTitle(WindowId window, const std::string& title)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) return;
    XChangeProperty(display_, it->second->xid, Intern("_NET_WM_NAME"), Intern("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    XStoreName(display_, it->second->xid, title.c_str());
}

void X11WindowSystem::NativeOpacity(WindowId window, uint8_t opacity)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) return;
    const unsigned long value = static_cast<unsigned long>(opacity) * 0x01010101UL;
    XChangeProperty(display_, it->second->xid, Intern("_NET_WM_WINDOW_OPACITY"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
}

void X11WindowSystem::SetIcon(WindowId window, const uint32_t* pixels, int width, int height)
{
    auto it = natives_.find(window);
    if (it == natives_.end() || pixels == nullptr || width <= 0 || height <= 0) return;
    // _NET_WM_ICON: width, height, then straight (not premultiplied) ARGB, one per long.
    std::vector<unsigned long> icon{static_cast<unsigned long>(width), static_cast<unsigned long>(height)};
    for (int i = 0; i < width * height; ++i) {
        const uint32_t p = pixels[i];
        const uint32_t a = p >> 24;
        auto straight = [a](uint32_t c) { return a == 0 ? 0u : std::min<uint32_t>(255, c * 255 / a); };
        icon.push_back((a << 24) | (straight((p >> 16) & 0xFF) << 16) | (straight((p >> 8) & 0xFF) << 8) |
                       straight(p & 0xFF));
    }
    XChangeProperty(display_, it->second->xid, Intern("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(icon.data()), static_cast<int>(icon.size()));
}

void X11WindowSystem::NativeFocus(WindowId window)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) return;
    if (it->second->mapped) XSetInputFocus(display_, it->second->xid, RevertToParent, CurrentTime);
    else it->second->focusWhenMapped = true;
}

void X11WindowSystem::NativeCapture(WindowId window)
{
    auto it = natives_.find(window);
    if (it == natives_.end()) {
        XUngrabPointer(display_, CurrentTime);
    } else {
        XGrabPointer(display_, it->second->xid, False, kPointerGrabMask, GrabModeAsync, GrabModeAsync, None, None,
                     CurrentTime);
    }
    XFlush(display_);
}

bool X11WindowSystem::SupportsTranslucentWindows() const
{
    const int screen = DefaultScreen(display_);
    XVisualInfo argb{};
    if (!XMatchVisualInfo(display_, screen, 32, TrueColor, &argb)) return false;
    const std::string manager = "_NET_WM_CM_S" + std::to_string(screen);
    return XGetSelectionOwner(display_, Intern(manager.c_str())) != None;
}

Rect X11WindowSystem::GetWorkArea(WindowId) const
{
    const int screen = DefaultScreen(display_);
    Rect area{0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
    ::Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, RootWindow(display_, screen), Intern("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr && format == 32 && count >= 4) {
        const long* values = reinterpret_cast<const long*>(data);
        area = Rect{static_cast<int32_t>(values[0]), static_cast<int32_t>(values[1]),
                    static_cast<int32_t>(values[0] + values[2]), static_cast<int32_t>(values[1] + values[3])};
    }
    if (data != nullptr) XFree(data);
    return area;
}

Point X11WindowSystem::GetCursorPos() const
{
    ::Window rootReturn = 0;
    ::Window child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
    return Point{rootX, rootY};
}

void X11WindowSystem::SetCursor(CursorKind cursor)
{
    auto it = natives_.find(pointerWindow_);
    if (it == natives_.end()) return;
    XDefineCursor(display_, it->second->xid, cursors_[static_cast<int>(cursor)]);
}

void X11WindowSystem::TrackMouse(WindowId window, uint32_t hoverMs)
{
    tracking_ = Tracking{window, hoverMs, TickCount() + hoverMs, false};
}

void X11WindowSystem::ShowTooltip(WindowId, const std::string& text, Point screen)
{
    HideTooltip();
    if (text.empty()) return;
    cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* probeCr = cairo_create(probe);
    PangoLayout* layout = pango_cairo_create_layout(probeCr);
    PangoFontDescription* font = pango_font_description_from_string("Sans 9");
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    pango_layout_set_width(layout, 300 * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    int textWidth = 0, textHeight = 0;
    pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
    const int width = textWidth + 8;
    const int height = textHeight + 6;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1.0, 1.0, 0.88);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.4, 0.4, 0.4);
    cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, 4, 3);
    pango_cairo_show_layout(cr, layout);
    cairo_surface_flush(surface);

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    tooltip_ = XCreateWindow(display_, DefaultRootWindow(display_), screen.x, screen.y + 20, width, height, 0,
                             CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
    XMapRaised(display_, tooltip_);
    GC gc = XCreateGC(display_, tooltip_, 0, nullptr);
    XImage* image = XCreateImage(display_, DefaultVisual(display_, DefaultScreen(display_)),
                                 DefaultDepth(display_, DefaultScreen(display_)), ZPixmap, 0,
                                 reinterpret_cast<char*>(cairo_image_surface_get_data(surface)), width, height, 32,
                                 cairo_image_surface_get_stride(surface));
    if (image != nullptr) {
        XPutImage(display_, tooltip_, gc, image, 0, 0, 0, 0, width, height);
        image->data = nullptr;
        XDestroyImage(image);
    }
    XFreeGC(display_, gc);
    XFlush(display_);

    pango_font_description_free(font);
    g_object_unref(layout);
    cairo_destroy(probeCr);
    cairo_surface_destroy(probe);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void X11WindowSystem::HideTooltip()
{
    if (tooltip_ == 0) return;
    XDestroyWindow(display_, tooltip_);
    tooltip_ = 0;
    XFlush(display_);
}

void X11WindowSystem::Present(WindowId window, const uint32_t* pixels, int width, int height, int stride,
                              const Rect& part)
{
    auto it = natives_.find(window);
    if (it == natives_.end() || pixels == nullptr || !it->second->mapped) return;
    const Rect area = part.Intersect({0, 0, width, height});
    if (area.IsEmpty()) return;
    Native& native = *it->second;
    XImage* image = XCreateImage(display_, native.visual, native.depth, ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<uint32_t*>(pixels)), width, height, 32, stride);
    if (image == nullptr) return;
    XPutImage(display_, native.xid, native.gc, image, area.left, area.top, area.left, area.top, area.Width(),
              area.Height());
    image->data = nullptr;  // the pixels belong to the caller
    XDestroyImage(image);
    XFlush(display_);
}

std::string X11WindowSystem::GetClipboardText()
{
    const ::Atom clipboard = Intern("CLIPBOARD");
    const ::Window owner = XGetSelectionOwner(display_, clipboard);
    if (owner == None) return "";
    // Asking ourselves would wait for an answer only this thread can give.
    if (owner == helper_) return clipboard_;
    const ::Atom target = Intern("UTF8_STRING");
    const ::Atom property = Intern("NUVALO_CLIPBOARD");
    XConvertSelection(display_, clipboard, target, property, helper_, CurrentTime);
    XFlush(display_);
    const uint32_t deadline = TickCount() + kClipboardWaitMs;
    XEvent event;
    while (!XCheckTypedWindowEvent(display_, helper_, SelectionNotify, &event)) {
        const int left = static_cast<int>(deadline - TickCount());
        if (left <= 0) return "";
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, left);
    }
    if (event.xselection.property == None) return "";
    ::Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display_, helper_, property, 0, 1 << 20, True, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr && format == 8) {
        text.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) XFree(data);
    return text;
}

void X11WindowSystem::SetClipboardText(const std::string& text)
{
    clipboard_ = text;
    XSetSelectionOwner(display_, Intern("CLIPBOARD"), helper_, CurrentTime);
    XFlush(display_);
}

// Hands the offered text to another program that asks for it, as UTF-8.
void X11WindowSystem::HandleSelection(const XEvent& event)
{
    if (event.type == SelectionClear) {
        clipboard_.clear();
        return;
    }
    if (event.type != SelectionRequest) return;
    const XSelectionRequestEvent& request = event.xselectionrequest;
    // Clients of the old convention name no property: the target stands for it.
    const ::Atom property = request.property != None ? request.property : request.target;
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    const ::Atom utf8 = Intern("UTF8_STRING");
    const bool clipboard = request.selection == Intern("CLIPBOARD");
    if (clipboard && request.target == Intern("TARGETS")) {
        const ::Atom targets[] = {Intern("TARGETS"), utf8};
        XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(targets), 2);
        reply.property = property;
    } else if (clipboard && request.target == utf8) {
        XChangeProperty(display_, request.requestor, property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(clipboard_.data()), static_cast<int>(clipboard_.size()));
        reply.property = property;
    }
    XEvent notify{};
    notify.xselection = reply;
    XSendEvent(display_, request.requestor, False, NoEventMask, &notify);
    XFlush(display_);
}

void X11WindowSystem::ShowErrorMessage(const std::string& text, const std::string& caption)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    const std::string titleArg = "--title=" + caption;
    const std::string textArg = "--text=" + text;
    char* const argv[] = {const_cast<char*>("zenity"), const_cast<char*>("--error"), const_cast<char*>(titleArg.c_str()),
                          const_cast<char*>(textArg.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "zenity", nullptr, nullptr, argv, environ) != 0) return;
    int status = 0;
    waitpid(child, &status, 0);
}

int X11WindowSystem::HoverTimeout() const
{
    if (tracking_.window == 0 || tracking_.hoverSent) return -1;
    const int left = static_cast<int>(tracking_.hoverDue - TickCount());
    return std::max(0, left);
}

void X11WindowSystem::CheckHover()
{
    if (tracking_.window == 0 || tracking_.hoverSent || HoverTimeout() > 0) return;
    tracking_.hoverSent = true;
    const Point cursor = GetCursorPos();
    const Rect rect = GetWindowRect(tracking_.window);
    PostMessage(Message{tracking_.window, WM_MOUSEHOVER, keyState_,
                        MakePointParam(cursor.x - rect.left, cursor.y - rect.top)});
}

void X11WindowSystem::WaitForEvents(int timeoutMs)
{
    XFlush(display_);
    if (XPending(display_) == 0) {
        int timeout = timeoutMs;
        const int hover = HoverTimeout();
        if (hover >= 0 && (timeout < 0 || hover < timeout)) timeout = hover;
        Queue().Wait(timeout, ConnectionNumber(display_));
    }
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        HandleEvent(event);
    }
    CheckHover();
}

void X11WindowSystem::PostMouse(WindowId window, uint32_t message, uintptr_t wParam, int x, int y)
{
    PostMessage(Message{window, message, wParam, MakePointParam(x, y)});
}

void X11WindowSystem::HandleEvent(XEvent& event)
{
    if (event.type == MappingNotify) {
        // Keys remapped (a layout switch, or a tool typing text): look them up afresh.
        XRefreshKeyboardMapping(&event.xmapping);
        return;
    }
    if (event.xany.window == helper_) {
        HandleSelection(event);
        return;
    }
    const WindowId window = FromNative(event.xany.window);
    if (window == 0) return;
    switch (event.type) {
    case Expose:
        Invalidate(window, Rect{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                event.xexpose.y + event.xexpose.height});
        break;
    case MapNotify:
        natives_[window]->mapped = true;
        if (natives_[window]->focusWhenMapped) {
            natives_[window]->focusWhenMapped = false;
            XSetInputFocus(display_, natives_[window]->xid, RevertToParent, CurrentTime);
        }
        break;
    case UnmapNotify: natives_[window]->mapped = false; break;
    case ConfigureNotify: HandleConfigure(window, event); break;
    case ButtonPress:
    case ButtonRelease: HandleButton(window, event); break;
    case MotionNotify: HandleMotion(window, event); break;
    case LeaveNotify:
        if (event.xcrossing.mode == NotifyNormal && tracking_.window == window) {
            tracking_ = {};
            PostMessage(Message{window, WM_MOUSELEAVE, 0, 0});
        }
        break;
    case KeyPress:
    case KeyRelease: HandleKey(window, event); break;
    case FocusIn:
        if (event.xfocus.mode != NotifyGrab && event.xfocus.mode != NotifyUngrab) MoveFocus(window);
        break;
    case FocusOut:
        if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior && GetFocus() == window) {
            MoveFocus(0);
        }
        break;
    case ClientMessage:
        if (static_cast<unsigned long>(event.xclient.data.l[0]) == Intern("WM_DELETE_WINDOW")) {
            PostMessage(Message{window, WM_SYSCOMMAND, SC_CLOSE, 0});
        }
        break;
    default: break;
    }
}

void X11WindowSystem::HandleConfigure(WindowId window, const XEvent& event)
{
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(display_, natives_[window]->xid, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    const Rect rect{x, y, x + event.xconfigure.width, y + event.xconfigure.height};
    if (rect != GetWindowRect(window)) ApplyRect(window, rect, SIZE_RESTORED, false);
}

void X11WindowSystem::HandleButton(WindowId window, const XEvent& event)
{
    const XButtonEvent& button = event.xbutton;
    keyState_ = ModifierBits(button.state);
    if (!IsWindowEnabled(window)) return;
    const bool press = event.type == ButtonPress;
    if (button.button == Button4 || button.button == Button5) {
        if (!press) return;
        const int delta = button.button == Button4 ? 120 : -120;
        const uintptr_t wParam = (static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16) |
                                 MouseKeyBits(button.state);
        PostMouse(window, WM_MOUSEWHEEL, wParam, button.x_root, button.y_root);
        return;
    }
    if (button.button == Button1 && !press && drag_.window != 0) {
        const WindowId dragged = std::exchange(drag_, {}).window;
        XUngrabPointer(display_, CurrentTime);
        PostMessage(Message{dragged, WM_EXITSIZEMOVE, 0, 0});
        return;
    }
    if (button.button == Button1 && press) {
        const intptr_t hit =
            SendMessage(window, WM_NCHITTEST, 0, MakePointParam(button.x_root, button.y_root));
        if (hit == HTCAPTION) {
            const Rect rect = GetWindowRect(window);
            drag_ = Drag{window, Point{button.x_root - rect.left, button.y_root - rect.top}};
            NativeCapture(window);
            SetFocus(window);
            return;
        }
        const uint32_t now = static_cast<uint32_t>(button.time);
        const bool twice = now - lastClickTime_ <= kDoubleClickMs &&
                           std::abs(button.x - lastClickPos_.x) <= kDoubleClickDistance &&
                           std::abs(button.y - lastClickPos_.y) <= kDoubleClickDistance;
        lastClickTime_ = twice ? 0 : now;
        lastClickPos_ = Point{button.x, button.y};
        PostMouse(window, twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MouseKeyBits(button.state) | MK_LBUTTON,
                  button.x, button.y);
        return;
    }
    if (button.button == Button1) PostMouse(window, WM_LBUTTONUP, MouseKeyBits(button.state), button.x, button.y);
    if (button.button == Button3) {
        PostMouse(window, press ? WM_RBUTTONDOWN : WM_RBUTTONUP, MouseKeyBits(button.state), button.x, button.y);
        if (!press) PostMouse(window, WM_CONTEXTMENU, 0, button.x_root, button.y_root);
    }
}

void X11WindowSystem::HandleMotion(WindowId window, const XEvent& event)
{
    const XMotionEvent& motion = event.xmotion;
    pointerWindow_ = window;
    keyState_ = ModifierBits(motion.state);
    if (drag_.window == window) {
        const Rect rect = GetWindowRect(window);
        const int left = motion.x_root - drag_.grabOffset.x;
        const int top = motion.y_root - drag_.grabOffset.y;
        MoveWindow(window, Rect{left, top, left + rect.Width(), top + rect.Height()});
        return;
    }
    if (tracking_.window == window) {
        tracking_.hoverDue = TickCount() + tracking_.hoverMs;
        tracking_.hoverSent = false;
    }
    if (!IsWindowEnabled(window)) return;
    PostMouse(window, WM_MOUSEMOVE, MouseKeyBits(motion.state), motion.x, motion.y);
}

void X11WindowSystem::HandleKey(WindowId window, XEvent& event)
{
    XKeyEvent& key = event.xkey;
    KeySym sym = 0;
    char buffer[16];
    XLookupString(&key, buffer, sizeof buffer, &sym, nullptr);
    const bool press = event.type == KeyPress;
    uint32_t state = ModifierBits(key.state);
    const uintptr_t vk = VirtualKey(sym);
    // The modifier bits of the event are those before this key; keep them current.
    if (vk == VK_SHIFT) state = press ? (state | MK_SHIFT) : (state & ~MK_SHIFT);
    if (vk == VK_CONTROL) state = press ? (state | MK_CONTROL) : (state & ~MK_CONTROL);
    if (vk == VK_MENU) state = press ? (state | MK_ALT) : (state & ~MK_ALT);
    keyState_ = state;
    if (!IsWindowEnabled(window)) return;
    const WindowId target = GetFocus() != 0 ? GetFocus() : window;
    // The modifiers travel with the key: several keys may be read before the first is handled.
    if (vk != 0) PostMessage(Message{target, press ? WM_KEYDOWN : WM_KEYUP, vk, static_cast<intptr_t>(state)});
    const uint32_t character = KeyCharacter(sym);
    if (press && character != 0 && (state & (MK_CONTROL | MK_ALT)) == 0) {
        PostMessage(Message{target, WM_CHAR, character, static_cast<intptr_t>(state)});
    }
}

}  // namespace Platform
