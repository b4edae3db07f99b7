// Preview pictures of the catalogue: made suspended, so a picture is loaded only when drawn, and
// one texture for each file, however many variants name it.
#pragma once

#include <string>

namespace Orvex {
class Texture2D;
}

namespace Solitaire {

// A texture (one reference for the caller) that loads path when first drawn; null for an empty
// path. Callers naming one path share one texture while any of them holds it.
Orvex::Texture2D* makePreviewTexture(std::wstring const& path);
// The next makePreviewTexture of any path makes a new texture (the files changed on disk).
void forgetPreviewTextures();
// The texture registered in the device's texture list under name, with a reference added for the
// caller, or null.
Orvex::Texture2D* findRegisteredPreview(std::wstring const& name);
// path up to its last "." followed by extension; empty when path has no ".".
std::wstring replaceExtension(std::wstring const& path, std::wstring const& extension);

}  // namespace Solitaire
