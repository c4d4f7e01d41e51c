#pragma once

#include <QString>
#include <cstdint>
#include <variant>

namespace dispatch {

// A value that crosses a dispatch call: empty, Boolean, 16- or 32-bit integer, double or string.
// The conversions follow the platform's rules: a string that is not a number is a type mismatch
// (error 13), a number that does not fit the target is an overflow (error 6), True is -1.
class Variant {
public:
    enum class Type { Empty, Boolean, Integer, Long, Double, String };

    Variant() = default;
    Variant(bool b)
        : value_(b)
    {
    }
    Variant(std::int16_t i)
        : value_(i)
    {
    }
    Variant(std::int32_t l)
        : value_(l)
    {
    }
    Variant(double d)
        : value_(d)
    {
    }
    Variant(QString s)
        : value_(std::move(s))
    {
    }
    Variant(const char* s)
        : value_(QString::fromUtf8(s))
    {
    }

    Type type() const { return static_cast<Type>(value_.index()); }
    bool IsEmpty() const { return type() == Type::Empty; }

    bool ToBool() const;
    std::int16_t ToInteger() const;
    std::int32_t ToLong() const;
    double ToDouble() const;
    QString ToString() const;

    bool operator==(const Variant&) const = default;

private:
    std::variant<std::monostate, bool, std::int16_t, std::int32_t, double, QString> value_;
};

} // namespace dispatch
