#pragma once
// A stand-in for the host inside the test program: the program exports the functions the plug-in
// calls under the host's names, and they answer from settings a test controls and record every
// call, in order, as "name(arguments)".

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fakehost {

struct FakeHost {
    std::array<int, 3> version{3, 0, 0};
    int documentId = 0;
    int documentType = 1;
    std::int32_t dataType = 2;
    // Dialog parameters; asking for one that is not set leaves the buffer untouched.
    std::map<std::string, std::string> stringParameters;
    // The file dialog's answer; none: the dialog is cancelled and the buffer left untouched.
    std::optional<std::string> pickedFile;
    std::vector<std::string> calls;
};

// The host's state, reset to its defaults by reset().
FakeHost& host();
void reset();

}  // namespace fakehost
