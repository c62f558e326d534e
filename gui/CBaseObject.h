#pragma once

#include <cstdint>
#include <cstring>
#include <utility>

namespace VSTGUI {

using CCoord = double;
using int32 = int32_t;
using uint32 = uint32_t;
using UTF8StringPtr = const char*;
using IdStringPtr = const char*;

// Intrusively reference-counted base: objects start with one reference that
// belongs to whoever created them; forget() releases one.
class CBaseObject
{
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) : nbReference(1) {}
    CBaseObject& operator=(const CBaseObject&) { return *this; }
    virtual ~CBaseObject() = default;

    void remember() { ++nbReference; }
    void forget()
    {
        if (--nbReference == 0)
            delete this;
    }
    int32 getNbReference() const { return nbReference; }

    virtual bool isTypeOf(IdStringPtr s) const { return std::strcmp(s, "CBaseObject") == 0; }
    virtual CBaseObject* newCopy() const { return nullptr; }

private:
    int32 nbReference = 1;
};

// Run-time type names and copies in the view hierarchy.
#define CLASS_TYPE_OF(name, parent)                                                                                    \
    bool isTypeOf(VSTGUI::IdStringPtr s) const override                                                                \
    {                                                                                                                  \
        return std::strcmp(s, #name) == 0 || parent::isTypeOf(s);                                                      \
    }

#define CLASS_METHODS(name, parent)                                                                                    \
    CLASS_TYPE_OF(name, parent)                                                                                        \
    VSTGUI::CBaseObject* newCopy() const override                                                                      \
    {                                                                                                                  \
        return new name(*this);                                                                                        \
    }

#define CLASS_METHODS_NOCOPY(name, parent)                                                                             \
    CLASS_TYPE_OF(name, parent)                                                                                        \
    VSTGUI::CBaseObject* newCopy() const override                                                                      \
    {                                                                                                                  \
        return nullptr;                                                                                                \
    }

// Holds one reference to a CBaseObject-derived object.
template <class T>
class SharedPointer
{
public:
    SharedPointer() = default;
    SharedPointer(T* p, bool remember = true) : ptr(p)
    {
        if (ptr && remember)
            ptr->remember();
    }
    SharedPointer(const SharedPointer& o) : SharedPointer(o.ptr) {}
    SharedPointer(SharedPointer&& o) noexcept : ptr(std::exchange(o.ptr, nullptr)) {}
    ~SharedPointer() { reset(); }

    SharedPointer& operator=(const SharedPointer& o)
    {
        if (o.ptr)
            o.ptr->remember();
        reset();
        ptr = o.ptr;
        return *this;
    }
    SharedPointer& operator=(SharedPointer&& o) noexcept
    {
        if (this != &o)
        {
            reset();
            ptr = std::exchange(o.ptr, nullptr);
        }
        return *this;
    }
    SharedPointer& operator=(T* p) { return *this = SharedPointer(p); }

    void reset()
    {
        if (ptr)
            std::exchange(ptr, nullptr)->forget();
    }
    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    T& operator*() const { return *ptr; }
    explicit operator bool() const { return ptr != nullptr; }
    operator T*() const { return ptr; }

private:
    T* ptr = nullptr;
};

// Takes over the creator's reference of a freshly made object.
template <class T>
SharedPointer<T> owned(T* p)
{
    return SharedPointer<T>(p, false);
}

} // namespace VSTGUI
