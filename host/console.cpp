#include "host/console.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace host {
namespace {

constexpr auto kTickInterval = std::chrono::milliseconds(200);

}  // namespace

Console::Console(std::ostream& out, std::ostream& err, bool errIsTerminal)
    : out_(out), err_(err), errIsTerminal_(errIsTerminal) {}

Console::~Console() {
    std::thread ticker;
    {
        std::lock_guard lock(mutex_);
        stopTicker_ = true;
        ticker = std::move(ticker_);
    }
    wake_.notify_all();
    if (ticker.joinable()) ticker.join();
    std::lock_guard lock(mutex_);
    eraseIndicator();
}

void Console::logText(std::string_view text) {
    std::lock_guard lock(mutex_);
    eraseIndicator();
    if (text.empty()) return;
    out_ << text;
    if (text.back() != '\n') out_ << '\n';
    out_.flush();
}

void Console::messageBox(std::string_view text) {
    std::lock_guard lock(mutex_);
    writeLines(err_, "message box: ", text);
}

void Console::note(std::string_view text) {
    std::lock_guard lock(mutex_);
    writeLines(err_, "quorvis: ", text);
}

void Console::prompt(std::string_view text) {
    std::lock_guard lock(mutex_);
    eraseIndicator();
    err_ << text;
    err_.flush();
}

void Console::writeLines(std::ostream& stream, std::string_view prefix, std::string_view text) {
    eraseIndicator();
    stream << prefix << text;
    if (text.empty() || text.back() != '\n') stream << '\n';
    stream.flush();
}

void Console::showBusy() {
    std::lock_guard lock(mutex_);
    if (busyDepth_++ > 0) return;
    busySince_ = std::chrono::steady_clock::now();
    if (!errIsTerminal_) return;
    stopTicker_ = false;
    ticker_ = std::thread([this] { tick(); });
}

bool Console::stopBusy() {
    std::thread ticker;
    {
        std::lock_guard lock(mutex_);
        if (busyDepth_ == 0) return false;
        if (--busyDepth_ > 0) return true;
        stopTicker_ = true;
        ticker = std::move(ticker_);
    }
    wake_.notify_all();
    if (ticker.joinable()) ticker.join();
    std::lock_guard lock(mutex_);
    eraseIndicator();
    return true;
}

int Console::busyDepth() const {
    std::lock_guard lock(mutex_);
    return busyDepth_;
}

void Console::tick() {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, kTickInterval, [this] { return stopTicker_; })) {
        drawIndicator();
    }
}

void Console::drawIndicator() {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - busySince_;
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(1);
    text << "busy " << elapsed.count() << " s";
    const std::string shown = text.str();
    err_ << '\r' << shown;
    if (shown.size() < indicatorWidth_) err_ << std::string(indicatorWidth_ - shown.size(), ' ');
    err_.flush();
    indicatorWidth_ = std::max(indicatorWidth_, shown.size());
}

void Console::eraseIndicator() {
    if (indicatorWidth_ == 0) return;
    err_ << '\r' << std::string(indicatorWidth_, ' ') << '\r';
    err_.flush();
    indicatorWidth_ = 0;
}

bool stdinIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

bool stderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace host
