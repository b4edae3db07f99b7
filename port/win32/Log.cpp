// The port layer's log hook: a replaceable sink, stderr by default.
#include "port/win32/win32_log.h"

#include "port/win32/win32_text.h"

#include <cstdio>

namespace port {
namespace {

LogSink& sinkSlot() {
    static LogSink sink;
    return sink;
}

}  // namespace

void setLogSink(LogSink sink) { sinkSlot() = std::move(sink); }

void logLine(LogLevel level, std::wstring const& line) {
    LogSink& sink = sinkSlot();
    if (sink) {
        sink(level, line);
        return;
    }
    char const* prefix = level == LogLevel::Error ? "ERROR " : level == LogLevel::Warning ? "WARNING " : "";
    std::fprintf(stderr, "%s%s\n", prefix, toUtf8(line).c_str());
}

}  // namespace port
