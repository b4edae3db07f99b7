// The root of the GUI: the top-level windows of every loaded screen (in drawing order, the last
// on top) and the template windows, the window factory keyed by "TYPE", mouse routing (press,
// release, drag, hover), the active, focus and pressed windows, per-frame update and drawing
// through the GUI sprite. One instance, made on first use, destroyed at exit.
//
// Every stored window holds one counted reference. Update and draw walk a snapshot of the
// top-level list with a reference held on each entry, so window callbacks may bring windows to
// the front, add or remove top-level windows, or release them while the walk runs; a set of the
// listed windows tells in constant time whether an entry is still listed.
//
// GUI files make at most kMaxLoadedWindows windows between two clears, all files together (one
// file named many times, or many files, would otherwise make millions); loadFile reads a file
// only once between two clears.
//
// Who calls in: the game object's slots. Its press, release and move slots hand every mouse
// event here first (onMouseDown, onMouseUp, onMouseMove) with the input system's mouse state,
// whose x and y are window pixels, the coordinates of every window rectangle. The caller then
// asks getActiveWindow whether the GUI took the event (an active window that takes input and is
// not the table window); if not, it passes the event on to the card manager in the game
// viewport's coordinates (Kartenmanager.h). Its per-frame update slot calls update with the real step, its
// draw step draw, inside the scene.
//
// Split: GUISystem.cpp (lists, roles, z-order, update and draw), GUISystem_load.cpp (GUI files
// and the factory), GUISystem_input.cpp (mouse routing).
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/core/Types.h"
#include "engine/platform/InputState.h"
#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {

class BaseSprite;
class D3DInterface;
class GUIWindow;
class XMLNode;

class GUISystem : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Hit-test flags: bit 2 marks an input query; hover tests use 6.
    static constexpr int kHitInput = 2;
    static constexpr int kHitHover = 6;
    // Begin flag of the GUI sprite (alpha blending).
    static constexpr u32 kSpriteFlags = 16;
    // Windows (templates, windows and all their children) the GUI files loaded since the last
    // clear may make together: real screens hold a few hundred.
    static constexpr u32 kMaxLoadedWindows = 16384;

    // A name filter: a name passes when it contains every include text and no exclude text.
    struct WindowFilter {
        std::vector<std::wstring> include;
        std::vector<std::wstring> exclude;
        WindowFilter() = default;
        WindowFilter(std::vector<std::wstring> includeTexts, std::vector<std::wstring> const& excludeTexts);
        bool passes(std::wstring const& name) const;
    };

    static GUISystem& instance();

    GUISystem(GUISystem const&) = delete;
    GUISystem& operator=(GUISystem const&) = delete;

    // ---- GUI files (GUISystem_load.cpp) ----
    // Reads one GUI file's tree: texture lists, animations, "VORLAGEN", "WINDOW",
    // "USE_QUALITY_STENCIL". Appends to what earlier files gave. sourceName names the file in
    // log lines.
    void loadTextures(XMLNode& root, std::wstring const& sourceName = L"(GUI file)");
    // Reads a GUI file (archives, then disk) and loads it as loadTextures does, unless the same
    // file (under whichever name) was loaded since the last clear: then false, nothing done. A
    // file that cannot be read logs an error line and joins getUnreadFiles.
    bool loadFile(std::wstring const& fileName);
    // The files loadFile could not read since the last clear (their screens are missing).
    std::vector<std::wstring> const& getUnreadFiles() const { return unreadFiles_; }
    // The window factory by "TYPE" (an unknown type makes a plain window); the new window
    // carries one reference, owned by the caller. Null once the loaded GUI files have made
    // kMaxLoadedWindows windows.
    static GUIWindow* createWindow(XMLNode& node);
    // Whether the factory knows the "TYPE" (children of an unknown type are left out).
    static bool knowsWindowType(std::wstring const& type);
    // "GUI file "name" at line N" of the GUI file being loaded and the element's line, for log
    // lines of what its elements make; the name is "(code)" outside a load.
    static std::wstring loadingPlace(u32 line);
    // The name of the GUI file being loaded, for ReadProblems::log; empty outside a load.
    static std::wstring loadingSource();

    // ---- lists ----
    // Appends a top-level window (a reference added) and sorts the list by layer.
    void addWindow(GUIWindow* window);
    // Takes a top-level window out of the list (its reference released); false when absent.
    bool removeWindow(GUIWindow* window);
    void getWindows(std::vector<GUIWindow*>& out) const;
    void collectAllWindows(std::vector<GUIWindow*>& out) const;
    void collectWindows(std::vector<GUIWindow*>& out, WindowFilter const& filter) const;
    void collectTemplates(std::vector<GUIWindow*>& out, WindowFilter const& filter) const;
    // The first window of that name in the top-level list's order, each top-level window before
    // its children, depth first. The answer is kept until a window tree, a name or the top-level
    // list changes: the screens ask for the same names many times over while nothing changes.
    GUIWindow* findWindow(std::wstring const& name) const;
    GUIWindow* findTemplate(std::wstring const& name) const;
    void findAllWindows(std::wstring const& userId, std::vector<GUIWindow*>& out) const;
    std::vector<GUIWindow*> const& getTooltips() const { return tooltips_; }
    // Releases every window, template, tooltip and role; forgets the loaded files and their
    // window count.
    void clear();

    // ---- z-order ----
    // a's "EBENE" below b's, both as unsigned 32-bit numbers.
    static bool layerLess(GUIWindow const* a, GUIWindow const* b);
    void bringToFront(GUIWindow* window);
    void sendToBack(GUIWindow* window);

    // ---- roles ----
    GUIWindow* getActiveWindow() const { return active_; }
    GUIWindow* getFocusWindow() const { return focus_; }
    GUIWindow* getPressedWindow() const { return pressed_; }
    void setActiveWindow(GUIWindow* window);
    void setFocusWindow(GUIWindow* window);
    void setPressedWindow(GUIWindow* window, MouseState const& state);

    // ---- input (GUISystem_input.cpp) ----
    void onMouseDown(MouseState& state, OrvexMouseButton button);
    void onMouseUp(MouseState& state, OrvexMouseButton button);
    void onMouseMove(MouseState& state, OrvexAchse axis);
    // The top-most top-level window's hit under the point, or null.
    GUIWindow* windowAt(D3DXVECTOR2 const& point, int flags) const;

    // ---- frame ----
    void update(double dt);
    void draw();
    // The screen rectangle {0, 0, width, height} of the device's display mode.
    FRect getScreenRect() const;

    // ---- drawing ----
    // The batcher every window draws through: first the D3DX sprite of the device object's
    // pair; the game sets the engine batcher. draw fetches the D3DX sprite again when null.
    BaseSprite* getSprite() const { return sprite_; }
    void setSprite(BaseSprite* sprite) { sprite_ = sprite; }
    static bool useQualityStencil();
    static void setQualityStencil(bool on);

    void onDeviceReset();
    void onDeviceLost() {}

    sigslot::signal1<GUIWindow*> activeWindowChanged;
    sigslot::signal1<GUIWindow*> focusWindowChanged;

