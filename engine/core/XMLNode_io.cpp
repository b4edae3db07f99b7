// Property files on disk: loading through the archive orders, and writing the tree as text (tab
// indentation, CR LF) in UTF-16LE with a byte-order mark or in Windows-1252, saved through a
// temporary file of the save's own that is renamed over the target: two saves that meet (two
// threads, two games) each write a whole file, and the later rename wins. A save writes the text
// a piece at a time and gives up, keeping the old file, where its reader would refuse or cut the
// new one.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
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
// attribute value or a value early are replaced (and counted), keeping the file readable. It
// counts what reading the text back charges the tree (treeBytes, XMLNode::elementCost ...), a
// text's length in the units the file holds (XMLNode::savedUnits), and stops before an
// object that takes it past `budget`. It hands the text written so far to `flush` (when set)
// whenever it holds kFlushChars, also within a long text, and stops when that returns false.
class TreeWriter {
public:
    static constexpr std::size_t kFlushChars = std::size_t{1} << 16;

    explicit TreeWriter(bool utf16Units = false) : utf16Units_(utf16Units) {}

    std::wstring out;
    std::size_t replaced = 0;
    std::size_t treeBytes = 0;
    std::size_t budget = static_cast<std::size_t>(-1);
    bool overBudget = false;
    std::function<bool(std::wstring&)> flush;

    // False when it stopped.
    bool write(XMLNode const& root) {
        struct Frame {
            XMLNode const* node;
            std::size_t nextChild;
        };
        std::vector<Frame> stack;
        if (flush) flushAt_ = kFlushChars;
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
                if (!fits(XMLNode::valueCost(leastUnits(v->text())))) return;
                indent(depth + 1);
                out += L"\"|";
                value(v->text());
                charge(XMLNode::valueCost(takeUnits()));
                out += L"|\"\r\n";
            }
            stack.push_back({node, 0});
        };
        enter(&root);
        while (!stack.empty() && !stopped_) {
            Frame& top = stack.back();
            if (top.nextChild < top.node->children().size()) {
                XMLNode const* child = top.node->children()[top.nextChild++];
                enter(child);  // may grow the stack: top is not used after this
                continue;
            }
            XMLNode const* done = top.node;
            stack.pop_back();
            indent(stack.size());
            out += L"</";
            elementName(done->name());
            takeUnits();  // counted with the open tag
            out += L">\r\n";
        }
        if (flush && !stopped_) stopped_ = !flush(out);
        return !stopped_;
    }

