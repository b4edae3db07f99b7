// Reading and writing a statistics set as its "STATISTIK" element.
#include <array>
#include <string>
#include <string_view>

#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikNumbers.h"

namespace Solitaire {

namespace {

constexpr wchar_t const* kCounterKeys[Statistik::kCounterCount] = {
    L"MOUSE_KM", L"CLICK", L"DBL_CLICK", L"FAIL_DBL_CLICK", L"STARTED", L"WON", L"END",
    L"UNDOS",    L"TIPPS", L"MOVED",     L"MIX",            L"MAX_COMBO", L"ANZ_COMBOS", L"COMBOS",
};

// "TIME" stands between these two in the element.
constexpr int kCountersBeforeTime = static_cast<int>(StatistikCounter::Undos) + 1;

constexpr auto kStatistikShapeKeys = [] {
    std::array<std::wstring_view, Statistik::kCounterCount + 2> keys{};
    keys[0] = L"NAME";
    for (int i = 0; i < Statistik::kCounterCount; ++i) keys[static_cast<std::size_t>(i) + 1] = kCounterKeys[i];
    keys.back() = Statistik::kTimeKey;
    return keys;
}();

constexpr auto kStatistikWritten = [] {
    std::array<Orvex::XMLShape::Written, Statistik::kCounterCount + 2> written{};
    written[0] = {L"NAME", Statistik::kMaxGivenName};
    for (int i = 0; i < Statistik::kCounterCount; ++i) written[static_cast<std::size_t>(i) + 1] = {kCounterKeys[i], kMaxCounterText};
    written.back() = {Statistik::kTimeKey, kMaxDoubleText};
    return written;
}();

}  // namespace

constexpr Orvex::XMLShape Statistik::kShape{kStatistikShapeKeys};
constexpr Orvex::XMLShape Statistik::kWrittenShape{kStatistikShapeKeys, 0, {}, Orvex::XMLShape::kMaxText, kStatistikWritten};

wchar_t const* Statistik::counterKey(StatistikCounter counter) {
    int const index = static_cast<int>(counter);
    return index >= 0 && index < kCounterCount ? kCounterKeys[index] : L"";
}

void Statistik::readXML(Orvex::XMLNode& node) {
    NamedObject::readXML(node);
    readCounters(node);
}

void Statistik::readCounters(Orvex::XMLNode const& node, Orvex::ReadProblems* problems) {
    std::wstring broken;
    auto const note = [&broken](wchar_t const* key) { broken += (broken.empty() ? L"" : L", ") + std::wstring(key); };
    for (int i = 0; i < kCounterCount; ++i)
        if (!readCounterAttribute(node, kCounterKeys[i], counters_[i])) note(kCounterKeys[i]);
    if (!readFiniteAttribute(node, kTimeKey, 0.0, time_)) note(kTimeKey);
    if (broken.empty()) return;
    std::wstring const what = broken + L" not a count (32-bit, not negative, finite); the previous values are kept";
    if (problems)
        problems->add(L"statistics \"" + getName() + L"\": " + what, node.getLine());
    else
        Orvex::logError(L"Statistics \"" + getName() + L"\"" + Orvex::atLine(node) + L": " + what);
}

void Statistik::writeXML(Orvex::XMLNode& node) const {
    NamedObject::writeXML(node);
    for (int i = 0; i < kCounterCount; ++i) {
        if (i == kCountersBeforeTime) node.setAttribute(kTimeKey, numberText(time_));
        node.setAttribute(kCounterKeys[i], counterText(counters_[i]));
    }
}

}  // namespace Solitaire
