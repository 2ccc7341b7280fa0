// The stored docks: load, repair and save, then a second load that must change nothing.
#include "FuzzSupport.h"
#include "sim/SimDefaults.h"

using namespace quillbern;
using namespace quillbern::fuzz;

namespace {

Json everyValue(const Defaults& defaults) {
    Json values = Json::object();
    for (const std::string& key : defaults.keys())
        values[key] = *defaults.value(key);
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Machine machine;
    const Json stored = Defaults::dataJson(bytesOf(data, size));
    SimDefaults defaults(Json{{"profiles.v1", stored}});
    auto store = machine.startDocks(defaults);
    checkDocksLoad(stored, defaults, *store);

    const Json afterFirst = everyValue(defaults);
    const std::vector<Profile> docks = store->profiles();
    store.reset();
    store = machine.startDocks(defaults);
    require(everyValue(defaults) == afterFirst, "a second load changes nothing stored");
    require(store->profiles() == docks, "a second load reads the same docks");
    return 0;
}
