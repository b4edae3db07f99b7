// A catalogue game: its variants, attributes and preview.
#include "game/app/SolSolitaire.h"

#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "game/app/CataloguePreview.h"
#include "game/app/SolVariant.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

SolSolitaire::SolSolitaire(Orvex::XMLNode& node, std::wstring const& sourceName, ReadProblems& problems)
    : NamedObject(node) {
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != L"VARIANTE") continue;
        if (variants_.size() >= kMaxVariants) {
            problems.add(L"more than " + std::to_wstring(kMaxVariants) + L" \"VARIANTE\" elements; the rest are dropped",
                         child->getLine());
            break;
        }
        ReadProblems variantProblems;
        auto* variant = new SolVariant(*child, variantProblems);
        variantProblems.log(L"Variant \"" + variant->getName() + L"\"", sourceName, child->getLine());
        variants_.push_back(variant);
    }
    options_.read(node, L"GAME_", getName(), problems);

    // The first variant's preview, unless the game names its own.
    if (!variants_.empty()) {
        previewPath_ = variants_.front()->getPreviewPath();
        preview_ = variants_.front()->getPreview();
        if (preview_) preview_->addRef();
    }
    previewPath_ = node.getAttributeString(L"PREVIEW_FILE", previewPath_);
    if (Orvex::XMLAttribute const* registered = node.getAttribute(L"PREVIEW")) {
        if (preview_) preview_->release();
        preview_ = findRegisteredPreview(registered->getString());
        if (preview_) previewPath_ = preview_->getFileName();
    }
    if (!preview_) preview_ = makePreviewTexture(previewPath_);
}

SolSolitaire::~SolSolitaire() {
    for (SolVariant* variant : variants_) variant->release();
    if (preview_) preview_->release();
}

SolVariant* SolSolitaire::findVariant(std::wstring const& name) const {
    return Orvex::findNamedObject(variants_, name);
}

void SolSolitaire::reloadPreview() {
    if (preview_) preview_->release();
    preview_ = nullptr;
    if (!variants_.empty()) {
        SolVariant const* first = variants_.front();
        if (first->getPreview() || !first->getPreviewPath().empty()) {
            previewPath_ = first->getPreviewPath();
            preview_ = first->getPreview();
            if (preview_) preview_->addRef();
        }
    }
    if (!preview_) preview_ = makePreviewTexture(previewPath_);
    if (preview_) preview_->suspend();
}

}  // namespace Solitaire
