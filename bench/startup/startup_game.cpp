// Start-up of the game as a player starts it, for bench/startup.sh: the entry point runs on the
// game's data until the first frame of "STARTMENU" has been presented; then this prints the wall
// clock (seconds since 1970, to compare with the launch time the script took), the seconds the
// splash pictures were shown (display times the start-up fixes), and the resident memory in kB,
// and ends the game.
//
//     startup_game [game switches...]
#include <string>

#include "bench/startup/StartupReport.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/WinMain.h"
#include "port/win32/kernel.h"
#include "port/win32/winuser.h"

namespace {

// Counts the frames; the loop's first sleep after a frame of the start menu comes right after
// that frame was presented.
class FirstFrame : public sigslot::has_slots<sigslot::single_threaded> {
public:
    void onRender() { ++frames; }
    void onSleep(Orvex::u32 milliseconds) {
        if (!reported && frames > 0) {
            Orvex::GUIMenuN* menu = Orvex::GUIMenuManagerN::instance().getActiveMenu();
            if (menu && menu->getName() == L"STARTMENU") report();
        }
        Sleep(milliseconds);
    }
    int frames = 0;
    bool reported = false;

private:
    void report() {
        reported = true;
        startup::reportFirstFrame(Solitaire::SolitaireGame2::getSplashSeconds());
        Orvex::OrvexEngine::getInstance()->requestExit(0);
    }
};

}  // namespace

int main(int argc, char** argv) {
    FirstFrame probe;
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    engine->renderSignal.connect(&probe, &FirstFrame::onRender);
    engine->setLoopClock({}, [&probe](Orvex::u32 ms) { probe.onSleep(ms); });
    std::string line = Solitaire::joinCommandLine(argc, argv);
    int const code = WinMain(nullptr, nullptr, line.data(), SW_SHOWDEFAULT);
    engine->setLoopClock({}, {});
    return probe.reported ? code : 1;
}
