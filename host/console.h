#pragma once
// What the host shows its user on a terminal: the log pane on standard output, message boxes and
// the host's own notes on standard error, and the busy cursor as an elapsed-time indicator on
// standard error, drawn only while it is shown and only when standard error is a terminal (so
// logs piped to a file stay plain lines).

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string_view>
#include <thread>

namespace host {

class Console {
  public:
    // `errIsTerminal` decides whether the busy indicator is drawn on `err`.
    Console(std::ostream& out, std::ostream& err, bool errIsTerminal);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;
    ~Console();

    // The log pane: the text as it is, with a line break added when it does not end with one.
    // An empty text shows nothing.
    void logText(std::string_view text);
    // A message box: "message box: " and the text on the error stream.
    void messageBox(std::string_view text);
    // A note of the host itself: "quorvis: " and the text on the error stream.
    void note(std::string_view text);
    // A question on the error stream, left open for the answer on the same line.
    void prompt(std::string_view text);

    // Shows the busy cursor; calls nest.
    void showBusy();
    // Ends one showBusy; false (and nothing changed) when the cursor is not shown.
    bool stopBusy();
    int busyDepth() const;

  private:
    void writeLines(std::ostream& stream, std::string_view prefix, std::string_view text);
    void tick();
    void drawIndicator();
    void eraseIndicator();

    std::ostream& out_;
    std::ostream& err_;
    const bool errIsTerminal_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread ticker_;
    bool stopTicker_ = false;
    int busyDepth_ = 0;
    std::chrono::steady_clock::time_point busySince_;
    std::size_t indicatorWidth_ = 0;  // characters of the indicator on screen; 0: none
};

// Whether standard input and standard error are terminals.
bool stdinIsTerminal();
bool stderrIsTerminal();

}  // namespace host
