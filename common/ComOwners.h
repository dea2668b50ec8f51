#pragma once
// Owners for COM: interface pointers, VARIANTs and per-thread COM initialisation.

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

// Holds one reference to an interface. Move-only, like every owner here.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(o.release()) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o)
            reset(o.release());
        return *this;
    }

    // A new reference to `p` (AddRef), leaving the caller's own reference alone.
    static ComPtr Share(T* p) {
        if (p)
            p->AddRef();
        return ComPtr(p);
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset(T* p = nullptr) {
        T* old = std::exchange(p_, p);
        if (old)
            old->Release();
    }
    [[nodiscard]] T* release() { return std::exchange(p_, nullptr); }
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // QueryInterface for another interface; empty when the object does not offer it.
    template <typename U>
    ComPtr<U> As() const {
        ComPtr<U> out;
        if (p_)
            p_->QueryInterface(__uuidof(U), out.putVoid());
        return out;
    }

private:
    T* p_ = nullptr;
};

// VariantInit on creation, VariantClear on destruction and reset.
class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&v_); }
    ~UniqueVariant() { ::VariantClear(&v_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& o) noexcept {
        v_ = o.v_;
        ::VariantInit(&o.v_);
    }
    UniqueVariant& operator=(UniqueVariant&& o) noexcept {
        if (this != &o) {
            ::VariantClear(&v_);
            v_ = o.v_;
            ::VariantInit(&o.v_);
        }
        return *this;
    }

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT* operator->() { return &v_; }
    const VARIANT* operator->() const { return &v_; }
    void reset() { ::VariantClear(&v_); }
    // Clears and returns the address to fill, for out-parameters.
    VARIANT* put() {
        ::VariantClear(&v_);
        return &v_;
    }
    // Hands the contents to the caller, who must clear them.
    VARIANT release() {
        VARIANT out = v_;
        ::VariantInit(&v_);
        return out;
    }

private:
    VARIANT v_;
};

// Initialises COM for the calling thread (apartment-threaded) and uninitialises it on
// destruction only when the initialisation succeeded (S_OK or S_FALSE).
class ScopedComInit {
public:
    ScopedComInit() : hr_(::CoInitialize(nullptr)) {}
    ~ScopedComInit() {
        if (SUCCEEDED(hr_))
            ::CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;
    bool Succeeded() const { return SUCCEEDED(hr_); }
    HRESULT Result() const { return hr_; }

private:
    HRESULT hr_;
};
