#pragma once

#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

namespace forms {

// The stored property set of a control placed on a window: named values kept in the order they
// were written. Names are matched without regard to letter case, and a value equal to the
// default it is written with is not stored at all.
class PropertyBag {
public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<std::pair<QString, QVariant>> values);

    // The stored value of name, or defaultValue when the set holds none.
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    // Stores value under name, or removes name when value equals defaultValue or is empty.
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = {});

    bool Contains(const QString& name) const;
    int Count() const { return static_cast<int>(values_.size()); }
    // The stored names, in the order they were first written.
    QStringList Names() const;

private:
    std::vector<std::pair<QString, QVariant>>::const_iterator Find(const QString& name) const;

    std::vector<std::pair<QString, QVariant>> values_;
};

} // namespace forms
