#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// The persisted property set of a control in its host's window data: values by key. A value
// equal to its default is not stored, so a control that kept all its defaults stores nothing,
// and reading a key that is not stored gives the default.
class PropertyBag {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = {});

    bool Contains(const QString& name) const { return values_.contains(name); }
    QStringList Keys() const { return values_.keys(); }

private:
    QMap<QString, QVariant> values_;
};
