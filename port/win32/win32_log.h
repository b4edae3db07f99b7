// The port layer's own log hook. The port layer sits below the engine's Logger, so it reports
// through this sink; the engine installs its Logger here at start-up. Default: stderr.
#pragma once

#include <functional>
#include <string>

namespace port {

enum class LogLevel { Error, Warning, Info };

using LogSink = std::function<void(LogLevel level, std::wstring const& line)>;

// Replaces the sink (an empty function restores the default). Not thread-safe against logLine.
void setLogSink(LogSink sink);

// One line to the sink.
void logLine(LogLevel level, std::wstring const& line);

}  // namespace port
