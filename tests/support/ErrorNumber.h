#pragma once

#include "platform/forms/RuntimeError.h"

// The number of the run-time error a step raises, 0 when it raises none.
template <class Step> int ErrorNumber(Step&& step)
{
    try {
        step();
    } catch (const forms::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}
