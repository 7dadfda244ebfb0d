// The functions the host exports for its plug-ins, under the names and with the C signatures of
// the plug-in's host function table. Each forwards to the active HostContext; outside a session
// they answer as a host without a document would.

#include <type_traits>

#include "host/host_context.h"
#include "plugin/host_api_table.h"

#if defined(_WIN32)
#define QUORVIS_EXPORT __declspec(dllexport)
#else
#define QUORVIS_EXPORT __attribute__((visibility("default")))
#endif

// Every function the plug-in calls is declared from its table entry, so a definition below whose
// signature drifted from the table does not compile.
#define QUORVIS_DECLARE_CALLED(name, signature) \
    extern "C" QUORVIS_EXPORT std::type_identity_t<signature> name;
#define QUORVIS_SKIP_OTHER(name)
TANDREL_HOST_FUNCTIONS(QUORVIS_DECLARE_CALLED, QUORVIS_SKIP_OTHER)
#undef QUORVIS_DECLARE_CALLED

using host::HostContext;

extern "C" {

bool zvGetVersionOfQuorvisZV(int* major, int* minor, int* patch) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->getVersion(major, minor, patch);
}

void zvShowLogTab() {
    // The log pane is standard output, always in view.
}

void zvLogText(const char* text) {
    if (HostContext* host = HostContext::active()) host->logText(text);
}

void zvMessageBox(const char* text) {
    if (HostContext* host = HostContext::active()) host->messageBox(text);
}

bool zvGetOpenFileName(const char* caption, const char* startText, const char* filter,
                       char* buffer) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->getOpenFileName(caption, startText, filter, buffer);
}

void zvShowBusyCursor() {
    if (HostContext* host = HostContext::active()) host->showBusyCursor();
}

void zvStopBusyCursor() {
    if (HostContext* host = HostContext::active()) host->stopBusyCursor();
}

int zvGetDocumentType(int documentId) {
    HostContext* host = HostContext::active();
    return host == nullptr ? -1 : host->documentType(documentId);
}

int zvGetIDOfCurrentDocument() {
    HostContext* host = HostContext::active();
    return host == nullptr ? -1 : host->currentDocumentId();
}

bool zvGetHeaderOfCurrentFMR(FMRHeader* header) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->getHeader(header);
}

float** zvGetSTCFloatDataOfCurrentFMR() {
    HostContext* host = HostContext::active();
    return host == nullptr ? nullptr : host->timeCourses();
}

bool zvSaveFMRAndSTC(const char* fmrPath, const char* stcName) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->saveFmrAndStc(fmrPath, stcName);
}

float** zvGetMAPOfCurrentFMR(MapHeader* header) {
    HostContext* host = HostContext::active();
    return host == nullptr ? nullptr : host->getMap(header);
}

bool zvSetMAPParametersOfCurrentFMR(MapHeader* header) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->setMapParameters(header);
}

bool zvSaveMAPsOfCurrentFMR(const char* path) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->saveMaps(path);
}

bool zvCreateMAPForCurrentFMR() {
    HostContext* host = HostContext::active();
    return host != nullptr && host->createMap();
}

bool zvGetStringParameter(const char* name, char* buffer) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->getStringParameter(name, buffer);
}

int zvGetIntParameter(const char* name) {
    HostContext* host = HostContext::active();
    return host == nullptr ? 0 : host->getIntParameter(name);
}

bool zvSetStringParameter(const char* name, const char* text) {
    HostContext* host = HostContext::active();
    return host != nullptr && host->setStringParameter(name, text);
}

}  // extern "C"

// The definitions above have exactly the types of the plug-in's table entries.
#define QUORVIS_CHECK_CALLED(name, signature)                                      \
    static_assert(std::is_same_v<decltype(name), std::type_identity_t<signature>>, \
                  #name " does not have the signature the plug-in calls it with");
TANDREL_HOST_FUNCTIONS(QUORVIS_CHECK_CALLED, QUORVIS_SKIP_OTHER)
#undef QUORVIS_CHECK_CALLED
#undef QUORVIS_SKIP_OTHER
