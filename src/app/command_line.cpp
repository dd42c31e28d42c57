// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QCommandLineParser>
#include <array>

namespace tessaro {
namespace {

// Qt's own options that take a value; the value is skipped with them.
constexpr std::array<const char*, 16> kToolkitOptionsWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon", "-display", "-geometry", "-style", "-stylesheet",
    "-session", "-name", "-title", "-visual", "-fontengine"};

// And those that take none.
constexpr std::array<const char*, 6> kToolkitFlags = {"-reverse", "-sync", "-nograb", "-dograb", "-widgetcount",
                                                      "-testability"};

template <std::size_t N>
bool isOneOf(const QString& argument, const std::array<const char*, N>& options) {
    for (const char* option : options) {
        if (argument == QLatin1String(option)) return true;
    }
    return false;
}

bool isDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

// The arguments as QCommandLineParser takes them: a program name first, the toolkit's
// options left out, and a bare --history given its default count (the parser knows no
// options whose value may be left out).
QStringList prepared(const QStringList& arguments) {
    QStringList result{QStringLiteral("tessaro")};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--")) {
            result << arguments.mid(i);
            break;
        }
        if (isOneOf(argument, kToolkitOptionsWithValue)) {
            ++i;
            continue;
        }
        if (isOneOf(argument, kToolkitFlags)) continue;
        if (argument == QStringLiteral("--history")) {
            const bool countFollows = i + 1 < arguments.size() && isDigits(arguments[i + 1]);
            result << QStringLiteral("--history=") +
                          (countFollows ? arguments[++i] : QString::number(kDefaultHistoryRows));
            continue;
        }
        result << argument;
    }
    return result;
}

std::optional<int> count(const QString& text, int least) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || !isDigits(text) || value < least) return std::nullopt;
    return value;
}

StartRequest invalid(QString error) {
    StartRequest request;
    request.mode = StartRequest::Mode::Invalid;
    request.error = std::move(error);
    return request;
}

StartRequest parseApply(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption config(QStringLiteral("config"), {}, QStringLiteral("FILE"));
    const QCommandLineOption in(QStringLiteral("in"), {}, QStringLiteral("FILE"));
    const QCommandLineOption out(QStringLiteral("out"), {}, QStringLiteral("FILE"));
    parser.addOptions({help, config, in, out});
    if (!parser.parse(QStringList{QStringLiteral("tessaro")} + arguments)) return invalid(parser.errorText());
    StartRequest request;
    if (parser.isSet(help)) {
        request.mode = StartRequest::Mode::ApplyHelp;
        return request;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return invalid(QStringLiteral("apply: unexpected argument '%1'").arg(parser.positionalArguments().first()));
    }
    for (const QCommandLineOption* option : {&config, &in, &out}) {
        if (parser.values(*option).size() > 1) {
            return invalid(QStringLiteral("apply: --%1 is given more than once").arg(option->names().first()));
        }
    }
    if (!parser.isSet(config) || parser.value(config).isEmpty()) {
        return invalid(QStringLiteral("apply: --config FILE.tpf is required"));
    }
    request.mode = StartRequest::Mode::Apply;
    request.apply.configuration = parser.value(config);
    if (parser.isSet(in)) request.apply.input = parser.value(in);
    if (parser.isSet(out)) request.apply.output = parser.value(out);
    if (request.apply.input.isEmpty() || request.apply.output.isEmpty()) {
        return invalid(QStringLiteral("apply: --in and --out take a file name or -"));
    }
    return request;
}

}  // namespace

StartRequest ParseCommandLine(const QStringList& arguments) {
    if (!arguments.isEmpty() && arguments.first() == QStringLiteral("apply")) return parseApply(arguments.mid(1));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    QCommandLineOption stateFile(QStringLiteral("state-file"), {}, QStringLiteral("PATH"));
    const QCommandLineOption show(QStringLiteral("show"), {});
    const QCommandLineOption toggle(QStringLiteral("toggle-capture"), {});
    const QCommandLineOption history(QStringLiteral("history"), {}, QStringLiteral("N"));
    const QCommandLineOption copy(QStringLiteral("copy"), {}, QStringLiteral("N"));
    parser.addOptions({help, version, stateFile, show, toggle, history, copy});
    if (!parser.parse(prepared(arguments))) return invalid(parser.errorText());

    StartRequest request;
    if (parser.isSet(help)) {
        request.mode = StartRequest::Mode::Help;
        return request;
    }
    if (parser.isSet(version)) {
        request.mode = StartRequest::Mode::Version;
        return request;
    }
    if (parser.isSet(history)) {
        request.history = count(parser.value(history), 1);
        if (!request.history) return invalid(QStringLiteral("--history takes a number of rows of at least 1"));
    }
    if (parser.isSet(copy)) {
        request.copy = count(parser.value(copy), 0);
        if (!request.copy) return invalid(QStringLiteral("--copy takes the number of a text row"));
    }
    request.stateFile = parser.value(stateFile);
    request.arguments = parser.positionalArguments();
    request.show = parser.isSet(show);
    request.toggleCapture = parser.isSet(toggle);
    const bool remote = request.toggleCapture || request.history || request.copy;
    if (remote && !request.arguments.isEmpty()) {
        return invalid(QStringLiteral("configuration files cannot be given together with --toggle-capture, "
                                      "--history or --copy"));
    }
    request.mode = remote ? StartRequest::Mode::Remote : StartRequest::Mode::Run;
    return request;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: tessaro [OPTION...] [CONFIGURATION.tpf...]\n"
        "       tessaro apply --config FILE.tpf [--in FILE|-] [--out FILE|-]\n"
        "\n"
        "Watches the clipboard and runs the actions switched on in the window.\n"
        "Configuration files named are loaded at start. When Tessaro already runs on this\n"
        "display, its window is brought up instead (and the files are loaded there).\n"
        "\n"
        "Commands for the running Tessaro:\n"
        "  --show              bring the window up (starts Tessaro when it does not run)\n"
        "  --toggle-capture    switch capturing off or on; prints the new state\n"
        "  --history [N]       print the last N text rows of the history as JSON,\n"
        "                      newest first (N defaults to 10)\n"
        "  --copy N            put the text of history row N on the clipboard again\n"
        "\n"
        "  -h, --help          show this help\n"
        "  -v, --version       show the version\n"
        "\n"
        "tessaro apply --help explains running a configuration without a window.\n");
}

QString ApplyUsageText() {
    return QStringLiteral(
        "Usage: tessaro apply --config FILE.tpf [--in FILE|-] [--out FILE|-]\n"
        "\n"
        "Runs the actions of a configuration over one text or picture, without a display,\n"
        "as the window would run them on a copy: search and replace, text in front and\n"
        "behind and saving the text for a text; cutting fixed margins, resizing and saving\n"
        "the picture for a picture. Saved files go where the configuration says.\n"
        "\n"
        "  --config FILE.tpf   the configuration (required)\n"
        "  --in FILE           the input, a UTF-8 text or a picture file (PNG, JPEG, GIF,\n"
        "                      BMP, TIFF, WebP, ICO); - or nothing reads standard input\n"
        "  --out FILE          where the result goes; - or nothing writes standard output.\n"
        "                      A text is written as UTF-8. A picture is written as PNG, or\n"
        "                      in the format the file's extension names (.jpg, .tif, ...).\n"
        "\n"
        "Exit status: 0 done; 1 an action or the output failed (the reason is on standard\n"
        "error); 2 wrong arguments, or a configuration or input that cannot be read.\n");
}

}  // namespace tessaro
