// The sound and input stand-ins' log hook (see PortLog.h).
#include "port/mmio/PortLog.h"

#include <atomic>
#include <cstdio>

#include "port/win32/HostPath.h"

namespace port {
namespace {

void stderrSink(MediaLogLevel level, std::wstring const& message) {
    char const* prefix = level == MediaLogLevel::Error ? "ERROR " : level == MediaLogLevel::Warning ? "WARNING " : "";
    std::fprintf(stderr, "%s%s\n", prefix, toUtf8(message).c_str());
}

std::atomic<MediaLogSink> g_sink{&stderrSink};

}  // namespace

MediaLogSink setMediaLogSink(MediaLogSink sink) {
    return g_sink.exchange(sink ? sink : &stderrSink);
}

void mediaLog(MediaLogLevel level, std::wstring const& message) {
    g_sink.load()(level, message);
}

}  // namespace port
