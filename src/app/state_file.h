// For scripts and end-to-end tests: a JSON picture of what the user sees, rewritten
// atomically (temporary file, then rename) whenever it may have changed.
#pragma once

#include <QObject>
#include <QString>

#include "capture/capture_state.h"
#include "ui/main_window.h"

namespace tessaro {

class StateFile final : public QObject {
public:
    StateFile(QString path, Tprog& window, const CaptureState& state, QObject* parent);

    // Asks for a rewrite; several requests within one pass of the event loop give one.
    void requestWrite();
    // Writes the file now.
    void write();

private:
    QString m_path;
    Tprog& m_window;
    const CaptureState& m_state;
    bool m_pending = false;
};

}  // namespace tessaro
