// SPDX-License-Identifier: GPL-3.0-or-later
// The one application-level error handler: an exception that escapes an event handler ends that
// handler and is shown in a message box with its text; the program goes on.
#pragma once

#include <QString>

#include <exception>
#include <functional>

namespace ErrorReport {

// Shows the message box (or hands the text to the hook installed by tests).
void show(const QString &text);
// Text of the exception currently being handled.
QString currentText();
// Runs an event handler; a failure inside it is reported and the handler ends there.
void guard(const std::function<void()> &handler);
// Tests replace the message box by a hook; pass nullptr to restore it.
void setHook(std::function<void(const QString &)> hook);

} // namespace ErrorReport
