#include "plugin/zorq_log.h"

#include <string>
#include <utility>

ZorqLog::ZorqBuf::ZorqBuf(LogFunction logFunction) : logFunction(logFunction) {}

ZorqLog::ZorqBuf::~ZorqBuf() {
    sync();
}

int ZorqLog::ZorqBuf::sync() {
    // Moving the text out empties the buffer and releases its storage once the call is over; it
    // allocates nothing, so a flush (and the destructor) cannot fail.
    const std::string text = std::move(*this).str();
    if (logFunction != nullptr) logFunction(text.c_str());
    return 0;
}

ZorqLog::ZorqLog(LogFunction logFunction) : std::ostream(new ZorqBuf(logFunction)) {}

ZorqLog::~ZorqLog() {
    delete rdbuf();
}
