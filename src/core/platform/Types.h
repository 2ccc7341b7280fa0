#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillbern {

// Process identifier of an application.
using Pid = std::int32_t;
// An application's identity: its desktop-entry id without ".desktop" ("org.gnome.Nautilus").
using AppId = std::string;
// A file-system path: the bytes the system gives, UTF-8 wherever the program stores one.
using Path = std::string;
// The window system's number of a window (the X window id on Linux); 0 is no window.
using WindowId = std::uint32_t;

// Pixels row by row, four bytes each: red, green, blue, alpha, colour premultiplied.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgbaPremultiplied;
};

// A picture as a backend made it; `pixels` is present where the core may read them.
struct Image {
    int widthPx = 0;
    int heightPx = 0;
    double scale = 1;
    std::optional<PixelBuffer> pixels;
    std::shared_ptr<const void> native;
};
// Null is no image.
using ImageHandle = std::shared_ptr<const Image>;

}  // namespace quillbern
