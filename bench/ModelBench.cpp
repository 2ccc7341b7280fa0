#include <benchmark/benchmark.h>
#include <string>

#include "core/model/PinnedStore.h"
#include "core/model/StoredProfiles.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

// Ten docks of 200 tiles each: applications with their entry paths, some folders on
// disk and the Trash, stored as the program stores them.
Bytes tenLargeDocks(UuidSource& uuids) {
    std::vector<Profile> docks;
    for (int d = 0; d < 10; ++d) {
        Profile dock;
        dock.id = uuids.make();
        dock.name = "Dock " + std::to_string(d + 1);
        dock.edge = kAllDockEdges[d % 4];
        dock.isVisible = d < 8;
        dock.isEnabled = true;
        for (int i = 0; i < 180; ++i) {
            const std::string id = "org.example.Application" + std::to_string(i);
            dock.items.emplace_back(
                PinnedApp{id, "Application " + std::to_string(i), "/usr/share/applications/" + id + ".desktop"});
        }
        for (int i = 0; i < 19; ++i) {
            dock.items.emplace_back(
                PinnedLocation{uuids.make(), "Folder " + std::to_string(i), "/home/ada/Folder " + std::to_string(i)});
        }
        dock.items.emplace_back(PinnedTrash{uuids.make()});
        docks.push_back(std::move(dock));
    }
    return StoredProfiles::encode(docks).value();
}

struct Machine : SimWorld {
    Machine() { defaults.setData("profiles.v1", tenLargeDocks(uuids)); }
};

// Start-up: read "profiles.v1", repair it and write it back.
void LoadRepairAndSaveTenDocksOf200Items(benchmark::State& state) {
    Machine machine;
    for (auto _ : state) {
        PinnedStore store(machine.pinnedPorts());
        benchmark::DoNotOptimize(store.profiles().data());
    }
}
BENCHMARK(LoadRepairAndSaveTenDocksOf200Items)->Unit(benchmark::kMillisecond);

// Moving one dock to another edge: the slot rule, the save of all ten docks, the callbacks.
void DockOperationWithItsSave(benchmark::State& state) {
    Machine machine;
    PinnedStore store(machine.pinnedPorts());
    int layoutChanges = 0;
    store.onLayoutChange = [&layoutChanges] { ++layoutChanges; };
    const Uuid id = store.profiles()[0].id;
    bool top = false;
    for (auto _ : state) {
        top = !top;
        store.setEdge(id, top ? DockEdge::top : DockEdge::bottom);
    }
    benchmark::DoNotOptimize(layoutChanges);
}
BENCHMARK(DockOperationWithItsSave)->Unit(benchmark::kMicrosecond);

}  // namespace
