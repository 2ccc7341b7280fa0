#pragma once

namespace quillbern {

// Components from 0 to 1, not premultiplied.
struct Color {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;
    bool operator==(const Color&) const = default;
};

}  // namespace quillbern
