#include "plugin/tandrel.h"

#include <algorithm>
#include <exception>
#include <string>

#include "plugin/busy_cursor_guard.h"
#include "plugin/descriptor.h"
#include "plugin/host_functions.h"

using plugin::hostApi;
using plugin::kHostTextBufferSize;
using plugin::kPluginName;

namespace {

// The oldest host version whose functions the plug-in knows.
constexpr int kRequiredMajor = 2;
constexpr int kRequiredMinor = 9;
constexpr int kRequiredPatch = 9;

constexpr int kFMRDocumentType = 1;

// Shows "Error: " and a failure's text in the host's message box.
void showError(const char* what) noexcept {
    try {
        hostApi.zvMessageBox(("Error: " + std::string(what)).c_str());
    } catch (const std::exception&) {
        hostApi.zvMessageBox("Error: out of memory");
    }
}

// The text of a host parameter buffer, even when the host left it without its terminator.
std::string bufferText(char (&buffer)[kHostTextBufferSize]) {
    return std::string(buffer, std::find(buffer, buffer + kHostTextBufferSize, '\0'));
}

// The checks of initPlugin once the host's functions are resolved: the host must provide every
// function the plug-in calls and be recent enough, and the current document must be a run with
// float time courses. Creates the log stream on the way.
bool prepare(std::unique_ptr<ZorqLog>& logStream) {
    // A host too old or too new to export every function the plug-in calls is refused here, so
    // nothing is ever called through a null entry.
    if (const char* missing = plugin::missingCalledFunction(hostApi)) {
        if (hostApi.zvMessageBox != nullptr) {
            const std::string message =
                "Can not execute this plugin - Quorvis does not provide the function " +
                std::string(missing) + ".";
            hostApi.zvMessageBox(message.c_str());
        }
        return false;
    }

    logStream = std::make_unique<ZorqLog>(hostApi.zvLogText);

    int major = 0;
    int minor = 0;
    int patch = 0;
    hostApi.zvGetVersionOfQuorvisZV(&major, &minor, &patch);
    if (!plugin::isVersionAtLeast(major, minor, patch, kRequiredMajor, kRequiredMinor,
                                  kRequiredPatch)) {
        hostApi.zvMessageBox(
            "Can not execute this plugin - Quorvis version 20.0 or higher required.");
        return false;
    }

    hostApi.zvShowLogTab();
    *logStream << "\n" << kPluginName << ">  Running..." << std::flush;

    const int documentId = hostApi.zvGetIDOfCurrentDocument();
    if (documentId < 0) {
        hostApi.zvMessageBox("No current document available.");
        return false;
    }
    if (hostApi.zvGetDocumentType(documentId) != kFMRDocumentType) {
        hostApi.zvMessageBox("The currently active document is not a FMR document.");
        return false;
    }
    FMRHeader header{};
    hostApi.zvGetHeaderOfCurrentFMR(&header);
    if (header.DataType != kFloatTimeCourses) {
        hostApi.zvMessageBox(
            "The current FMR's timecourse data is stored as SHORT INT type. This old format is "
            "not supported by the Tandrel.");
        return false;
    }
    return true;
}

// The action of execute, named by the dialog parameter "task"; execute handles what it throws.
bool runTask(tandrel& plugin) {
    char task[kHostTextBufferSize] = "";
    hostApi.zvGetStringParameter("task", task);
    const std::string action = bufferText(task);
    if (action == "choose_sdm") {
        plugin.chooseSdm();
        return true;
    }
    const plugin::BusyCursorGuard busy;
    if (action == "start") return plugin.compareModels();
    return true;
}

}  // namespace

tandrel::tandrel() = default;

tandrel::~tandrel() {
    if (logStream == nullptr) return;
    *logStream << "\n" << kPluginName << ">  Plugin finished!\n" << std::flush;
}

bool tandrel::initPlugin() {
    initialised = false;
    if (!plugin::resolveHostFunctions()) return false;
    try {
        initialised = prepare(logStream);
    } catch (const std::exception& failure) {
        // Only memory exhaustion ends up here, and only once the message box is known to exist.
        showError(failure.what());
    }
    return initialised;
}

bool tandrel::execute() {
    if (!initialised) return false;
    try {
        return runTask(*this);
    } catch (const std::exception& failure) {
        showError(failure.what());
    } catch (...) {
        showError("unknown failure");
    }
    return true;
}

void tandrel::chooseSdm() {
    char path[kHostTextBufferSize] = "";
    hostApi.zvGetOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", path);
    hostApi.zvSetStringParameter("sdmfile", bufferText(path).c_str());
}
