#pragma once
// The instruction sets the voxel engine has kernels for, and the choice among them: the widest one
// the processor runs, unless the environment variable TANDREL_ISA names one (to compare paths or
// to measure one). Every path gives the same bits; they differ only in speed.

namespace compare {

enum class InstructionSet { sse2, avx2, avx512 };

// Every path, narrowest first.
inline constexpr InstructionSet kInstructionSets[] = {InstructionSet::sse2, InstructionSet::avx2,
                                                      InstructionSet::avx512};

// "sse2", "avx2" or "avx512": the names TANDREL_ISA takes.
const char* instructionSetName(InstructionSet set);

// True when this processor (and its operating system) can run the path.
bool isSupported(InstructionSet set);

// The path named by `forced` (a value of TANDREL_ISA), or the widest supported one when `forced`
// is null or empty. Throws std::runtime_error for a name that is not a path, or for a path this
// processor cannot run.
InstructionSet chooseInstructionSet(const char* forced);

// chooseInstructionSet of TANDREL_ISA, decided at the first call and kept for the process.
InstructionSet activeInstructionSet();

}  // namespace compare
