// A highscore entry: made from a result or read from its element, and written back.
#include "game/app/HighscoreEintrag.h"

#include <cmath>

#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikNumbers.h"
#include "port/win32/kernel.h"

namespace Solitaire {

HighscoreEintrag::HighscoreEintrag(std::wstring const& player, float score, std::wstring const& gameName,
                                   Statistik* statistik)
    : NamedObject(player), score_(score), statistik_(statistik), gameName_(gameName) {
    stampNow();
    if (statistik_) statistik_->addRef();
}

HighscoreEintrag::HighscoreEintrag(Orvex::XMLNode& node, Orvex::ReadProblems* problems) {
    stampNow();
    auto refuse = [&](std::wstring const& text) {
        if (problems) problems->add(L"entry \"" + getName() + L"\": " + text, node.getLine());
    };
    // Texts the game writes are short: a longer one is cut, so the file is written back no larger.
    cutOnRead_ = readName(node, kMaxText);
    if (cutOnRead_) refuse(L"\"NAME\" is longer than " + std::to_wstring(kMaxText) + L" characters; cut");
    if (Orvex::XMLAttribute const* text = node.getAttribute(L"SCORE")) {
        std::optional<double> const score = parseFiniteText(text->getString());
        if (score && std::isfinite(static_cast<float>(*score)))
            score_ = static_cast<float>(*score);
        else
            refuse(L"\"SCORE\" " + Orvex::quotedPiece(text->text()) + L" is no number within float's range; read as 0");
    }
    if (Orvex::XMLAttribute const* date = node.getAttribute(L"DATE")) {
        Orvex::XMLValueTokens const pieces = date->split(L" ");
        int* const fields[] = {&hour_, &minute_, &day_, &month_, &year_};
        int const lowest[] = {0, 0, 1, 1, kFirstYear};
        int const highest[] = {23, 59, 31, 12, kLastYear};
        bool valid = true;
        for (Orvex::u32 i = 0; i < 5 && i < pieces.getCount(); ++i) {
            std::optional<Orvex::u32> const number = parseCounterText(pieces.get(i)->getString());
            if (number && *number >= static_cast<Orvex::u32>(lowest[i]) && *number <= static_cast<Orvex::u32>(highest[i]))
                *fields[i] = static_cast<int>(*number);
            else
                valid = false;
        }
        if (!valid) refuse(L"\"DATE\" " + Orvex::quotedPiece(date->text()) + L" has pieces that are no time or date; they are now's");
    }
    if (Orvex::XMLAttribute const* gameName = node.getAttribute(L"GAME_NAME")) {
        bool longer = false;
        gameName_ = gameName->text().head(kMaxText, longer);
        cutOnRead_ = cutOnRead_ || longer;
        if (longer) {
            refuse(L"\"GAME_NAME\" is longer than " + std::to_wstring(kMaxText) + L" characters; cut");
        }
    }
    // The statistics keep the name the game gives a result's (SolitaireManager::addHighscore).
    if (Orvex::XMLNode const* statistik = node.getChild(Statistik::kElementName)) {
        statistik_ = new Statistik(SolitaireManager::kGameStatistikName);
        statistik_->readCounters(*statistik, problems);
    }
}

HighscoreEintrag::~HighscoreEintrag() {
    if (statistik_) statistik_->release();
}

void HighscoreEintrag::stampNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    day_ = now.wDay;
    month_ = now.wMonth;
    year_ = now.wYear;
    hour_ = now.wHour;
    minute_ = now.wMinute;
}

void HighscoreEintrag::writeXML(Orvex::XMLNode& node) const {
    NamedObject::writeXML(node);
    node.setAttribute(L"GAME_NAME", gameName_);
    node.setAttribute(L"SCORE", numberText(score_));
    node.setAttribute(L"DATE", std::to_wstring(hour_) + L" " + std::to_wstring(minute_) + L" " + std::to_wstring(day_) +
                                   L" " + std::to_wstring(month_) + L" " + std::to_wstring(year_));
    if (statistik_) statistik_->writeXML(*node.addChild(Statistik::kElementName));
}

}  // namespace Solitaire
