// Property files on disk: loading through the archive orders, and writing the tree as text (tab
// indentation, CR LF) in UTF-16LE with a byte-order mark or in Windows-1252, saved through a
// temporary file of the save's own that is renamed over the target: two saves that meet (two
// threads, two games) each write a whole file, and the later rename wins.
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLStore.h"
#include "port/win32/kernel.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

bool isBlank(wchar_t c) { return static_cast<uint32_t>(c) <= ' '; }

// Writes a tree as text. The format has no escapes, so characters that would end a name, an
// attribute value or a value early are replaced (and counted), keeping the file readable.
class TreeWriter {
public:
    std::wstring out;
    std::size_t replaced = 0;

    void write(XMLNode const& root) {
        struct Frame {
            XMLNode const* node;
            std::size_t nextChild;
        };
        std::vector<Frame> stack;
        auto enter = [&](XMLNode const* node) {
            std::size_t depth = stack.size();
            openTag(*node, depth);
            if (node->values().empty() && node->children().empty()) {
                // "</>" would read as a closing tag.
                if (node->name().empty() && node->attributes().empty()) out += L' ';
                out += L"/>\r\n";
                return;
            }
            out += L">\r\n";
            for (XMLProperty const* v : node->values()) {
                out.append(depth + 1, L'\t');
                out += L"\"|";
                value(v->text());
                out += L"|\"\r\n";
            }
            stack.push_back({node, 0});
        };
        enter(&root);
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.nextChild < top.node->children().size()) {
                XMLNode const* child = top.node->children()[top.nextChild++];
                enter(child);  // may grow the stack: top is not used after this
                continue;
            }
            XMLNode const* done = top.node;
            stack.pop_back();
            out.append(stack.size(), L'\t');
            out += L"</";
            elementName(done->name());
            out += L">\r\n";
        }
    }

private:
    void put(wchar_t c, bool bad) {
        if (bad) ++replaced;
        out += bad ? L'_' : c;
    }
    void elementName(XMLText const& name) {
        bool first = true;
        name.forEachChar([&](wchar_t c) {
            put(c, isBlank(c) || c == L'>' || c == L'/' || c == L'"' || (first && (c == L'?' || c == L'!')));
            first = false;
        });
    }
    void attributeName(XMLText const& name) {
        name.forEachChar([&](wchar_t c) { put(c, isBlank(c) || c == L'=' || c == L'>' || c == L'/' || c == L'"'); });
    }
    void openTag(XMLNode const& node, std::size_t depth) {
        out.append(depth, L'\t');
        out += L'<';
        elementName(node.name());
        for (XMLAttribute const* a : node.attributes()) {
            out += L' ';
            attributeName(a->name());
            out += L"=\"";
            a->text().forEachChar([&](wchar_t c) {
                if (c == L'"') ++replaced;
                out += c == L'"' ? L'\'' : c;
            });
            out += L'"';
        }
    }
    // A value ends at the first |" : such a quotation mark becomes an apostrophe.
    void value(XMLText const& text) {
        wchar_t previous = 0;
        text.forEachChar([&](wchar_t c) {
            bool bad = c == L'"' && previous == L'|';
            if (bad) ++replaced;
            out += bad ? L'\'' : c;
            previous = c;
        });
    }
};

// Marks a file that a save writes before it takes its target's name: the target's name, the mark,
// "-", the process and "-" a number of the process's saves.
constexpr char kSavingMark[] = ".saving";
// Names taken (by a stale file, by chance) are passed over up to this many times.
constexpr int kTemporaryNames = 100;

std::atomic<unsigned> g_saves{0};


// A new file of a name no other save uses, created here and now (never one that was there), so
// no other save, in this process or another, writes into it. Null with whyNot when none could be.
std::FILE* openTemporary(std::string const& target, std::string& name, std::wstring& whyNot) {
    std::string const stem = target + kSavingMark + "-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        name = stem + std::to_string(g_saves++);
        if (std::FILE* file = openWholeFile(name, "wbx", &whyNot)) return file;
        // Anything in the name's place (a file, a folder, a FIFO) passes it over; other failures
        // would meet every name.
        if (errno != EEXIST && errno != EISDIR && errno != EINVAL) return nullptr;
    }
    return nullptr;
}

}  // namespace

