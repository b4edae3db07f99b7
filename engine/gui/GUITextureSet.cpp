// The texture set of the draw options: references, clones and reading the names.
#include "engine/gui/GUITextureSet.h"

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"

namespace Orvex {

namespace {

template <class T>
void releaseSlot(T*& slot) {
    if (slot) slot->release();
    slot = nullptr;
}

}  // namespace

void GUITextureSet::assignTexture(Texture2D*& slot, Texture2D* texture) {
    if (slot == texture) return;
    if (texture) texture->addRef();
    releaseSlot(slot);
    slot = texture;
}

void GUITextureSet::assignAnimation(Texture2DAnimation*& slot, Texture2DAnimation* animation) {
    if (slot == animation) return;
    if (animation) animation->addRef();
    releaseSlot(slot);
    slot = animation;
}

void GUITextureSet::assignAnimationClone(Texture2DAnimation*& slot, Texture2DAnimation* animation) {
    Texture2DAnimation* copy = animation ? animation->clone() : nullptr;
    releaseSlot(slot);
    slot = copy;
}

GUITextureSet::GUITextureSet(GUITextureSet const& other) { *this = other; }

GUITextureSet& GUITextureSet::operator=(GUITextureSet const& o) {
    if (this == &o) return *this;
    assignTexture(normal, o.normal);
    assignTexture(press, o.press);
    assignTexture(mark, o.mark);
    assignTexture(pressMark, o.pressMark);
    assignTexture(disable, o.disable);
    assignTexture(shape, o.shape);
    assignTexture(background, o.background);
    assignTexture(foreground, o.foreground);
    assignAnimationClone(aniNormal, o.aniNormal);
    assignAnimationClone(aniMark, o.aniMark);
    assignAnimationClone(aniBackground, o.aniBackground);
    assignAnimationClone(aniForeground, o.aniForeground);
    return *this;
}

GUITextureSet::~GUITextureSet() { releaseAll(); }

void GUITextureSet::releaseAll() {
    for (Texture2D** slot : {&normal, &press, &mark, &pressMark, &disable, &shape, &background, &foreground})
        releaseSlot(*slot);
    for (Texture2DAnimation** slot : {&aniNormal, &aniMark, &aniBackground, &aniForeground}) releaseSlot(*slot);
}

void GUITextureSet::load(XMLNode const& node) {
    TextureManager& textures = D3DInterface::getInstance().getTextureManager();
    if (XMLNode const* own = node.getChild(L"TEXTURE_2D_NODE")) {
        // The texture list reader takes a node it may change; it gets a copy.
        XMLNode list(*own);
        textures.loadTextures(list);
    }

    struct TextureKey {
        wchar_t const* key;
        Texture2D** slot;
    };
    TextureKey const textureKeys[] = {
        {L"TEX_NORMAL", &normal},         {L"TEX_MARK", &mark},       {L"TEX_PRESS", &press},
        {L"TEX_PRESS_MARK", &pressMark},  {L"TEX_DISABLE", &disable}, {L"TEX_SHAPE", &shape},
        {L"TEX_BACKGROUND", &background}, {L"TEX_FOREGROUND", &foreground},
    };
    for (TextureKey const& k : textureKeys) {
        XMLAttribute const* a = node.getAttribute(k.key);
        if (!a) continue;
        Texture2D* found = textures.findTexture(a->getString());
        if (!found && !a->getString().empty())
            logWarning(L"GUI draw options: texture \"" + a->getString() + L"\" of " + k.key + L" not found");
        assignTexture(*k.slot, found);
    }

    struct AnimationKey {
        wchar_t const* key;
        Texture2DAnimation** slot;
    };
    AnimationKey const animationKeys[] = {
        {L"ANI_NORMAL", &aniNormal},
        {L"ANI_MARK", &aniMark},
        {L"ANI_BACKGROUND", &aniBackground},
        {L"ANI_FOREGROUND", &aniForeground},
    };
    Texture2DAnimationManager& registry = Texture2DAnimationManager::instance();
    for (AnimationKey const& k : animationKeys) {
        XMLAttribute const* a = node.getAttribute(k.key);
        if (!a) continue;
        if (Texture2DAnimation* found = registry.findAnimation(a->getString()))
            assignAnimationClone(*k.slot, found);
        else
            logWarning(L"GUI draw options: animation \"" + a->getString() + L"\" of " + k.key + L" not found");
    }
}

}  // namespace Orvex
