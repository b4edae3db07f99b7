// The engine's log: one line per message to the log file "logs\logfile.log" (opened at static
// initialisation, in the working directory) and, when shown, to the console in colour; where the
// log file cannot be made, every line goes to standard error, the first saying why.
// Each message has a priority and a type; a type drops messages whose priority lies below its
// threshold. Error lines start with "ERROR ".
// The log is the port layer's default log sink for its whole life, so the port's lines come here
// too. Lines from any number of threads stay whole: one at a time, each written in one piece to a
// file opened for appending, so that no other writer of the file (another process, standard
// error sent to it) can land inside a line or over one. Only a regular file is written.
#pragma once

#include <cstddef>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

namespace Orvex {

enum LogType {
    LOG_TYPE_ERROR = 0,
    LOG_TYPE_WARNING = 1,
    LOG_TYPE_INFO = 2,
    LOG_TYPE_PLAIN = 3,
};

// Masks for setThreshold.
enum LogTypeMask {
    LOG_MASK_ERROR = 1,
    LOG_MASK_WARNING = 2,
    LOG_MASK_INFO = 4,
    LOG_MASK_ALL = 7,
};

class Logger {
public:
    static Logger& getInstance();

    // Writes one line unless priority is below the type's threshold.
    void log(int priority, int type, std::wstring const& message);
    // Sets the threshold of every type named in the mask.
    void setThreshold(int priority, int typeMask);
    int getThreshold(int type) const;

    // Appends to the log file at path from now on (at start "logs/logfile.log", emptied); false,
    // with the lines going to standard error, when it cannot be opened as a regular file: the
    // first of them says so.
    bool openFile(std::string const& path);

    void showConsole(bool show);
    bool isConsoleShown() const;

    // The last lines written (for the in-game console and for tests), oldest first.
    std::deque<std::wstring> recentLines() const;
    static constexpr std::size_t kRecentLines = 256;

    Logger(Logger const&) = delete;
    Logger& operator=(Logger const&) = delete;

private:
    Logger();
    ~Logger();
    // Writes the line and its end to the file, or to standard error (in colour when shown), each
    // in one piece; the caller holds the lock.
    void writeLine(int type, std::string const& bytes);
    // The error line that the log file at path cannot be opened, on standard error (where the
    // lines go then) and among the recent lines; the caller holds the lock or is the constructor.
    void sayNoFile(std::string const& path, std::wstring const& whyNot);

    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
    int thresholds_[4] = {0, 0, 0, 0};
    bool consoleShown_ = false;
    std::deque<std::wstring> recent_;
};

// Shorthands at the usual priority.
void logError(std::wstring const& message, int priority = 100);
void logWarning(std::wstring const& message, int priority = 100);
void logInfo(std::wstring const& message, int priority = 50);
void logPlain(std::wstring const& message, int priority = 50);

}  // namespace Orvex
