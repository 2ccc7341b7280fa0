#include "core/shell/UrlForLog.h"

#include <algorithm>
#include <optional>

#include "core/foundation/Log.h"
#include "core/shell/UrlCommand.h"

namespace quillbern {

namespace {

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

std::string urlPieceForLog(std::string_view piece) {
    // Decided on the piece as the program read it, decoded: what shows is what it read.
    if (!std::ranges::all_of(piece, isPlain)) return "\u2026";
    return escapedForLog(piece);
}

std::string urlForLog(std::string_view url) {
    const std::optional<UrlReading> reading = UrlReading::of(url);
    if (!reading) return std::string(UrlCommand::kScheme) + ":\u2026";
    std::string read = std::string(UrlCommand::kScheme) + "://" + urlPieceForLog(reading->host);
    for (const std::string& element : reading->elements)
        read += "/" + urlPieceForLog(element);
    std::string shown = escapedForLog(read);
    // The reader learns that a query was there, not what it held.
    const std::size_t cut = url.find_first_of("?#");
    if (cut != std::string_view::npos && url[cut] == '?') shown += "?\u2026";
    return shown;
}

}  // namespace quillbern
