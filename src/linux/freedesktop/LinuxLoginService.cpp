#include "linux/freedesktop/LinuxLoginService.h"

#include <glib.h>
#include <unistd.h>

#include <glib/gstdio.h>

#include "core/foundation/AtomicFile.h"
#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/Localization.h"
#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

constexpr const char* kGroup = "Desktop Entry";
// Far more than any entry that starts a program holds.
constexpr std::uint64_t kMaxEntryBytes = 1 << 20;

// The note under the switch shows it: `what` is a format marked below, filled with the path
// and the system's own reason.
Error posixError(std::string_view what, const std::filesystem::path& path, const std::error_code& code) {
    return Error{formatLocalized(tr(what), {path.string(), code.message()}), "posix", code.value()};
}

// Desktop entries keep one key per line: line breaks and backslashes are escaped.
std::string escapedString(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// Whether the program an Exec or TryExec value names can be run: a path as it is, a
// bare name through PATH, as desktops look for it.
bool isRunnable(const gchar* command) {
    gchar** argv = nullptr;
    gint argc = 0;
    if (!command || !g_shell_parse_argv(command, &argc, &argv, nullptr)) return false;
    std::string program = argv[0];
    g_strfreev(argv);
    // The field code that stands for a percent sign.
    for (std::size_t at = program.find("%%"); at != std::string::npos; at = program.find("%%", at + 1))
        program.erase(at, 1);
    if (program.find('/') == std::string::npos) {
        gchar* found = g_find_program_in_path(program.c_str());
        g_free(found);
        return found != nullptr;
    }
    return g_file_test(program.c_str(), G_FILE_TEST_IS_REGULAR) && g_access(program.c_str(), X_OK) == 0;
}

}  // namespace

LinuxLoginService::LinuxLoginService(Path program)
    : entry_(configHome() / "autostart" / "quillbern.desktop"), program_(std::move(program)) {}

LoginStatus LinuxLoginService::status() const {
    // Read at the start: whatever takes the entry's place (a FIFO, a device) must not hold it.
    const Result<std::string> text = readRegularFile(entry_, kMaxEntryBytes);
    if (!text) return LoginStatus::notRegistered;
    GKeyFile* file = g_key_file_new();
    LoginStatus status = LoginStatus::notRegistered;
    if (g_key_file_load_from_data(file, text.value().data(), text.value().size(), G_KEY_FILE_NONE, nullptr) &&
        g_key_file_has_group(file, kGroup)) {
        // A key that is missing or unreadable reads as false.
        const bool hidden = g_key_file_get_boolean(file, kGroup, "Hidden", nullptr);
        const bool switchedOff = g_key_file_has_key(file, kGroup, "X-GNOME-Autostart-enabled", nullptr) &&
                                 !g_key_file_get_boolean(file, kGroup, "X-GNOME-Autostart-enabled", nullptr);
        if (!hidden && !switchedOff) {
            gchar* exec = g_key_file_get_string(file, kGroup, "Exec", nullptr);
            gchar* tryExec = g_key_file_get_string(file, kGroup, "TryExec", nullptr);
            status =
                isRunnable(exec) && (!tryExec || isRunnable(tryExec)) ? LoginStatus::enabled : LoginStatus::notFound;
            g_free(exec);
            g_free(tryExec);
        }
    }
    g_key_file_free(file);
    return status;
}

Result<void> LinuxLoginService::registerApp() {
    const std::filesystem::path folder = entry_.parent_path();
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    // TRANSLATORS: the first %@ is a folder, the second the system's reason ("Not a directory").
    if (code) return posixError(trNoop("cannot create %@: %@"), folder, code);
    const std::string text = "[Desktop Entry]\nType=Application\nName=Quillbern\nExec=" + execValue(program_) + "\n";
    // A link found at the entry's name is the entry: what it points to is left alone.
    if (auto written = writeFileAtomically(entry_, text, LinkAtName::replaced); !written) {
        return Error{written.error().message, "posix", written.error().code};
    }
    return {};
}

Result<void> LinuxLoginService::unregisterApp() {
    std::error_code code;
    std::filesystem::remove(entry_, code);
    // TRANSLATORS: the first %@ is a file, the second the system's reason ("Permission denied").
    if (code) return posixError(trNoop("cannot remove %@: %@"), entry_, code);
    return {};
}

std::string LinuxLoginService::execValue(const Path& program) {
    // Field codes start with a percent sign, so a literal one is doubled. A character with a
    // meaning to the Exec line puts the argument in quotes, where four of them need a
    // backslash (all four count as such characters).
    std::string argument;
    bool reserved = false;
    for (const char c : program) {
        if (c == '%') {
            argument += "%%";
            continue;
        }
        if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) reserved = true;
        if (std::string_view("\"`$\\").find(c) != std::string_view::npos) argument += '\\';
        argument += c;
    }
    if (reserved) argument = '"' + argument + '"';
    return escapedString(argument);
}

}  // namespace quillbern
