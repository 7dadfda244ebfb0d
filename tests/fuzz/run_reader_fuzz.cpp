// Fuzz target of the host's run readers: the bytes are opened as the RUN of the command line,
// once as a NIfTI run (run.nii; gzip-compressed data is recognised by its content) and once as an
// FMR document (run.fmr). A document may name its time-course file; it is followed only when that
// file lies in the scratch folder, where a small well-formed run "good.stc" waits, so the fuzzer
// reaches the checks of a document against its run but never reads the machine's other files.
//
// A run that cannot be used must fail with RunReadError or FmrFormatError; a run that opens must
// have volumes whose every value can be read.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "host/atomic_file.h"
#include "host/fmr_document.h"
#include "host/fmr_file.h"
#include "host/nifti_io.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

// A 2 x 2 x 2 run of 3 volumes, saved the way the host saves time courses.
void writeGoodRun() {
    host::Geometry geometry;
    geometry.dim[0] = geometry.dim[1] = geometry.dim[2] = 2;
    constexpr std::size_t kValues = 2 * 2 * 2 * 3;
    host::FloatBlock values = host::allocateFloats(kValues);
    for (std::size_t i = 0; i < kValues; ++i) values[i] = static_cast<float>(i);
    const host::TimeCourses run(geometry, 3, std::move(values));
    host::AtomicFile file((fuzz::scratchFolder() / "good.stc").string());
    host::writeNiftiRun(file, run);
    file.commit();
}

// Reads the first and the last value of every volume, so that a block shorter than the sizes the
// run states shows under AddressSanitizer.
void touchEveryVolume(const host::TimeCourses& run) {
    if (run.nrOfVolumes() < 1 || run.voxelsPerVolume() < 1) __builtin_trap();
    volatile float sink = 0.0f;
    for (std::int32_t t = 0; t < run.nrOfVolumes(); ++t) {
        sink = sink + run.volumes()[t][0] + run.volumes()[t][run.voxelsPerVolume() - 1];
    }
}

void open(const std::string& path) {
    try {
        const host::FmrDocument document = host::openDocument(path);
        touchEveryVolume(document.run());
    } catch (const host::RunReadError&) {
    } catch (const host::FmrFormatError&) {
    }
}

bool namesFileInItsFolder(const std::uint8_t* data, std::size_t size) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    try {
        const host::FmrFile document = host::parseFmrFile(text, "run.fmr");
        return document.stcFile.find_first_of("/\\") == std::string::npos;
    } catch (const host::FmrFormatError&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool prepared = (writeGoodRun(), true);
    (void)prepared;
    open(fuzz::writeScratchFile("run.nii", data, size));
    if (namesFileInItsFolder(data, size)) open(fuzz::writeScratchFile("run.fmr", data, size));
    return 0;
}
