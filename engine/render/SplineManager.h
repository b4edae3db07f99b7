// The spline list (one reference per spline) and the console command "SPL_reload Name", which
// rebuilds a listed spline from its definition. Splines read from a spline file
// (loadSplines: a root whose "SPLINE" children each define one spline, the first definition
// of a name winning) remember the file, so "SPL_reload" reads the file again and takes the
// spline's new definition from it; an ASE file the definition names is read again in any case.
// Splines hold no device resources, so the manager needs no device connections.
#pragma once

#include <string>
#include <vector>

#include "engine/core/ConsoleCommand.h"

namespace Orvex {

class Spline;

class SplineManager : public ConsoleCommandReceiver {
public:
    // Control points one spline file may add in all (each spline has its own limit too), so a
    // small file of many large averages cannot take gigabytes.
    static constexpr u32 kMaxPointsPerFile = 65536;

    SplineManager();
    ~SplineManager() override;
    SplineManager(SplineManager const&) = delete;
    SplineManager& operator=(SplineManager const&) = delete;

    // Appends the spline with one more reference (a spline already listed is not added again).
    void addSpline(Spline& spline);
    bool removeSpline(Spline& spline);
    void clear();
    // The first listed spline with exactly that name, or null.
    Spline* findSpline(std::wstring const& name) const;
    std::vector<Spline*> const& getSplines() const { return splines_; }

    // Reads a spline file and lists its splines (names already listed are skipped); returns
    // how many were added. A missing or damaged file logs one line naming it; so does a file
    // whose splines pass kMaxPointsPerFile (the splines from there on are not added).
    unsigned loadSplines(std::wstring const& fileName);
    // Takes the spline's definition afresh from its file (when it came from one and the file
    // still defines it) and reloads it.
    void reload(Spline& spline);

    void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) override;
    void completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) override;

private:
    std::vector<Spline*> splines_;
};

}  // namespace Orvex
