// A font file from the data installed for this process ("FONT_RESOURCE": "NAME", "FILENAME",
// "GOBORDER"), so fonts can name faces the system does not have. The faces go when the last
// reference does.
#pragma once

#include "engine/core/NamedObject.h"
#include "port/win32/windows_types.h"

namespace Orvex {

class XMLNode;

class FontResourceHandle : public NamedObject {
public:
    // Reads the file whole and installs its faces; a file that cannot be read or holds no face
    // installs nothing (one log line naming it) and the object exists anyway.
    explicit FontResourceHandle(XMLNode& node);
    ~FontResourceHandle() override;
    FontResourceHandle(FontResourceHandle const&) = delete;
    FontResourceHandle& operator=(FontResourceHandle const&) = delete;

    HANDLE handle = nullptr;
    DWORD fontCount = 0;
};

}  // namespace Orvex
