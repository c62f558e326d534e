#pragma once

#include <utility>

namespace VSTGUI {
namespace Win32 {

// Holds one reference to a COM object.
template <class T>
class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& o) : ptr(o.ptr)
    {
        if (ptr)
            ptr->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : ptr(std::exchange(o.ptr, nullptr)) {}
    ~ComPtr() { reset(); }
    ComPtr& operator=(ComPtr o) noexcept
    {
        std::swap(ptr, o.ptr);
        return *this;
    }

    void reset()
    {
        if (ptr)
            std::exchange(ptr, nullptr)->Release();
    }
    // For out-parameters of creation functions; drops what was held.
    T** put()
    {
        reset();
        return &ptr;
    }
    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    explicit operator bool() const { return ptr != nullptr; }

private:
    T* ptr = nullptr;
};

} // namespace Win32
} // namespace VSTGUI
