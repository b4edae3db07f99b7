// Finding the face file for a Windows face name: faces installed from memory by family name first,
// then fontconfig, asked for the name followed by its metric-compatible stand-ins (once per name
// and style).
#include "port/gdi/FontFace.h"
#include "port/gdi/FreeTypeLibrary.h"
#include "port/win32/win32_text.h"

#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <mutex>
#include <tuple>

namespace port::gdi {

namespace {

// The registry and its locks are never destroyed: font resources held by other statics (the
// engine's font manager) are removed during exit, possibly after this file's statics are gone.
std::mutex& libraryMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::wstring lowered(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

// Faces the data names, with the installed faces that keep their metrics (Liberation) or come
// close (DejaVu). Every name is also followed by the general stand-ins below.
struct StandIn {
    wchar_t const* windowsName;
    char const* faces[2];
};
constexpr StandIn kStandIns[] = {
    {L"arial", {"Liberation Sans", "DejaVu Sans"}},
    {L"helvetica", {"Liberation Sans", "DejaVu Sans"}},
    {L"arial narrow", {"Liberation Sans Narrow", "DejaVu Sans Condensed"}},
    {L"times new roman", {"Liberation Serif", "DejaVu Serif"}},
    {L"times", {"Liberation Serif", "DejaVu Serif"}},
    {L"courier new", {"Liberation Mono", "DejaVu Sans Mono"}},
    {L"courier", {"Liberation Mono", "DejaVu Sans Mono"}},
    {L"lucida console", {"DejaVu Sans Mono", "Liberation Mono"}},
    {L"consolas", {"DejaVu Sans Mono", "Liberation Mono"}},
    {L"georgia", {"DejaVu Serif", "Liberation Serif"}},
    {L"palatino linotype", {"DejaVu Serif", "Liberation Serif"}},
    {L"verdana", {"DejaVu Sans", "Liberation Sans"}},
    {L"tahoma", {"DejaVu Sans", "Liberation Sans"}},
    {L"segoe ui", {"DejaVu Sans", "Liberation Sans"}},
    {L"ms sans serif", {"DejaVu Sans", "Liberation Sans"}},
    {L"microsoft sans serif", {"DejaVu Sans", "Liberation Sans"}},
    {L"trebuchet ms", {"DejaVu Sans", "Liberation Sans"}},
    {L"comic sans ms", {"DejaVu Sans", "Liberation Sans"}},
};
// What an unknown name becomes, as GDI substitutes its default face.
constexpr char const* kDefaultFaces[] = {"Liberation Sans", "DejaVu Sans"};

struct MemoryFace {
    std::uintptr_t id;
    std::vector<std::wstring> families;  // lowered
    FaceSource source;
};

struct Registry {
    std::mutex mutex;
    std::vector<MemoryFace> faces;
    std::uintptr_t nextId = 1;
};

Registry& registry() {
    static auto* r = new Registry;
    return *r;
}

// Family names of a face: FreeType's, and the Windows family names of its name table (UTF-16BE).
std::vector<std::wstring> familyNames(FT_Face face) {
    std::vector<std::wstring> names;
    if (face->family_name) names.push_back(lowered(port::fromUtf8(face->family_name)));
    FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0) continue;
        if (name.platform_id != TT_PLATFORM_MICROSOFT || name.name_id != TT_NAME_ID_FONT_FAMILY) continue;
        std::wstring text;
        for (FT_UInt k = 0; k + 1 < name.string_len; k += 2)
            text.push_back(static_cast<wchar_t>((name.string[k] << 8) | name.string[k + 1]));
        text = lowered(text);
        if (!text.empty() && std::find(names.begin(), names.end(), text) == names.end()) names.push_back(text);
    }
    return names;
}

bool findMemoryFace(std::wstring const& family, FontRequest const& request, FaceSource& source) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    int best = -1;
    bool wantBold = request.weight >= 600;
    for (auto const& face : r.faces) {
        if (std::find(face.families.begin(), face.families.end(), family) == face.families.end()) continue;
        int miss = (face.source.bold != wantBold) + (face.source.italic != request.italic);
        if (best < 0 || miss < best) {
            best = miss;
            source = face.source;
        }
    }
    return best >= 0;
}

bool findFontconfigFace(std::wstring const& family, FontRequest const& request, FaceSource& source) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    std::string name = port::toUtf8(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<FcChar8 const*>(name.c_str()));
    for (auto const& standIn : kStandIns)
        if (family == standIn.windowsName)
            for (char const* face : standIn.faces)
                FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<FcChar8 const*>(face));
    for (char const* face : kDefaultFaces) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<FcChar8 const*>(face));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(request.weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        source = FaceSource{reinterpret_cast<char const*>(file), nullptr, index, weight >= FC_WEIGHT_DEMIBOLD,
                            slant != FC_SLANT_ROMAN};
    }
    FcPatternDestroy(match);
    return found;
}

}  // namespace

FreeTypeLock::FreeTypeLock() : guard_(libraryMutex()), library_(nullptr) {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    library_ = library;
}

bool findFace(FontRequest const& request, FaceSource& source) {
    std::wstring family = lowered(request.face.substr(0, kMaxFaceName));
    if (family.empty()) family = L"arial";
    if (findMemoryFace(family, request, source)) return true;
    static std::mutex fontconfigMutex;  // one configuration, built on first use
    std::lock_guard lock(fontconfigMutex);
    // Fontconfig's answer for a name and style stays the same for the process: a font file asks
    // it once, not once per size (the game's font file names three styles in two dozen fonts).
    // Faces installed from memory are looked up before, so they still come first.
    struct Answer {
        bool found;
        FaceSource source;
    };
    static auto* answers = new std::map<std::tuple<std::wstring, int, bool>, Answer>;
    auto const key = std::make_tuple(family, request.weight, request.italic);
    auto known = answers->find(key);
    if (known == answers->end()) {
        Answer answer{false, {}};
        answer.found = findFontconfigFace(family, request, answer.source);
        known = answers->emplace(key, std::move(answer)).first;
    }
    if (known->second.found) source = known->second.source;
    return known->second.found;
}

unsigned registerMemoryFaces(std::vector<uint8_t> bytes, std::uintptr_t& id) {
    id = 0;
    auto shared = std::make_shared<std::vector<uint8_t> const>(std::move(bytes));
    std::vector<MemoryFace> found;
    {
        FreeTypeLock ft;
        if (!ft.library() || shared->empty()) return 0;
        long count = 1;
        for (long index = 0; index < count; ++index) {
            FT_Face face = nullptr;
            if (FT_New_Memory_Face(ft.library(), shared->data(), static_cast<FT_Long>(shared->size()), index, &face) != 0)
                break;
            count = face->num_faces;
            if (FT_IS_SCALABLE(face) && face->family_name) {
                bool bold = face->style_flags & FT_STYLE_FLAG_BOLD;
                bool italic = face->style_flags & FT_STYLE_FLAG_ITALIC;
                found.push_back(MemoryFace{0, familyNames(face), FaceSource{{}, shared, index, bold, italic}});
            }
            FT_Done_Face(face);
        }
    }
    if (found.empty()) return 0;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    id = r.nextId++;
    for (auto& face : found) {
        face.id = id;
        r.faces.push_back(std::move(face));
    }
    return static_cast<unsigned>(found.size());
}

bool unregisterMemoryFaces(std::uintptr_t id) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto gone = std::remove_if(r.faces.begin(), r.faces.end(), [id](MemoryFace const& f) { return f.id == id; });
    bool any = gone != r.faces.end();
    r.faces.erase(gone, r.faces.end());
    return any;
}

}  // namespace port::gdi
