// The background: reading its pictures, choosing one at random (again when asked), and drawing it.
#include "game/look/Background.h"

#include "engine/core/NamedObjectList.h"
#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

Background::Background(std::wstring const& name) : RenderObjekt(name) {}

Background::Background(Orvex::XMLNode& node, std::wstring const& sourceName) : RenderObjekt(node) {
    readXML(node, sourceName);
}

Background::~Background() {
    releasePictures();
    if (current_) current_->release();
}

void Background::releasePictures() {
    Orvex::releaseAll(pictures_);
}

void Background::readXML(Orvex::XMLNode& node) { readXML(node, std::wstring()); }

void Background::readXML(Orvex::XMLNode& node, std::wstring const& sourceName) {
    Orvex::NamedObject::readXML(node);
    releasePictures();
    if (node.getChildCount(L"TEXTUR2D") > kMaxTextures) {
        ReadProblems problems;
        problems.add(L"more than " + std::to_wstring(kMaxTextures) + L" \"TEXTUR2D\" elements, none loaded");
        problems.log(L"Background \"" + getName() + L"\"", sourceName, node.getLine());
        return;
    }
    Orvex::TextureManager local(L"BACKGROUND");
    local.loadTextures(node);
    pictures_ = local.findTexturesContaining(L"BACKGROUND");
    for (Orvex::Texture2D* picture : pictures_) picture->addRef();
    if (pictures_.empty()) return;
    show(pictures_[static_cast<std::size_t>(Orvex::randomInt(0, static_cast<int>(pictures_.size())))]);
    // Only the picture shown keeps its texture on the device.
    for (Orvex::Texture2D* picture : pictures_) {
        if (picture != current_) picture->suspend();
    }
}

void Background::pickRandomImage() {
    if (pictures_.size() < 2) return;
    show(pictures_[static_cast<std::size_t>(Orvex::randomInt(0, static_cast<int>(pictures_.size())))]);
}

void Background::show(Orvex::Texture2D* picture) {
    if (picture == current_) return;
    picture->addRef();
    if (current_) {
        current_->suspend();
        current_->release();
    }
    current_ = picture;
}

void Background::queueRender(RenderQueue& queue, RenderContext const&) { queue.add(this, getRenderOrder()); }

void Background::render(RenderContext const& context) {
    if (!current_ || !context.sprite) return;
    context.sprite->drawInRect(current_, nullptr, context.target, Orvex::SDP_SCALE, Orvex::SDP_SCALE, 0xFFFFFFFF);
}

Orvex::SpriteRect Background::getScreenQuad() { return Orvex::SpriteRect(); }

}  // namespace Solitaire
