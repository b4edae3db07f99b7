// A highscore entry: made from a result or read from its element, and written back.
#include "game/app/HighscoreEintrag.h"

#include <climits>
#include <cmath>

#include "engine/core/XMLNode.h"
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

HighscoreEintrag::HighscoreEintrag(Orvex::XMLNode& node) : NamedObject(node) {
    stampNow();
    std::optional<double> const score = parseFiniteText(node.getAttributeString(L"SCORE", L""));
    if (score && std::isfinite(static_cast<float>(*score))) score_ = static_cast<float>(*score);
    if (Orvex::XMLAttribute const* date = node.getAttribute(L"DATE")) {
        Orvex::XMLValueTokens const pieces = date->split(L" ");
        int* const fields[] = {&hour_, &minute_, &day_, &month_, &year_};
        for (Orvex::u32 i = 0; i < 5 && i < pieces.getCount(); ++i) {
            std::optional<Orvex::u32> const number = parseCounterText(pieces.get(i)->getString());
            *fields[i] = number && *number <= static_cast<Orvex::u32>(INT_MAX) ? static_cast<int>(*number) : 0;
        }
    }
    gameName_ = node.getAttributeString(L"GAME_NAME", L"");
    if (Orvex::XMLNode* statistik = node.getChild(Statistik::kElementName)) statistik_ = new Statistik(*statistik);
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

void HighscoreEintrag::writeXML(Orvex::XMLNode& node) {
    NamedObject::writeXML(node);
    node.setAttribute(L"GAME_NAME", gameName_);
    node.setAttribute(L"SCORE", numberText(score_));
    node.setAttribute(L"DATE", std::to_wstring(hour_) + L" " + std::to_wstring(minute_) + L" " + std::to_wstring(day_) +
                                   L" " + std::to_wstring(month_) + L" " + std::to_wstring(year_));
    if (statistik_) statistik_->writeXML(*node.addChild(Statistik::kElementName));
}

}  // namespace Solitaire
