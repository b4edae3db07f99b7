// Keyboard layouts, their manager and text editing.
#include "engine/platform/TastaturLayout.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include "engine/core/Logger.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "port/crt/crt.h"
#include "port/dinput/dinput_keys.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

// The text of the node's attribute; false when it has none of that name.
bool attributeText(XMLNode& node, wchar_t const* name, std::wstring& out) {
    XMLAttribute* attribute = node.getAttribute(name);
    if (!attribute) return false;
    out = attribute->getString();
    return true;
}

// A whole-text number: decimal, or hexadecimal after "0x". False for anything else.
bool parseCode(std::wstring const& text, long& value) {
    if (text.empty()) return false;
    bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    std::wstring_view digits(text);
    if (hex) digits.remove_prefix(2);
    if (digits.empty() || digits.size() > 8) return false;
    for (wchar_t ch : digits) {
        bool ok = hex ? std::iswxdigit(static_cast<wint_t>(ch)) != 0 : (ch >= L'0' && ch <= L'9');
        if (!ok) return false;
    }
    std::size_t used = 0;
    value = static_cast<long>(msvc::wcstoul(digits, hex ? 16 : 10, &used));
    return used == digits.size();
}

// A character attribute: one character, or '#' and a code point (decimal, or hexadecimal after
// "0x"). Empty means none.
bool parseCharacter(std::wstring const& text, wchar_t& out) {
    out = 0;
    if (text.empty()) return true;
    if (text.size() == 1) {
        out = text[0];
        return true;
    }
    if (text[0] != L'#' || text.size() > 8) return false;
    long value = 0;
    if (!parseCode(text.substr(1), value)) return false;
    if (value <= 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    out = static_cast<wchar_t>(value);
    return true;
}

}  // namespace

// ---- TextEditState ----

TextEditState::TextEditState(std::wstring const& text, wchar_t caretChar, int caretPosition, int maxLength,
                             bool caretMovement)
    : caretChar_(caretChar), maxLength_(maxLength), caretMovement_(caretMovement) {
    std::size_t split = text.size();
    if (caretPosition >= 0 && static_cast<std::size_t>(caretPosition) < text.size())
        split = static_cast<std::size_t>(caretPosition);
    before_ = text.substr(0, split);
    after_ = text.substr(split);
}

std::wstring TextEditState::getDisplayText() const {
    std::wstring text = before_;
    if (caretChar_ != 0) text += caretChar_;
    text += after_;
    return text;
}

bool TextEditState::insert(wchar_t ch) {
    if (maxLength_ >= 0 && before_.size() + after_.size() >= static_cast<std::size_t>(maxLength_)) return false;
    before_ += ch;
    return true;
}

bool TextEditState::deleteBeforeCaret() {
    if (before_.empty()) return false;
    before_.pop_back();
    return true;
}

bool TextEditState::deleteAfterCaret() {
    if (after_.empty()) return false;
    after_.erase(0, 1);
    return true;
}

bool TextEditState::moveCaretLeft() {
    if (!caretMovement_ || before_.empty()) return false;
    after_.insert(after_.begin(), before_.back());
    before_.pop_back();
    return true;
}

bool TextEditState::moveCaretRight() {
    if (!caretMovement_ || after_.empty()) return false;
    before_ += after_.front();
    after_.erase(0, 1);
    return true;
}

bool TextEditState::moveCaretHome() {
    if (!caretMovement_ || before_.empty()) return false;
    after_ = before_ + after_;
    before_.clear();
    return true;
}

bool TextEditState::moveCaretEnd() {
    if (!caretMovement_ || after_.empty()) return false;
    before_ += after_;
    after_.clear();
    return true;
}

// ---- TastaturLayout ----

TastaturLayout::TastaturLayout(std::wstring name) : name_(std::move(name)) {}

void TastaturLayout::setKey(u8 code, Key const& key) {
    keys_[code] = key;
    keys_[code].defined = true;
}

