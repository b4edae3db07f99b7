// Property files on disk: loading through the archive orders, and writing the tree as text (tab
// indentation, CR LF) in UTF-16LE with a byte-order mark or in Windows-1252, saved through a
// temporary file that is renamed over the target.
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLStore.h"
#include "port/win32/win32_paths.h"

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

    std::string target = port::hostPath(path);
    std::string temporary = target + ".saving";
    std::FILE* file = openWholeFile(temporary, "wb");
    if (!file) {
        logError(L"Property file \"" + path + L"\" could not be written (cannot create the file)");
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = port::commitFile(file) && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        logError(L"Property file \"" + path + L"\" could not be written; the previous file is unchanged");
        return false;
    }
    return true;
}

}  // namespace Orvex
