// The port layer's log hook: a replaceable sink over a default one, standard error without both.
#include "port/win32/win32_log.h"

#include "port/win32/win32_text.h"

#include <cstdio>
#include <memory>
#include <mutex>

namespace port {
namespace {

// The sinks are held by shared pointers: a line being written keeps its sink alive while another
// thread replaces it, and no lock is held while a sink runs (a sink may log itself).
struct Sinks {
    std::mutex mutex;
    std::shared_ptr<LogSink const> set;
    std::shared_ptr<LogSink const> fallback;
};

Sinks& sinks() {
    static Sinks all;
    return all;
}

std::shared_ptr<LogSink const> hold(LogSink sink) {
    return sink ? std::make_shared<LogSink const>(std::move(sink)) : nullptr;
}

}  // namespace

void setLogSink(LogSink sink) {
    auto held = hold(std::move(sink));
    std::lock_guard<std::mutex> lock(sinks().mutex);
    sinks().set.swap(held);
}

void setDefaultLogSink(LogSink sink) {
    auto held = hold(std::move(sink));
    std::lock_guard<std::mutex> lock(sinks().mutex);
    sinks().fallback.swap(held);
}

void logLine(LogLevel level, std::wstring const& line) {
    std::shared_ptr<LogSink const> sink;
    {
        std::lock_guard<std::mutex> lock(sinks().mutex);
        sink = sinks().set ? sinks().set : sinks().fallback;
    }
    if (sink) {
        (*sink)(level, line);
        return;
    }
    // One write of the whole line, so that no other writer's text lands inside it.
    char const* prefix = level == LogLevel::Error ? "ERROR " : level == LogLevel::Warning ? "WARNING " : "";
    std::string const text = prefix + toUtf8(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace port
