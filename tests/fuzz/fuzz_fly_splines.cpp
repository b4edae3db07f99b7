// Fuzzes the fly-spline reader with file bytes: the input read as a fly-spline file, then each fly
// spline flown with the 52 cards of a small table and the flight stepped to its end. Whatever is
// read, durations are finite and not negative, poses stay numbers and every flight ends within
// the reported duration plus the longest wait and path time a step may have.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "game/cards/FlySpline.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/engine/gui/PrivateField.h"
#include "tests/fuzz/FuzzSupport.h"

// The table rectangle the flights throw the cards out over, which only a deal sets.
GUITEST_PRIVATE_FIELD(TableRect, Solitaire::Kartenmanager, Orvex::FRect, tableRect);

namespace {

constexpr wchar_t kVariant[] =
    L"<SOLITAIRE NAME=\"FUZZ\">"
    L"<STAPEL NAME=\"T1\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"0 0\"><ANORDNUNG NAME=\"FAECHER\"/></STAPEL>"
    L"<STAPEL NAME=\"T2\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"1 0\"><ANORDNUNG NAME=\"FAECHER\"/></STAPEL>"
    L"</SOLITAIRE>";

void dealTable(Solitaire::Kartenmanager& manager) {
    Orvex::XMLNode variant;
    variant.parse(kVariant, L"fuzz variant");
    manager.createDiscardPile();
    manager.loadGameDefinition(variant, L"fuzz variant");
    if (manager.piles.size() != 2) std::abort();
    for (int i = 0; i < 52; ++i) {
        auto* card = new Solitaire::Karte(i % 13, i / 13, 1, i);
        manager.addCard(card);
        manager.piles[static_cast<std::size_t>(i % 2)]->addCard(card, nullptr, true, true);
    }
    manager.*guitest::memberOf(TableRect{}) = Orvex::FRect(0.0f, 0.0f, 800.0f, 600.0f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    Solitaire::FlySpline::clearList();
    Solitaire::FlySpline::loadList(root, L"fuzz.fsp");
    Solitaire::Kartenmanager& manager = Solitaire::Kartenmanager::instance();
    for (Solitaire::FlySpline const* spline : Solitaire::FlySpline::list()) {
        if (spline->steps.size() > Solitaire::FlySpline::kMaxSteps) std::abort();
        dealTable(manager);
        float const duration = spline->startFlight(manager.piles, manager);
        if (!std::isfinite(duration) || duration < 0.0f) std::abort();
        // Up to the flight's end and the longest wait and path a step may add, in 256 frames.
        float const limit = duration + 2.0f * Solitaire::FlySpline::kMaxSeconds + 2.0f;
        float const dt = limit / 256.0f;
        for (float time = 0.0f; time <= limit; time += dt) {
            bool flying = false;
            for (Solitaire::Karte* card : manager.cards) {
                card->stepFlight(dt);
                if (!std::isfinite(card->position.current.x) || !std::isfinite(card->rotation.current) ||
                    !std::isfinite(card->scale.current))
                    std::abort();
                flying = flying || card->isFlying();
            }
            if (!flying) break;
        }
        for (Solitaire::Karte const* card : manager.cards)
            if (card->isFlying()) std::abort();
    }
    manager.createDiscardPile();
    Solitaire::FlySpline::clearList();
    return 0;
}
