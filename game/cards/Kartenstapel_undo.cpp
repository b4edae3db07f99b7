// The pile's undo record (its place, its scale and the redeals left) and the steps it takes with
// its arrangements. A redeal spent by an undone step is given back with it.
#include <memory>

#include "game/cards/Anordnung.h"
#include "game/cards/Kartenstapel.h"

namespace Solitaire {

class Kartenstapel::KartenstapelUndoData : public UndoData {
public:
    explicit KartenstapelUndoData(Kartenstapel& pile)
        : owner_(pile), relativePosition_(pile.relativePosition), scale_(pile.scale_), restCount_(pile.rules.restCount) {}
    void restore() override {
        owner_.setRelativePosition(relativePosition_);
        owner_.scale_ = scale_;
        owner_.rules.restCount = restCount_;
    }

private:
    Kartenstapel& owner_;
    D3DXVECTOR2 relativePosition_;
    float scale_;
    int restCount_;  // "REST_COUNT_HOLEN"
};

void Kartenstapel::saveUndoState() {
    UndoObjekt::saveUndoState();
    appendUndoRecord(std::make_unique<KartenstapelUndoData>(*this));
    for (Anordnung* arrangement : arrangements_) arrangement->saveUndoState();
}

Orvex::s32 Kartenstapel::stepHistory(Orvex::s32 const& delta) {
    Orvex::s32 const made = UndoObjekt::stepHistory(delta);
    for (Anordnung* arrangement : arrangements_) arrangement->stepHistory(delta);
    return made;
}

void Kartenstapel::discardFrom(Orvex::s32 const& n) {
    UndoObjekt::discardFrom(n);
    for (Anordnung* arrangement : arrangements_) arrangement->discardFrom(n);
}

}  // namespace Solitaire
