#include "linux/freedesktop/LinuxSystemAppearance.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <gio/gio.h>
#include <string_view>

#include "linux/freedesktop/CompositorPresence.h"
#include "linux/freedesktop/InstalledSettings.h"

namespace quillbern {

namespace {

constexpr const char* kInterfaceSchema = "org.gnome.desktop.interface";
constexpr const char* kAccessibilitySchema = "org.gnome.desktop.a11y.interface";

std::optional<bool> boolSetting(GSettings* settings, const char* key) {
    if (!settingsHaveKey(settings, key)) return std::nullopt;
    return g_settings_get_boolean(settings, key) != FALSE;
}

std::optional<Color> namedAccent(std::string_view name) {
    struct Named {
        std::string_view name;
        Color color;
    };
    // The desktop's accent names with the colours it shows for them.
    static constexpr std::array<Named, 9> kAccents{{
        {"blue", {0.21, 0.52, 0.89, 1}},
        {"teal", {0.13, 0.56, 0.62, 1}},
        {"green", {0.23, 0.58, 0.29, 1}},
        {"yellow", {0.78, 0.53, 0.0, 1}},
        {"orange", {0.93, 0.36, 0.0, 1}},
        {"red", {0.90, 0.10, 0.24, 1}},
        {"pink", {0.84, 0.34, 0.61, 1}},
        {"purple", {0.57, 0.25, 0.67, 1}},
        {"slate", {0.44, 0.50, 0.56, 1}},
    }};
    for (const auto& accent : kAccents) {
        if (accent.name == name) return accent.color;
    }
    return std::nullopt;
}

void onSettingChanged(GSettings*, gchar*, gpointer owner) {
    static_cast<LinuxSystemAppearance*>(owner)->settingsChanged();
}

}  // namespace

struct LinuxSystemAppearance::Watched {
    GSettings* interface = nullptr;
    GSettings* accessibility = nullptr;

    ~Watched() {
        for (GSettings* settings : {interface, accessibility}) {
            if (!settings) continue;
            g_signal_handlers_disconnect_matched(settings, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr,
                                                 reinterpret_cast<gpointer>(onSettingChanged), nullptr);
            g_object_unref(settings);
        }
    }
};

LinuxSystemAppearance::LinuxSystemAppearance(CompositorPresence& compositing)
    : watched_(std::make_unique<Watched>()),
      compositing_(compositing),
      compositingObserver_(compositing.onChanged([this] { changed_.emit(); })) {
    watched_->interface = openInstalledSettings(kInterfaceSchema);
    watched_->accessibility = openInstalledSettings(kAccessibilitySchema);
    // Change signals arrive through GLib's main context, which Qt's event loop runs.
    for (GSettings* settings : {watched_->interface, watched_->accessibility}) {
        if (settings) g_signal_connect(settings, "changed", G_CALLBACK(onSettingChanged), this);
    }
    // Only keys read after a handler is connected report their changes.
    readSettings();
}

LinuxSystemAppearance::~LinuxSystemAppearance() = default;

bool LinuxSystemAppearance::reduceMotion() const {
    return read_.reduceMotion;
}

bool LinuxSystemAppearance::reduceTransparency() const {
    return read_.reduceTransparency;
}

Color LinuxSystemAppearance::accentColor() const {
    if (read_.accent) return *read_.accent;
    const QColor highlight = QGuiApplication::palette().color(QPalette::Highlight);
    return {highlight.redF(), highlight.greenF(), highlight.blueF(), 1.0};
}

void LinuxSystemAppearance::settingsChanged() {
    readSettings();
    changed_.emit();
}

void LinuxSystemAppearance::readSettings() {
    const auto animations = boolSetting(watched_->interface, "enable-animations");
    read_.reduceMotion = animations.has_value() && !*animations;
    read_.reduceTransparency = boolSetting(watched_->accessibility, "high-contrast").value_or(false);
    read_.accent.reset();
    if (settingsHaveKey(watched_->interface, "accent-color")) {
        gchar* name = g_settings_get_string(watched_->interface, "accent-color");
        read_.accent = namedAccent(name ? name : "");
        g_free(name);
    }
}

bool LinuxSystemAppearance::hasCompositor() const {
    return compositing_.isRunning();
}

Subscription LinuxSystemAppearance::onChanged(Task onChange) {
    return changed_.connect(std::move(onChange));
}

}  // namespace quillbern
