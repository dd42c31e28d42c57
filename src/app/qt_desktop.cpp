// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_desktop.h"

#include <stdexcept>

#include <QDialog>

#include <time.h>

#include <QCoreApplication>
#include <QTimer>
#include <QDesktopServices>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QStandardPaths>
#include <unistd.h>
#include <QUrl>
#include <QFileDialog>
#include <QMenu>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QSysInfo>

#include "app/local_time.h"
#include "app/qt_text.h"
#include "forms/form.h"
#include "platform/program_layout.h"

namespace tessaro {
namespace {

// The locale's long time format without its time-zone field, which Qt includes but a
// history column has no room for; "HH:mm:ss" when nothing usable is left.
QString longTimeFormat() {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    format = format.trimmed();
    return format.contains(QLatin1Char('h'), Qt::CaseInsensitive) ? format : QStringLiteral("HH:mm:ss");
}

}  // namespace

QtDesktop::QtDesktop(QStringList arguments)
    : m_arguments(std::move(arguments)), m_timeFormat(longTimeFormat()), m_collator(QLocale::system()) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

QtDesktop::~QtDesktop() = default;

void QtDesktop::registerWindow(const Form& window, QWidget* widget) { m_widgets[&window] = widget; }

QWidget* QtDesktop::widgetOf(const Form& window) const {
    const auto it = m_widgets.find(&window);
    return it == m_widgets.end() ? nullptr : it->second.data();
}

void QtDesktop::showMessage(MessageKind kind, std::u16string_view title, std::u16string_view text) {
    const QString caption = toQString(title);
    const QString body = toQString(text);
    switch (kind) {
        case MessageKind::Information: QMessageBox::information(nullptr, caption, body); break;
        case MessageKind::Plain: QMessageBox(QMessageBox::NoIcon, caption, body).exec(); break;
        case MessageKind::Error: QMessageBox::critical(nullptr, caption, body); break;
    }
}

void QtDesktop::runLater(std::uint32_t delayMs, std::function<void()> task) {
    QTimer::singleShot(std::chrono::milliseconds(delayMs), QCoreApplication::instance(), std::move(task));
}

std::uint32_t QtDesktop::tickCount() {
    // Milliseconds of the monotonic clock (time since boot), wrapping at 2^32 like the
    // tick counter the debounce was designed for.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

LocalTime QtDesktop::now() { return CurrentLocalTime(); }

std::u16string QtDesktop::longTimeText(const LocalTime& time) {
    const QTime t(time.hour, time.minute, time.second, time.millisecond);
    return toU16(QLocale::system().toString(t, m_timeFormat));
}

std::u16string QtDesktop::timeSeparator() {
    for (qsizetype i = 0; i + 1 < m_timeFormat.size(); ++i) {
        const QChar c = m_timeFormat.at(i);
        if ((c == u'h' || c == u'H') && !m_timeFormat.at(i + 1).isLetter()) {
            return toU16(QString(m_timeFormat.at(i + 1)));
        }
    }
    return u":";
}

int QtDesktop::compareTextIgnoreCase(std::u16string_view a, std::u16string_view b) {
    // Views, not copies: sorting a long history compares long texts many times.
    return m_collator.compare(QStringView(a.data(), static_cast<qsizetype>(a.size())),
                              QStringView(b.data(), static_cast<qsizetype>(b.size())));
}

void QtDesktop::showModal(Form& window, std::function<void()>& endModal) {
    auto* dialog = qobject_cast<QDialog*>(widgetOf(window));
    if (!dialog) throw std::logic_error("no dialog for " + window.name());
    // A second showing while the first runs (a capture nested in the dialog's event loop)
    // fails, and leaves the open dialog alone.
    if (dialog->isVisible()) throw std::logic_error(window.name() + " is already shown");
    endModal = [dialog] { dialog->done(0); };
    struct Reset {
        std::function<void()>& hook;
        ~Reset() { hook = nullptr; }
    } reset{endModal};
    dialog->exec();
}

void QtDesktop::windowCommand(Form& window, WindowCommand command) {
    QWidget* widget = widgetOf(window);
    bool visible = window.visible();
    WindowState state = window.windowState();
    switch (command) {
        case WindowCommand::Show: visible = true; break;
        case WindowCommand::Hide: visible = false; break;
        case WindowCommand::Minimize: visible = true; state = WindowState::Minimized; break;
        case WindowCommand::Maximize: visible = true; state = WindowState::Maximized; break;
        case WindowCommand::Restore: visible = true; state = WindowState::Normal; break;
        case WindowCommand::Activate:
            visible = true;
            if (state == WindowState::Minimized) state = WindowState::Normal;
            break;
    }
    window.setShownState(visible, state);
    if (!widget) return;
    switch (command) {
        case WindowCommand::Show: widget->show(); break;
        case WindowCommand::Hide: widget->hide(); break;
        case WindowCommand::Minimize: widget->showMinimized(); break;
        case WindowCommand::Maximize: widget->showMaximized(); break;
        case WindowCommand::Restore:
            widget->showNormal();
            widget->raise();
            widget->activateWindow();
            break;
        case WindowCommand::Activate:
            // Qt keeps the maximized flag of a minimized window: clearing the minimized
            // one alone brings it back as it was.
            widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
            widget->show();
            widget->raise();
            widget->activateWindow();
            if (widget->isMaximized()) window.setShownState(true, WindowState::Maximized);
            break;
    }
}

ScreenSize QtDesktop::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect geometry = screen->geometry();
    return {geometry.width(), geometry.height()};
}

bool QtDesktop::setTrayIcon(bool present, std::u16string_view tip, std::function<void()> onLeftButtonDown,
                            std::vector<TrayMenuEntry> menu) {
    // The removal may come from the icon's own click signal or its menu: delete afterwards.
    const auto dropOld = [this] {
        if (m_tray) {
            m_tray->hide();
            m_tray.release()->deleteLater();
        }
        if (m_trayMenu) m_trayMenu.release()->deleteLater();
    };
    if (!present) {
        dropOld();
        return false;
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    dropOld();
    m_tray = std::make_unique<QSystemTrayIcon>(QGuiApplication::windowIcon());
    m_tray->setToolTip(toQString(tip));
    m_trayMenu = std::make_unique<QMenu>();
    for (TrayMenuEntry& entry : menu) {
        QAction* action = m_trayMenu->addAction(toQString(entry.caption));
        QObject::connect(action, &QAction::triggered, action, [run = std::move(entry.run)] {
            if (run) run();
        });
        if (entry.checked) {
            action->setCheckable(true);
            QObject::connect(m_trayMenu.get(), &QMenu::aboutToShow, action,
                             [action, checked = std::move(entry.checked)] { action->setChecked(checked()); });
        }
    }
    m_tray->setContextMenu(m_trayMenu.get());
    QObject::connect(m_tray.get(), &QSystemTrayIcon::activated,
                     [callback = std::move(onLeftButtonDown)](QSystemTrayIcon::ActivationReason reason) {
                         // A left click (Trigger) stands for the left button going down; the
                         // icon is gone after it, so a double click acts only once.
                         if ((reason == QSystemTrayIcon::Trigger ||
                              reason == QSystemTrayIcon::DoubleClick) && callback) {
                             callback();
                         }
                     });
    m_tray->show();
    return true;
}

std::optional<std::u16string> QtDesktop::chooseFolder(std::u16string_view caption) {
    QFileDialog dialog(nullptr, toQString(caption));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setDirectory(QDir::rootPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString folder = dialog.selectedFiles().constFirst();
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return toU16(folder);
}

bool QtDesktop::openDocument(const std::filesystem::path& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

bool QtDesktop::openUrl(std::string_view url) {
    // The link comes percent-encoded already; strict parsing keeps it as it is.
    const QUrl address(QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size())), QUrl::StrictMode);
    return address.isValid() && QDesktopServices::openUrl(address);
}

std::u16string QtDesktop::systemDescription() const {
    // Qt's platform plugin and the desktop session are named both: an X11 program in a
    // Wayland session runs through XWayland, which matters for clipboard faults.
    const QString platform = QGuiApplication::platformName();
    const QString display = platform == QStringLiteral("xcb")       ? QStringLiteral("X11")
                            : platform == QStringLiteral("wayland") ? QStringLiteral("Wayland")
                                                                    : platform;
    QString session = qEnvironmentVariable("XDG_SESSION_TYPE");
    if (session.isEmpty()) session = QStringLiteral("unknown");
    return toU16(QStringLiteral("Qt %1 (built with %2); %3; %4 %5 %6; display %7 (Qt platform %8); session %9")
                     .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
                          QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                          QSysInfo::currentCpuArchitecture(), display, platform, session));
}

namespace {

// "Description|mask|Description|mask" becomes Qt's "Description (mask)" entries.
QStringList nameFilters(std::u16string_view filter) {
    const QStringList parts = toQString(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString mask = QString(parts[i + 1]).replace(u';', u' ');
        filters << (parts[i].contains(QLatin1Char('(') + mask + QLatin1Char(')'))
                        ? parts[i]
                        : parts[i] + QStringLiteral(" (") + mask + QLatin1Char(')'));
    }
    return filters;
}

}  // namespace

std::optional<std::u16string> QtDesktop::chooseSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(nullptr, toQString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(toQString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.selectFile(toQString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return toU16(dialog.selectedFiles().constFirst());
}

void QtDesktop::setApplicationTitle(std::u16string_view title) {
    QGuiApplication::setApplicationDisplayName(toQString(title));
}

void QtDesktop::quit() { QCoreApplication::quit(); }

std::filesystem::path QtDesktop::programFolder() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "";
}

std::filesystem::path QtDesktop::programFile() {
    return std::filesystem::path(QCoreApplication::applicationFilePath().toStdString());
}

std::optional<std::u16string> QtDesktop::chooseOpenFile(const OpenFileRequest& request) {
    QFileDialog dialog(nullptr, toQString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return toU16(dialog.selectedFiles().constFirst());
}

int QtDesktop::statusTextWidth(std::u16string_view text) {
    // The bottom strip's font: Tahoma at 8 points (11 pixels), or what stands in for it.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return QFontMetrics(font).horizontalAdvance(toQString(text));
}

const SettingsFolders& QtDesktop::folders() {
    if (!m_folders) {
        SettingsSurroundings surroundings;
        surroundings.programFolder = programFolder();
        surroundings.programFolderWritable = ::access(surroundings.programFolder.c_str(), W_OK) == 0;
        surroundings.installedLayout = IsInstalledLayout(
            surroundings.programFolder, [this](const std::filesystem::path& path) { return fileExists(path); });
        surroundings.configHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
        surroundings.home = QDir::homePath().toStdString();
        QString documents = qEnvironmentVariable("XDG_DOCUMENTS_DIR");
        if (documents.isEmpty()) documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        surroundings.documents = documents.toStdString();
        m_folders = ChooseSettingsFolders(surroundings);
    }
    return *m_folders;
}

std::filesystem::path QtDesktop::settingsFolder() { return folders().settings; }

std::filesystem::path QtDesktop::defaultSaveFolder() { return folders().saveFolder; }

std::filesystem::path QtDesktop::workingDirectory() {
    return std::filesystem::path(QDir::currentPath().toStdString());
}

std::vector<std::u16string> QtDesktop::commandLineArguments() {
    std::vector<std::u16string> arguments;
    for (const QString& argument : m_arguments) arguments.push_back(toU16(argument));
    return arguments;
}

}  // namespace tessaro
