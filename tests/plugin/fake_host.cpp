#include "tests/plugin/fake_host.h"

#include <cstring>
#include <type_traits>

#include "plugin/host_api_table.h"

namespace fakehost {

FakeHost& host() {
    static FakeHost state;
    return state;
}

void reset() {
    host() = FakeHost{};
}

namespace {

void record(std::string call) {
    host().calls.push_back(std::move(call));
}

void copyInto(char* buffer, const std::string& text) {
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

}  // namespace
}  // namespace fakehost

using fakehost::host;
using fakehost::record;

#define FAKE_HOST_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_HOST_EXPORT bool zvGetVersionOfQuorvisZV(int* major, int* minor, int* patch) {
    record("zvGetVersionOfQuorvisZV()");
    *major = host().version[0];
    *minor = host().version[1];
    *patch = host().version[2];
    return true;
}

FAKE_HOST_EXPORT void zvShowLogTab() {
    record("zvShowLogTab()");
}
FAKE_HOST_EXPORT void zvLogText(const char* text) {
    record("zvLogText(" + std::string(text) + ")");
}
FAKE_HOST_EXPORT void zvMessageBox(const char* text) {
    record("zvMessageBox(" + std::string(text) + ")");
}

FAKE_HOST_EXPORT bool zvGetOpenFileName(const char* caption, const char* startText,
                                        const char* filter, char* buffer) {
    record("zvGetOpenFileName(" + std::string(caption) + ", " + startText + ", " + filter + ")");
    if (!host().pickedFile) return false;
    fakehost::copyInto(buffer, *host().pickedFile);
    return true;
}

FAKE_HOST_EXPORT void zvShowBusyCursor() {
    record("zvShowBusyCursor()");
}
FAKE_HOST_EXPORT void zvStopBusyCursor() {
    record("zvStopBusyCursor()");
}

FAKE_HOST_EXPORT int zvGetDocumentType(int documentId) {
    record("zvGetDocumentType(" + std::to_string(documentId) + ")");
    return host().documentType;
}

FAKE_HOST_EXPORT int zvGetIDOfCurrentDocument() {
    record("zvGetIDOfCurrentDocument()");
    return host().documentId;
}

FAKE_HOST_EXPORT bool zvGetHeaderOfCurrentFMR(FMRHeader* header) {
    record("zvGetHeaderOfCurrentFMR()");
    header->DataType = host().dataType;
    return true;
}

FAKE_HOST_EXPORT float** zvGetSTCFloatDataOfCurrentFMR() {
    record("zvGetSTCFloatDataOfCurrentFMR()");
    return nullptr;
}

FAKE_HOST_EXPORT bool zvSaveFMRAndSTC(const char* fmrPath, const char* stcName) {
    record("zvSaveFMRAndSTC(" + std::string(fmrPath) + ", " + stcName + ")");
    return false;
}

FAKE_HOST_EXPORT float** zvGetMAPOfCurrentFMR(MapHeader*) {
    record("zvGetMAPOfCurrentFMR()");
    return nullptr;
}

FAKE_HOST_EXPORT bool zvSetMAPParametersOfCurrentFMR(MapHeader*) {
    record("zvSetMAPParametersOfCurrentFMR()");
    return false;
}

FAKE_HOST_EXPORT bool zvSaveMAPsOfCurrentFMR(const char* path) {
    record("zvSaveMAPsOfCurrentFMR(" + std::string(path) + ")");
    return false;
}

FAKE_HOST_EXPORT bool zvCreateMAPForCurrentFMR() {
    record("zvCreateMAPForCurrentFMR()");
    return false;
}

FAKE_HOST_EXPORT bool zvGetStringParameter(const char* name, char* buffer) {
    record("zvGetStringParameter(" + std::string(name) + ")");
    const auto found = host().stringParameters.find(name);
    if (found == host().stringParameters.end()) return false;
    fakehost::copyInto(buffer, found->second);
    return true;
}

FAKE_HOST_EXPORT int zvGetIntParameter(const char* name) {
    record("zvGetIntParameter(" + std::string(name) + ")");
    return 0;
}

FAKE_HOST_EXPORT bool zvSetStringParameter(const char* name, const char* text) {
    record("zvSetStringParameter(" + std::string(name) + ", " + text + ")");
    host().stringParameters[name] = text;
    return true;
}

// Every function the plug-in calls is exported here with the signature the plug-in calls it by.
#define FAKE_HOST_CHECK_SIGNATURE(name, signature) \
    static_assert(std::is_same_v<decltype(&::name), std::add_pointer_t<signature>>);
#define FAKE_HOST_IGNORE(name)
TANDREL_HOST_FUNCTIONS(FAKE_HOST_CHECK_SIGNATURE, FAKE_HOST_IGNORE)
