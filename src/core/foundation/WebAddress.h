#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quillbern {

// A web or mail address the program hands to the desktop, checked as RFC 3986 reads one:
// a scheme, then only characters an address may hold (non-ASCII, spaces and stray "%"
// refused); a web address needs a host, a mail address a mailbox with "@".
class WebAddress {
public:
    static std::optional<WebAddress> parse(std::string_view text);

    const std::string& text() const { return text_; }
    // Lower-cased: "https", "mailto".
    const std::string& scheme() const { return scheme_; }
    // Of a web address; empty for others.
    const std::string& host() const { return host_; }
    // The same address with this query in place of any it had, its fragment kept; the
    // values are percent-encoded.
    WebAddress withQuery(std::initializer_list<std::pair<std::string_view, std::string_view>> items) const;

private:
    std::string text_;
    std::string scheme_;
    std::string host_;
};

// Percent-encodes a query's name or value so that it reaches the server as written: only
// letters, digits and "-._~!$'()*,;:@/?" stay as they are; "&", "=", "+", "#", spaces and
// everything else are encoded (a space as "%20").
std::string percentEncodedQueryValue(std::string_view value);

}  // namespace quillbern
