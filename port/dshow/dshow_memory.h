// Port extension of the filter graph: music from a file held in memory, for callers that find
// and read their files themselves (the game's music lives in .gob archives, which RenderFile
// cannot see). Everything else about the graph is as after RenderFile.
#pragma once

#include <string>
#include <vector>

#include "port/dshow/dshow.h"

namespace port::dshow {

// Builds the graph (one made by CoCreateInstance(CLSID_FilterGraph)) for the file whose bytes
// are given; the format is told from the bytes. The graph keeps the bytes until it is released,
// as the music is decoded while it plays. name is only for log lines.
// Results as for RenderFile: VFW_E_UNSUPPORTED_STREAM for bytes that cannot be decoded (one log
// line), VFW_E_WRONG_STATE for a graph already built, E_FAIL without an audio output;
// E_POINTER / E_INVALIDARG for a null graph or one this port did not make.
HRESULT renderMemory(IGraphBuilder* graph, std::vector<unsigned char> bytes, std::wstring const& name);

}  // namespace port::dshow
