// An owned reference to a COM object: released when it goes.
#pragma once

#include <utility>

#include <unknwn.h>

namespace kineloop {

template <typename T>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // For a call that hands out a new reference: whatever was held is released first.
    T** Out() {
        Reset();
        return &object_;
    }
    void Reset() {
        if (object_)
            object_->Release();
        object_ = nullptr;
    }
    // The same object under another interface; empty when it has none.
    template <typename U>
    ComRef<U> As() const {
        ComRef<U> other;
        if (object_)
            object_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(other.Out()));
        return other;
    }

  private:
    T* object_ = nullptr;
};

}  // namespace kineloop
