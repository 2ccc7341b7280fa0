#pragma once

namespace quillbern {

// The pages of the desktop's settings that the program sends the user to.
enum class SettingsPage { windowAccessPrivacy, screenCapturePrivacy };

// Opens things on the user's behalf.
class Launcher {
public:
    virtual ~Launcher() = default;

    // The nearest page of the running desktop's settings; false where none exists.
    virtual bool openSystemSettings(SettingsPage page) = 0;
};

}  // namespace quillbern
