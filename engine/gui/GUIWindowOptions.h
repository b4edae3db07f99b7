// A GUI window's options ("OPTIONS"): visibility, input and layout flags and the owned layout
// manager. Every key is read over the present values. A copy makes a new manager of the same
// kind as the source's (kind only, no manager state).
#pragma once

#include <string>

#include "engine/core/Types.h"

namespace Orvex {

class GUILayoutManager;
class XMLNode;

class GUIWindowOptions {
public:
    // "INPUT_IGNORE" bits.
    static constexpr int kIgnoreSelf = 1;
    static constexpr int kIgnoreChildren = 2;

    bool visible = true;
    bool enabled = true;
    bool drawSubwindows = true;
    bool useTextureCheck = false;
    u8 textureCheckValue = 16;
    bool activateParent = false;
    bool canBringParentToFront = false;
    bool canBringToFront = true;
    bool mouseMove = false;
    bool moveParent = false;
    bool drawInClientOnly = false;
    bool usableForLayoutManager = true;
    std::wstring layoutParam = L"NULL";
    bool inputToParent = false;
    int inputIgnore = 0;

    GUIWindowOptions() = default;
    GUIWindowOptions(GUIWindowOptions const& other);
    GUIWindowOptions& operator=(GUIWindowOptions const& other);
    ~GUIWindowOptions();

    // Reads an "OPTIONS" element over the present values.
    void load(XMLNode const& node);

    // Deletes the present manager; "DEFAULT_USEOFFEST" makes a GUILayoutFILL_WOffset,
    // "DEFAULT" a GUILayoutFILL, any other text none.
    void createLayoutManager(std::wstring const& kind);
    GUILayoutManager* getLayoutManager() const { return layoutManager_; }

private:
    // The copied fields, without the manager.
    void copyFlags(GUIWindowOptions const& other);
    // The kind name of a manager, as createLayoutManager takes it.
    static std::wstring kindOf(GUILayoutManager const* manager);

    GUILayoutManager* layoutManager_ = nullptr;
};

}  // namespace Orvex
