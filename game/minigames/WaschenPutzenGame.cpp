// The cleaning game: reading it, its windows, a new attempt, showing and hiding.
#include "game/minigames/WaschenPutzenGame.h"

#include <algorithm>

#include "engine/core/XMLAttribute.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderManager.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "game/minigames/WaschenPutzenPass.h"
#include "game/particles/SolPartikel.h"

namespace Solitaire {

namespace {

// The cursor while a pass gives no size of its own, for a 1024 x 768 screen.
constexpr float kCursorSide = 100.0f;

}  // namespace

WaschenPutzenGame::WaschenPutzenGame(Orvex::XMLNode& element)
    : Minispiel(element), camera_(std::make_unique<Orvex::LookAtCamera>(L"")) {
    // Every render-pass file goes into one tree: their definitions side by side.
    std::wstring sources;
    minigame::readChildren(element, L"RENDERPASS", kMaxRenderPassFiles, L"render-pass files",
                           [&](Orvex::XMLNode& child) {
                               Orvex::XMLAttribute const* file = child.getAttribute(L"FILE");
                               if (!file) return;
                               std::wstring const name = file->getStringCopy();
                               Orvex::XMLNode tree;
                               tree.load(name);
                               if (renderPasses_.getName().empty()) renderPasses_.setName(tree.getName());
                               for (Orvex::XMLAttribute const* attribute : tree.attributes())
                                   renderPasses_.setAttribute(attribute->getName(), attribute->getStringCopy());
                               for (Orvex::XMLNode const* definition : tree.children())
                                   renderPasses_.addChild(new Orvex::XMLNode(*definition));
                               sources += (sources.empty() ? L"" : L", ") + name;
                           });
    renderPassSource_ = sources;
    minigame::readNumber(element, L"CHECK_EVERY", checkEvery_, 0.0, kNoCheck);
    effect_ = element.getAttributeString(L"EFFECT", effect_);
    addToolsToSpielfeld_ = element.getAttributeBool(L"ADD_TOOLS_TO_SPIELFELD", addToolsToSpielfeld_);
    minigame::readChildren(element, L"PASS", kMaxPasses, L"passes",
                           [&](Orvex::XMLNode& child) { passes_.push_back(std::make_unique<Pass>(child)); });
    Orvex::TextureManager local;
    if (Orvex::XMLNode* list = element.getChild(L"TEXTUREN")) local.loadTextures(*list);
    if (Orvex::XMLAttribute const* name = element.getAttribute(L"BACKGROUND")) {
        std::wstring const texture = name->getStringCopy();
        Orvex::Texture2D* found = local.findTexture(texture);
        if (!found) found = Orvex::D3DInterface::getInstance().getTextureManager().findTexture(texture);
        background_.hold(found);
    }
    if (background_ && background_->getWidth() > 0 && background_->getHeight() > 0) {
        backgroundWidth_ = background_->getWidth();
        backgroundHeight_ = background_->getHeight();
    }
}

WaschenPutzenGame::~WaschenPutzenGame() {
    endEmitter();
    releaseRendering();
    MinispielCursor& cursor = MinispielCursor::instance();
    for (std::unique_ptr<Pass> const& pass : passes_)
        if (cursor.picture && cursor.picture == pass->animation) cursor.reset();
    passes_.clear();
}

WaschenPutzenGame::Pass* WaschenPutzenGame::getCurrentPass() const {
    return current_ < passes_.size() ? passes_[current_].get() : nullptr;
}

void WaschenPutzenGame::buildWindows() {
    ClickGameWindows frame(prefix, kKind);
    frame.lookUp(false);
    frame.foreground = frame.part(L"FENSTER_VG");
    Orvex::GUIWindow* field = frame.part(L"SPIELFELD");
    if (window || !frame.main || !field) return;
    frame.cloneFrame();
    window.adopt(frame.main);
    foreground_ = frame.foreground;
    playfield_ = minigame::cloneOf(field);
    washArea_ = minigame::cloneOf(frame.part(L"WASCHEN"));
    toolsArea_ = minigame::cloneOf(frame.part(L"TOOLS"));
    infoWindow_ = minigame::cloneOf(frame.part(L"INFO_FENSTER"));
    infoLabel_ = minigame::cloneAs(frame.partAs<Orvex::GUILabel>(L"INFO"));

    if (infoLabel_ && !minigame::adopt(infoWindow_, infoLabel_)) infoLabel_ = nullptr;
    if (infoWindow_) {
        // The clone's reference, let go once the window holds one of its own (or refused it).
        Orvex::CountedRef<Orvex::GUIWindow> const clone = Orvex::adoptRef(infoWindow_);
        // At the front of the list: under the game's other windows until it has news.
        bool const append = false;
        if (window->addChild(infoWindow_, false, append)) {
            infoWindow_->jumpToGoal(L"AUS");
        } else {
            infoWindow_ = nullptr;
            infoLabel_ = nullptr;
        }
    }
    if (!minigame::adopt(window.get(), playfield_)) playfield_ = nullptr;
    if (washArea_ && !minigame::adopt(playfield_, washArea_)) washArea_ = nullptr;
    Orvex::GUIWindow* toolsParent = addToolsToSpielfeld_ ? playfield_ : (foreground_ ? foreground_ : window.get());
    if (toolsArea_ && !minigame::adopt(toolsParent, toolsArea_)) toolsArea_ = nullptr;
    if (washArea_) washArea_->selfDrawn.connect(this, &WaschenPutzenGame::onWashAreaDrawn);
    for (std::unique_ptr<Pass> const& pass : passes_) {
        if (!pass->toolWindow) continue;
        minigame::attach(toolsArea_, pass->toolWindow.get());
        pass->toolWindow->setUserPointer(pass.get(), kPassSlot);
        pass->toolWindow->leftClicked.connect(this, &WaschenPutzenGame::onToolClicked);
    }
    ClickGameWindows::addCancelAndHelp(*this, frame.cancel, frame.help, foreground_ ? foreground_ : window.get());
    // Last, so it is drawn above the rest.
    if (foreground_ && !minigame::adopt(window.get(), foreground_)) foreground_ = nullptr;
}

void WaschenPutzenGame::createWindows() {
    buildWindows();
}

void WaschenPutzenGame::start() {
    Minispiel::start();
    painting_ = false;
    current_ = 0;
    for (std::unique_ptr<Pass> const& pass : passes_) pass->reset();
    hideInfo();
    checkTimer_ = 0.0f;
    endEmitter();
}

void WaschenPutzenGame::show() {
    Minispiel::show();
    shown_ = true;
    movedTimer_ = 0.0f;
    paintedTimer_ = 0.0f;
    MinispielCursor& cursor = MinispielCursor::instance();
    cursor.size = D3DXVECTOR2(kCursorSide, kCursorSide);
    cursor.offset = D3DXVECTOR2(-kCursorSide / 2.0f, -kCursorSide / 2.0f);
    releaseRendering();
    result_.adopt(new Orvex::Texture2D(L""));
    if (!result_->create(backgroundWidth_, backgroundHeight_, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                         D3DPOOL_DEFAULT))
        result_.reset();
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    unsigned long const width = std::min<unsigned long>(backgroundWidth_, d3d.getWidth());
    unsigned long const height = std::min<unsigned long>(backgroundHeight_, d3d.getHeight());
    renderManager_ = std::make_unique<Orvex::RenderManager>(width, height);
    renderManager_->loadConfig(renderPasses_, renderPassSource_);
    if (Pass* pass = getCurrentPass(); pass && pass->hasEmitter) startEmitter();
}

void WaschenPutzenGame::hide() {
    Minispiel::hide();
    shown_ = false;
    MinispielCursor::instance().reset();
    releaseRendering();
    endEmitter();
}

void WaschenPutzenGame::releaseRendering() {
    renderManager_.reset();
    result_.reset();
}

void WaschenPutzenGame::inform(std::wstring const& textId) {
    if (infoLabel_) infoLabel_->setTextId(textId);
    if (!infoWindow_) return;
    infoWindow_->jumpToGoal(L"AN");
    infoWindow_->bringToFront();
}

void WaschenPutzenGame::hideInfo() {
    if (!infoWindow_) return;
    infoWindow_->jumpToGoal(L"AUS");
    infoWindow_->sendToBack();
}

}  // namespace Solitaire
