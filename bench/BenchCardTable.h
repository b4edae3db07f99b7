// The card benchmarks' table: the source tree on the search path, a 100 x 140 card set current,
// the card manager; and their main, which quiets the log and leaves the table empty at exit.
#pragma once

#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"
#include "engine/core/GOBManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"
#include "port/win32/win32_paths.h"

inline Solitaire::Kartenmanager& benchCardTable() {
    static bool const ready = [] {
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        auto* cardSet = new Solitaire::Kartenset(L"BENCH");
        cardSet->cellSize = D3DXVECTOR2(100.0f, 140.0f);
        Solitaire::StyleSettings::instance().addKartenset(cardSet);
        Solitaire::StyleSettings::instance().setKartenset(cardSet);
        cardSet->release();
        return true;
    }();
    (void)ready;
    return Solitaire::Kartenmanager::instance();
}

inline int runCardBenchmarks(int argc, char** argv) {
    bench::runQuiet(argc, argv);
    Solitaire::Kartenmanager::instance().createDiscardPile();
    return 0;
}
