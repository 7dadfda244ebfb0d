// Fuzz target of the SDM reader: the bytes become a design file on disk, read as the comparison
// reads it; a design that reads is then completed with its constant and made into the model
// matrix of a fit. A malformed file must fail with the reader's IOError and nothing else.

#include <cstddef>
#include <cstdint>

#include "sdm/design_matrix.h"
#include "sdm/io_error.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

// The comparison completes a design only once its data points match the run's volumes, so a
// design is only as long as a run in memory. A file of a few bytes may still state two billion
// data points for no predictors, which would make the constant alone 8 GB; those are designs no
// run matches, and completing them would measure the machine's memory, not the reader.
constexpr std::int64_t kMaxCompletedValues = std::int64_t{1} << 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::writeScratchFile("input.sdm", data, size);
    try {
        sdm::DesignMatrix design(path);
        const std::int64_t values =
            (std::int64_t{design.nrOfPredictors.value} + 1) * design.nrOfDataPoints.value;
        if (values > kMaxCompletedValues) return 0;
        design.addConstantIfMissing();
        const numerics::Matrix model = sdm::toMatrix(design);
        if (model.rows != design.nrOfDataPoints.value) __builtin_trap();
    } catch (const sdm::IOError&) {
        // The reader refused the file, as it should refuse anything malformed.
    }
    return 0;
}
