// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instance_requests.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/qt_text.h"
#include "history/recent_texts.h"

namespace tessaro {
namespace {

QByteArray line(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

QByteArray refusal(const QString& error) {
    return line({{QStringLiteral("ok"), false}, {QStringLiteral("error"), error}});
}

QJsonArray historyJson(Application& program, int count) {
    QJsonArray rows;
    for (const RecentText& row : RecentTexts(program.mainWindow().zuletzt, program.history(),
                                             static_cast<std::size_t>(count))) {
        rows.append(QJsonObject{{QStringLiteral("number"), row.number},
                                {QStringLiteral("time"), toQString(row.time)},
                                {QStringLiteral("text"), toQString(row.text.str())}});
    }
    return rows;
}

QByteArray carryOut(Application& program, const QJsonObject& request) {
    Tprog& window = program.mainWindow();
    QJsonObject answer{{QStringLiteral("ok"), true}};

    const std::filesystem::path workingDirectory =
        request.value(QStringLiteral("workingDirectory")).toString().toStdString();
    for (const QJsonValue argument : request.value(QStringLiteral("arguments")).toArray()) {
        window.configurationMenu().loadNamed(toU16(argument.toString()), workingDirectory);
    }
    if (request.value(QStringLiteral("toggleCapture")).toBool()) {
        window.m_einst_aktivClick();
        answer.insert(QStringLiteral("capturing"), window.m_einst_aktiv.checked());
    }
    if (request.contains(QStringLiteral("copy"))) {
        const auto number = static_cast<long long>(request.value(QStringLiteral("copy")).toDouble(-1));
        if (!window.historyList().copyTextRow(number)) {
            return refusal(QStringLiteral("the history has no text row %1").arg(number));
        }
    }
    if (request.value(QStringLiteral("show")).toBool()) window.bringToFront();
    if (request.contains(QStringLiteral("history"))) {
        answer.insert(QStringLiteral("history"),
                      historyJson(program, request.value(QStringLiteral("history")).toInt(kDefaultHistoryRows)));
    }
    return line(answer);
}

}  // namespace

QByteArray InstanceRequestOf(const StartRequest& start, const QDir& workingDirectory) {
    QJsonObject request;
    request.insert(QStringLiteral("workingDirectory"), workingDirectory.absolutePath());
    if (!start.arguments.isEmpty()) request.insert(QStringLiteral("arguments"), QJsonArray::fromStringList(start.arguments));
    if (start.toggleCapture) request.insert(QStringLiteral("toggleCapture"), true);
    if (start.copy) request.insert(QStringLiteral("copy"), *start.copy);
    if (start.mode == StartRequest::Mode::Run || start.show) request.insert(QStringLiteral("show"), true);
    if (start.history) request.insert(QStringLiteral("history"), *start.history);
    return line(request);
}

QByteArray AnswerInstanceRequest(Application& program, const QByteArray& requestLine) {
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(requestLine, &parseError);
    if (!document.isObject()) return refusal(QStringLiteral("the request is not a JSON object"));
    try {
        return carryOut(program, document.object());
    } catch (const std::exception& error) {
        return refusal(QString::fromUtf8(error.what()));
    }
}

int ReportInstanceAnswer(const StartRequest& start, const QByteArray& answerLine, std::FILE* out, std::FILE* err) {
    const QJsonObject answer = QJsonDocument::fromJson(answerLine).object();
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        const QString error = answer.value(QStringLiteral("error")).toString(QStringLiteral("no valid answer"));
        std::fprintf(err, "tessaro: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    if (start.toggleCapture) {
        std::fprintf(out, "capture %s\n", answer.value(QStringLiteral("capturing")).toBool() ? "on" : "off");
    }
    if (start.history) {
        const QByteArray json = QJsonDocument(answer.value(QStringLiteral("history")).toArray()).toJson();
        std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), out);
    }
    return 0;
}

}  // namespace tessaro
