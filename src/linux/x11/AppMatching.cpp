#include "linux/x11/AppMatching.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace quillbern {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view baseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view withoutDesktopSuffix(std::string_view name) {
    constexpr std::string_view kSuffix = ".desktop";
    name = baseName(name);
    if (name.ends_with(kSuffix)) name.remove_suffix(kSuffix.size());
    return name;
}

// The last component of a reverse-DNS id ("org.gnome.Nautilus" -> "Nautilus").
std::string_view lastComponent(std::string_view id) {
    const auto dot = id.rfind('.');
    return dot == std::string_view::npos ? id : id.substr(dot + 1);
}

// "python3.11" is "python" with a version.
bool isVersionOf(std::string_view name, std::string_view family) {
    if (!name.starts_with(family)) return false;
    name.remove_prefix(family.size());
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '.'; });
}

// Programs that run whatever script or package they are given: their process says
// nothing about which application it is.
bool runsOtherPrograms(std::string_view program) {
    constexpr std::string_view kLaunchers[] = {"sh",   "bash",   "dash",    "env", "java",
                                               "node", "nodejs", "flatpak", "snap"};
    constexpr std::string_view kInterpreters[] = {"python", "perl", "ruby"};
    return std::find(std::begin(kLaunchers), std::end(kLaunchers), program) != std::end(kLaunchers) ||
           std::any_of(std::begin(kInterpreters), std::end(kInterpreters),
                       [program](std::string_view family) { return isVersionOf(program, family); });
}

std::vector<std::string> classNames(const WindowFacts& window) {
    std::vector<std::string> names;
    if (window.wmClassClass && !window.wmClassClass->empty()) names.push_back(lowered(*window.wmClassClass));
    if (window.wmClassInstance && !window.wmClassInstance->empty()) names.push_back(lowered(*window.wmClassInstance));
    return names;
}

}  // namespace

AppMatcher::AppMatcher(std::vector<DesktopEntryFacts> entries) : entries_(std::move(entries)) {
    // A stable order decides between entries that answer equally well.
    std::stable_sort(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
}

std::optional<std::string> AppMatcher::match(const WindowFacts& window) const {
    for (const auto& declared : {window.applicationId, window.desktopFile}) {
        if (!declared) continue;
        if (const auto* entry = byId(std::string(withoutDesktopSuffix(*declared)))) return entry->id;
    }
    for (const auto* entry : {byOrigin(window.origin, window.pid), byStartupClass(window), byClassName(window),
                              byExecutable(window.executable)}) {
        if (entry) return entry->id;
    }
    return byLaunch(window.pid);
}

std::optional<std::string> AppMatcher::matchWindowless(const ProcessFacts& process, const ProcessLookup& lookup) const {
    if (auto own = byProcess(process)) return own;
    // A bound on the walk, whatever the table of processes says.
    constexpr int kMostAncestors = 64;
    std::optional<Pid> parent = process.parent;
    for (int depth = 0; depth < kMostAncestors && parent && *parent > 1 && lookup; ++depth) {
        const std::optional<ProcessFacts> ancestor = lookup(*parent);
        if (!ancestor) break;
        if (auto found = byProcess(*ancestor)) return found;
        parent = ancestor->parent;
    }
    // The launch it descends from may have ended, leaving it to another parent.
    if (const auto& inherited = process.origin.launchedDesktopFile) {
        if (const auto* entry = byLaunchedFile(*inherited)) return entry->id;
    }
    return std::nullopt;
}

std::optional<std::string> AppMatcher::byProcess(const ProcessFacts& process) const {
    for (const auto* entry : {byOrigin(process.origin, process.pid), byExecutable(process.executable)}) {
        if (entry) return entry->id;
    }
    return byLaunch(process.pid);
}

std::optional<std::string> AppMatcher::byLaunch(std::optional<Pid> pid) const {
    if (!pid) return std::nullopt;
    const auto launched = launches_.find(*pid);
    return launched == launches_.end() ? std::nullopt : std::optional(launched->second);
}

void AppMatcher::rememberLaunch(Pid pid, std::string entryId) {
    launches_[pid] = std::move(entryId);
}

void AppMatcher::forgetLaunch(Pid pid) {
    launches_.erase(pid);
}

const DesktopEntryFacts* AppMatcher::byId(const std::string& id) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.id == id; });
    return found == entries_.end() ? nullptr : &*found;
}

const DesktopEntryFacts* AppMatcher::byOrigin(const ProcessOrigin& origin, std::optional<Pid> pid) const {
    // A sandbox holds every process started in it, whatever it shows.
    if (origin.flatpakId) {
        if (const auto* entry = byId(*origin.flatpakId)) return entry;
    }
    if (origin.snapName) {
        if (const auto* entry = bySnap(*origin.snapName)) return entry;
    }
    // Only the launched process itself: its children inherit the variable.
    if (origin.launchedDesktopFile && pid && origin.launchedPid == pid)
        return byLaunchedFile(*origin.launchedDesktopFile);
    return nullptr;
}

const DesktopEntryFacts* AppMatcher::byLaunchedFile(const std::string& file) const {
    const auto exact = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.path == file; });
    if (exact != entries_.end()) return &*exact;
    return byId(std::string(withoutDesktopSuffix(file)));
}

const DesktopEntryFacts* AppMatcher::bySnap(const std::string& snap) const {
    // A Snap's entries are named "<snap>_<application>"; the one named after the Snap
    // itself is its main application.
    const std::string prefix = snap + "_";
    if (const auto* main = byId(prefix + snap)) return main;
    const auto any =
        std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.id.starts_with(prefix); });
    if (any != entries_.end()) return &*any;
    return byId(snap);
}

const DesktopEntryFacts* AppMatcher::byStartupClass(const WindowFacts& window) const {
    for (const auto& name : classNames(window)) {
        for (const auto& entry : entries_) {
            if (entry.startupWmClass && lowered(*entry.startupWmClass) == name) return &entry;
        }
    }
    return nullptr;
}

const DesktopEntryFacts* AppMatcher::byClassName(const WindowFacts& window) const {
    for (const auto& name : classNames(window)) {
        for (const auto& entry : entries_) {
            const std::string id = lowered(entry.id);
            if (id == name || lastComponent(id) == name) return &entry;
        }
    }
    return nullptr;
}

const DesktopEntryFacts* AppMatcher::byExecutable(const std::optional<std::string>& program) const {
    if (!program || program->empty()) return nullptr;
    const std::string_view executable = *program;
    if (runsOtherPrograms(baseName(executable))) return nullptr;
    for (const auto& entry : entries_) {
        // Hidden entries are helpers and interpreters' own; only a declared id or class
        // may lead to them.
        if (entry.noDisplay) continue;
        for (const auto& program : entry.programs) {
            // An absolute program names one file; a bare one is looked up on PATH.
            const bool same = program.starts_with('/') ? program == executable : program == baseName(executable);
            if (same) return &entry;
        }
    }
    return nullptr;
}

}  // namespace quillbern
