#pragma once

#include "platform/dispatch/Variant.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace dispatch {

using DispId = std::int32_t;

enum class Invocation { Method, PropertyGet, PropertyPut };

// An object called by dispatch id. Arguments are passed by reference: a callee may write back
// into them. A run-time error inside the call reaches the caller as forms::RuntimeError; an id
// the object does not know raises error 438.
class IDispatch {
public:
    virtual ~IDispatch() = default;
    // For PropertyPut the new value is the last argument. Methods without a result return Empty.
    virtual Variant Invoke(DispId id, Invocation how, std::vector<Variant>& args) = 0;

    // Shorthands for the host's calls.
    Variant Get(DispId id);
    void Put(DispId id, Variant value);
    Variant Call(DispId id, std::vector<Variant> args = {});
};

// Raises error 438 for a member the object does not have.
[[noreturn]] void RaiseMemberNotFound(const QString& source);

// Makes the objects of one class of an in-process server.
class ClassFactory {
public:
    virtual ~ClassFactory() = default;
    virtual std::unique_ptr<IDispatch> CreateInstance() = 0;
};

} // namespace dispatch
