#include "platform/forms/RuntimeError.h"

namespace forms {

RuntimeError::RuntimeError(int number, QString source, QString description)
    : number_(number)
    , source_(std::move(source))
    , description_(std::move(description))
    , what_(QStringLiteral("Run-time error %1: %2").arg(number).arg(description_).toStdString())
{
}

static QString DescriptionOf(int number)
{
    switch (number) {
    case Err::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case Err::Overflow: return QStringLiteral("Overflow");
    case Err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case Err::TypeMismatch: return QStringLiteral("Type mismatch");
    case Err::FileNotFound: return QStringLiteral("File not found");
    case Err::InvalidPropertyValue: return QStringLiteral("Invalid property value");
    case Err::InvalidPropertyArrayIndex: return QStringLiteral("Invalid property array index");
    case Err::CannotSizeMinimizedOrMaximized:
        return QStringLiteral("A form can't be moved or sized while minimized or maximized");
    case Err::SetNotPermitted: return QStringLiteral("'Set' not permitted");
    case Err::PropertyNotFound: return QStringLiteral("Property not found");
    case Err::CancelSelected: return QStringLiteral("Cancel was selected.");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void Raise(int number, const QString& source) { throw RuntimeError(number, source, DescriptionOf(number)); }

} // namespace forms
