// The tooltip descriptions of cards and piles, built from localised texts: what a card is,
// whether it can be picked up and what its pile accepts on it next; what a pile is, how many
// cards it holds, how much room it has left and what it accepts; which card a dealt joker is.
#pragma once

#include <optional>
#include <string>

namespace Solitaire {

class Karte;
class Kartenstapel;

// Parts joined by kDescriptionSeparator; clears the description-dirty flag.
void describe(Karte& card, std::wstring& out, bool withPile, bool withAccepted, bool withNext);
void describe(Kartenstapel& pile, std::wstring& out, bool withAccepted, bool withNext);

// A dealt joker not on a goal pile: it waits for its card's place there (on a goal pile it is that
// card).
bool jokerWaits(Karte const& card);
// Which card a dealt joker is and where it goes ("MELDUNG_JOKER_KARTE", for an ace
// "MELDUNG_JOKER_ASS"): the line of a refused joker move and of its tooltip.
std::wstring jokerNote(Karte const& joker);
// Why a joker or wildcard was not laid, for the news line; none for any other card. target: the
// pile a drop refused it, null for a double click. A wildcard is the card it shows
// ("MELDUNG_WILDCARD_KARTE"); a joker waiting on its pile goes onto no pile but a column or a
// foundation ("MELDUNG_JOKER_HIER"); a dealt joker waits for its card's place (jokerNote).
std::optional<std::wstring> refusalNote(Karte const& card, Kartenstapel const* target);

inline constexpr wchar_t kDescriptionSeparator[] = L"\n";
// A part added on a line of its own (nothing for an empty part).
void appendDescriptionPart(std::wstring& out, std::wstring const& part);

}  // namespace Solitaire
