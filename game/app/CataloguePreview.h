// Preview pictures of the catalogue: made suspended, so a picture is loaded only when drawn.
#pragma once

#include <string>

namespace Orvex {
class Texture2D;
}

namespace Solitaire {

// A new texture (one reference for the caller) that loads path when first drawn; null for an
// empty path.
Orvex::Texture2D* makePreviewTexture(std::wstring const& path);
// The texture registered in the device's texture list under name, with a reference added for the
// caller, or null.
Orvex::Texture2D* findRegisteredPreview(std::wstring const& name);
// path up to its last "." followed by extension; empty when path has no ".".
std::wstring replaceExtension(std::wstring const& path, std::wstring const& extension);

}  // namespace Solitaire
