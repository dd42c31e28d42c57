// SPDX-License-Identifier: GPL-3.0-or-later
// `tessaro apply`: the actions of a configuration over one text or picture, without a
// display. The program's own windows run headless over an in-memory clipboard, so the
// result is the one the window would put on the clipboard for the same copy.
#pragma once

#include <cstdio>

#include "app/command_line.h"

namespace tessaro {

// Runs the request and returns the exit status: 0 done, 1 an action or the output failed,
// 2 a configuration or input that cannot be read or a result that cannot be written as
// asked. Reasons go to `err`. Needs a QCoreApplication.
int RunApply(const ApplyRequest& request, std::FILE* err);

}  // namespace tessaro
