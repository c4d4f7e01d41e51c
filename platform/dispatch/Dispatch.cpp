#include "platform/dispatch/Dispatch.h"

#include "platform/forms/RuntimeError.h"

namespace dispatch {

Variant IDispatch::Get(DispId id)
{
    std::vector<Variant> none;
    return Invoke(id, Invocation::PropertyGet, none);
}

void IDispatch::Put(DispId id, Variant value)
{
    std::vector<Variant> args {std::move(value)};
    Invoke(id, Invocation::PropertyPut, args);
}

Variant IDispatch::Call(DispId id, std::vector<Variant> args) { return Invoke(id, Invocation::Method, args); }

void RaiseMemberNotFound(const QString& source)
{
    throw forms::RuntimeError(438, source, QStringLiteral("Object doesn't support this property or method"));
}

} // namespace dispatch
