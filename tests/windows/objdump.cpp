#include "tests/windows/objdump.h"

#include <sstream>
#include <stdexcept>

#include "tests/host/process_runner.h"

namespace windows_test {
namespace {

// "\t[   3] createPlugin" gives "createPlugin".
std::string exportedName(const std::string& line) {
    const std::size_t bracket = line.find("] ");
    return bracket == std::string::npos ? "" : line.substr(bracket + 2);
}

}  // namespace

PeTables readPeTables(const std::string& objdump, const std::string& binary) {
    const host_test::ProcessResult result = host_test::runProcess({objdump, "-p", binary}, ".");
    if (result.status != 0) {
        throw std::runtime_error(objdump + " -p " + binary + " failed: " + result.err);
    }
    PeTables tables;
    std::istringstream lines(result.out);
    bool inExportNames = false;
    const std::string dllName = "DLL Name: ";
    for (std::string line; std::getline(lines, line);) {
        if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) {
            inExportNames = true;
        } else if (inExportNames && line.empty()) {
            inExportNames = false;
        } else if (inExportNames) {
            tables.exports.push_back(exportedName(line));
        } else if (const std::size_t at = line.find(dllName); at != std::string::npos) {
            tables.imports.push_back(line.substr(at + dllName.size()));
        }
    }
    return tables;
}

}  // namespace windows_test
