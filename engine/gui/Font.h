// A named font: face, height, width, weight, italic, whether it scales with the screen height
// (reference 768 pixels high, 1024 wide), and the private font resource it keeps alive. Two
// kinds: D3DXFont (a device font) and BitmapFont (glyphs cut from textures).
//
// Every font follows the device: lost and reset, and the device object's shutdown (device
// objects let go) and creation (made again when they had been made).
#pragma once

#include <string>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "signals/sigslot.h"

namespace Orvex {

class FontResourceHandle;
class XMLNode;

// The reference screen the sizes in data are meant for.
inline constexpr float kReferenceScreenHeight = 768.0f;
inline constexpr float kReferenceScreenWidth = 1024.0f;

// truncate(screenHeight / 768 * height), in single precision.
u32 scaledFontHeight(u32 height, u32 screenHeight);
// truncate(screenWidth / 1024 * width).
u32 scaledFontWidth(u32 width, u32 screenWidth);

class Font : public NamedObject {
public:
    // Largest "HEIGHT" and "WIDTH" taken from data: the glyphs of a larger font would take
    // more memory than any screen can show.
    static constexpr int kMaxSize = 1024;

    // Defaults only ("Arial", 15, width 0, weight 400, scaled).
    Font();
    explicit Font(XMLNode& node);
    Font(Font const& other);
    Font& operator=(Font const&) = delete;
    ~Font() override;

    // Makes the device resources (nothing when made already); releaseResources lets them go and
    // clears created. It is the font's "release" of device resources under another name:
    // release is the reference count's (NamedObject), which deletes the font at zero.
    virtual void create() = 0;
    virtual void releaseResources() = 0;
    virtual void onLostDevice() {}
    virtual void onResetDevice() {}
    // The height in pixels: scaled with the screen when asked and the font scales.
    virtual float getHeight(bool scaled) const;
    virtual u32 getWeight() const { return weight; }
    virtual void setFontName(std::wstring const& name) { fontName = name; }
    virtual void setHeight(u32 const& h) { height = h; }
    virtual void setWeight(u32 const& w) { weight = w; }
    virtual void preloadText(std::wstring const&) {}

    bool isCreated() const { return created; }
    // The scaled height and width on the current display (or as stored when not scaled).
    u32 deviceHeight() const;
    u32 deviceWidth() const;

    // Emitted after the device resources were (re)made.
    sigslot::signal1<Font&> changed;
    std::wstring fontName = L"Arial";
    u32 height = 15;
    u32 width = 0;
    bool italic = false;
    u32 weight = 400;
    bool created = false;
    bool scaleWithScreen = true;
    FontResourceHandle* fontResource = nullptr;

protected:
    // Made again once a new device exists, when it was made before the old one shut down.
    bool remakeOnDevice_ = false;

private:
    void connectDevice();
    void onDeviceShutdown();
    void onDeviceCreated();
};

}  // namespace Orvex
