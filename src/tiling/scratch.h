#pragma once

#include <memory>

// Working space that belongs to one picture: made on first use, kept from call to call, and never
// part of the picture's value (a copy starts without one, and assigning leaves it alone). T may be
// incomplete where the owner is declared; get() is called only where T is complete.
template <class T>
class Scratch {
  public:
    Scratch() = default;
    Scratch(const Scratch&) {}
    Scratch& operator=(const Scratch&) { return *this; }
    Scratch(Scratch&&) noexcept = default;
    Scratch& operator=(Scratch&&) noexcept = default;

    T& get() {
        if (!p_) p_ = Owned(new T, [](T* p) { delete p; });
        return *p_;
    }

  private:
    using Owned = std::unique_ptr<T, void (*)(T*)>;
    Owned p_{nullptr, nullptr};
};