private:
    GUISystem();
    ~GUISystem() override;

    // Stores w in slot (a reference added, the old one released); true when it changed.
    static bool exchange(GUIWindow*& slot, GUIWindow* w);
    void sortWindows();
    void rebuildTooltips();

    // ---- input steps (GUISystem_input.cpp) ----
    // The hover step: activates the window under the point, or deactivates the active one.
    void hover(D3DXVECTOR2 const& point);

    // ---- the window list ----
    // Appends to windows_ and listed_ (the reference passes in).
    void listWindow(GUIWindow* window);
    // Whether a window of a snapshot taken at listChanges_ == taken is still listed; asks the
    // set only when the list has changed since.
    bool stillListed(GUIWindow const* window, u64 taken) const;

    // findWindow's answers (null for a name no window has), good for the trees seen at the
    // counts and the top-level list they keep; any change there drops them all.
    struct FoundNames {
        std::unordered_map<std::wstring, GUIWindow*> answers;
        std::vector<GUIWindow*> roots;
        u64 treeChanges = ~u64{0};
        u64 renames = ~u64{0};
    };

    std::vector<GUIWindow*> windows_;
    mutable FoundNames foundNames_;
    std::unordered_set<GUIWindow const*> listed_;  // what windows_ holds
    u64 listChanges_ = 0;                           // counts windows added to and taken off it
    std::vector<GUIWindow*> templates_;
    std::vector<GUIWindow*> tooltips_;
    GUIWindow* active_ = nullptr;
    GUIWindow* focus_ = nullptr;
    GUIWindow* pressed_ = nullptr;
    D3DXVECTOR2 dragOffset_{0.0f, 0.0f};
    D3DXVECTOR2 lastDrag_{0.0f, 0.0f};
    D3DXVECTOR2 pointer_{0.0f, 0.0f};
    D3DInterface* device_ = nullptr;
    BaseSprite* sprite_ = nullptr;
    u32 windowsLoaded_ = 0;                    // made by GUI files since the last clear
    std::unordered_set<std::wstring> loadedFiles_;  // identities of the files loadFile read
    std::vector<std::wstring> unreadFiles_;
};

}  // namespace Orvex
