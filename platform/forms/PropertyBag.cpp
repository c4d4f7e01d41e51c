#include "platform/forms/PropertyBag.h"

#include <algorithm>

namespace forms {

PropertyBag::PropertyBag(std::initializer_list<std::pair<QString, QVariant>> values)
{
    for (const auto& [name, value] : values)
        WriteProperty(name, value);
}

std::vector<std::pair<QString, QVariant>>::const_iterator PropertyBag::Find(const QString& name) const
{
    return std::find_if(values_.begin(), values_.end(),
        [&](const auto& entry) { return entry.first.compare(name, Qt::CaseInsensitive) == 0; });
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const auto it = Find(name);
    return it == values_.end() ? defaultValue : it->second;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    const auto it = Find(name);
    const bool isDefault = !value.isValid() || (defaultValue.isValid() && value == defaultValue);
    if (it == values_.end()) {
        if (!isDefault) values_.emplace_back(name, value);
        return;
    }
    const auto at = values_.begin() + (it - values_.cbegin());
    if (isDefault)
        values_.erase(at);
    else
        at->second = value;
}

bool PropertyBag::Contains(const QString& name) const { return Find(name) != values_.end(); }

QStringList PropertyBag::Names() const
{
    QStringList names;
    for (const auto& entry : values_)
        names << entry.first;
    return names;
}

} // namespace forms
