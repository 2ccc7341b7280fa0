#include "core/shell/UrlCommand.h"

#include <utility>
#include <vector>

#include "core/foundation/Utf8.h"

namespace quillbern {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The words of the grammar are ASCII, so ASCII folding compares them as any folding would.
std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// None for a broken escape or for text that is not UTF-8 once decoded.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high << 4 | low);
        i += 2;
    }
    if (!isValidUtf8(out)) return std::nullopt;
    return out;
}

// Everything but the unreserved characters is escaped, so any text comes back whole.
std::string percentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        if (isAsciiLetter(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 0xf];
    }
    return out;
}

bool isScheme(std::string_view text) {
    if (text.empty() || !isAsciiLetter(text.front())) return false;
    for (const char c : text)
        if (!isAsciiLetter(c) && !isDigit(c) && c != '+' && c != '-' && c != '.') return false;
    return true;
}

// The host of an authority "user@host:port", decoded and lower-cased; none when the port
// is not a number.
std::optional<std::string> hostOf(std::string_view authority) {
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (const auto colon = authority.rfind(':'); colon != std::string_view::npos) {
        for (const char c : authority.substr(colon + 1))
            if (!isDigit(c)) return std::nullopt;
        authority = authority.substr(0, colon);
    }
    auto host = percentDecoded(authority);
    if (!host) return std::nullopt;
    return lowered(*host);
}

// The path's elements between slashes, decoded, as typed. The root's slash opens no
// element and a trailing slash ends none, as with folders; two slashes in a row leave an
// empty element between them.
std::optional<std::vector<std::string>> elementsOf(std::string_view path) {
    std::vector<std::string> elements;
    if (path.empty()) return elements;
    path.remove_prefix(1);
    if (path.ends_with('/')) path.remove_suffix(1);
    if (path.empty()) return elements;
    for (;;) {
        const auto slash = path.find('/');
        auto element = percentDecoded(path.substr(0, slash));
        if (!element) return std::nullopt;
        elements.push_back(std::move(*element));
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return elements;
}

template <class E>
std::optional<E> actionNamed(std::string_view element) {
    return caseNamed<E>(lowered(element));
}

}  // namespace

UrlCommand UrlCommand::palette(Kind kind) {
    UrlCommand command;
    command.kind = kind;
    return command;
}

UrlCommand UrlCommand::focus(FocusAction action) {
    UrlCommand command;
    command.kind = Kind::focus;
    command.focusAction = action;
    return command;
}

UrlCommand UrlCommand::profile(std::string dock, DockAction action) {
    UrlCommand command;
    command.kind = Kind::profile;
    command.dock = std::move(dock);
    command.dockAction = action;
    return command;
}

std::optional<UrlReading> UrlReading::of(std::string_view url) {
    const auto colon = url.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view scheme = url.substr(0, colon);
    if (!isScheme(scheme) || lowered(scheme) != UrlCommand::kScheme) return std::nullopt;

    std::string_view rest = url.substr(colon + 1);
    rest = rest.substr(0, rest.find('#'));
    rest = rest.substr(0, rest.find('?'));
    // Without the two slashes there is no host.
    if (!rest.starts_with("//")) return std::nullopt;
    rest.remove_prefix(2);
    const auto slash = rest.find('/');
    std::optional<std::string> host = hostOf(rest.substr(0, slash));
    if (!host || host->empty()) return std::nullopt;
    auto elements = elementsOf(slash == std::string_view::npos ? std::string_view() : rest.substr(slash));
    if (!elements) return std::nullopt;
    return UrlReading{std::move(*host), std::move(*elements)};
}

std::optional<UrlCommand> UrlCommand::parse(std::string_view url) {
    const std::optional<UrlReading> reading = UrlReading::of(url);
    if (!reading) return std::nullopt;
    const std::string& host = reading->host;
    const std::vector<std::string>& elements = reading->elements;

    if (host == "profiles" || host == "profile") {
        if (elements.size() != 2 || elements.front().empty()) return std::nullopt;
        const auto action = actionNamed<DockAction>(elements[1]);
        if (!action) return std::nullopt;
        return profile(elements.front(), *action);
    }
    if (elements.size() != 1) return std::nullopt;
    const auto kind = caseNamed<Kind>(host);
    if (!kind) return std::nullopt;
    if (*kind == Kind::focus) {
        const auto action = actionNamed<FocusAction>(elements.front());
        if (!action) return std::nullopt;
        return focus(*action);
    }
    if (lowered(elements.front()) != "toggle") return std::nullopt;
    return palette(*kind);
}

std::string UrlCommand::url() const {
    std::string text = std::string(kScheme) + "://" + std::string(caseName(kind)) + "/";
    switch (kind) {
        case Kind::focus:
            return text + std::string(caseName(focusAction));
        case Kind::profile:
            return text + percentEncoded(dock) + "/" + std::string(caseName(dockAction));
        case Kind::overview:
        case Kind::shortcuts:
        case Kind::search:
        case Kind::files:
            break;
    }
    return text + "toggle";
}

}  // namespace quillbern
