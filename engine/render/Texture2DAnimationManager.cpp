// The texture and animation registry (see Texture2DAnimationManager.h).
#include "engine/render/Texture2DAnimationManager.h"

#include "engine/core/File.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/XMLNode.h"
#include "engine/core/Logger.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/AnimationFrameBudget.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimation360.h"

namespace Orvex {

Texture2DAnimationManager& Texture2DAnimationManager::instance() {
    static Texture2DAnimationManager registry;
    return registry;
}

Texture2DAnimationManager::Texture2DAnimationManager() : textures_(L"Texture2DAnimationManager") {
    // The device object must outlive the textures held here: made first, it is destroyed last.
    D3DInterface::getInstance();
}

Texture2DAnimationManager::~Texture2DAnimationManager() { releaseAnimations(); }

Texture2DAnimation* Texture2DAnimationManager::findAnimation(std::wstring const& name) const {
    if (names_.stale) {
        names_.first.clear();
        for (Texture2DAnimation* animation : animations_) names_.first.emplace(animation->getName(), animation);
        names_.stale = false;
    }
    auto const found = names_.first.find(name);
    return found == names_.first.end() ? nullptr : found->second;
}

void Texture2DAnimationManager::add(Texture2DAnimation* animation) {
    animations_.push_back(animation);
    names_.first.emplace(animation->getName(), animation);
    animation->signalNameChanged.connect(&names_, &NameIndex::onRenamed);
}

Texture2D* Texture2DAnimationManager::findTexture(std::wstring const& name) const {
    if (Texture2D* t = textures_.findTexture(name)) return t;
    return D3DInterface::getInstance().getTextureManager().findTexture(name);
}

void Texture2DAnimationManager::load(XMLNode& node, std::wstring const& source) {
    AnimationFrameBudget const budget(source, AnimationFrameBudget::kFramesPerList,
                                      AnimationFrameBudget::Reading::kList);
    TextureLoadParams const params(0, 0xFFFFFFFFu, 1, 1);
    if (XMLNode* textures = node.getChild(L"TEXTURES")) textures_.loadTextures(*textures, params);
    if (XMLNode const* files = node.getChild(L"TEXTURE_FILES")) {
        for (u32 i = 0; i < files->getValueCount(); ++i) {
            XMLNode list;
            if (list.load(files->getValue(i)->getString())) textures_.loadTextures(list, params);
        }
    }
    std::size_t unnamed = 0;
    u32 firstUnnamed = 0;
    std::size_t added = 0;
    std::size_t tooMany = 0;
    u32 firstTooMany = 0;
    AnimationFrameBudget::SpentShare spent;  // the file whose share of animations the list reached
    for (auto const& child : node.children()) {
        if (child->getName() != L"ANIMATION_2D") continue;
        XMLAttribute const* name = child->getAttribute(L"NAME");
        if (!name) {
            if (unnamed++ == 0) firstUnnamed = child->getLine();
            continue;
        }
        if (findAnimation(name->getString())) continue;
        if (added >= kMaxPerList || animations_.size() >= kMaxAnimations ||
            !AnimationFrameBudget::takeAnimation(spent)) {
            if (tooMany++ == 0) firstTooMany = child->getLine();
            continue;
        }
        add(createTexture2DAnimation(*child));
        ++added;
    }
    if (unnamed) {
        logWarning(L"Animation list \"" + source + L"\"" + atLine(firstUnnamed) + L": " + std::to_wstring(unnamed) +
                   L" animation(s) without \"NAME\" left out; nothing could name them");
    }
    if (tooMany) {
        std::wstring const share = spent.file.empty() ? L""
                                                      : L", the lists read for \"" + spent.file + L"\" at most " +
                                                            std::to_wstring(spent.share);
        logWarning(L"Animation list \"" + source + L"\"" + atLine(firstTooMany) + L": " + std::to_wstring(tooMany) +
                   L" animation(s) left out; a list adds at most " + std::to_wstring(kMaxPerList) + share +
                   L" and all lists hold at most " + std::to_wstring(kMaxAnimations));
    }
}

bool Texture2DAnimationManager::loadFile(std::wstring const& fileName) {
    return loadedFiles_.readTree(fileName, [&](XMLNode& list) { load(list, fileName); }) || loadedFiles_.seen(fileName);
}

void Texture2DAnimationManager::releaseAnimations() {
    loadedFiles_.clear();
    names_.first.clear();
    names_.stale = false;
    for (Texture2DAnimation* animation : animations_) animation->signalNameChanged.disconnect(&names_);
    releaseAll(animations_);
    // Their pictures go too: loaded again, a list must not find the old ones under its names.
    textures_.releaseAll();
}

Texture2DAnimation* createTexture2DAnimation(XMLNode& node) {
    XMLAttribute const* type = node.getAttribute(L"TYPE");
    if (type && type->getString() == L"360") return new Texture2DAnimation360(node);
    return new Texture2DAnimation(node);
}

}  // namespace Orvex
