// tandrel_bench: the speed of the voxel loop on the two benchmark workloads.
//
//   W1 = 64 × 64 × 30 voxels × 200 volumes, 45 % of the voxels above the floor, p1 = 4, p2 = 11
//   W2 = 80 × 80 × 48 voxels × 600 volumes, 40 %,                              p1 = 8, p2 = 30
//
// Each run is generated in memory the way the host hands it over (one array per volume): a bright
// ellipsoid holding the given fraction of the voxels over a dark background, with a task, two
// confound signals and noise. The designs are nested (model 1's columns are the first of model
// 2's), the constant is last and the confounds are marked. For every instruction-set path this
// processor runs, and for the one-voxel-at-a-time reference, the program reports the best time of
// analyseVoxels, the GFLOP/s of its matrix-vector products and the ratio to the one-core limit,
// checks that the path's maps are bit-identical to the reference's, and reports the allocations
// and the peak memory of one analysis on the path the process chose.
//
//   tandrel_bench [--workload W1|W2|all] [--repeat N] [--json] [--only sse2|avx2|avx512|reference]

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bench/allocation_count.h"
#include "bench/bench_workload.h"
#include "compare/instruction_set.h"
#include "compare/voxel_analysis.h"
#include "compare/voxel_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

// The one-core limit of the three matrix-vector products per model, as the benchmark tools
// define it: max(FLOPs / mul+add peak without FMA, run size / streaming read bandwidth), with the
// figures those tools measured on the benchmark machine (AVX-512 peak, one core).
constexpr double kPeakFlops = 232e9;
constexpr double kReadBytesPerSecond = 32e9;

bool sameMaps(const compare::ComparisonResult& a, const compare::ComparisonResult& b) {
    const std::size_t bytes = static_cast<std::size_t>(a.F.voxelCount()) * sizeof(float);
    const numerics::Volume* left[] = {&a.tSNR1, &a.tSNR2, &a.R2adj1, &a.R2adj2, &a.F};
    const numerics::Volume* right[] = {&b.tSNR1, &b.tSNR2, &b.R2adj1, &b.R2adj2, &b.F};
    for (int v = 0; v < 5; ++v) {
        if (std::memcmp(left[v]->data, right[v]->data, bytes) != 0) return false;
    }
    return a.analysedVoxels == b.analysedVoxels;
}

// The machine is shared and virtual: the thread's own processor time shows what the code costs
// when other work takes the core away, the wall clock what a user waits.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

struct Timing {
    std::string path;
    double seconds;     // wall clock, best of the repetitions
    double cpuSeconds;  // processor time of this thread, best of the repetitions
    bool identical;
};

// Best of `repeat` analyses on one path; "reference" runs the one-voxel-at-a-time loop.
Timing timePath(const bench::Workload& w, const std::string& path, int repeat,
                const compare::ComparisonResult* reference,
                std::optional<compare::ComparisonResult>* keep) {
    double best = 1e300, bestCpu = 1e300;
    std::optional<compare::ComparisonResult> last;
    for (int r = 0; r < repeat; ++r) {
        const auto start = Clock::now();
        const double startCpu = cpuSeconds();
        if (path == "reference") {
            last = compare::analyseVoxelsReference(w.model1, w.model2, w.dimX, w.dimY, w.dimZ,
                                                   w.volumes, w.timeCourses.data(), false, false);
        } else {
            const compare::InstructionSet set = compare::chooseInstructionSet(path.c_str());
            last = compare::analyseVoxelsWith(set, w.model1, w.model2, w.dimX, w.dimY, w.dimZ,
                                              w.volumes, w.timeCourses.data(), false, false);
        }
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
        bestCpu = std::min(bestCpu, cpuSeconds() - startCpu);
    }
    const bool identical = reference == nullptr || sameMaps(*last, *reference);
    if (keep != nullptr) *keep = std::move(last);
    return {path, best, bestCpu, identical};
}

// What one analysis on the chosen path allocates: calls to operator new, and the most memory it
// held at once beyond what was held before it (its results included).
struct Footprint {
    std::size_t allocations;
    double peakMegabytes;
    double residualMegabytes;  // the kept residuals' arrays alone
};

