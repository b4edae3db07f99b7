// A font realised as a device font (ID3DXFont) at its scaled size; a face that cannot be made
// falls back to "Arial", and a font whose fallback fails too draws nothing (createFailed). A
// font scaled with the screen is made again on every device reset.
#pragma once

#include "engine/gui/Font.h"
#include "port/d3dx9/d3dx9.h"

namespace Orvex {

class D3DXFont : public Font {
public:
    D3DXFont() = default;
    explicit D3DXFont(XMLNode& node) : Font(node) {}
    // The definition only: the copy has no device font.
    D3DXFont(D3DXFont const& other);
    explicit D3DXFont(Font const& definition);
    ~D3DXFont() override;

    void create() override;
    void releaseResources() override;
    void onLostDevice() override;
    void onResetDevice() override;
    void setFontName(std::wstring const& name) override;
    void setHeight(u32 const& h) override;
    void setWeight(u32 const& w) override;
    void preloadText(std::wstring const& text) override;

    ID3DXFont* getDeviceFont() const { return deviceFont_; }
    bool hasCreateFailed() const { return createFailed_; }

private:
    // After a change of a creation value: made again when it was made.
    void remake();

    bool createFailed_ = false;
    ID3DXFont* deviceFont_ = nullptr;
};

}  // namespace Orvex
