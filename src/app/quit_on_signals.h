// SPDX-License-Identifier: GPL-3.0-or-later
// Ends the event loop on SIGTERM, SIGINT and SIGHUP (a session that logs out, Ctrl+C in a
// terminal) instead of dying on the spot, so that the program ends as it does when its window
// closes: the toolkit hands what we put on the clipboard to the desktop's clipboard manager.
#pragma once

#include <QObject>

namespace tessaro {

class QuitOnSignals final : public QObject {
public:
    explicit QuitOnSignals(QObject* parent);
    ~QuitOnSignals() override;
};

}  // namespace tessaro