Footprint footprint(const bench::Workload& w, bool keepResiduals) {
    bench::resetPeakBytes();
    const std::size_t before = bench::bytesInUse();
    const std::size_t calls = bench::allocationCount();
    const compare::ComparisonResult result =
        compare::analyseVoxels(w.model1, w.model2, w.dimX, w.dimY, w.dimZ, w.volumes,
                               w.timeCourses.data(), keepResiduals, keepResiduals);
    const double residuals = 2.0 * static_cast<double>(result.keptResiduals1.size()) * w.volumes *
                             sizeof(float) * (keepResiduals ? 1 : 0);
    return {bench::allocationCount() - calls,
            static_cast<double>(bench::peakBytes() - before) / 1e6, residuals / 1e6};
}

void benchWorkload(const std::string& name, int repeat, bool json, const std::string& only) {
    const bench::Workload w = bench::makeWorkload(name);
    if (!only.empty()) {  // one path alone, for profiling
        const Timing t = timePath(w, only, repeat, nullptr, nullptr);
        std::printf("%s %s: %.2f ms (processor time %.2f ms)\n", name.c_str(), only.c_str(),
                    t.seconds * 1e3, t.cpuSeconds * 1e3);
        return;
    }

    std::vector<Timing> timings;
    std::optional<compare::ComparisonResult> reference;
    timings.push_back(timePath(w, "reference", 1, nullptr, &reference));
    for (compare::InstructionSet set : compare::kInstructionSets) {
        if (!compare::isSupported(set)) continue;
        timings.push_back(
            timePath(w, compare::instructionSetName(set), repeat, &*reference, nullptr));
    }
    const std::size_t analysed = reference->analysedVoxels.size();
    reference.reset();
    const Footprint plain = footprint(w, false);
    const Footprint kept = footprint(w, true);

    const double flop = static_cast<double>(analysed) *
                        (bench::matVecFlops(w.volumes, w.p1) + bench::matVecFlops(w.volumes, w.p2));
    const double runBytes = 4.0 * w.volumes * w.dimX * w.dimY * w.dimZ;
    const double limit = std::max(flop / kPeakFlops, runBytes / kReadBytesPerSecond);

    if (json) {
        std::printf(
            "{\"workload\": \"%s\", \"analysed\": %zu, \"voxels\": %d, "
            "\"gflop\": %.4f, \"limit_s\": %.6f, \"allocations\": %zu, "
            "\"peak_mb\": %.2f, \"peak_mb_kept\": %.2f, \"residual_mb\": %.2f, "
            "\"paths\": {",
            name.c_str(), analysed, w.dimX * w.dimY * w.dimZ, flop * 1e-9, limit, plain.allocations,
            plain.peakMegabytes, kept.peakMegabytes, kept.residualMegabytes);
        for (std::size_t i = 0; i < timings.size(); ++i) {
            std::printf("%s\"%s\": {\"seconds\": %.6f, \"cpu_seconds\": %.6f, \"identical\": %s}",
                        i ? ", " : "", timings[i].path.c_str(), timings[i].seconds,
                        timings[i].cpuSeconds, timings[i].identical ? "true" : "false");
        }
        std::printf("}}\n");
        return;
    }
    std::printf(
        "%s: %d x %d x %d voxels x %d volumes, p1=%d p2=%d; %zu voxels analysed; "
        "%.2f GFLOP in the matrix-vector products; one-core limit %.1f ms\n",
        name.c_str(), w.dimX, w.dimY, w.dimZ, w.volumes, w.p1, w.p2, analysed, flop * 1e-9,
        limit * 1e3);
    for (const Timing& t : timings) {
        std::printf("  %-9s %9.1f ms  %6.1f GFLOP/s  %6.2f x limit  %s\n", t.path.c_str(),
                    t.seconds * 1e3, flop / t.seconds * 1e-9, t.seconds / limit,
                    t.identical ? "bit-identical to the reference" : "DIFFERS FROM THE REFERENCE");
    }
    std::printf(
        "  analyseVoxels (%s): %zu allocations, peak %.1f MB above the run (the five "
        "maps included); with both residuals kept: peak %.1f MB for %.1f MB of residuals\n",
        compare::instructionSetName(compare::activeInstructionSet()), plain.allocations,
        plain.peakMegabytes, kept.peakMegabytes, kept.residualMegabytes);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> workloads{"W1", "W2"};
    int repeat = 5;
    bool json = false;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--workload" && i + 1 < argc) {
            const std::string value = argv[++i];
            if (value != "all") workloads = {value};
        } else if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else if (arg == "--json") {
            json = true;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--workload W1|W2|all] [--repeat N] [--json] [--only PATH]\n",
                         argv[0]);
            return 2;
        }
    }
    try {
        for (const std::string& name : workloads) benchWorkload(name, repeat, json, only);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tandrel_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
