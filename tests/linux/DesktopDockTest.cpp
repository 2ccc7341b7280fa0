#include <gio/gio.h>
#include <gtest/gtest.h>
#include <optional>

#include "core/windows/DockSuppressor.h"
#include "linux/freedesktop/LinuxNativeDockPreferences.h"
#include "sim/SimDefaults.h"
#include "sim/SimLog.h"

namespace quillbern {
namespace {

// The extension's settings as the desktop's own settings tool sees them, in the sandbox's
// memory (see SettingsSandbox).
class DesktopDock : public ::testing::Test {
protected:
    GSettings* extension = g_settings_new(LinuxNativeDockPreferences::kDockSchema);
    SimLog log;

    void SetUp() override {
        for (const char* key : {"dock-fixed", "show-delay", "animation-time"})
            g_settings_reset(extension, key);
    }
    void TearDown() override { g_object_unref(extension); }

    // What the user set, as text; "-" where the extension's default applies.
    std::string userValue(const char* key) const {
        GVariant* value = g_settings_get_user_value(extension, key);
        if (!value) return "-";
        gchar* text = g_variant_print(value, FALSE);
        std::string printed(text);
        g_free(text);
        g_variant_unref(value);
        return printed;
    }
    std::vector<std::string> userValues() const {
        return {userValue("dock-fixed"), userValue("show-delay"), userValue("animation-time")};
    }
};

using Values = std::vector<std::string>;

TEST_F(DesktopDock, HidingAndRestoringChangeTheExtensionsSettingsAndReturnThem) {
    // Always shown, a half-second delay, the slide as it comes.
    g_settings_set_boolean(extension, "dock-fixed", TRUE);
    g_settings_set_double(extension, "show-delay", 0.5);
    SimDefaults defaults;
    LinuxNativeDockPreferences dock;
    ASSERT_TRUE(dock.isSupported());
    DockSuppressor suppressor(defaults, dock);

    suppressor.setEnabled(true);
    EXPECT_TRUE(suppressor.isEnabled());
    EXPECT_EQ(userValues(), (Values{"false", "999.75", "0.0"}));

    suppressor.setEnabled(false);
    EXPECT_EQ(userValues(), (Values{"true", "0.5", "-"}));
    EXPECT_DOUBLE_EQ(g_settings_get_double(extension, "animation-time"), 0.2);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(DesktopDock, ARunThatDiedWhileHidingIsPutRightByTheNextLaunch) {
    g_settings_set_double(extension, "animation-time", 0.75);
    SimDefaults defaults;
    {
        LinuxNativeDockPreferences dock;
        DockSuppressor(defaults, dock).setEnabled(true);
    }
    // Gone without a restore.
    EXPECT_EQ(userValues(), (Values{"false", "999.75", "0.0"}));

    // Started again with hiding switched off: the launch restores.
    defaults.set("hideNativeDock", false);
    LinuxNativeDockPreferences dock;
    DockSuppressor(defaults, dock).applyAtLaunch();
    EXPECT_EQ(userValues(), (Values{"-", "-", "0.75"}));
    EXPECT_FALSE(defaults.dataValue("nativeDockOriginals").has_value());
}

TEST_F(DesktopDock, WritesWaitForSynchronizeAndARefusedOneChangesNothing) {
    LinuxNativeDockPreferences dock;
    EXPECT_EQ(dock.value("autohide"), std::nullopt);

    dock.setValue("autohide-delay", 3.0);
    EXPECT_EQ(dock.value("autohide-delay"), Json(3.0));
    EXPECT_EQ(userValue("show-delay"), "-");
    EXPECT_TRUE(dock.synchronize());
    EXPECT_EQ(userValue("show-delay"), "3.0");

    dock.setValue("autohide", true);
    dock.setValue("autohide-delay", std::nullopt);
    dock.setValue("autohide-time-modifier", "soon");
    EXPECT_FALSE(dock.synchronize());
    EXPECT_EQ(userValues(), (Values{"-", "3.0", "-"}));
    EXPECT_EQ(dock.value("autohide-delay"), Json(3.0));
    EXPECT_TRUE(log.contains("Quillbern: the desktop's dock setting animation-time cannot hold \"soon\""));

    dock.setValue("autohide", false);
    dock.setValue("autohide-delay", std::nullopt);
    EXPECT_TRUE(dock.synchronize());
    EXPECT_EQ(userValues(), (Values{"true", "-", "-"}));
    EXPECT_EQ(dock.value("autohide"), Json(false));
    EXPECT_TRUE(dock.restartDock(2.0).exitStatus == 0);
}

TEST_F(DesktopDock, WithoutTheExtensionsSchemaHidingIsUnsupported) {
    LinuxNativeDockPreferences missing("org.gnome.shell.extensions.not-installed");
    EXPECT_FALSE(missing.isSupported());
    missing.setValue("autohide", true);
    EXPECT_EQ(missing.value("autohide"), std::nullopt);
    EXPECT_FALSE(missing.synchronize());

    // A schema that names its keys alike but means something else by them.
    LinuxNativeDockPreferences other("org.quillbern.test.other-dock");
    EXPECT_FALSE(other.isSupported());
    EXPECT_TRUE(
        log.contains("Quillbern: the dock settings org.quillbern.test.other-dock have no key show-delay of the "
                     "expected type; the desktop's dock cannot be hidden"));

    SimDefaults defaults;
    DockSuppressor suppressor(defaults, missing);
    suppressor.setEnabled(true);
    EXPECT_FALSE(suppressor.isEnabled());
    EXPECT_TRUE(suppressor.lastError().has_value());
}

}  // namespace
}  // namespace quillbern
