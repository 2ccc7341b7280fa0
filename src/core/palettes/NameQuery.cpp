#include "core/palettes/NameQuery.h"

namespace quillbern {

NameQuery::NameQuery(const TextServices& text, std::string_view query) : text_(text) {
    FoldedText folded;
    text_.fold(text_.trimmingHorizontalSpace(query), folded);
    folded_ = std::move(folded.folded);
}

std::optional<int> NameQuery::rank(std::string_view name) const {
    text_.fold(name, scratch_);
    const std::size_t at = scratch_.folded.find(folded_);
    if (at == std::string::npos) return std::nullopt;
    if (at == 0) return 0;
    return text_.isLetterOrNumberBefore(name, scratch_.originalOffsets[at]) ? 2 : 1;
}

}  // namespace quillbern
