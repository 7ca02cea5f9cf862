#pragma once
#include <cstdint>
#include <functional>
#include <utility>

#include "ui/framework/core/Delegate.h"

// Argument of every property's Changed event: nothing but the sender matters.
struct PropertyChangedArgs {
    uint8_t Reserved = 0;
};
static_assert(sizeof(PropertyChangedArgs) == 1, "PropertyChangedArgs is one byte");

using PropertyChangedEvent = Event<PropertyChangedArgs>;

template <typename T>
class property_readable {
public:
    virtual ~property_readable() = default;
    virtual T Get() const = 0;
};

template <typename T>
class property_writeable {
public:
    virtual ~property_writeable() = default;
    virtual void Set(const T& value) = 0;
};

// Properties are not copyable: their function objects capture the owning
// control, so a copy would read and write the wrong one.
template <typename T>
class property_override_readonly : public property_readable<T> {
public:
    using Getter = std::function<T()>;

    explicit property_override_readonly(Getter getter) : m_getter(std::move(getter)) {}
    property_override_readonly(const property_override_readonly&) = delete;
    property_override_readonly& operator=(const property_override_readonly&) = delete;

    // An empty getter throws std::bad_function_call.
    T Get() const override { return m_getter(); }
    operator T() const { return Get(); }

private:
    Getter m_getter;
};

template <typename T>
class property_override : public property_override_readonly<T>, public property_writeable<T> {
public:
    using Getter = typename property_override_readonly<T>::Getter;
    using Setter = std::function<void(const T&)>;

    property_override(Getter getter, Setter setter)
        : property_override_readonly<T>(std::move(getter)), m_setter(std::move(setter))
    {
    }

    // All comparing, storing, rendering and raising is the setter's.
    void Set(const T& value) override { m_setter(value); }

    property_override& operator=(const T& value)
    {
        Set(value);
        return *this;
    }
    // a.X = b.X writes b's value through a's setter.
    property_override& operator=(const property_override& other)
    {
        Set(other.Get());
        return *this;
    }

private:
    Setter m_setter;
};

// Tag bases without behaviour of their own.
template <typename Derived>
class property_bst_base {};
template <typename Derived>
class property_bt_base {};

class property_bs_base {
public:
    // Starts enabled and empty.
    PropertyChangedEvent Changed;

    void RaiseChanged(void* sender) const { Changed.Raise(sender, PropertyChangedArgs{}); }
};

// A read-write property with a Changed event; the setter raises it.
template <typename T>
class property_bst_override : public property_override<T>,
                              public property_bst_base<property_bst_override<T>>,
                              public property_bs_base,
                              public property_bt_base<property_bst_override<T>> {
public:
    using Getter = typename property_override<T>::Getter;
    using Setter = typename property_override<T>::Setter;

    property_bst_override(Getter getter, Setter setter)
        : property_override<T>(std::move(getter), std::move(setter))
    {
    }

    property_bst_override& operator=(const T& value)
    {
        this->Set(value);
        return *this;
    }
    property_bst_override& operator=(const property_bst_override& other)
    {
        this->Set(other.Get());
        return *this;
    }
};

// A read-only property with a Changed event that its owner raises.
template <typename T>
class property_bs_readonly_override : public property_override_readonly<T>, public property_bs_base {
public:
    using Getter = typename property_override_readonly<T>::Getter;

    explicit property_bs_readonly_override(Getter getter) : property_override_readonly<T>(std::move(getter)) {}
};

// "Differs" of the drawn setters: NaN always counts as different.
struct PropertyValueDiffers {
    template <typename T>
    bool operator()(const T& stored, const T& value) const
    {
        return !(stored == value);
    }
};

// The setter pattern of a drawn attribute: when the value differs, store it,
// render, then raise Changed, in this order. Returns whether it stored.
template <typename T, typename RenderFn, typename DiffersFn = PropertyValueDiffers>
bool UpdateDrawnValue(T& field, const T& value, RenderFn&& render, const property_bs_base& property, void* sender,
                      DiffersFn differs = DiffersFn{})
{
    if (!differs(field, value)) return false;
    field = value;
    render();
    property.RaiseChanged(sender);
    return true;
}