u32 TastaturLayout::load(XMLNode& node) {
    std::wstring text;
    if (attributeText(node, L"NAME", text) && !text.empty()) name_ = text;
    u32 taken = 0;
    u32 i = 0;  // the key's place among the layout's keys
    forEachChild(node, L"KEY", [&](XMLNode& element) {
        XMLNode* child = &element;
        u32 const place = i++;
        std::wstring codeText, keyName;
        long code = -1;
        if (!attributeText(*child, L"CODE", codeText) || !parseCode(codeText, code) || code < 0 || code > 255) {
            logError(L"Keyboard layout \"" + name_ + L"\": key " + std::to_wstring(place) + L" has no valid CODE (\"" +
                     codeText + L"\"), skipped");
            return true;
        }
        if (!attributeText(*child, L"NAME", keyName) || keyName.empty()) {
            logError(L"Keyboard layout \"" + name_ + L"\": key " + std::to_wstring(code) + L" has no NAME, skipped");
            return true;
        }
        Key key;
        key.name = keyName;
        static wchar_t const* const kCharNames[LEVEL_COUNT] = {L"NORMAL", L"SHIFT", L"ALTGR"};
        static wchar_t const* const kTypeNames[LEVEL_COUNT] = {L"TYP", L"TYP_SHIFT", L"TYP_ALTGR"};
        bool hasType[LEVEL_COUNT] = {};
        for (int level = 0; level < LEVEL_COUNT; ++level) {
            if (attributeText(*child, kCharNames[level], text) && !parseCharacter(text, key.chars[level])) {
                logError(L"Keyboard layout \"" + name_ + L"\": key " + keyName + L" has a bad " + kCharNames[level] +
                         L" character \"" + text + L"\", ignored");
            }
            if (attributeText(*child, kTypeNames[level], text)) {
                key.types[level] = parseKeyType(text);
                hasType[level] = true;
            }
        }
        if (!hasType[LEVEL_NORMAL]) key.types[LEVEL_NORMAL] = classifyChar(key.chars[LEVEL_NORMAL]);
        for (int level = LEVEL_SHIFT; level < LEVEL_COUNT; ++level) {
            if (hasType[level]) continue;
            if (key.chars[level] != 0)
                key.types[level] = classifyChar(key.chars[level]);
            else
                key.types[level] = key.chars[LEVEL_NORMAL] == 0 ? key.types[LEVEL_NORMAL] : KT_REST;
        }
        if (keys_[code].defined)
            logWarning(L"Keyboard layout \"" + name_ + L"\": key " + std::to_wstring(code) + L" defined twice");
        setKey(static_cast<u8>(code), key);
        ++taken;
        return true;
    });
    return taken;
}

bool TastaturLayout::findKeyByName(std::wstring const& name, u8& code) const {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < KeyState::kKeyCount; ++i) {
        if (keys_[i].defined && port::equalsNoCase(keys_[i].name, name)) {
            code = static_cast<u8>(i);
            return true;
        }
    }
    return false;
}

bool TastaturLayout::findKeyByChar(std::wstring const& text, u8& code) const {
    if (text.empty() || text[0] == 0) return false;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        for (std::size_t i = 0; i < KeyState::kKeyCount; ++i) {
            if (keys_[i].defined && keys_[i].chars[level] == text[0]) {
                code = static_cast<u8>(i);
                return true;
            }
        }
    }
    return false;
}

TastaturLayout::Level TastaturLayout::getLevel(u8 code, KeyState const& state) const {
    if (state.isAltGrDown()) return LEVEL_ALTGR;
    if (state.isCtrlDown() || state.isAltDown()) return LEVEL_NONE;
    bool shift = state.isShiftDown();
    // Caps lock shifts the keys whose shift level is the capital of their letter (not ß).
    wchar_t normal = keys_[code].chars[LEVEL_NORMAL];
    wchar_t capital = keys_[code].chars[LEVEL_SHIFT];
    if (state.isCapsLockOn() && normal != 0 && capital != normal && port::foldCase(capital) == normal) shift = !shift;
    return shift ? LEVEL_SHIFT : LEVEL_NORMAL;
}

namespace {

// Whether the state carries what the system's keyboard layout typed with this key.
bool typedBySystem(u8 code, KeyState const& state) { return state.hasSystemText() && state.wasPressed(code); }

}  // namespace

wchar_t TastaturLayout::getChar(u8 code, KeyState const& state) const {
    if (typedBySystem(code, state)) return state.getTypedChar();
    Level level = getLevel(code, state);
    if (level == LEVEL_NONE) return 0;
    return keys_[code].chars[level];
}

u32 TastaturLayout::getKeyType(u8 code, KeyState const& state) const {
    Key const& key = keys_[code];  // an undefined key is of type KT_REST on every level
    Level const level = getLevel(code, state);
    // With Ctrl or Alt a character key types nothing; caret, delete and such keep their type.
    u32 const own = level != LEVEL_NONE            ? key.types[level]
                    : key.chars[LEVEL_NORMAL] != 0 ? static_cast<u32>(KT_REST)
                                                   : key.types[LEVEL_NORMAL];
    // Editing keys keep their type; any other key is of the type of the character it typed.
    if (!typedBySystem(code, state) || (own & (KT_STEUER | KT_BACKSPACE | KT_DEL)) != 0) return own;
    return classifyChar(getChar(code, state));
}

