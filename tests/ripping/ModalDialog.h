#pragma once

#include "platform/forms/Form.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <functional>

// Runs `inside` while a modal dialog is up: `show` opens the dialog and returns when it closes.
// A dialog that `inside` leaves open is closed afterwards, so no test waits on it.
template <class Dialog>
void WhileShown(Dialog& dialog, const std::function<void()>& show, const std::function<void(Dialog&)>& inside)
{
    QPointer<Dialog> alive(&dialog);
    QTimer::singleShot(0, &dialog, [&, alive] {
        if (alive) inside(*alive);
        if (alive && alive->isVisible()) alive->Unload();
    });
    show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
