#pragma once
// COM's paired calls, one move-only owner each: a thread's apartment, an interface
// reference, a VARIANT. Not counted in the handles' tally: a reference is not a
// handle, and one held by a worker that outlives its owner (see the slide show's
// watcher) must not read as a leak.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <utility>

namespace tallyglass {

// CoInitializeEx / CoUninitialize on the calling thread. Bound to that thread, so
// neither copied nor moved; it undoes nothing when entering failed.
class ComApartment {
public:
    explicit ComApartment(DWORD model) : m_result(CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Entered() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

// One reference to an interface, released with it.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already owns.
    explicit ComPtr(Interface* owned) : m_pointer(owned) {}
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_pointer = std::exchange(other.m_pointer, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    // A second reference to the same object.
    ComPtr Share() const {
        if (m_pointer) m_pointer->AddRef();
        return ComPtr(m_pointer);
    }
    Interface* get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    // For an out parameter: what was held is released first.
    Interface** Receive() {
        reset();
        return &m_pointer;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    void reset() {
        if (m_pointer) std::exchange(m_pointer, nullptr)->Release();
    }

private:
    Interface* m_pointer = nullptr;
};

// VariantInit / VariantClear.
class Variant {
public:
    Variant() { VariantInit(&m_value); }
    Variant(Variant&& other) noexcept : m_value(other.m_value) { VariantInit(&other.m_value); }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            VariantClear(&m_value);
            m_value = other.m_value;
            VariantInit(&other.m_value);
        }
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&m_value); }

    const VARIANT& get() const { return m_value; }
    // For an out parameter: what was held is cleared first.
    VARIANT* Receive() {
        VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

}  // namespace tallyglass
