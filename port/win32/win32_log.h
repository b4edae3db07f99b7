// The port layer's own log hook. The port layer sits below the engine's Logger, so it reports
// through a sink: the one set last (a test's, a tool's), else the default sink, which the engine's
// Logger installs for its whole life, else standard error. Every line reaches its sink whole, from
// any thread; setting a sink while another thread logs is safe.
#pragma once

#include <functional>
#include <string>

namespace port {

enum class LogLevel { Error, Warning, Info };

using LogSink = std::function<void(LogLevel level, std::wstring const& line)>;

// Replaces the sink (an empty function goes back to the default sink).
void setLogSink(LogSink sink);
// Replaces the default sink (an empty function: standard error).
void setDefaultLogSink(LogSink sink);

// One line to the sink.
void logLine(LogLevel level, std::wstring const& line);

}  // namespace port
