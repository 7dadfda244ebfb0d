// The log stream: one host call per flush, with everything written since the last one.
#include "plugin/zorq_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> received;

void logText(const char* text) {
    received.push_back(text);
}

class ZorqLogTest : public ::testing::Test {
  protected:
    void SetUp() override { received.clear(); }
    std::unique_ptr<ZorqLog> log = std::make_unique<ZorqLog>(&logText);
};

TEST_F(ZorqLogTest, AFlushWithNothingWrittenHandsOverAnEmptyText) {
    log->flush();
    EXPECT_THAT(received, ElementsAre(""));
    EXPECT_TRUE(log->good());
}

TEST_F(ZorqLogTest, EverythingWrittenBeforeAFlushArrivesAsOneText) {
    *log << "\n"
         << "Tandrel"
         << ">  FMR size: " << 64 << " x " << 30 << "\n"
         << 2.5f;
    EXPECT_THAT(received, IsEmpty());  // line breaks do not flush
    *log << std::flush;
    EXPECT_THAT(received, ElementsAre("\nTandrel>  FMR size: 64 x 30\n2.5"));
    EXPECT_TRUE(log->good());
}

TEST_F(ZorqLogTest, AfterAFlushOnlyNewTextIsHandedOver) {
    *log << "first" << std::flush;
    *log << "second" << std::endl;
    log->flush();
    EXPECT_THAT(received, ElementsAre("first", "second\n", ""));
}

TEST_F(ZorqLogTest, DestructionHandsOverWhatWasNotFlushed) {
    *log << "unflushed";
    log.reset();
    EXPECT_THAT(received, ElementsAre("unflushed"));
}

TEST_F(ZorqLogTest, DestructionAfterAFlushHandsOverAnEmptyText) {
    *log << "farewell" << std::flush;
    log.reset();
    EXPECT_THAT(received, ElementsAre("farewell", ""));
}

TEST_F(ZorqLogTest, LongTextsArriveWhole) {
    const std::string line(100000, 'v');
    *log << line << line << std::flush;
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], line + line);
}

TEST(ZorqLogWithoutHost, DropsTheTextWithoutFailing) {
    ZorqLog log(nullptr);
    log << "nobody listens" << std::flush;
    EXPECT_TRUE(log.good());
}

}  // namespace
