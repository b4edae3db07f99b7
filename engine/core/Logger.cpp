// The log: one line at a time to its file, the lines held until the file opens, standard error
// where there is none.
#include "engine/core/Logger.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "port/win32/win32_log.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

// Made at static initialisation, so the port's lines before main come here too.
[[maybe_unused]] Logger& g_madeAtStart = Logger::getInstance();

char const* consoleColour(int type) {
    switch (type) {
        case LOG_TYPE_ERROR: return "\x1b[31m";
        case LOG_TYPE_WARNING: return "\x1b[33m";
        case LOG_TYPE_INFO: return "\x1b[36m";
        default: return "";
    }
}

// The log file opened for appending, unbuffered: each line is one write that lands at the end.
// A link is not followed: the file it leads to is neither written nor made.
std::FILE* openForAppending(std::string const& path, bool emptyFirst, std::wstring& whyNot) {
    if (emptyFirst) {
        std::FILE* emptied = port::openRegularFile(path, "wb", &whyNot, port::Links::kRefuse);
        if (!emptied) return nullptr;
        std::fclose(emptied);
    }
    std::FILE* file = port::openRegularFile(path, "ab", &whyNot, port::Links::kRefuse);
    if (file) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

void forwardPortLine(port::LogLevel level, std::wstring const& line) {
    switch (level) {
    case port::LogLevel::Error: logError(line); break;
    case port::LogLevel::Warning: logWarning(line); break;
    case port::LogLevel::Info: logInfo(line); break;
    }
}

}  // namespace

Logger& Logger::getInstance() {
    static Logger instance;
    return instance;
}

Logger::Logger() { port::setDefaultLogSink(forwardPortLine); }

bool Logger::openFile(std::string const& path, bool emptyFirst) {
    std::lock_guard<std::mutex> lock(mutex_);
    return openLocked(path, emptyFirst);
}

bool Logger::openDefaultFile() {
    std::lock_guard<std::mutex> lock(mutex_);
    return openDefaultLocked();
}

bool Logger::openDefaultLocked() {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(kDefaultFile).parent_path(), ec);
    return openLocked(kDefaultFile, true);
}

void Logger::holdLines() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!opened_) holding_ = true;
}

bool Logger::openLocked(std::string const& path, bool emptyFirst) {
    if (file_) std::fclose(file_);
    opened_ = true;
    holding_ = false;
    std::wstring whyNot;
    file_ = openForAppending(path, emptyFirst, whyNot);
    if (!file_) sayNoFile(path, whyNot);
    for (auto const& [type, bytes] : held_) writeLine(type, bytes);
    held_.clear();
    return file_ != nullptr;
}

void Logger::sayNoFile(std::string const& path, std::wstring const& whyNot) {
    std::wstring line = L"ERROR The log file \"" + port::fromUtf8(path) + L"\" cannot be opened (" + whyNot +
                        L"); the log goes to standard error";
    writeLine(LOG_TYPE_ERROR, port::toUtf8(line));
    recent_.push_back(std::move(line));
}

Logger::~Logger() {
    port::setDefaultLogSink({});
    std::lock_guard<std::mutex> lock(mutex_);
    // Never opened: the lines held say what happened somewhere.
    holding_ = false;
    for (auto const& [type, bytes] : held_) writeLine(type, bytes);
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void Logger::log(int priority, int type, std::wstring const& message) {
    if (type < LOG_TYPE_ERROR || type > LOG_TYPE_PLAIN) type = LOG_TYPE_PLAIN;
    std::lock_guard<std::mutex> lock(mutex_);
    if (type == LOG_TYPE_ERROR) ++errors_;
    if (priority < thresholds_[type]) return;

    std::wstring line;
    if (type == LOG_TYPE_ERROR) line += L"ERROR ";
    line += message;

    if (!opened_ && !holding_) openDefaultLocked();
    if (holding_) {
        held_.emplace_back(type, port::toUtf8(line));
        if (held_.size() > kRecentLines) held_.pop_front();
    } else {
        writeLine(type, port::toUtf8(line));
    }
    recent_.push_back(std::move(line));
    if (recent_.size() > kRecentLines) recent_.pop_front();
}

void Logger::writeLine(int type, std::string const& bytes) {
    // Unbuffered: the line is on disk before log returns, so a crash loses none leading up to it.
    if (file_) {
        std::string const whole = bytes + '\n';
        std::fwrite(whole.data(), 1, whole.size(), file_);
    }
    // Without a log file (the working folder cannot be written) the lines go to standard error,
    // so that a failure is reported somewhere.
    if (consoleShown_ || !file_) {
        // In colour on a terminal only: a file or a pipe gets the lines as the log file has them.
        char const* colour = ::isatty(::fileno(stderr)) ? consoleColour(type) : "";
        std::string const shown = colour + bytes + (*colour ? "\x1b[0m" : "") + '\n';
        std::fwrite(shown.data(), 1, shown.size(), stderr);
    }
}

void Logger::setThreshold(int priority, int typeMask) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (typeMask & LOG_MASK_ERROR) thresholds_[LOG_TYPE_ERROR] = priority;
    if (typeMask & LOG_MASK_WARNING) thresholds_[LOG_TYPE_WARNING] = priority;
    if (typeMask & LOG_MASK_INFO) thresholds_[LOG_TYPE_INFO] = priority;
}

int Logger::getThreshold(int type) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (type < LOG_TYPE_ERROR || type > LOG_TYPE_PLAIN) return 0;
    return thresholds_[type];
}

void Logger::showConsole(bool show) {
    std::lock_guard<std::mutex> lock(mutex_);
    consoleShown_ = show;
}

bool Logger::isConsoleShown() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return consoleShown_;
}

std::deque<std::wstring> Logger::recentLines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return recent_;
}

std::size_t Logger::errorCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return errors_;
}

void logError(std::wstring const& message, int priority) {
    Logger::getInstance().log(priority, LOG_TYPE_ERROR, message);
}
void logWarning(std::wstring const& message, int priority) {
    Logger::getInstance().log(priority, LOG_TYPE_WARNING, message);
}
void logInfo(std::wstring const& message, int priority) {
    Logger::getInstance().log(priority, LOG_TYPE_INFO, message);
}
void logPlain(std::wstring const& message, int priority) {
    Logger::getInstance().log(priority, LOG_TYPE_PLAIN, message);
}

}  // namespace Orvex
