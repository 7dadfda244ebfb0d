#include "tests/compare/fake_host.h"

#include <cstring>
#include <stdexcept>

#include "plugin/host_api_table.h"

namespace compare::test {
namespace {

FakeHost state;

void copyText(const std::string& text, char* buffer) {
    if (text.size() >= plugin::kHostTextBufferSize) throw std::length_error("text too long");
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

int getIntParameter(const char* name) {
    const auto found = state.intParameters.find(name);
    return found == state.intParameters.end() ? 0 : found->second;
}

bool getStringParameter(const char* name, char* buffer) {
    state.hostCalls.push_back(std::string("zvGetStringParameter ") + name);
    const auto found = state.stringParameters.find(name);
    copyText(found == state.stringParameters.end() ? "" : found->second, buffer);
    return true;
}

bool getHeader(FMRHeader* header) {
    *header = state.header;
    return true;
}

float** getTimeCourses() {
    state.hostCalls.push_back("zvGetSTCFloatDataOfCurrentFMR");
    return state.giveNoTimeCourses ? nullptr : state.volumePointers.data();
}

bool saveRun(const char* fmrPath, const char* stcName) {
    state.hostCalls.push_back("zvSaveFMRAndSTC");
    state.savedRuns.push_back({fmrPath, stcName, state.volumes});
    if (state.duringRunSave) state.duringRunSave();
    return true;
}

bool createMap() {
    state.hostCalls.push_back("zvCreateMAPForCurrentFMR");
    const FMRHeader& run = state.header;
    const std::int32_t x = state.mapSize[0] >= 0 ? state.mapSize[0] : run.DimX;
    const std::int32_t y = state.mapSize[1] >= 0 ? state.mapSize[1] : run.DimY;
    const std::int32_t z = state.mapSize[2] >= 0 ? state.mapSize[2] : run.DimZ;
    state.maps.emplace_back(z, std::vector<float>(x * y, -1.0f));
    state.newestSlicePointers.clear();
    for (std::vector<float>& slice : state.maps.back())
        state.newestSlicePointers.push_back(slice.data());
    state.newestHeader = MapHeader{};
    state.newestHeader.DimX = x;
    state.newestHeader.DimY = y;
    state.newestHeader.DimZ = z;
    state.newestHeader.ClearedSetting = 1;
    state.newestHeader.DF1 = FakeHost::kHostDF1;
    state.newestHeader.DF2 = FakeHost::kHostDF2;
    return true;
}

float** getMap(MapHeader* header) {
    state.hostCalls.push_back("zvGetMAPOfCurrentFMR");
    *header = state.newestHeader;
    return state.giveNoSlices ? nullptr : state.newestSlicePointers.data();
}

bool setMapParameters(MapHeader* header) {
    state.hostCalls.push_back("zvSetMAPParametersOfCurrentFMR");
    state.newestHeader = *header;
    return true;
}

bool saveMaps(const char* path) {
    state.hostCalls.push_back("zvSaveMAPsOfCurrentFMR");
    state.savedMaps.push_back({path, state.newestHeader, state.maps.back()});
    return true;
}

}  // namespace

FakeHost& fakeHost() {
    return state;
}

void fakeLogText(const char* text) {
    state.logTexts.emplace_back(text);
}

void resetFakeHost() {
    state = FakeHost{};
    plugin::hostApi = plugin::HostApiTable{};
    plugin::hostApi.zvLogText = fakeLogText;
    plugin::hostApi.zvGetIntParameter = getIntParameter;
    plugin::hostApi.zvGetStringParameter = getStringParameter;
    plugin::hostApi.zvGetHeaderOfCurrentFMR = getHeader;
    plugin::hostApi.zvGetSTCFloatDataOfCurrentFMR = getTimeCourses;
    plugin::hostApi.zvSaveFMRAndSTC = saveRun;
    plugin::hostApi.zvCreateMAPForCurrentFMR = createMap;
    plugin::hostApi.zvGetMAPOfCurrentFMR = getMap;
    plugin::hostApi.zvSetMAPParametersOfCurrentFMR = setMapParameters;
    plugin::hostApi.zvSaveMAPsOfCurrentFMR = saveMaps;
}

void setRun(const std::string& path, std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
            std::vector<std::vector<float>> volumes) {
    state.header = FMRHeader{};
    if (path.size() >= sizeof state.header.FilePath) throw std::length_error("run path too long");
    std::memcpy(state.header.FilePath, path.c_str(), path.size() + 1);
    state.header.NrOfVolumes = static_cast<std::int32_t>(volumes.size());
    state.header.DimX = dimX;
    state.header.DimY = dimY;
    state.header.DimZ = dimZ;
    state.header.DataType = kFloatTimeCourses;
    state.volumes = std::move(volumes);
    state.volumePointers.clear();
    for (std::vector<float>& volume : state.volumes) state.volumePointers.push_back(volume.data());
}

}  // namespace compare::test
