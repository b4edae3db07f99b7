// The suits by number as the cards and the rule files count them, for deals written in tests
// (kExtra: the suit of the extra cards).
#pragma once

namespace cardtest::suits {

constexpr int kKreuz = 0, kKaro = 1, kPik = 2, kHerz = 3, kExtra = 4;

}  // namespace cardtest::suits
