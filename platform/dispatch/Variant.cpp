#include "platform/dispatch/Variant.h"

#include "platform/forms/RuntimeError.h"

#include <cmath>
#include <limits>

namespace dispatch {

namespace {

const QString Source = QStringLiteral("dispatch");

double NumberOf(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return -1;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return 0;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok) forms::Raise(forms::Err::TypeMismatch, Source);
    return d;
}

// Rounds half to even, as the platform's integer conversions do, and checks the range.
template <class Int> Int ToWhole(double d)
{
    if (std::isnan(d)) forms::Raise(forms::Err::Overflow, Source);
    const double r = std::nearbyint(d);
    if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max())
        forms::Raise(forms::Err::Overflow, Source);
    return static_cast<Int>(r);
}

} // namespace

double Variant::ToDouble() const
{
    switch (type()) {
    case Type::Empty: return 0;
    case Type::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case Type::Integer: return std::get<std::int16_t>(value_);
    case Type::Long: return std::get<std::int32_t>(value_);
    case Type::Double: return std::get<double>(value_);
    case Type::String: return NumberOf(std::get<QString>(value_));
    }
    return 0;
}

bool Variant::ToBool() const
{
    if (type() == Type::Boolean) return std::get<bool>(value_);
    return ToDouble() != 0;
}

std::int16_t Variant::ToInteger() const
{
    if (type() == Type::Integer) return std::get<std::int16_t>(value_);
    return ToWhole<std::int16_t>(ToDouble());
}

std::int32_t Variant::ToLong() const
{
    if (type() == Type::Long) return std::get<std::int32_t>(value_);
    return ToWhole<std::int32_t>(ToDouble());
}

QString Variant::ToString() const
{
    switch (type()) {
    case Type::Empty: return {};
    case Type::Boolean: return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer: return QString::number(std::get<std::int16_t>(value_));
    case Type::Long: return QString::number(std::get<std::int32_t>(value_));
    case Type::Double: return QString::number(std::get<double>(value_), 'g', 15);
    case Type::String: return std::get<QString>(value_);
    }
    return {};
}

} // namespace dispatch
