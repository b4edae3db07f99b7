// A catalogue category: its games and attributes.
#include "game/app/SolCategorie.h"

#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "game/app/SolSolitaire.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

SolCategorie::SolCategorie(Orvex::XMLNode& node, std::wstring const& sourceName) : NamedObject(node) {
    ReadProblems problems;
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != L"GAME") continue;
        if (games_.size() >= kMaxGames) {
            problems.add(L"more than " + std::to_wstring(kMaxGames) + L" \"GAME\" elements; the rest are dropped",
                         child->getLine());
            break;
        }
        ReadProblems gameProblems;
        auto* game = new SolSolitaire(*child, sourceName, gameProblems);
        gameProblems.log(L"Game \"" + game->getName() + L"\"", sourceName, child->getLine());
        games_.push_back(game);
    }
    options_.read(node, L"CAT_", getName(), problems);
    readBool(node, L"IS_STORY", story_);
    problems.log(L"Category \"" + getName() + L"\"", sourceName, node.getLine());
}

SolCategorie::~SolCategorie() {
    for (SolSolitaire* game : games_) game->release();
}

SolSolitaire* SolCategorie::findGame(std::wstring const& name) const {
    return Orvex::findNamedObject(games_, name);
}

}  // namespace Solitaire
