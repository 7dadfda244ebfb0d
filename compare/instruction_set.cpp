#include "compare/instruction_set.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace compare {

const char* instructionSetName(InstructionSet set) {
    switch (set) {
        case InstructionSet::avx2:
            return "avx2";
        case InstructionSet::avx512:
            return "avx512";
        case InstructionSet::sse2:
            break;
    }
    return "sse2";
}

bool isSupported(InstructionSet set) {
    // The processor's feature bits and the operating system's saving of the wider registers are
    // both checked by the compiler's run-time support; SSE2 is part of every x86-64 processor.
    switch (set) {
        case InstructionSet::avx2:
            return __builtin_cpu_supports("avx2");
        case InstructionSet::avx512:
            return __builtin_cpu_supports("avx512f");
        case InstructionSet::sse2:
            break;
    }
    return true;
}

InstructionSet chooseInstructionSet(const char* forced) {
    if (forced == nullptr || *forced == '\0') {
        if (isSupported(InstructionSet::avx512)) return InstructionSet::avx512;
        if (isSupported(InstructionSet::avx2)) return InstructionSet::avx2;
        return InstructionSet::sse2;
    }
    for (InstructionSet set : kInstructionSets) {
        if (std::string(forced) != instructionSetName(set)) continue;
        if (!isSupported(set)) {
            throw std::runtime_error(std::string("TANDREL_ISA: this processor cannot run ") +
                                     forced);
        }
        return set;
    }
    throw std::runtime_error(std::string("TANDREL_ISA: expected sse2, avx2 or avx512, found '") +
                             forced + "'");
}

InstructionSet activeInstructionSet() {
    static const InstructionSet chosen = chooseInstructionSet(std::getenv("TANDREL_ISA"));
    return chosen;
}

}  // namespace compare
