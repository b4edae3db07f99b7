// A small log hook for the sound and input stand-ins, which sit below the engine's logger.
// By default lines go to stderr; the engine installs a sink that forwards them to its log, and
// tests install one that collects them. Lines are whole messages without a trailing newline.
#pragma once

#include <string>

namespace port {

enum class MediaLogLevel { Error, Warning, Info };

using MediaLogSink = void (*)(MediaLogLevel level, std::wstring const& message);

// Installs the sink (null restores the stderr default); returns the previous one.
MediaLogSink setMediaLogSink(MediaLogSink sink);

void mediaLog(MediaLogLevel level, std::wstring const& message);
inline void mediaLogError(std::wstring const& message) { mediaLog(MediaLogLevel::Error, message); }
inline void mediaLogWarning(std::wstring const& message) { mediaLog(MediaLogLevel::Warning, message); }

}  // namespace port