private:
    bool utf16Units_;
    bool stopped_ = false;
    std::size_t flushAt_ = static_cast<std::size_t>(-1);  // kFlushChars while there is a flush
    std::size_t units_ = 0;  // of the text being written

    void indent(std::size_t depth) { out.append(std::min(depth, XMLNode::kMaxIndent), L'\t'); }
    // The fewest units a text is written as: a UTF-16 text's pairs become one character each in
    // 8-bit text.
    std::size_t leastUnits(XMLText const& text) const {
        return utf16Units_ || !text.isUtf16() ? text.size() : (text.size() + 1) / 2;
    }
    // Whether an object of at least that cost still fits the budget; it stops when not.
    bool fits(std::size_t cost) {
        if (cost > budget - std::min(treeBytes, budget)) overBudget = stopped_ = true;
        return !stopped_;
    }
    void charge(std::size_t cost) {
        treeBytes += cost;
        if (treeBytes > budget) overBudget = stopped_ = true;
    }
    // A character of a name or value (`instead` when it is bad).
    void put(wchar_t c, bool bad, wchar_t instead) {
        if (bad) {
            ++replaced;
            c = instead;
        }
        out += c;
        units_ += XMLNode::savedUnits(c, utf16Units_);
        if (out.size() >= flushAt_) [[unlikely]]
            flushFull();
    }
    void flushFull() {
        if (!stopped_) stopped_ = !flush(out);
        if (stopped_) out.clear();  // what follows a stop is dropped as it comes
    }
    // The length of the text written since the last call.
    std::size_t takeUnits() { return std::exchange(units_, 0); }
    void elementName(XMLText const& name) {
        bool first = true;
        name.forEachChar([&](wchar_t c) {
            put(c, isBlank(c) || c == L'>' || c == L'/' || c == L'"' || (first && (c == L'?' || c == L'!')), L'_');
            first = false;
        });
    }
    void openTag(XMLNode const& node, std::size_t depth) {
        if (!fits(XMLNode::elementCost(leastUnits(node.name())))) return;
        indent(depth);
        out += L'<';
        elementName(node.name());
        charge(XMLNode::elementCost(takeUnits()));
        for (XMLAttribute const* a : node.attributes()) {
            if (!fits(XMLNode::attributeCost(leastUnits(a->name()), leastUnits(a->text())))) return;
            out += L' ';
            a->name().forEachChar(
                [&](wchar_t c) { put(c, isBlank(c) || c == L'=' || c == L'>' || c == L'/' || c == L'"', L'_'); });
            std::size_t const nameUnits = takeUnits();
            out += L"=\"";
            a->text().forEachChar([&](wchar_t c) { put(c, c == L'"', L'\''); });
            charge(XMLNode::attributeCost(nameUnits, takeUnits()));
            out += L'"';
        }
    }
    // A value ends at the first |" : such a quotation mark becomes an apostrophe.
    void value(XMLText const& text) {
        wchar_t previous = 0;
        text.forEachChar([&](wchar_t c) {
            put(c, c == L'"' && previous == L'|', L'\'');
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
    return save(path, unicode, File::kMaxTextFileBytes);
}

bool XMLNode::save(std::wstring const& path, bool unicode, u64 maxBytes, Refusal* refused) const {
    std::string const target = port::hostPath(path);
    std::string temporary;
    std::wstring whyNot;
    std::FILE* file = openTemporary(target, temporary, whyNot);
    Refusal kind = Refusal::kNotWritten;
    auto failed = [&](std::wstring const& what) {
        if (refused) *refused = kind;
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

    // The text is encoded and written a piece at a time, and no further than its reader takes.
    TreeWriter writer(unicode);
    std::string bytes = unicode ? "\xFF\xFE" : "";
    u64 written = 0;
    std::size_t blanks = 0;
    writer.budget = kMaxTreeBytes;
    bool tooLarge = false;
    int error = 0;
    writer.flush = [&](std::wstring& text) {
        if (unicode)
            appendUtf16LE(bytes, text);
        else
            blanks += appendAnsi(bytes, text);
        text.clear();
        written += bytes.size();
        tooLarge = written > maxBytes;
        if (tooLarge) return false;
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            error = errno != 0 ? errno : EIO;
            return false;
        }
        bytes.clear();
        return true;
    };
    bool const whole = writer.write(*this);
    if (whole && !port::commitFile(file)) error = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0 && error == 0) error = errno;
    if (error != 0) return failed(L"writing \"" + port::windowsPath(temporary) + L"\": " + port::errnoText(error));
    kind = Refusal::kTooLarge;
    if (tooLarge)
        return failed(L"it would be more than the " + std::to_wstring(maxBytes) + L" bytes its reader takes");
    if (writer.overBudget)
        return failed(L"its elements, attributes and values would take more than the 128 MB a read keeps of them");
    kind = Refusal::kNotWritten;
    if (writer.replaced > 0)
        logWarning(L"Property file \"" + path + L"\": " + std::to_wstring(writer.replaced) +
                   L" characters that the format cannot hold in names or values written as _ or '");
    if (blanks > 0)
        logWarning(L"Property file \"" + path + L"\": " + std::to_wstring(blanks) +
                   L" characters without a Windows-1252 byte written as blanks");
    if (std::rename(temporary.c_str(), target.c_str()) != 0)
        return failed(L"it cannot take the place of the old one: " + port::errnoText(errno));
    if (refused) *refused = Refusal::kNone;
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
