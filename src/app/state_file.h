// SPDX-License-Identifier: GPL-3.0-or-later
// For scripts and end-to-end tests: a JSON picture of what the user sees, rewritten
// atomically (temporary file, then rename) whenever it may have changed.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

#include "capture/capture_state.h"
#include "ui/main_window.h"

namespace tessaro {

class StateFile final : public QObject {
public:
    // `view` is the main window's widget: the screen geometry of its named child widgets is
    // written too, so that scripts can click them.
    StateFile(QString path, Tprog& window, const CaptureState& state, QWidget* view, QObject* parent);

    // Asks for a rewrite; several requests within one pass of the event loop give one.
    void requestWrite();
    // After the window has dealt with a clipboard change: notes when (for benchmarks, which
    // compare it with the time of the change) and asks for a rewrite.
    void clipboardHandled();
    // Writes the file now.
    void write();
    // The windows whose settings the file lists under "settings" (by window and control
    // name); the main window by default.
    void setSettingsWindows(std::vector<const Form*> windows) { m_settingsWindows = std::move(windows); }
    // Lists the window's captions under "captions" (by window and control name, menus as a
    // tree) and writes the file again after any change of the window or its controls.
    void watch(Form& window);

private:
    QString m_path;
    Tprog& m_window;
    const CaptureState& m_state;
    QPointer<QWidget> m_view;
    bool m_pending = false;
    double m_handledAt = 0;
    std::vector<const Form*> m_settingsWindows;
    std::vector<const Form*> m_captionWindows;
    std::vector<Subscription> m_subscriptions;
};

}  // namespace tessaro