u32 TastaturLayout::parseKeyType(std::wstring const& name) {
    std::wstring_view text(name);
    if (text.starts_with(L"KT_")) text.remove_prefix(3);
    static std::pair<wchar_t const*, u32> const kTypes[] = {
        {L"LETTER", KT_LETTER}, {L"NUMBER", KT_NUMBER}, {L"SATZ", KT_SATZ},           {L"SONDER", KT_SONDER},
        {L"STEUER", KT_STEUER}, {L"REST", KT_REST},     {L"BACKSPACE", KT_BACKSPACE}, {L"DEL", KT_DEL},
    };
    for (auto const& [typeName, flag] : kTypes) {
        if (text == typeName) return flag;
    }
    return KT_REST;
}

u32 TastaturLayout::classifyChar(wchar_t ch) {
    auto c = static_cast<u32>(ch);
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return KT_REST;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return KT_LETTER;
    if (c >= '0' && c <= '9') return KT_NUMBER;
    if (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) return KT_LETTER;  // Latin letters
    if (std::wstring_view(L" .,;:!?'\"-()\u00A1\u00BF\u00AB\u00BB").find(ch) != std::wstring_view::npos)
        return KT_SATZ;
    return KT_SONDER;
}

bool TastaturLayout::editText(TextEditState& edit, u8 code, KeyState const& state, bool refuseAttChars,
                              bool refusePropChars) const {
    if (!keys_[code].defined && !typedBySystem(code, state)) return false;
    u32 type = getKeyType(code, state);
    if (type == KT_BACKSPACE) return edit.deleteBeforeCaret();
    if (type == KT_DEL) return edit.deleteAfterCaret();
    if (type == KT_STEUER) {
        switch (code) {
            case DIK_LEFT: return edit.moveCaretLeft();
            case DIK_RIGHT: return edit.moveCaretRight();
            case DIK_HOME: return edit.moveCaretHome();
            case DIK_END: return edit.moveCaretEnd();
            default: return false;
        }
    }
    wchar_t ch = getChar(code, state);
    if (ch == 0 || classifyChar(ch) == KT_REST) return false;
    if (refuseAttChars && (ch == L'<' || ch == L'"' || ch == L'=' || ch == L'>')) return false;
    if (refusePropChars && ch == L'|') return false;
    return edit.insert(ch);
}

std::wstring TastaturLayout::getTypeableChars() const {
    std::wstring chars;
    for (Key const& key : keys_) {
        if (!key.defined) continue;
        for (wchar_t ch : key.chars) {
            if (ch != 0 && chars.find(ch) == std::wstring::npos) chars += ch;
        }
    }
    return chars;
}

// ---- TastaturLayoutManager ----

TastaturLayoutManager& TastaturLayoutManager::getInstance() {
    static TastaturLayoutManager instance;
    return instance;
}

u32 TastaturLayoutManager::load(XMLNode& node) {
    u32 read = 0;
    TastaturLayout* marked = nullptr;
    u32 i = 0;  // the layout's place in the file
    forEachChild(node, L"LAYOUT", [&](XMLNode& element) {
        XMLNode* child = &element;
        u32 const place = i++;
        std::wstring name;
        if (!attributeText(*child, L"NAME", name) || name.empty()) {
            logError(L"Keyboard layouts: layout " + std::to_wstring(place) + L" has no NAME, skipped");
            return true;
        }
        auto layout = std::make_unique<TastaturLayout>(name);
        u32 keys = layout->load(*child);
        logInfo(L"Keyboard layout \"" + name + L"\": " + std::to_wstring(keys) + L" keys");
        std::wstring flag;
        bool isDefault = attributeText(*child, L"DEFAULT", flag) && msvc::wtoi(flag) != 0;

        // A reloaded layout keeps its object, so pointers to it stay valid.
        TastaturLayout* stored = getLayout(name);
        if (stored) {
            *stored = std::move(*layout);
        } else {
            stored = layout.get();
            layouts_.push_back(std::move(layout));
        }
        if (isDefault) marked = stored;
        ++read;
        return true;
    });
    if (marked)
        active_ = marked;
    else if (!active_ && !layouts_.empty())
        active_ = layouts_.front().get();
    return read;
}

bool TastaturLayoutManager::loadFile(std::wstring const& fileName) {
    XMLNode root;
    if (!root.load(fileName, 0)) {
        logError(L"Keyboard layouts: \"" + fileName + L"\" could not be read");
        return false;
    }
    load(root);
    return true;
}

bool TastaturLayoutManager::setActiveLayout(std::wstring const& name) {
    TastaturLayout* layout = getLayout(name);
    if (!layout) return false;
    active_ = layout;
    return true;
}

TastaturLayout* TastaturLayoutManager::getLayout(std::wstring const& name) const {
    return findNamedObject(layouts_, name);
}

std::vector<std::wstring> TastaturLayoutManager::getLayoutNames() const {
    std::vector<std::wstring> names;
    for (auto const& layout : layouts_) names.push_back(layout->getName());
    return names;
}

void TastaturLayoutManager::clear() {
    layouts_.clear();
    active_ = nullptr;
}

}  // namespace Orvex
