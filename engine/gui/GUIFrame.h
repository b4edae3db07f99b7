// A frame: nine part windows (four border strips, four corners, a centre fill), each with its
// own textures, so a frame stretches to any size without distorting its corners. Border widths
// are part relative to the frame's size, part pixels ("RAND_SIZE" "REL" and "OFF").
//
// Every part has a name of its own: "<frame>_TOP", "_BOTTOM", "_RIGHT", "_LEFT", "_TOP_LEFT",
// "_TOP_RIGHT", "_BOTTOM_RIGHT", "_BOTTOM_LEFT", "_FILL" (the corners named after their texture
// keys), so findWindow finds the strip it is asked for, not a corner of the same side.
// The frame holds a reference of its own on each part, so a part taken out of the child list
// by code stays a valid window. A reference size of 0 in "REL" (its fifth or sixth number) leaves the relative borders at
// 0, with a log line.
#pragma once

#include <array>

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUIFrame : public GUIWindow {
public:
    enum Part { kTop, kBottom, kRight, kLeft, kTopLeft, kTopRight, kBottomRight, kBottomLeft, kFill, kPartCount };
    static constexpr float kDefaultBorderPixels = 20.0f;

    // Border widths: left, top, right, bottom.
    struct Borders {
        float left = 0.0f;
        float top = 0.0f;
        float right = 0.0f;
        float bottom = 0.0f;
        bool operator==(Borders const&) const = default;
    };

    explicit GUIFrame(XMLNode& node);
    // Clones the source's parts.
    GUIFrame(GUIFrame const& other);
    ~GUIFrame() override;

    GUIWindow* clone() override;
    void setUserId(std::wstring const& id) override;
    void drawShape() override;
    bool hasShape() const override { return true; }
    void drawSelf() override;
    // Every child but the nine parts goes.
    void removeAllChildren() override;
    void copyFromTemplate(GUIWindow* source, int const& mask) override;
    // The parts are drawn by drawSelf.
    bool shouldDrawChild(unsigned index, GUIWindow* child) override;

    GUIWindow* getPart(Part part) const { return parts_[part]; }
    Borders const& getBorderRel() const { return borderRel_; }
    Borders const& getBorderOff() const { return borderOff_; }

    // The name suffix of each part ("_TOP" ... "_FILL").
    static wchar_t const* partSuffix(Part part);
    // "REL" / "OFF" numbers into borders: one sets all four, a second top and bottom, a third
    // right, a fourth bottom; with relative, a fifth divides all four, a sixth splits the
    // divisor (fifth for left and right, sixth for top and bottom). False (borders unchanged)
    // for a zero divisor.
    static bool parseBorders(std::vector<float> const& v, bool relative, Borders& out);

private:
    void placeParts();
    bool isPart(GUIWindow const* w) const;

    std::array<GUIWindow*, kPartCount> parts_{};
    Borders borderRel_;
    Borders borderOff_{kDefaultBorderPixels, kDefaultBorderPixels, kDefaultBorderPixels, kDefaultBorderPixels};
};

}  // namespace Orvex
