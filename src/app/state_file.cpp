#include "app/state_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>

#include "app/qt_text.h"

namespace tessaro {
namespace {

QJsonArray rowsOf(const ListView& list, std::size_t cells) {
    QJsonArray rows;
    for (const ListItem& item : list.items()) {
        QJsonArray row;
        for (std::size_t i = 0; i < cells; ++i) row.append(toQString(item.cell(i)));
        rows.append(row);
    }
    return rows;
}

}  // namespace

StateFile::StateFile(QString path, Tprog& window, const CaptureState& state, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_window(window), m_state(state) {
    m_window.zuletzt.listChanged().subscribe([this](const ListChange&) { requestWrite(); });
}

void StateFile::requestWrite() {
    if (m_pending) return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] { write(); });
}

void StateFile::write() {
    m_pending = false;
    QJsonObject root;
    root[QStringLiteral("history")] = rowsOf(m_window.zuletzt, 4);
    root[QStringLiteral("details")] = rowsOf(m_window.liste, 3);
    const Panel* page = m_window.pc.activePage();
    root[QStringLiteral("activePage")] = page ? QString::fromStdString(page->name()) : QString();
    QJsonArray tabs;
    for (const auto& tab : m_window.TabSet1.tabs()) tabs.append(toQString(tab));
    root[QStringLiteral("tabs")] = tabs;
    root[QStringLiteral("tabIndex")] = m_window.TabSet1.tabIndex();
    root[QStringLiteral("suppressCount")] = m_state.SuppressCount;
    root[QStringLiteral("captureActive")] = m_window.m_einst_aktiv.checked();

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) < 0 || !file.commit()) {
        std::fprintf(stderr, "tessaro: cannot write the state file %s: %s\n",
                     qPrintable(m_path), qPrintable(file.errorString()));
    }
}

}  // namespace tessaro
