#pragma once
// What a Windows binary offers and needs, as the MinGW-w64 objdump reads it from the file: the
// names in its export table and the DLLs its import table names.

#include <string>
#include <vector>

namespace windows_test {

struct PeTables {
    std::vector<std::string> exports;  // in the table's (sorted) order
    std::vector<std::string> imports;  // DLL names as written, e.g. "KERNEL32.dll"
};

// Runs `objdump -p` on `binary`. Throws std::runtime_error when objdump fails.
PeTables readPeTables(const std::string& objdump, const std::string& binary);

}  // namespace windows_test
