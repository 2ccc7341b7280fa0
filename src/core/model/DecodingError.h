#pragma once

#include <exception>
#include <string>

namespace quillbern {

// Why a stored value could not be read, and where in it.
class DecodingError final : public std::exception {
public:
    enum class Kind { typeMismatch, valueNotFound, keyNotFound, dataCorrupted };

    DecodingError() = default;
    DecodingError(Kind kind, std::string codingPath, std::string description);

    Kind kind() const { return kind_; }
    // The members and indexes that lead to the failing value, as in "[2].items[0].app".
    const std::string& codingPath() const { return codingPath_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    Kind kind_ = Kind::dataCorrupted;
    std::string codingPath_;
    std::string description_;
};

}  // namespace quillbern
