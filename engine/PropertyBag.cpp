#include "engine/PropertyBag.h"

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    return values_.value(name, defaultValue);
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    if (!value.isValid() || (defaultValue.isValid() && value == defaultValue)) {
        values_.remove(name);
        return;
    }
    values_.insert(name, value);
}
