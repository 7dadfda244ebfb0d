#include "host/console.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <sstream>
#include <thread>

namespace host {
namespace {

// Standard output and standard error of a console without a terminal.
struct Screen {
    std::ostringstream out;
    std::ostringstream err;
};

TEST(Console, LogTextKeepsItsLineBreaksAndEndsItsLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"abc", "abc\n"},
        {"abc\n", "abc\n"},
        {"\nTandrel>  Running...", "\nTandrel>  Running...\n"},
        {"a\nb", "a\nb\n"},
        {"", ""},
    };
    for (const auto& [text, shown] : cases) {
        Screen screen;
        Console console(screen.out, screen.err, false);
        console.logText(text);
        EXPECT_EQ(screen.out.str(), shown) << "text \"" << text << "\"";
        EXPECT_EQ(screen.err.str(), "");
    }
}

TEST(Console, MessageBoxesAndNotesGoToTheErrorStream) {
    Screen screen;
    Console console(screen.out, screen.err, false);
    console.messageBox("No current document available.");
    console.note("saved a.map\n");
    EXPECT_EQ(screen.err.str(),
              "message box: No current document available.\nquorvis: saved a.map\n");
    EXPECT_EQ(screen.out.str(), "");
}

TEST(Console, BusyCursorNestsAndRefusesAStopWithoutAShow) {
    Screen screen;
    Console console(screen.out, screen.err, false);
    EXPECT_FALSE(console.stopBusy());
    console.showBusy();
    console.showBusy();
    EXPECT_EQ(console.busyDepth(), 2);
    EXPECT_TRUE(console.stopBusy());
    EXPECT_TRUE(console.stopBusy());
    EXPECT_FALSE(console.stopBusy());
    EXPECT_EQ(console.busyDepth(), 0);
    EXPECT_EQ(screen.err.str(), "");  // no terminal: no indicator
}

// A terminal that the test may look at while the console's ticker thread writes to it.
class LockedTerminal : public std::stringbuf {
  public:
    std::string text() {
        std::lock_guard lock(mutex_);
        return str();
    }

  protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard lock(mutex_);
        return std::stringbuf::xsputn(s, n);
    }
    int_type overflow(int_type c) override {
        std::lock_guard lock(mutex_);
        return std::stringbuf::overflow(c);
    }

  private:
    std::recursive_mutex mutex_;
};

TEST(Console, IndicatorShowsOnATerminalWhileBusyAndIsErasedAfterwards) {
    std::ostringstream out;
    LockedTerminal terminal;
    std::ostream errStream(&terminal);
    {
        Console console(out, errStream, true);
        console.showBusy();
        for (int wait = 0; wait < 200 && terminal.text().empty(); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_TRUE(console.stopBusy());
        console.logText("done");
    }
    const std::string err = terminal.text();
    EXPECT_THAT(err, testing::StartsWith("\rbusy 0."));
    // The last thing on the error stream blanks the indicator's line.
    const std::size_t last = err.rfind("\rbusy ");
    const std::size_t width = err.find('\r', last + 1) - last - 1;
    EXPECT_EQ(err.substr(err.size() - width - 2), "\r" + std::string(width, ' ') + "\r");
    EXPECT_EQ(out.str(), "done\n");
}

}  // namespace
}  // namespace host
