#pragma once
// What every fuzz target of the project shares: the libFuzzer entry point, and a scratch folder
// for targets whose code under test reads files by path.
//
// Each target is built twice: linked with libFuzzer (clang, -fsanitize=fuzzer) to search for
// inputs that crash, hang or leak, and linked with replay_main.cpp into a plain program that runs
// the target over saved inputs, so the seed corpora and every input that once crashed run in the
// ordinary test suite under any compiler and sanitizer.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

// A folder of this process under the system's temporary folder, removed at exit. Made once: a
// fuzzer runs the target millions of times and must not create a folder each time.
const std::filesystem::path& scratchFolder();

// Writes the bytes to `name` in the scratch folder, replacing the file, and returns its path.
std::string writeScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
