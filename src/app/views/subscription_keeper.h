// SPDX-License-Identifier: GPL-3.0-or-later
// Views listen to model objects through subscriptions; this ties one to a Qt object, so
// that it ends when the object is destroyed and a later change never calls into it.
#pragma once

#include <QObject>

#include "forms/notifier.h"

namespace tessaro {

void keepWhileAlive(QObject& owner, Subscription subscription);

}  // namespace tessaro
