// A named event of the menu file ("GUIEVENT"): links call it, game code listens to it after
// looking it up by name in the menu manager.
#pragma once

#include "engine/core/NamedObject.h"
#include "signals/sigslot.h"

namespace Orvex {

class GUIMenuLinkN;

class GUIMenuEventN : public NamedObject {
public:
    explicit GUIMenuEventN(XMLNode& node) : NamedObject(node) {}

    // Emitted with the link that calls the event.
    sigslot::signal1<GUIMenuLinkN&> fired;
};

}  // namespace Orvex
