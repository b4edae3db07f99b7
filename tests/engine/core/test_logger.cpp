// The log file and its fallback: where the log file cannot be made (a working folder that cannot
// be written), every line goes to standard error, so that a failure is reported somewhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/core/Logger.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(Logger, WithoutALogFileTheLinesGoToStandardError) {
    Orvex::Logger& log = Orvex::Logger::getInstance();
    ASSERT_FALSE(log.isConsoleShown());
    std::filesystem::path const folder = testsupport::makeTempDir("logger_fallback");
    EXPECT_FALSE(log.openFile((folder / "missing" / "logfile.log").string()));
    testing::internal::CaptureStderr();
    Orvex::logError(L"nothing to write to");
    std::string const lost = testing::internal::GetCapturedStderr();
    EXPECT_NE(lost.find("ERROR nothing to write to"), std::string::npos);

    std::filesystem::path const file = folder / "logfile.log";
    ASSERT_TRUE(log.openFile(file.string()));
    testing::internal::CaptureStderr();
    Orvex::logError(L"written to the file");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(testsupport::readFile(file).find("ERROR written to the file\n"), std::string::npos);
    log.openFile("logs/logfile.log");
}

}  // namespace
