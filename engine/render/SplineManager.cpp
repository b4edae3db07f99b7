// The spline list, spline files and "SPL_reload".
#include "engine/render/SplineManager.h"

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Spline.h"

namespace Orvex {

namespace {

wchar_t const kSplineReload[] = L"SPL_reload";

XMLNode const* findDefinition(XMLNode const& root, std::wstring const& name) {
    for (auto const& child : root.children())
        if (child->getName() == L"SPLINE" && child->getAttributeString(L"NAME", L"") == name) return child.get();
    return nullptr;
}

}  // namespace

SplineManager::SplineManager() { addCommand(new ConsoleCommand(kSplineReload, 1, L"SPL_reload Name; lädt das Objekt erneut")); }

SplineManager::~SplineManager() { clear(); }

void SplineManager::addSpline(Spline& spline) { addReferenced(splines_, spline); }

bool SplineManager::removeSpline(Spline& spline) { return removeReferenced(splines_, spline); }

void SplineManager::clear() { releaseAll(splines_); }

Spline* SplineManager::findSpline(std::wstring const& name) const { return findNamedObject(splines_, name); }

unsigned SplineManager::loadSplines(std::wstring const& fileName) {
    XMLNode root;
    if (!root.load(fileName)) {
        logError(L"Spline file \"" + fileName + L"\" could not be read");
        return 0;
    }
    unsigned added = 0;
    std::size_t points = 0;
    for (auto const& child : root.children()) {
        if (child->getName() != L"SPLINE") continue;
        if (findSpline(child->getAttributeString(L"NAME", L""))) continue;
        auto* spline = new Spline(*child, fileName);
        points += spline->getControlPoints().size();
        if (points > kMaxPointsPerFile) {
            logError(L"Spline file \"" + fileName + L"\"" + atLine(*child) + L": more than " +
                     std::to_wstring(kMaxPointsPerFile) +
                     L" control points; spline \"" + spline->getName() + L"\" and those after it skipped");
            spline->release();
            break;
        }
        addSpline(*spline);
        spline->release();
        ++added;
    }
    return added;
}

void SplineManager::reload(Spline& spline) {
    std::wstring const source = spline.getSourceName();
    if (!source.empty() && spline.hasDefinition()) {
        XMLNode root;
        XMLNode const* definition = root.load(source) ? findDefinition(root, spline.getName()) : nullptr;
        if (definition)
            spline.setDefinition(*definition, source);
        else
            logError(L"Spline \"" + spline.getName() + L"\" no longer in \"" + source +
                     L"\"; reloaded from the definition read before");
    }
    spline.reload();
}

void SplineManager::executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) {
    if (!command.isNamed(kSplineReload)) return;
    Spline* spline = findSpline(typed.getArgument(0));
    if (!spline) return;
    reload(*spline);
    typed.setReply(L"Spline reloaded!");
}

void SplineManager::completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) {
    if (!typed.isCommand(kSplineReload)) return;
    appendNamesStartingWith(splines_, typed.getArgument(0), offers);
}

}  // namespace Orvex
