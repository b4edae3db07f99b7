// A game of the catalogue ("GAME" in "data\Level\Level.dat"): a group of variants with a button
// text, a preview (its own, else its first variant's) and the shared overrides. In the category
// "KAMPAGNE" a game named "KAPITEL_" n is chapter n and its variants are the chapter's levels.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "game/app/CatalogueOptions.h"

namespace Orvex {
class Texture2D;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class ReadProblems;
class SolVariant;

class SolSolitaire : public Orvex::NamedObject {
public:
    // Variants beyond this many in one game are dropped (one log line).
    static constexpr std::size_t kMaxVariants = 1024;

    // The "VARIANTE" children first, then the attributes; refusals go to problems, variant
    // lines with sourceName.
    SolSolitaire(Orvex::XMLNode& node, std::wstring const& sourceName, ReadProblems& problems);
    ~SolSolitaire() override;

    std::vector<SolVariant*> const& getVariants() const { return variants_; }
    SolVariant* findVariant(std::wstring const& name) const;
    std::wstring const& getTextId() const { return options_.textId; }
    std::wstring const& getPreviewPath() const { return previewPath_; }
    Orvex::Texture2D* getPreview() const { return preview_; }
    CatalogueOptions const& getOptions() const { return options_; }

    // Takes the first variant's preview again (after SolVariant::reloadPreview), else loads its own.
    void reloadPreview();

private:
    std::vector<SolVariant*> variants_;
    Orvex::Texture2D* preview_ = nullptr;
    std::wstring previewPath_;
    CatalogueOptions options_;
};

}  // namespace Solitaire
