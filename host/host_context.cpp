#include "host/host_context.h"

#include <cstring>
#include <exception>
#include <utility>

#include "host/atomic_file.h"

namespace host {
namespace {

HostContext* activeContext = nullptr;

// Runs a service; whatever it throws becomes a fault of `function` and the `fallback` answer, so
// no exception ever crosses into the plug-in.
template <typename Result, typename Service>
Result guarded(HostContext& host, const char* function, Result fallback, Service&& service) {
    try {
        return service();
    } catch (const std::exception& failure) {
        host.fault(function, failure.what());
    } catch (...) {
        host.fault(function, "unexpected failure");
    }
    return fallback;
}

void copyText(const std::string& text, char* buffer) {
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

}  // namespace

HostContext::HostContext(Console& console, DialogParameters parameters,
                         std::optional<FmrDocument> document, std::deque<std::string> picks,
                         HostVersion version, std::istream* terminal)
    : console_(console),
      parameters_(std::move(parameters)),
      document_(std::move(document)),
      picks_(std::move(picks)),
      version_(version),
      terminal_(terminal) {}

HostContext* HostContext::active() {
    return activeContext;
}

ActiveHost::ActiveHost(HostContext& context) {
    activeContext = &context;
}
ActiveHost::~ActiveHost() {
    activeContext = nullptr;
}

void HostContext::fault(const std::string& function, const std::string& reason) {
    ++faults_;
    try {
        console_.note(function + ": " + reason);
    } catch (...) {
        // The count alone still makes the session fail.
    }
}

// The file itself is saved, so the plug-in hears of success whatever a listener does with it;
// a listener's failure still fails the session. Nothing here throws into the plug-in.
template <typename Event>
void HostContext::tellListeners(const char* path, const Event& event) noexcept {
    for (SaveListener* listener : listeners_) {
        try {
            event(*listener);
        } catch (const std::exception& failure) {
            listenerFailed(*listener, path, failure.what());
        } catch (...) {
            listenerFailed(*listener, path, "unexpected failure");
        }
    }
}

void HostContext::listenerFailed(const SaveListener& listener, const char* path,
                                 const char* reason) noexcept {
    try {
        fault(listener.role() + " of " + path, reason);
    } catch (...) {
        ++faults_;
    }
}

bool HostContext::getVersion(int* major, int* minor, int* patch) {
    if (major == nullptr || minor == nullptr || patch == nullptr) {
        fault("zvGetVersionOfQuorvisZV", "called with a null pointer");
        return false;
    }
    *major = version_.major;
    *minor = version_.minor;
    *patch = version_.patch;
    return true;
}

void HostContext::logText(const char* text) {
    if (text == nullptr) return fault("zvLogText", "called with a null text");
    guarded(*this, "zvLogText", false, [&] {
        console_.logText(text);
        return true;
    });
}

void HostContext::messageBox(const char* text) {
    ++messageBoxes_;
    guarded(*this, "zvMessageBox", false, [&] {
        console_.messageBox(text == nullptr ? "" : text);
        return true;
    });
}

std::optional<std::string> HostContext::nextPick(const char* caption, const char* filter) {
    if (!picks_.empty()) {
        std::string answer = std::move(picks_.front());
        picks_.pop_front();
        return answer;
    }
    if (terminal_ == nullptr) {
        console_.note(std::string("file dialog \"") + caption + "\" cancelled: no --pick answer");
        return std::nullopt;
    }
    console_.prompt(std::string(caption) + " [" + filter + "] (empty line cancels): ");
    std::string answer;
    if (!std::getline(*terminal_, answer) || answer.empty()) return std::nullopt;
    return answer;
}

bool HostContext::getOpenFileName(const char* caption, const char* startText, const char* filter,
                                  char* buffer) {
    static_cast<void>(startText);
    if (buffer == nullptr) {
        fault("zvGetOpenFileName", "called with a null buffer");
        return false;
    }
    buffer[0] = '\0';
    return guarded(*this, "zvGetOpenFileName", false, [&] {
        const auto answer =
            nextPick(caption == nullptr ? "" : caption, filter == nullptr ? "" : filter);
        if (!answer) return false;
        if (answer->size() > kMaxParameterText) {
            fault("zvGetOpenFileName", "the chosen path has " + std::to_string(answer->size()) +
                                           " characters; a file dialog returns at most 511");
            return false;
        }
        copyText(*answer, buffer);
        return true;
    });
}

void HostContext::showBusyCursor() {
    guarded(*this, "zvShowBusyCursor", false, [&] {
        console_.showBusy();
        return true;
    });
}

void HostContext::stopBusyCursor() {
    if (!console_.stopBusy())
        fault("zvStopBusyCursor", "called while the busy cursor is not shown");
}

void HostContext::checkBusyCursorStopped() {
    const int depth = console_.busyDepth();
    if (depth == 0) return;
    fault("zvShowBusyCursor", "the busy cursor is still shown at the end (" +
                                  std::to_string(depth) + " call(s) without zvStopBusyCursor)");
    while (console_.stopBusy()) {
    }
}

int HostContext::currentDocumentId() const {
    return document_ ? kCurrentDocumentId : -1;
}

int HostContext::documentType(int documentId) const {
    return document_ && documentId == kCurrentDocumentId ? kFmrDocumentType : -1;
}

bool HostContext::getHeader(FMRHeader* header) {
    if (header == nullptr) {
        fault("zvGetHeaderOfCurrentFMR", "called with a null record");
        return false;
    }
    if (!document_) {
        fault("zvGetHeaderOfCurrentFMR", "there is no current document");
        return false;
    }
    document_->fillHeader(*header);
    return true;
}

float** HostContext::timeCourses() {
    if (!document_) {
        fault("zvGetSTCFloatDataOfCurrentFMR", "there is no current document");
        return nullptr;
    }
    return document_->run().volumes();
}

bool HostContext::saveFmrAndStc(const char* fmrPath, const char* stcName) {
    if (fmrPath == nullptr || stcName == nullptr) {
        fault("zvSaveFMRAndSTC", "called with a null text");
        return false;
    }
    if (!document_) {
        fault("zvSaveFMRAndSTC", "there is no current document");
        return false;
    }
    std::string stcPath;
    const bool saved = guarded(*this, "zvSaveFMRAndSTC", false, [&] {
        stcPath = document_->saveCopy(fmrPath, stcName);
        console_.note(std::string("saved ") + fmrPath + " with its time courses " + stcName +
                      ".stc");
        return true;
    });
    if (saved) {
        tellListeners(fmrPath, [&](SaveListener& listener) {
            listener.runSaved(SavedRun{fmrPath, stcPath, document_->run().nrOfVolumes()});
        });
    }
    return saved;
}

bool HostContext::createMap() {
    if (!document_) {
        fault("zvCreateMAPForCurrentFMR", "there is no current document");
        return false;
    }
    return guarded(*this, "zvCreateMAPForCurrentFMR", false, [&] {
        document_->createMap();
        return true;
    });
}

FmrMap* HostContext::newestMapOr(const char* function) {
    FmrMap* map = document_ ? document_->newestMap() : nullptr;
    if (map == nullptr) fault(function, "the current document has no map");
    return map;
}

float** HostContext::getMap(MapHeader* header) {
    if (header == nullptr) {
        fault("zvGetMAPOfCurrentFMR", "called with a null record");
        return nullptr;
    }
    FmrMap* map = newestMapOr("zvGetMAPOfCurrentFMR");
    if (map == nullptr) return nullptr;
    *header = map->header();
    return map->slices();
}

bool HostContext::setMapParameters(const MapHeader* header) {
    if (header == nullptr) {
        fault("zvSetMAPParametersOfCurrentFMR", "called with a null record");
        return false;
    }
    FmrMap* map = newestMapOr("zvSetMAPParametersOfCurrentFMR");
    if (map == nullptr) return false;
    return guarded(*this, "zvSetMAPParametersOfCurrentFMR", false, [&] {
        map->setHeader(*header);
        return true;
    });
}

bool HostContext::saveMaps(const char* path) {
    if (path == nullptr) {
        fault("zvSaveMAPsOfCurrentFMR", "called with a null path");
        return false;
    }
    FmrMap* map = newestMapOr("zvSaveMAPsOfCurrentFMR");
    if (map == nullptr) return false;
    const bool saved = guarded(*this, "zvSaveMAPsOfCurrentFMR", false, [&] {
        saveMap(*map, document_->run().geometry(), path);
        console_.note(std::string("saved ") + path);
        return true;
    });
    if (saved) {
        tellListeners(path, [&](SaveListener& listener) {
            const std::string mapPath(path);
            listener.mapSaved(SavedMap{mapPath, *map, document_->run(), parameters_});
        });
    }
    return saved;
}

bool HostContext::getStringParameter(const char* name, char* buffer) {
    if (name == nullptr || buffer == nullptr) {
        fault("zvGetStringParameter", "called with a null pointer");
        return false;
    }
    buffer[0] = '\0';
    return guarded(*this, "zvGetStringParameter", false, [&] {
        const auto text = parameters_.text(name);
        if (!text) return false;
        copyText(*text, buffer);
        return true;
    });
}

int HostContext::getIntParameter(const char* name) {
    if (name == nullptr) {
        fault("zvGetIntParameter", "called with a null name");
        return 0;
    }
    return guarded(*this, "zvGetIntParameter", 0, [&] { return parameters_.integer(name); });
}

bool HostContext::setStringParameter(const char* name, const char* text) {
    if (name == nullptr || text == nullptr) {
        fault("zvSetStringParameter", "called with a null pointer");
        return false;
    }
    return guarded(*this, "zvSetStringParameter", false, [&] {
        parameters_.set(name, text);
        return true;
    });
}

}  // namespace host
