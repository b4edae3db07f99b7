// The engine's log: one line per message to the log file "logs\logfile.log" (in the working
// directory, emptied and opened with the first line, or by openDefaultFile) and, when shown, to
// the console in colour; where the log file cannot be made, every line goes to standard error, the
// first saying why. A link in the log file's place is not followed. A program that may not own
// the folder's log yet (a game that has not learnt whether another game runs there) holds its
// lines first: they reach the file when it opens, or standard error when the program ends.
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
#include <utility>

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

    // The log file a program writes unless it opens another.
    static constexpr char kDefaultFile[] = "logs/logfile.log";
    // Appends to the log file at path from now on (emptied first when asked); false, with the
    // lines going to standard error, when it cannot be opened as a regular file (a link in its
    // place is not followed): the first of them says so. Lines held until now are written first.
    bool openFile(std::string const& path, bool emptyFirst = false);
    // Makes the folder "logs" and opens kDefaultFile emptied.
    bool openDefaultFile();
    // Until a file is opened, lines are kept here (the last kRecentLines of them) instead of
    // opening kDefaultFile; those still kept when the program ends go to standard error.
    void holdLines();

    void showConsole(bool show);
    bool isConsoleShown() const;

    // The last lines written (for the in-game console and for tests), oldest first.
    std::deque<std::wstring> recentLines() const;
    static constexpr std::size_t kRecentLines = 256;
    // Error messages logged so far, those below the threshold too (a fuzz target counts them with
    // its lines off).
    std::size_t errorCount() const;

    Logger(Logger const&) = delete;
    Logger& operator=(Logger const&) = delete;

private:
    Logger();
    ~Logger();
    // Writes the line and its end to the file, or to standard error (in colour when shown), each
    // in one piece; the caller holds the lock.
    void writeLine(int type, std::string const& bytes);
    // The error line that the log file at path cannot be opened, on standard error (where the
    // lines go then) and among the recent lines; the caller holds the lock.
    void sayNoFile(std::string const& path, std::wstring const& whyNot);
    // openFile and openDefaultFile; the caller holds the lock.
    bool openLocked(std::string const& path, bool emptyFirst);
    bool openDefaultLocked();

    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
    bool opened_ = false;  // a file was asked for (opened or not)
    bool holding_ = false;
    std::deque<std::pair<int, std::string>> held_;  // type and bytes of each line held
    int thresholds_[4] = {0, 0, 0, 0};
    bool consoleShown_ = false;
    std::deque<std::wstring> recent_;
    std::size_t errors_ = 0;
};

// Shorthands at the usual priority.
void logError(std::wstring const& message, int priority = 100);
void logWarning(std::wstring const& message, int priority = 100);
void logInfo(std::wstring const& message, int priority = 50);
void logPlain(std::wstring const& message, int priority = 50);

}  // namespace Orvex
