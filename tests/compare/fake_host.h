#pragma once
// An in-process stand-in for the host: every entry of the plug-in's host function table that the
// comparison calls points at a plain function over one static state, so a test sets the dialog's
// parameters, holds a small run in memory, and sees every log text, map and run that is saved.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plugin/host_records.h"

namespace compare::test {

// A map as the plug-in left it when it asked the host to save it.
struct SavedMap {
    std::string path;
    MapHeader header;
    std::vector<std::vector<float>> slices;  // DimZ slices, element (x, y) at y·DimX + x
};

// The run's time courses at the moment the plug-in asked the host to save it.
struct SavedRun {
    std::string fmrPath;
    std::string stcName;
    std::vector<std::vector<float>> volumes;
};

struct FakeHost {
    std::map<std::string, int> intParameters;
    std::map<std::string, std::string> stringParameters;

    // The current run: its header and its time courses, one vector per volume.
    FMRHeader header{};
    std::vector<std::vector<float>> volumes;
    std::vector<float*> volumePointers;
    bool giveNoTimeCourses = false;

    // Maps: each created map has the run's size unless mapSize (x, y, z) says otherwise; the host
    // fills DF1 and DF2 with its own values, which a df of 0 must leave alone.
    std::vector<std::vector<std::vector<float>>> maps;
    std::vector<float*> newestSlicePointers;
    MapHeader newestHeader{};
    std::array<std::int32_t, 3> mapSize{-1, -1, -1};
    bool giveNoSlices = false;
    static constexpr std::int32_t kHostDF1 = 17;
    static constexpr std::int32_t kHostDF2 = 23;

    // Called inside zvSaveFMRAndSTC after the run has been recorded, e.g. to fail the save.
    std::function<void()> duringRunSave;

    std::vector<std::string> logTexts;  // one entry per zvLogText call
    // In order: string parameter reads (with the name), the time-course request, map and save
    // calls.
    std::vector<std::string> hostCalls;
    std::vector<SavedMap> savedMaps;
    std::vector<SavedRun> savedRuns;
};

// The state behind the table; reset() clears it and points the table's entries at it.
FakeHost& fakeHost();
void resetFakeHost();

// Makes the current run: path (at most 303 characters), its sizes and its volumes.
void setRun(const std::string& path, std::int32_t dimX, std::int32_t dimY, std::int32_t dimZ,
            std::vector<std::vector<float>> volumes);

// The host's log function, for a ZorqLog in tests that call the output operations directly.
void fakeLogText(const char* text);

}  // namespace compare::test