XMLNode::ReadResult XMLNode::loadChecked(std::wstring const& fileName, int mode) {
    return loadChecked(fileName, mode, File::kMaxTextFileBytes);
}

XMLNode::ReadResult XMLNode::loadChecked(std::wstring const& fileName, int mode, u64 maxBytes) {
    clear();
    GOBManager const& archives = GOBManager::getInstance();
    File file(fileName);
    if (!file.open(fileName, mode == 0 ? archives.getDefaultOrder() : archives.getDiskOrder())) {
        file.logNotOpen(L"Property file \"" + fileName + L"\"");
        return ReadResult::kNothing;
    }
    // Read straight into the new tree's store: the 8-bit text stays there as what the tree's
    // names and values are views of.
    auto store = std::make_unique<XMLStore>();
    std::wstring why;
    if (!file.readAll(store->bytes, maxBytes, &why)) {
        logError(L"Property file \"" + fileName + L"\" " + why);
        return ReadResult::kNothing;
    }
    return parseStore(std::move(store), fileName);
}

bool XMLNode::load(std::wstring const& fileName, int mode) {
    return loadChecked(fileName, mode) != ReadResult::kNothing;
}

std::wstring XMLNode::toText() const {
    TreeWriter writer;
    writer.write(*this);
    return std::move(writer.out);
}

bool XMLNode::save(std::wstring const& path, bool unicode) const {
    TreeWriter writer;
    writer.write(*this);
    std::wstring const& text = writer.out;
    if (writer.replaced > 0)
        logWarning(L"Property file \"" + path + L"\": " + std::to_wstring(writer.replaced) +
                   L" characters that the format cannot hold in names or values written as _ or '");
    std::string bytes;
    if (unicode) {
        bytes = "\xFF\xFE";
        appendUtf16LE(bytes, text);
    } else {
        std::size_t replaced = appendAnsi(bytes, text);
        if (replaced > 0)
            logWarning(L"Property file \"" + path + L"\": " + std::to_wstring(replaced) +
                       L" characters without a Windows-1252 byte written as blanks");
    }

    std::string const target = port::hostPath(path);
    std::string temporary;
    std::wstring whyNot;
    std::FILE* file = openTemporary(target, temporary, whyNot);
    auto failed = [&](std::wstring const& what) {
        std::wstring left;
        if (!temporary.empty() && std::remove(temporary.c_str()) != 0)
            left = L"; the unfinished \"" + port::windowsPath(temporary) + L"\" stays";
        logError(L"Property file \"" + path + L"\" could not be written (" + what + L"); the file is left as it was" +
                 left);
        return false;
    };
    if (!file) {
        temporary.clear();
        return failed(L"the file beside it cannot be made: " + whyNot);
    }
    int error = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || !port::commitFile(file))
        error = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0 && error == 0) error = errno;
    if (error != 0) return failed(L"writing \"" + port::windowsPath(temporary) + L"\": " + port::errnoText(error));
    if (std::rename(temporary.c_str(), target.c_str()) != 0)
        return failed(L"it cannot take the place of the old one: " + port::errnoText(errno));
    return true;
}

void XMLNode::removeUnfinishedSaves(std::wstring const& folder) {
    std::error_code error;
    int removed = 0;
    for (auto const& entry : std::filesystem::directory_iterator(port::hostPath(folder), error)) {
        std::string const name = entry.path().filename().string();
        std::size_t const at = name.rfind(kSavingMark);
        if (at == std::string::npos || at == 0) continue;
        std::string_view const rest = std::string_view(name).substr(at + std::strlen(kSavingMark));
        // The fixed name of older saves, or a name of ours: "-" process "-" number.
        bool const ours =
            rest.empty() || (rest.front() == '-' && rest.find_first_not_of("0123456789-") == std::string_view::npos);
        std::error_code notRegular;
        if (ours && entry.is_regular_file(notRegular) && std::filesystem::remove(entry.path(), notRegular)) ++removed;
    }
    if (removed > 0)
        logInfo(L"Removed " + std::to_wstring(removed) + L" unfinished saves from \"" + folder +
                L"\" (left by a game that ended while saving)");
}

}  // namespace Orvex
