#include "SettingsSandbox.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "linux/process/LinuxProcesses.h"

namespace quillbern {

namespace {

namespace fs = std::filesystem;

struct Sandbox {
    fs::path directory = fs::temp_directory_path() / ("quillbern-gsettings-" + std::to_string(::getpid()));
    ~Sandbox() {
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }
};

}  // namespace

void useSettingsSandbox() {
    // A death test's child runs this program again and ends without cleaning up: it keeps
    // the sandbox of its parent, which removes it.
    if (const char* inherited = std::getenv("GSETTINGS_SCHEMA_DIR");
        inherited && fs::path(inherited).filename().string().starts_with("quillbern-gsettings-"))
        return;
    static Sandbox sandbox;
    fs::create_directories(sandbox.directory);
    fs::copy_file(QUILLBERN_TEST_SCHEMA, sandbox.directory / fs::path(QUILLBERN_TEST_SCHEMA).filename(),
                  fs::copy_options::overwrite_existing);
    const ProcessResult compiled =
        LinuxProcesses().run({"glib-compile-schemas", {sandbox.directory.string()}, {}}, 10.0);
    if (compiled.exitStatus != 0) {
        std::fprintf(stderr, "glib-compile-schemas failed; is libglib2.0-bin installed?\n");
        std::exit(1);
    }
    ::setenv("GSETTINGS_SCHEMA_DIR", sandbox.directory.c_str(), 1);
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
}

}  // namespace quillbern
