#pragma once
// One move-only owner for every kind of Windows resource. A Traits type gives
//   using Type = ...;  static Type Invalid();  static void Close(Type);
// The owner closes its resource when it dies or is reset; it can never be copied.

#include <utility>

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }

    // Closes what is held and takes ownership of `value`.
    void reset(Type value = Traits::Invalid()) {
        Type old = std::exchange(value_, value);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

    // Gives up ownership without closing.
    [[nodiscard]] Type release() { return std::exchange(value_, Traits::Invalid()); }

    // For out-parameters: closes what is held and returns the address to fill.
    Type* put() {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::Invalid();
};
