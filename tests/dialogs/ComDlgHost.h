#pragma once

#include "dialogs/LumoCommonDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/RuntimeError.h"
#include "tests/support/ScriptedUser.h"

#include <memory>
#include <optional>

// A window hosting one common-dialog control, with a scripted user answering its dialogs.
struct ComDlgHost {
    ScriptedUser user;
    std::unique_ptr<forms::Form> form = std::make_unique<forms::Form>();
    LumoCommonDialog* dlg = new LumoCommonDialog(form->Client());
};

// Runs a statement that must raise the run-time error number; returns the error for more checks.
template <class Step> std::optional<forms::RuntimeError> ErrorOf(Step&& step)
{
    try {
        step();
    } catch (const forms::RuntimeError& e) {
        return e;
    }
    return std::nullopt;
}
