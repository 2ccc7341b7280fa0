#include "core/model/DecodingError.h"

namespace quillbern {

DecodingError::DecodingError(Kind kind, std::string codingPath, std::string description)
    : kind_(kind), codingPath_(std::move(codingPath)), description_(std::move(description)) {}

}  // namespace quillbern
