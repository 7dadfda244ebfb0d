#pragma once
// The plug-in's log stream: ordinary stream insertion whose text ends up in the host's log pane.
//
// Text collects in memory and leaves only when the stream is flushed (the flush member or the
// std::flush manipulator; std::endl flushes too): every flush is exactly one call of the host's
// log function with everything written since the last one, even when that is nothing. A line
// break alone does not flush, and the stream is tied to no other stream. Destroying the stream
// flushes once more. Used on the host's thread only.

#include <ostream>
#include <sstream>

class ZorqLog : public std::ostream {
  public:
    // The host's log function; the text passed is valid only during the call.
    using LogFunction = void (*)(const char* text);

    // The collected text, handed to the log function on every synchronisation.
    class ZorqBuf : public std::stringbuf {
      public:
        explicit ZorqBuf(LogFunction logFunction);
        ~ZorqBuf() override;

      protected:
        // Hands the collected text to the log function and starts again empty; always succeeds.
        int sync() override;

      private:
        // Null when the host has no log function: the text is then dropped.
        LogFunction logFunction;
    };

    explicit ZorqLog(LogFunction logFunction);
    ~ZorqLog() override;
    ZorqLog(const ZorqLog&) = delete;
    ZorqLog& operator=(const ZorqLog&) = delete;
};
