#pragma once
// Everything the host's exported functions act on while the plug-in runs: the console, the
// dialog's parameters, the current document with its maps, the answers for the file dialog and
// the host's version. Each service here does what the plug-in relies on and never lets an
// exception reach the plug-in: a request the host cannot carry out is reported on the console,
// counted as a fault (the host then exits with status 1) and answered with false or null.

#include <deque>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "host/console.h"
#include "host/dialog_parameters.h"
#include "host/fmr_document.h"
#include "host/save_listener.h"
#include "plugin/host_records.h"

namespace host {

struct HostVersion {
    int major = 3;
    int minor = 0;
    int patch = 0;
};

// The identifier and type code of the only document the host opens.
inline constexpr int kCurrentDocumentId = 0;
inline constexpr int kFmrDocumentType = 1;

class HostContext {
  public:
    // `picks` answer the file dialogs in order; when they run out, `terminal` (null when standard
    // input is no terminal) is asked, and without one the dialog is cancelled.
    HostContext(Console& console, DialogParameters parameters, std::optional<FmrDocument> document,
                std::deque<std::string> picks, HostVersion version, std::istream* terminal);

    // The context the exported functions use; null outside a session.
    static HostContext* active();

    bool getVersion(int* major, int* minor, int* patch);
    void logText(const char* text);
    void messageBox(const char* text);
    bool getOpenFileName(const char* caption, const char* startText, const char* filter,
                         char* buffer);
    void showBusyCursor();
    void stopBusyCursor();

    int currentDocumentId() const;
    int documentType(int documentId) const;
    bool getHeader(FMRHeader* header);
    float** timeCourses();
    bool saveFmrAndStc(const char* fmrPath, const char* stcName);

    bool createMap();
    float** getMap(MapHeader* header);
    bool setMapParameters(const MapHeader* header);
    bool saveMaps(const char* path);

    bool getStringParameter(const char* name, char* buffer);
    int getIntParameter(const char* name);
    bool setStringParameter(const char* name, const char* text);

    // `listener` hears of every map and run saved from now on, in the order listeners were
    // added; it must outlive the session. A listener that fails is reported as a fault.
    void addListener(SaveListener& listener) { listeners_.push_back(&listener); }

    // Reports a request the host could not carry out.
    void fault(const std::string& function, const std::string& reason);
    int faultCount() const { return faults_; }
    int messageBoxCount() const { return messageBoxes_; }
    // Reports a busy cursor still shown at the end of the session as a fault.
    void checkBusyCursorStopped();

    Console& console() { return console_; }
    const DialogParameters& parameters() const { return parameters_; }
    DialogParameters& parameters() { return parameters_; }
    std::optional<FmrDocument>& document() { return document_; }

  private:
    friend class ActiveHost;
    std::optional<std::string> nextPick(const char* caption, const char* filter);
    FmrMap* newestMapOr(const char* function);
    template <typename Event>
    void tellListeners(const char* path, const Event& event) noexcept;
    void listenerFailed(const SaveListener& listener, const char* path,
                        const char* reason) noexcept;

    Console& console_;
    DialogParameters parameters_;
    std::optional<FmrDocument> document_;
    std::deque<std::string> picks_;
    HostVersion version_;
    std::istream* terminal_;
    std::vector<SaveListener*> listeners_;
    int faults_ = 0;
    int messageBoxes_ = 0;
};

// Makes a context the active one for its lifetime.
class ActiveHost {
  public:
    explicit ActiveHost(HostContext& context);
    ActiveHost(const ActiveHost&) = delete;
    ActiveHost& operator=(const ActiveHost&) = delete;
    ~ActiveHost();
};

}  // namespace host
