#pragma once
// Owners for Win32 handles: each closes what it holds exactly once, on every path.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace qv::win {

// A generic owner: Traits gives the empty value, the validity test and the close call.
template <typename Traits> class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() = default;
    explicit UniqueResource(Value value) : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Value get() const { return value_; }
    bool valid() const { return Traits::isValid(value_); }
    explicit operator bool() const { return valid(); }

    Value release() {
        Value value = value_;
        value_ = Traits::empty();
        return value;
    }
    void reset(Value value = Traits::empty()) {
        if (Traits::isValid(value_))
            Traits::close(value_);
        value_ = value;
    }
    // For APIs that fill in a handle through a pointer.
    Value* replaceAddress() {
        reset();
        return &value_;
    }

private:
    Value value_ = Traits::empty();
};

struct KernelHandleTraits {
    using Value = HANDLE;
    static HANDLE empty() { return nullptr; }
    static bool isValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Value = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static bool isValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};

struct MenuTraits {
    using Value = HMENU;
    static HMENU empty() { return nullptr; }
    static bool isValid(HMENU h) { return h != nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;

// A COM interface pointer released on destruction.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T** replaceAddress() {
        reset();
        return &ptr_;
    }
    void** replaceVoidAddress() { return reinterpret_cast<void**>(replaceAddress()); }
    void reset() {
        if (ptr_ != nullptr)
            ptr_->Release();
        ptr_ = nullptr;
    }

private:
    T* ptr_ = nullptr;
};

// COM initialised for the calling thread for the life of the object.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialised_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

} // namespace qv::win
