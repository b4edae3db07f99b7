// A category of the catalogue ("KATEGORIE" in "data\Level\Level.dat"): games in display order, a
// button text, the story flag and the overrides its games and variants inherit. The category
// "KAMPAGNE" is the campaign.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "game/app/CatalogueOptions.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

class ReadProblems;
class SolSolitaire;

class SolCategorie : public Orvex::NamedObject {
public:
    // Games beyond this many in one category are dropped (one log line).
    static constexpr std::size_t kMaxGames = 1024;

    // The "GAME" children first, then the attributes; sourceName names the file in log lines.
    SolCategorie(Orvex::XMLNode& node, std::wstring const& sourceName);
    ~SolCategorie() override;

    std::vector<SolSolitaire*> const& getGames() const { return games_; }
    SolSolitaire* findGame(std::wstring const& name) const;
    std::wstring const& getTextId() const { return options_.textId; }
    bool isStory() const { return story_; }
    CatalogueOptions const& getOptions() const { return options_; }

private:
    std::vector<SolSolitaire*> games_;
    CatalogueOptions options_;
    bool story_ = false;
};

}  // namespace Solitaire
