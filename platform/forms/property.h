// A property of a control or form as handler code sees it: it keeps exactly
// the value the program gave it (a Top of 9980 - pos stays that single-precision
// number), reads like a plain value and tells its owner when it is assigned,
// so the owner can bring the Qt widget up to date.
#pragma once

#include <string>
#include <type_traits>

namespace forms {

class PropertyOwner {
public:
    // Called after property `id` of the owner was given a new value. A value
    // assigned again leaves the widget alone (no repaint), unless the property
    // acts on every assignment (Notify::Always: a timer's count starts afresh,
    // a form is shown and brought forward, a combo box raises Change).
    virtual void PropertyChanged(int id) = 0;

protected:
    ~PropertyOwner() = default;
};

enum class Notify { OnChange, Always };

template <class T>
class Property {
public:
    Property(PropertyOwner* owner, int id, T initial = T{}, Notify notify = Notify::OnChange)
        : value_(std::move(initial)), owner_(owner), id_(id), always_(notify == Notify::Always) {}
    Property(const Property&) = delete;

    // `imgDiskant(5).Picture = imgKnofTlak.Picture`: copies the value, not the owner.
    Property& operator=(const Property& other) { return *this = other.value_; }
    Property& operator=(const T& value) {
        if (!always_ && value_ == value) return *this;
        value_ = value;
        owner_->PropertyChanged(id_);
        return *this;
    }
    template <class U>
        requires(std::is_convertible_v<U, T> && !std::is_same_v<std::decay_t<U>, Property> &&
                 !std::is_same_v<std::decay_t<U>, T>)
    Property& operator=(U&& value) {
        return *this = static_cast<T>(std::forward<U>(value));
    }

    operator const T&() const { return value_; }
    const T& operator()() const { return value_; }
    const T& get() const { return value_; }

    // Compound assignment for numbers: `imgNota(i).Top -= p`.
    template <class U>
        requires std::is_arithmetic_v<T>
    Property& operator+=(U delta) { return *this = static_cast<T>(value_ + delta); }
    template <class U>
        requires std::is_arithmetic_v<T>
    Property& operator-=(U delta) { return *this = static_cast<T>(value_ - delta); }

    // Numbers compare through the built-in operators after conversion, so a
    // double compared with a single-precision Top is compared as a double.
    // Texts and pictures need their own operators.
    friend bool operator==(const Property& a, const T& b)
        requires(!std::is_arithmetic_v<T>)
    { return a.value_ == b; }
    friend bool operator==(const Property& a, const Property& b)
        requires(!std::is_arithmetic_v<T>)
    { return a.value_ == b.value_; }
    friend T operator+(const Property& a, const T& b)
        requires std::is_same_v<T, std::string>
    { return a.value_ + b; }
    friend T operator+(const T& a, const Property& b)
        requires std::is_same_v<T, std::string>
    { return a + b.value_; }

    // Sets the value without telling the owner: used by the owner itself when
    // the user changed the widget (typing, dragging a slider).
    void Assign(T value) { value_ = std::move(value); }

private:
    T value_;
    PropertyOwner* owner_;
    int id_;
    bool always_;
};

}  // namespace forms
