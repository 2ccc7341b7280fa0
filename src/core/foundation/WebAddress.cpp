#include "core/foundation/WebAddress.h"

#include <algorithm>

namespace quillbern {
namespace {

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isUnreserved(char c) {
    return isAlpha(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

// What may stand in an address outside percent-escapes: unreserved, reserved.
bool isAddressCharacter(char c) {
    return isUnreserved(c) || std::string_view(":/?#[]@!$&'()*+,;=").find(c) != std::string_view::npos;
}

bool holdsOnlyAddressCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2])) return false;
            i += 2;
        } else if (!isAddressCharacter(text[i])) {
            return false;
        }
    }
    return true;
}

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return result;
}

// The host of "//userinfo@host:port/…"; empty when there is none.
std::string hostOf(std::string_view hierarchy) {
    if (!hierarchy.starts_with("//")) return {};
    std::string_view authority = hierarchy.substr(2);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        return close == std::string_view::npos ? std::string() : std::string(authority.substr(0, close + 1));
    }
    return lowered(authority.substr(0, authority.find(':')));
}

}  // namespace

std::optional<WebAddress> WebAddress::parse(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || !isAlpha(text[0])) return std::nullopt;
    const std::string_view scheme = text.substr(0, colon);
    const bool schemeIsValid = std::all_of(scheme.begin(), scheme.end(), [](char c) {
        return isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.';
    });
    if (!schemeIsValid || !holdsOnlyAddressCharacters(text)) return std::nullopt;

    WebAddress address;
    address.text_ = std::string(text);
    address.scheme_ = lowered(scheme);
    const std::string_view rest = text.substr(colon + 1);
    if (address.scheme_ == "http" || address.scheme_ == "https") {
        address.host_ = hostOf(rest);
        if (address.host_.empty()) return std::nullopt;
    } else if (address.scheme_ == "mailto") {
        const std::string_view mailbox = rest.substr(0, rest.find('?'));
        const std::size_t at = mailbox.find('@');
        if (at == std::string_view::npos || at == 0 || at + 1 == mailbox.size()) return std::nullopt;
    } else if (rest.empty()) {
        return std::nullopt;
    }
    return address;
}

WebAddress WebAddress::withQuery(std::initializer_list<std::pair<std::string_view, std::string_view>> items) const {
    const std::string_view text = text_;
    const std::size_t hash = text.find('#');
    const std::string_view fragment = hash == std::string_view::npos ? std::string_view() : text.substr(hash);
    const std::string_view beforeFragment = text.substr(0, hash);
    std::string query;
    for (const auto& [name, value] : items) {
        query += query.empty() ? '?' : '&';
        query += percentEncodedQueryValue(name);
        query += '=';
        query += percentEncodedQueryValue(value);
    }
    WebAddress result = *this;
    result.text_ = std::string(beforeFragment.substr(0, beforeFragment.find('?'))) + query + std::string(fragment);
    return result;
}

std::string percentEncodedQueryValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(value.size());
    for (const char c : value) {
        if (isUnreserved(c) || std::string_view("!$'()*,;:@/?").find(c) != std::string_view::npos) {
            encoded += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

}  // namespace quillbern
