// RAII owners for the Win32 handles and GDI objects the program creates.
#pragma once

#include <utility>

#include <windows.h>

namespace kineloop {

// Owns one handle and frees it with Free::Release when it goes.
template <typename Handle, typename Free>
class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{} && Free::IsValid(handle_); }
    Handle Release() { return std::exchange(handle_, Handle{}); }
    void Reset(Handle handle = Handle{}) {
        if (handle_ != Handle{} && Free::IsValid(handle_))
            Free::Release(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_{};
};

struct KernelHandleFree {
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void Release(HANDLE h) { CloseHandle(h); }
};
struct GdiObjectFree {
    static bool IsValid(HGDIOBJ) { return true; }
    static void Release(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcFree {
    static bool IsValid(HDC) { return true; }
    static void Release(HDC h) { DeleteDC(h); }
};

struct IconFree {
    static bool IsValid(HICON) { return true; }
    static void Release(HICON h) { DestroyIcon(h); }
};

struct WindowFree {
    static bool IsValid(HWND h) { return IsWindow(h) != FALSE; }
    static void Release(HWND h) { DestroyWindow(h); }
};

using UniqueHandle = Owned<HANDLE, KernelHandleFree>;
using UniqueWindow = Owned<HWND, WindowFree>;
using UniqueFont = Owned<HFONT, GdiObjectFree>;
using UniqueIcon = Owned<HICON, IconFree>;
using UniqueBitmap = Owned<HBITMAP, GdiObjectFree>;
using UniqueBrush = Owned<HBRUSH, GdiObjectFree>;
using UniqueMemoryDc = Owned<HDC, MemoryDcFree>;

// A window's device context, released with the window's own ReleaseDC; a null window gives the
// screen's. Kept for a scope, or by the window that draws through it for as long as it draws.
class WindowDc {
  public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { Reset(); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    HDC Get() const { return dc_; }
    // Releases the context now (before its window goes).
    void Reset() {
        if (dc_)
            ReleaseDC(window_, dc_);
        window_ = nullptr;
        dc_ = nullptr;
    }

  private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// One WM_PAINT's device context, from BeginPaint to EndPaint.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return paint_.hdc; }
    const RECT& Area() const { return paint_.rcPaint; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// Selects an object into a device context for one scope and puts the old one back.
class SelectionScope {
  public:
    SelectionScope(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectionScope() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace kineloop
