// Loading the styles file or the game's settings node into the style settings, and saving the
// card-look and game-style choices.
#include <cmath>
#include <string>
#include <string_view>

#include "engine/core/XMLNode.h"
#include "game/look/Background.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/ReadProblems.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// Card-set and background files: the tree of the named file, empty when it cannot be read.
bool loadNamedFile(Orvex::XMLNode const& child, Orvex::XMLNode& tree, std::wstring& file, ReadProblems& problems) {
    Orvex::XMLAttribute const* name = child.getAttribute(L"FILE");
    if (!name) return false;
    file = name->getString();
    if (!tree.load(file)) {
        problems.add(L"\"" + child.getName() + L"\" file \"" + file + L"\" cannot be read", child.getLine());
        tree.clear();
    }
    return true;
}

// A whole number as the runtime reads one (blanks, a sign, digits), blanks after it and nothing else.
bool isWholeNumber(std::wstring_view text) {
    std::size_t end = 0;
    msvc::wcstol(text, 10, &end);
    if (end == 0) return false;
    return text.find_first_not_of(L" \t\n\v\f\r", end) == std::wstring_view::npos;
}

}  // namespace

void StyleSettings::load(Orvex::XMLNode& node, std::wstring const& sourceName) {
    ReadProblems problems;
    readMeasure(node, L"STYLE_PARAM", styleParam_, problems);
    readFiles(node, sourceName, problems);
    // Without a game style in data the fallback plays, and listeners hear of it.
    if (gameStyle_ == fallbackGameStyle_) gameStyleChanged.emit(gameStyle_);
    readChoices(node, problems);
    if (style_) {
        style_->applyParam(getStyleParam());
        styleChanged.emit(style_);
    }
    defaultBackground_ = background_;
    problems.log(L"Styles", sourceName, node.getLine());
}

void StyleSettings::readFiles(Orvex::XMLNode& node, std::wstring const& sourceName, ReadProblems& problems) {
    for (Orvex::XMLNode* child : node.children()) {
        std::wstring const& kind = child->getName();
        Orvex::XMLNode tree;
        std::wstring file;
        if (kind == L"KARTENSET") {
            if (!loadNamedFile(*child, tree, file, problems)) continue;
            auto* cardSet = new Kartenset(tree, file);
            addKartenset(cardSet);
            cardSet->release();
        } else if (kind == L"BACKGROUND") {
            if (!loadNamedFile(*child, tree, file, problems)) continue;
            auto* background = new Background(tree, file);
            addBackground(background);
            background->release();
        } else if (kind == L"STYLE") {
            auto* style = new Style(*child, sourceName);
            addStyle(style);
            style->release();
        } else if (kind == L"GAMESTYLE") {
            auto* gameStyle = new GameStyle(*child, sourceName);
            addGameStyle(gameStyle);
            gameStyle->release();
        }
    }
}

void StyleSettings::readChoices(Orvex::XMLNode& node, ReadProblems& problems) {
    if (std::wstring const* name = attributeText(node, L"ACTUAL_STYLE")) selectStyle(*name);
    if (std::wstring const* name = attributeText(node, L"ACTUAL_BACKGROUND")) selectBackground(*name);
    if (std::wstring const* name = attributeText(node, L"ACTUAL_GAMESTYLE")) selectGameStyle(*name);
    // Any number is a wish that the fit below takes onto a back of the card set (one past the int
    // range reads as its end, past every back); one outside the backs offered, which the game
    // never writes, is named, and so is a text that is no number, which keeps the back.
    if (Orvex::XMLAttribute const* back = node.getAttribute(L"CARDS_BACK")) {
        if (!back->text().withView(isWholeNumber)) {
            problems.add(L"\"CARDS_BACK\" " + Orvex::quotedPiece(back->text()) + L" is no whole number; the back " +
                             std::to_wstring(cardsBack_) + L" is kept",
                         node.getLine());
        } else {
            cardsBack_ = back->getInt();
            if (Kartenset::fitBack(cardsBack_, Kartenset::kBackChoices) != cardsBack_)
                problems.add(L"\"CARDS_BACK\" " + Orvex::quotedPiece(back->text()) + L" lies outside 0.." +
                                 std::to_wstring(Kartenset::kBackChoices - 1) + L", taken as the nearest back",
                             node.getLine());
        }
    }
    readInt(node, L"TOOLTIP_TYPE", tooltipType_, -0x7FFFFFFF, 0x7FFFFFFF, problems);
    readFloat(node, L"PARTIKEL_SPAWN_MULT", particleSpawnMult_, problems);

    if (std::wstring const* name = attributeText(node, L"ACTUAL_CARDSET_SET")) selectCardSetSet(*name);
    if (!currentSet_ && !sets_.empty()) currentSet_ = sets_.front();
    if (std::wstring const* name = attributeText(node, L"ACTUAL_CARDSET")) selectCardSet(*name);
    if (!cardSet_ && currentSet_ && !currentSet_->entries.empty()) {
        std::wstring const entry = currentSet_->entries.front().second;
        setCurrentCardSet(currentSet_->entries.front().first);
        entryName_ = entry;
    }
    // A saved back past the card set's is its last one, shown and saved again.
    cardsBack_ = Kartenset::fitBack(cardsBack_, backsHeld());
}

void StyleSettings::save(Orvex::XMLNode& node) const {
    if (style_) node.setAttribute(L"ACTUAL_STYLE", style_->getName());
    if (currentSet_) node.setAttribute(L"ACTUAL_CARDSET_SET", currentSet_->name);
    if (cardSet_) node.setAttribute(L"ACTUAL_CARDSET", cardSet_->getName());
    if (background_) node.setAttribute(L"ACTUAL_BACKGROUND", background_->getName());
    // No "ACTUAL_GAMESTYLE": a variant makes its own game style current while it is played, so
    // what is current here is no choice of the player's to keep.
    auto number = [&node](wchar_t const* key, auto value) {
        Orvex::XMLAttribute text(L"", value);
        node.setAttribute(key, text.getString());
    };
    number(L"STYLE_PARAM", getStyleParam());
    number(L"SCALE_PARAM", 0.5f);
    number(L"CARDS_BACK", cardsBack_);
    number(L"TOOLTIP_TYPE", tooltipType_);
    number(L"PARTIKEL_SPAWN_MULT", particleSpawnMult_);
}

}  // namespace Solitaire
